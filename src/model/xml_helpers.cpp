#include "model/xml_helpers.h"

#include <algorithm>
#include <type_traits>

#include "model/process_state.h"
#include "platform/xml_stream.h"

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

// A line feed and one tab per level of `depth`: a slice of a constant up to
// 63 tabs, built beyond.
std::string_view IndentText(std::int32_t depth) {
    static constexpr std::string_view kIndents =
        "\n\t\t\t\t\t\t\t\t\t\t\t\t\t\t\t\t\t\t\t\t\t\t\t\t\t\t\t\t\t\t\t\t"
        "\t\t\t\t\t\t\t\t\t\t\t\t\t\t\t\t\t\t\t\t\t\t\t\t\t\t\t\t\t\t\t";
    const std::size_t tabs = depth > 0 ? static_cast<std::size_t>(depth) : 0;
    if (tabs < kIndents.size()) return kIndents.substr(0, tabs + 1);
    thread_local std::string deep;
    deep.assign(1, '\n');
    deep.append(tabs, '\t');
    return deep;
}

XmlNode StartElement(XmlDocument& doc, XmlNode parent, std::wstring_view name,
                     const AttributeMap& attributes) {
    ProcessState& state = Process();
    if (state.lastCreatedElement.Is(doc, parent)) ++state.indentDepth;
    if (xml::StreamWriter* stream = doc.Stream()) {
        // The indentation and the element in one step.
        const std::uint32_t id = stream->AppendElement(parent.StreamedId(), name, IndentText(state.indentDepth));
        if (!attributes.empty()) {
            attributes.ForEachInOrder([&](std::wstring_view key, std::wstring_view value) {
                if (!key.empty() && !value.empty()) stream->AppendAttribute(id, key, value);
            });
        }
        const XmlNode element = XmlNode::Streamed(id);
        state.lastCreatedElement.Set(doc, element);
        return element;
    }
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

template <class Text>
void LeafWriter::WriteLeaf(const wchar_t* name, std::string_view asciiName, const LeafAttribute* attribute,
                           Text text) {
    const bool asciiAttribute = attribute == nullptr || (attribute->asciiName.size() == attribute->name.size() &&
                                                         attribute->asciiValue.size() == attribute->value.size());
    if (stream_ != nullptr && !asciiName.empty() && asciiAttribute) {
        if (!indented_) {
            // Only the first element of a run can be the first child of
            // `parent`; the others follow one of the run.
            ProcessState& state = Process();
            if (state.lastCreatedElement.Is(doc_, parent_)) ++state.indentDepth;
            indent_ = IndentText(state.indentDepth);
            indented_ = true;
        }
        std::string_view key;
        std::string_view value;
        if (attribute != nullptr && !attribute->name.empty() && !attribute->value.empty()) {
            key = attribute->asciiName;
            value = attribute->asciiValue;
        }
        last_ = stream_->AppendLeaf(parent_.StreamedId(), indent_, asciiName, key, value, text);
        return;
    }
    // Step by step, as any element.
    Finish();
    indented_ = false;
    AttributeMap attributes;
    if (attribute != nullptr) attributes.emplace(attribute->name, attribute->value);
    if constexpr (std::is_same_v<Text, std::string_view>) {
        CreateChildElementUtf8(doc_, parent_, name, text, attributes);
    } else {
        CreateChildElement(doc_, parent_, name, text, attributes);
    }
}

void LeafWriter::Write(const wchar_t* name, std::string_view asciiName, const LeafAttribute* attribute,
                       std::string_view utf8Text) {
    WriteLeaf(name, asciiName, attribute, utf8Text);
}

void LeafWriter::Write(const wchar_t* name, std::string_view asciiName, const LeafAttribute* attribute,
                       std::wstring_view text) {
    WriteLeaf(name, asciiName, attribute, text);
}

void LeafWriter::Finish() {
    if (last_ == 0) return;
    Process().lastCreatedElement.Set(doc_, XmlNode::Streamed(last_));
    last_ = 0;
}

XmlNode CreateChildElement(XmlDocument& doc, XmlNode parent, std::wstring_view name,
                           std::wstring_view text, const AttributeMap& attributes) {
    XmlNode element = StartElement(doc, parent, name, attributes);
    if (text.empty()) return element;
    if (xml::StreamWriter* stream = doc.Stream()) {
        stream->AppendText(element.StreamedId(), text);
    } else {
        element.SetText(text);
    }
    return element;
}

XmlNode CreateChildElementUtf8(XmlDocument& doc, XmlNode parent, std::wstring_view name,
                               std::string_view utf8Text, const AttributeMap& attributes) {
    XmlNode element = StartElement(doc, parent, name, attributes);
    if (utf8Text.empty()) return element;
    if (xml::StreamWriter* stream = doc.Stream()) {
        stream->AppendPlainText(element.StreamedId(), utf8Text);
    } else {
        element.SetTextUtf8(utf8Text);
    }
    return element;
}

void CloseElement(XmlDocument& doc, XmlNode element) {
    ProcessState& state = Process();
    xml::StreamWriter* stream = doc.Stream();
    if (stream != nullptr ? stream->HasChildren(element.StreamedId()) : element.HasChildNodes())
        --state.indentDepth;
    AppendIndent(doc, element);
    state.lastCreatedElement.Clear();
}

void AppendIndent(XmlDocument& doc, XmlNode node) {
    const std::string_view indent = IndentText(Process().indentDepth);
    if (xml::StreamWriter* stream = doc.Stream()) {
        stream->AppendIndent(node.StreamedId(), indent);
    } else {
        node.AppendTextUtf8(indent);
    }
}

void AppendProcessingInstruction(XmlDocument& doc, XmlNode parent, std::wstring_view target,
                                 std::wstring_view data) {
    if (xml::StreamWriter* stream = doc.Stream()) {
        stream->AppendProcessingInstruction(parent.StreamedId(), ToUtf8Xml(target), ToUtf8Xml(data));
    } else {
        parent.AppendProcessingInstruction(target, data);
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
