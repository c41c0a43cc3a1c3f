// Writing a record into a document of its own and reading it back, for the
// record tests.
#pragma once

#include <gtest/gtest.h>

#include <functional>
#include <string>

#include "model/serializable.h"
#include "model/xml_helpers.h"

namespace kvswx::test {

// Bytes of a document whose root element `root` is filled by `fill`.
inline std::string WriteUnder(const std::wstring& root,
                              const std::function<void(XmlDocument&, XmlNode)>& fill) {
    XmlDocument doc;
    XmlNode element = CreateChildElement(doc, doc.AsNode(), root);
    fill(doc, element);
    CloseElement(doc, element);
    return doc.ToBytes();
}

// `record` written under a root element "r".
inline std::string WriteRecord(I_Serializable& record) {
    return WriteUnder(L"r", [&](XmlDocument& doc, XmlNode parent) { record.Write(doc, parent); });
}

// Loads `xml` and hands the node at `location` to `read`.
inline void ReadAt(const std::string& xml, const std::wstring& location,
                   const std::function<void(XmlDocument&, XmlNode)>& read) {
    XmlDocument doc;
    ASSERT_TRUE(doc.LoadString(xml).ok) << xml;
    const XmlNode node = doc.SelectSingleNode(location);
    ASSERT_TRUE(node) << "nothing at the location in " << xml;
    read(doc, node);
}

}  // namespace kvswx::test
