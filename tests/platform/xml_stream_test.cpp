#include "platform/xml_stream.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>

#include "platform/xml_dom.h"
#include "test_support.h"

namespace kvswx::xml {
namespace {

constexpr std::uint32_t kDoc = StreamWriter::kDocument;

std::string Tree(const std::string& text) {
    Document doc;
    Node e = doc.AsNode().AppendElementUtf8("e");
    e.AppendAttributeUtf8("a", text);
    e.AppendTextUtf8(text);
    return doc.ToBytes();
}

// Every ASCII character and a few others, in an attribute and as text: the
// same bytes as pugixml saves from a tree, for narrow and for wide input
// (which the tree converts first).
TEST(XmlStream, EscapesAsTheTreeDoes) {
    for (int c = 1; c < 128; ++c) {
        const std::string text = std::string("x") + static_cast<char>(c) + "0123456789&<>\"" + static_cast<char>(c);
        StreamWriter stream;
        const auto e = stream.AppendElement(kDoc, std::string_view("e"));
        stream.AppendAttribute(e, std::string_view("a"), text);
        stream.AppendText(e, text);
        stream.Finish();
        ASSERT_EQ(stream.Take(), Tree(text)) << c;
    }
    const std::wstring wide[] = {L"plain", L"a\tb\nc\rd", std::wstring(L"nul") + wchar_t(0) + L"x",
                                 L"\u00e9\u4e2d&<>\"", std::wstring(L"bad") + wchar_t(0x02) + wchar_t(0xDFFF)};
    for (const std::wstring& text : wide) {
        Document doc;
        Node e = doc.AsNode().AppendElement(L"e");
        e.AppendAttribute(L"a", text);
        e.AppendText(text);
        StreamWriter stream;
        const auto s = stream.AppendElement(kDoc, std::wstring_view(L"e"));
        stream.AppendAttribute(s, std::wstring_view(L"a"), text);
        stream.AppendText(s, text);
        stream.Finish();
        EXPECT_EQ(stream.Take(), doc.ToBytes());
    }
    // A zero byte ends narrow text, as it ends pugixml's strings.
    StreamWriter stream;
    stream.AppendText(stream.AppendElement(kDoc, std::string_view("e")), std::string_view("a\0b", 3));
    stream.Finish();
    EXPECT_EQ(stream.Take(), "<e>a</e>");
}

// Elements closed by what comes next, empty ones, empty text, names that
// are empty or not ASCII, and instructions: the tree's bytes.
TEST(XmlStream, StructureAsTheTreeSavesIt) {
    Document doc;
    Node root = doc.AsNode();
    root.AppendProcessingInstruction(L"xml", L"a?>b");
    Node r = root.AppendElement(L"r");
    Node a = r.AppendElement(L"");
    a.AppendElement(L"\u00e9").AppendTextUtf8("");
    a.AppendElement(L"leaf");
    r.AppendTextUtf8("\n");
    r.AppendElement(L"b").AppendAttribute(L"", L"v");
    root.AppendProcessingInstruction(L"", L"");

    StreamWriter stream;
    stream.AppendProcessingInstruction(kDoc, "xml", "a?>b");
    const auto sr = stream.AppendElement(kDoc, std::wstring_view(L"r"));
    const auto sa = stream.AppendElement(sr, std::wstring_view(L""));
    stream.AppendText(stream.AppendElement(sa, std::wstring_view(L"\u00e9")), std::string_view(""));
    EXPECT_TRUE(stream.HasChildren(sa));
    stream.AppendElement(sa, std::wstring_view(L"leaf"));
    stream.AppendText(sr, std::string_view("\n"));
    stream.AppendAttribute(stream.AppendElement(sr, std::wstring_view(L"b")), std::wstring_view(L""),
                           std::wstring_view(L"v"));
    stream.AppendProcessingInstruction(kDoc, "", "");
    stream.Finish();
    EXPECT_EQ(stream.Take(), doc.ToBytes());
}

TEST(XmlStream, RefusesWritesOutOfOrder) {
    StreamWriter stream;
    const auto r = stream.AppendElement(kDoc, std::string_view("r"));
    const auto first = stream.AppendElement(r, std::string_view("a"));
    stream.AppendElement(r, std::string_view("b"));  // closes "a"
    EXPECT_THROW(stream.AppendText(first, std::string_view("late")), OutOfOrder);
    EXPECT_THROW(stream.AppendText(r, std::string_view("x")), OutOfOrder);  // nothing after a refusal

    StreamWriter attributes;
    const auto e = attributes.AppendElement(kDoc, std::string_view("e"));
    attributes.AppendText(e, std::string_view("t"));
    EXPECT_THROW(attributes.AppendAttribute(e, std::string_view("a"), std::string_view("v")), OutOfOrder);
}

std::string ReadFile(const std::filesystem::path& p) {
    std::ifstream in(p, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), {}};
}

// A streamed document written to its file in blocks (larger than one), and
// one dropped unsaved leaving nothing behind.
TEST(XmlStream, SavesThroughATemporaryFile) {
    const std::filesystem::path dir = test::ScratchDir() / "xml_stream";
    std::filesystem::remove_all(dir);
    std::filesystem::create_directories(dir);
    const std::filesystem::path file = dir / "out.xml";
    std::string expected;
    {
        Document doc(Document::Streamed, file);
        StreamWriter& stream = *doc.Stream();
        const auto r = stream.AppendElement(kDoc, std::string_view("r"));
        for (int i = 0; i < 20000; ++i) {
            stream.AppendText(stream.AppendElement(r, std::wstring_view(L"v"), "\n\t"), std::to_string(i));
            expected += "\n\t<v>" + std::to_string(i) + "</v>";
        }
        EXPECT_FALSE(doc.Save(dir / "other.xml"));
        ASSERT_TRUE(doc.Save(file));
    }
    EXPECT_EQ(ReadFile(file), "<r>" + expected + "</r>");
    {
        Document doc(Document::Streamed, dir / "dropped.xml");
        doc.Stream()->AppendElement(kDoc, std::string_view("r"));
    }
    std::size_t files = 0;
    for (const auto& entry : std::filesystem::directory_iterator(dir)) files += entry.is_regular_file() ? 1 : 0;
    EXPECT_EQ(files, 1u);
}

}  // namespace
}  // namespace kvswx::xml
