// Shared routines every record's writer and reader use: element creation
// with the hand-made indentation, closing, attributes, text, locations and
// the generic collection writer and reader.
#pragma once

#include <map>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "model/serializable.h"
#include "platform/text.h"

namespace kvswx {

// Attribute name -> value, in the name order of CompareNames. Inserting a
// name already present keeps the first value (use emplace/insert).
using AttributeMap = std::map<std::wstring, std::wstring, NameLess>;

// Creates an element under `parent` on its own indented line. Attributes with
// an empty name or value are not written; empty text is not set. Depth grows
// by one when `parent` is the element created last.
XmlNode CreateChildElement(XmlDocument& doc, XmlNode parent, std::wstring_view name,
                           std::wstring_view text = {}, const AttributeMap& attributes = {});
// Finishes an element that can hold children: its closing tag goes on its own
// line at its depth.
void CloseElement(XmlDocument& doc, XmlNode element);
// Appends a line feed and one tab per current depth to `node`.
void AppendIndent(XmlDocument& doc, XmlNode node);

// The attribute's value; empty when the attribute is missing.
std::wstring GetAttributeValue(XmlNode node, std::wstring_view name);
std::wstring GetNodeText(XmlNode node);
std::wstring AppendPath(std::wstring_view location, std::wstring_view suffix);
// `text` as an XPath string literal: between single quotes, or double
// quotes when it holds a single quote, or concat() of both kinds when it
// holds both. A name never ends the literal early, so it cannot change
// what the location selects.
std::wstring XPathLiteral(std::wstring_view text);
// `location` limited to the elements whose Name attribute is `name`:
// location[@Name='name'], the name as an XPath literal.
std::wstring WithName(std::wstring_view location, std::wstring_view name);
// Location of a list member identified by name: location/element[@Name='name'].
std::wstring NamedPath(std::wstring_view location, std::wstring_view element, std::wstring_view name);

// Nothing for an empty vector; otherwise a wrapper element holding one
// element per item (each item writes its own element under the wrapper).
template <class Handle>
void WriteCollection(XmlDocument& doc, XmlNode parent, std::wstring_view name,
                     const std::vector<std::unique_ptr<Handle>>& items) {
    if (items.empty()) return;
    XmlNode wrapper = CreateChildElement(doc, parent, name);
    for (const auto& item : items) item->GetImpl()->Write(doc, wrapper);
    CloseElement(doc, wrapper);
}

// Appends one item per element found under location/name, whatever the
// element's own name.
template <class Handle>
void ReadCollection(XmlDocument& doc, std::wstring_view location, std::wstring_view name,
                    std::vector<std::unique_ptr<Handle>>& items) {
    const std::wstring path = AppendPath(AppendPath(AppendPath(location, L"/"), name), L"/*");
    for (const XmlNode& node : doc.SelectNodes(path)) {
        auto item = std::make_unique<Handle>();
        item->GetImpl()->ReadFromNode(doc, node);
        items.push_back(std::move(item));
    }
}

}  // namespace kvswx
