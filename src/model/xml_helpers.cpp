#include "model/xml_helpers.h"

#include <algorithm>

#include "model/process_state.h"

namespace kvswx {

const AttributeMap& NoAttributes() {
    static const AttributeMap none{};
    return none;
}

AttributeMap::Span AttributeMap::Store(std::wstring_view text) {
    const Span span{used_, static_cast<std::uint32_t>(text.size())};
    if (heap_.empty() && used_ + text.size() <= kInlineChars) {
        std::copy(text.begin(), text.end(), inline_ + used_);
    } else {
        if (heap_.empty()) heap_.assign(inline_, used_);
        heap_.append(text);
    }
    used_ += span.length;
    return span;
}

bool AttributeMap::Contains(std::wstring_view name) const {
    for (std::size_t i = 0; i < count_; ++i) {
        if (View(entries_[i].name) == name) return true;
    }
    return !overflow_.empty() && overflow_.find(std::wstring(name)) != overflow_.end();
}

void AttributeMap::emplace(std::wstring_view name, std::wstring_view value) {
    if (Contains(name)) return;
    if (count_ == kInlineEntries) {
        overflow_.emplace(std::wstring(name), std::wstring(value));
        return;
    }
    Entry& e = entries_[count_++];
    e.name = Store(name);
    e.value = Store(value);
}

std::size_t AttributeMap::Sorted(Entry (&out)[kInlineEntries]) const {
    // Insertion sort: an element has a handful of attributes.
    for (std::size_t i = 0; i < count_; ++i) {
        std::size_t j = i;
        while (j > 0 && CompareNames(View(entries_[i].name), View(out[j - 1].name)) < 0) {
            out[j] = out[j - 1];
            --j;
        }
        out[j] = entries_[i];
    }
    return count_;
}

namespace {

XmlNode StartElement(XmlDocument& doc, XmlNode parent, std::wstring_view name,
                     const AttributeMap& attributes) {
    ProcessState& state = Process();
    if (state.lastCreatedElement.Is(doc, parent)) ++state.indentDepth;
    AppendIndent(doc, parent);
    XmlNode element = parent.AppendElement(name);
    attributes.ForEachInOrder([&](std::wstring_view key, std::wstring_view value) {
        // Names are distinct, so each is appended without looking it up.
        if (!key.empty() && !value.empty()) element.AppendAttribute(key, value);
    });
    state.lastCreatedElement.Set(doc, element);
    return element;
}

}  // namespace

XmlNode CreateChildElement(XmlDocument& doc, XmlNode parent, std::wstring_view name,
                           std::wstring_view text, const AttributeMap& attributes) {
    XmlNode element = StartElement(doc, parent, name, attributes);
    if (!text.empty()) element.SetText(text);
    return element;
}

XmlNode CreateChildElementUtf8(XmlDocument& doc, XmlNode parent, std::wstring_view name,
                               std::string_view utf8Text, const AttributeMap& attributes) {
    XmlNode element = StartElement(doc, parent, name, attributes);
    if (!utf8Text.empty()) element.SetTextUtf8(utf8Text);
    return element;
}

void CloseElement(XmlDocument& doc, XmlNode element) {
    ProcessState& state = Process();
    if (element.HasChildNodes()) --state.indentDepth;
    AppendIndent(doc, element);
    state.lastCreatedElement.Clear();
}

void AppendIndent(XmlDocument&, XmlNode node) {
    // A line feed and up to 63 tabs, cut to length; deeper is built.
    static constexpr std::string_view kIndents =
        "\n\t\t\t\t\t\t\t\t\t\t\t\t\t\t\t\t\t\t\t\t\t\t\t\t\t\t\t\t\t\t\t\t"
        "\t\t\t\t\t\t\t\t\t\t\t\t\t\t\t\t\t\t\t\t\t\t\t\t\t\t\t\t\t\t\t";
    const std::int32_t depth = Process().indentDepth;
    const std::size_t tabs = depth > 0 ? static_cast<std::size_t>(depth) : 0;
    if (tabs < kIndents.size()) {
        node.AppendTextUtf8(kIndents.substr(0, tabs + 1));
    } else {
        std::string indent(1, '\n');
        indent.append(tabs, '\t');
        node.AppendTextUtf8(indent);
    }
}

std::wstring GetAttributeValue(XmlNode node, std::wstring_view name) {
    if (!node) return {};
    return node.Attribute(name).value_or(std::wstring());
}

std::wstring GetNodeText(XmlNode node) { return node ? node.Text() : std::wstring(); }

std::wstring AppendPath(std::wstring_view location, std::wstring_view suffix) {
    std::wstring out(location);
    out += suffix;
    return out;
}

std::wstring XPathLiteral(std::wstring_view text) {
    if (text.find(L'\'') == std::wstring_view::npos) return L"'" + std::wstring(text) + L"'";
    if (text.find(L'"') == std::wstring_view::npos) return L"\"" + std::wstring(text) + L"\"";
    // Both quotes: pieces without a single quote, joined by "'".
    std::wstring out = L"concat(";
    std::size_t from = 0;
    for (;;) {
        const auto quote = text.find(L'\'', from);
        if (from != 0) out += L",\"'\",";
        out += L"'" + std::wstring(text.substr(from, quote - from)) + L"'";
        if (quote == std::wstring_view::npos) break;
        from = quote + 1;
    }
    return out + L")";
}

std::wstring WithName(std::wstring_view location, std::wstring_view name) {
    std::wstring out(location);
    out += L"[@Name=";
    out += XPathLiteral(name);
    out += L']';
    return out;
}

std::wstring NamedPath(std::wstring_view location, std::wstring_view element, std::wstring_view name) {
    std::wstring out(location);
    out += L'/';
    out += element;
    return WithName(out, name);
}

}  // namespace kvswx
