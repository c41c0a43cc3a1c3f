// The writer's narrow paths must give exactly the bytes of the wide forms
// they replace: numbers, converted text, attribute order, indentation.
#include <gtest/gtest.h>

#include <cfloat>
#include <climits>
#include <cmath>
#include <map>
#include <string>

#include "model/encodings.h"
#include "model/process_state.h"
#include "model/xml_helpers.h"
#include "platform/text.h"

namespace kvswx {
namespace {

TEST(NarrowFormatting, SameCharactersAsTheWideForms) {
    const double values[] = {0.0,      -0.0,     1.0 / 3,   -1e-300, 5e-324, 1e19,
                             9.99e19,  1e20,     -1e20,     1.5e21,  1e300,  DBL_MAX,
                             -DBL_MAX, INFINITY, -INFINITY, NAN,     -NAN,   123456789.123456789,
                             0.1};
    std::string all;
    DoubleList list;
    for (const double v : values) {
        std::string one = "x";  // appended, not replaced
        AppendDouble(one, v);
        EXPECT_EQ(one, "x" + ToUtf8(FormatDouble(v))) << v;
        list.push_back(v);
    }
    AppendDoubles(all, list.data(), list.size());
    EXPECT_EQ(all, ToUtf8(FormatDoubleList(list)));
    for (const std::int32_t v : {0, -1, INT_MAX, INT_MIN}) {
        std::string one;
        AppendInt(one, v);
        EXPECT_EQ(one, ToUtf8(FormatInt(v)));
    }
}

TEST(NarrowFormatting, AppendedConversionEqualsTheWholeOne) {
    const std::wstring texts[] = {L"",
                                  L"plain ASCII with tab\t, CR\r and LF\n",
                                  L"ends in a control \x01",
                                  L"\x7F delete then \xE9t\xE9",
                                  L"pair \xD83D\xDE00 lone \xD800 end \xFFFE",
                                  std::wstring(L"nul \0 inside", 12)};
    for (const auto& t : texts) {
        std::string out = "<";
        AppendUtf8Xml(out, t);
        EXPECT_EQ(out, "<" + ToUtf8Xml(t));
    }
}

// Attributes come out in CompareNames order whatever the order of adding,
// the first value of a name wins, and neither many entries nor long values
// change that.
TEST(AttributeMapWriting, OrderFirstValueManyAndLong) {
    ResetProcessStateForTests();
    const std::wstring longValue(300, L'v');
    const std::vector<std::pair<std::wstring, std::wstring>> added = {
        {L"b", L"1"}, {L"B", L"2"},      {L"a", longValue},  {L"Z", L"3"}, {L"b", L"ignored"},
        {L"y", L"4"}, {L"aa", L"5"},     {L"A", L"6"},       {L"c", L"7"}, {L"Empty", L""},
        {L"d", L"8"}, {L"e", longValue}, {L"", L"nameless"}, {L"f", L"9"}};
    for (const std::size_t count : {std::size_t{4}, added.size()}) {
        AttributeMap attributes;
        std::map<std::wstring, std::wstring, NameLess> reference;
        for (std::size_t i = 0; i < count; ++i) {
            attributes.emplace(added[i].first, added[i].second);
            reference.emplace(added[i].first, added[i].second);
        }
        EXPECT_EQ(attributes.size(), reference.size());
        std::string expected = "\n<r";
        for (const auto& [name, value] : reference) {
            if (!name.empty() && !value.empty())
                expected += " " + ToUtf8(name) + "=\"" + ToUtf8(value) + "\"";
        }
        expected += "/>";
        XmlDocument doc;
        CreateChildElement(doc, doc.AsNode(), L"r", {}, attributes);
        EXPECT_EQ(doc.ToBytes(), expected) << count << " attributes";
        const AttributeMap copy = attributes;  // a copy keeps its own characters
        attributes.emplace(L"later", L"x");
        XmlDocument again;
        CreateChildElement(again, again.AsNode(), L"r", {}, copy);
        EXPECT_EQ(again.ToBytes(), expected);
    }
}

// Deeper than the prepared indentation reaches.
TEST(AttributeMapWriting, IndentationPastSixtyThreeTabs) {
    ResetProcessStateForTests();
    XmlDocument doc;
    XmlNode node = doc.AsNode();
    std::vector<XmlNode> open;
    for (int i = 0; i < 69; ++i) open.push_back(node = CreateChildElement(doc, node, L"e"));
    CreateChildElementUtf8(doc, node, L"e", "1");  // a leaf: not closed
    for (auto it = open.rbegin(); it != open.rend(); ++it) CloseElement(doc, *it);
    const std::string bytes = doc.ToBytes();
    EXPECT_NE(
        bytes.find("\n" + std::string(69, '\t') + "<e>1</e>\n" + std::string(68, '\t') + "</e>"),
        std::string::npos);
    EXPECT_EQ(Process().indentDepth, 0);
}

// A leaf written whole into a stream gives the bytes of the same element
// made step by step in a tree: depth, attribute (skipped when its name or
// value is empty), escaping, empty text, text that converts to nothing,
// and names that are not plain ASCII (which take the wide path).
TEST(LeafElements, StreamedWholeAsTheTreeMakesThem) {
    struct Case {
        const wchar_t* name;
        LeafAttribute attribute;
        bool withAttribute;
        std::wstring wide;  // written wide when `narrow` is empty
        std::string narrow;
    };
    const std::wstring nul(1, L'\0');
    const Case cases[] = {
        {L"Number", {}, false, L"", "0.5000000000000000"},
        {L"Empty", {}, false, L"", ""},
        {L"Enum", {L"swKey", L"swName", "swKey", "swName"}, true, L"", "3"},
        {L"NoName", {L"swKey", L"", "swKey", ""}, true, L"", "3"},
        {L"Quoted", {L"k", L"a\"b&", "k", "a\"b&"}, true, L"", ""},
        {L"Text", {}, false, L"C:\\a&b<c>\u00e9", ""},
        {L"Nul", {}, false, nul, ""},
        {L"Wide\u00e9", {L"k", L"v", "k", "v"}, true, L"t", ""},
        {L"Attr", {L"k\u00e9", L"v\u00e9", "", ""}, true, L"", "1"},
    };
    auto write = [&](XmlDocument& doc) {
        XmlNode root = CreateChildElement(doc, doc.AsNode(), L"r");
        LeafWriter leaves(doc, root);
        for (const Case& c : cases) {
            const AsciiName ascii(c.name);
            const LeafAttribute* attribute = c.withAttribute ? &c.attribute : nullptr;
            if (c.wide.empty()) {
                leaves.Write(c.name, ascii.View(), attribute, std::string_view(c.narrow));
            } else {
                leaves.Write(c.name, ascii.View(), attribute, std::wstring_view(c.wide));
            }
        }
        leaves.Finish();
        CreateChildElement(doc, root, L"after");
        CloseElement(doc, root);
    };
    ResetProcessStateForTests();
    XmlDocument tree;
    write(tree);
    ResetProcessStateForTests();
    XmlDocument streamed(XmlDocument::Streamed, {});
    write(streamed);
    EXPECT_EQ(streamed.ToBytes(), tree.ToBytes());
    EXPECT_NE(tree.ToBytes().find("\n\t<Enum swKey=\"swName\">3</Enum>\n\t<NoName>3</NoName>"), std::string::npos);

    EXPECT_EQ(AsciiName(L"IsFullOutline").View(), "IsFullOutline");
    for (const wchar_t* notAscii : {L"", L"a b", L"\u00e9", static_cast<const wchar_t*>(nullptr)})
        EXPECT_EQ(AsciiName(notAscii).View(), "");
    EXPECT_EQ(AsciiName(std::wstring(AsciiName::kMax, L'x').c_str()).View().size(), AsciiName::kMax);
    EXPECT_EQ(AsciiName(std::wstring(AsciiName::kMax + 1, L'x').c_str()).View(), "");
}

}  // namespace
}  // namespace kvswx
