// The one interface every record implementation serialises through.
#pragma once

#include <string>

#include "platform/xml_dom.h"

namespace kvswx {

using XmlDocument = xml::Document;
using XmlNode = xml::Node;

class I_Serializable {
public:
    virtual ~I_Serializable() = default;
    // Fill the record from its own element.
    virtual void ReadFromNode(XmlDocument& doc, XmlNode node) = 0;
    // Find the record's element by XPath location and fill the record.
    virtual void ReadFromDocument(XmlDocument& doc, const std::wstring& location) = 0;
    // Append the record's element (or its children, where the owner made the
    // element) under `parent`.
    virtual void Write(XmlDocument& doc, XmlNode parent) = 0;
};

// Records found by a unique location: the node reader is the shared no-op.
class LocatedSerializable : public I_Serializable {
public:
    void ReadFromNode(XmlDocument&, XmlNode) override {}
};

// Records read one node at a time by their owner: the location reader is the
// shared no-op.
class NodeSerializable : public I_Serializable {
public:
    void ReadFromDocument(XmlDocument&, const std::wstring&) override {}
};

}  // namespace kvswx
