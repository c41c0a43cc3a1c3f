#include <gtest/gtest.h>

#include "platform/text.h"
#include "platform/xml_dom.h"

namespace kvswx::xml {
namespace {

// Escaping and the nodes a document writes are pinned by the golden files.
TEST(XmlDom, ControlCharactersNeverReachTheFile) {
    Document doc;
    Node e = doc.AsNode().AppendElement(L"e");
    e.SetAttribute(L"a", std::wstring(L"x") + wchar_t(0x02));
    e.SetText(std::wstring(L"y") + wchar_t(0x1F) + wchar_t(0xDFFF));
    const std::string bytes = doc.ToBytes();
    EXPECT_EQ(bytes.find("&#"), std::string::npos) << bytes;
    Document back;
    ASSERT_TRUE(back.LoadString(bytes).ok);
    EXPECT_EQ(back.SelectSingleNode(L"/e").Text(), L"y\uFFFD\uFFFD");
}

TEST(XmlDom, CarriageReturnInTextReadsBackAsLineFeed) {
    Document doc;
    doc.AsNode().AppendElement(L"e").SetText(L"a\r\nb\rc");
    Document back;
    ASSERT_TRUE(back.LoadString(doc.ToBytes()).ok);
    EXPECT_EQ(back.SelectSingleNode(L"/e").Text(), L"a\nb\nc");
}

TEST(XmlDom, XPathSelectionAndBadLocations) {
    Document doc;
    ASSERT_TRUE(doc.LoadString("<r><s Name='A'><v Name='x'/></s><s Name='B'/><s Name=\"it's\"/></r>").ok);
    EXPECT_EQ(doc.SelectNodes(L"/r/s").size(), 3u);
    EXPECT_EQ(doc.SelectSingleNode(L"/r/s[@Name='B']").Attribute(L"Name"), L"B");
    // A union comes back in document order.
    const auto both = doc.SelectNodes(L"/r/s[@Name='B'] | /r/s[@Name='A']");
    ASSERT_EQ(both.size(), 2u);
    EXPECT_EQ(both[0].Attribute(L"Name"), L"A");
    // A name with a quote pasted between quotes finds nothing, never throws.
    EXPECT_FALSE(doc.SelectSingleNode(L"/r/s[@Name='it's']"));
    EXPECT_TRUE(doc.SelectNodes(L"/r/s[@Name='it's']").empty());
    EXPECT_FALSE(doc.SelectSingleNode(L"/r/missing"));
    EXPECT_FALSE(doc.SelectSingleNode(L"/r/s").Attribute(L"Other").has_value());
}

// Location paths answered through the child index select exactly what
// XPath selects: a union of the path with itself goes to the XPath engine.
TEST(XmlDom, IndexedLocationsSelectWhatXPathSelects) {
    Document doc;
    ASSERT_TRUE(doc.LoadString("<r><s Name='A'><v Name='x'/><w/></s><s Name='B'><v Name='x'/></s>"
                               "<s Name='A'><v Name='y'/><v Name='x'/></s><s Name=\"it's\"><v/></s>"
                               "<s Name='q\"&apos;'><v/></s><s/>text<t Name='A'/></r>")
                    .ok);
    const std::wstring paths[] = {
        L"/r", L"/r/s", L"/r/*", L"/r/s/*", L"/r/s[@Name='A']", L"/r/s[@Name='A']/v",
        L"/r/s[@Name='A']/v[@Name='x']", L"/r/*[@Name='A']", L"/r/s[@Name=\"it's\"]/v",
        L"/r/s[@Name=concat('q\"',\"'\")]/*", L"/r/s[@Name='']", L"/r/s[@Other='A']", L"/r/missing/*",
        L"/x", L"/r/s/v[@Name='x']",
    };
    for (const std::wstring& path : paths) {
        SCOPED_TRACE(ToUtf8(path));
        const auto indexed = doc.SelectNodes(path);
        const auto engine = doc.SelectNodes(path + L" | " + path);
        EXPECT_EQ(indexed, engine);
        EXPECT_EQ(doc.SelectSingleNode(path), engine.empty() ? Node() : engine.front());
    }
    // Children appended after a lookup are found by the next one.
    EXPECT_TRUE(doc.SelectNodes(L"/r/u").empty());
    doc.SelectSingleNode(L"/r").Raw().append_child("u");
    EXPECT_EQ(doc.SelectNodes(L"/r/u").size(), 1u);
}

TEST(XmlDom, WhitespaceOnlyTextIsDroppedOnLoad) {
    Document doc;
    ASSERT_TRUE(doc.LoadString("<r>\n\t<a>1</a>\n</r>").ok);
    const auto children = doc.SelectSingleNode(L"/r").ChildNodes();
    ASSERT_EQ(children.size(), 1u);
    EXPECT_EQ(children[0].Text(), L"1");
}

TEST(XmlDom, LoadErrorsSayWhere) {
    Document doc;
    const auto r = doc.LoadString("<r><a></r>");
    EXPECT_FALSE(r.ok);
    EXPECT_NE(r.error.find("offset"), std::string::npos);
}

}  // namespace
}  // namespace kvswx::xml
