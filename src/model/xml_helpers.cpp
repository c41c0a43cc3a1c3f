#include "model/xml_helpers.h"

#include "model/process_state.h"

namespace kvswx {

XmlNode CreateChildElement(XmlDocument& doc, XmlNode parent, std::wstring_view name,
                           std::wstring_view text, const AttributeMap& attributes) {
    ProcessState& state = Process();
    if (state.lastCreatedElement.Is(doc, parent)) ++state.indentDepth;
    AppendIndent(doc, parent);
    XmlNode element = parent.AppendElement(name);
    for (const auto& [key, value] : attributes) {
        if (!key.empty() && !value.empty()) element.SetAttribute(key, value);
    }
    if (!text.empty()) element.SetText(text);
    state.lastCreatedElement.Set(doc, element);
    return element;
}

void CloseElement(XmlDocument& doc, XmlNode element) {
    ProcessState& state = Process();
    if (element.HasChildNodes()) --state.indentDepth;
    AppendIndent(doc, element);
    state.lastCreatedElement.Clear();
}

void AppendIndent(XmlDocument&, XmlNode node) {
    const std::int32_t depth = Process().indentDepth;
    std::wstring indent(1, L'\n');
    if (depth > 0) indent.append(static_cast<std::size_t>(depth), L'\t');
    node.AppendText(indent);
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
