#include "docprops/text_format.h"
#include "extract/text_format_extraction.h"

#include <gtest/gtest.h>

#include <string>

#include "test_support.h"
#include "model/process_state.h"
#include "recorded/recording.h"
#include "views/record_xml.h"

namespace kvswx {
namespace {

using TextFormatTest = test::FreshProcessTest;

// The record in the wrapper element its owner creates.
std::string WriteFont(const KVSWX_TextFormat& format) {
    return test::WriteUnder(L"owner", [&](XmlDocument& doc, XmlNode owner) {
        format.GetImpl()->Write(doc, CreateChildElement(doc, owner, L"Font"));
    });
}

void ReadFont(KVSWX_TextFormat& format, const std::string& xml) {
    test::ReadAt(xml, L"/owner/Font", [&](XmlDocument& doc, XmlNode node) {
        format.GetImpl()->ReadFromNode(doc, node);
    });
}

// A never filled font (its initial values, in written order, the wrapper
// closed) is pinned by the golden file model/two_sheets.xml; reading is the
// lenient field reading of every record (see base_view_test).

// Extraction from a recorded text format, then a round trip of every field.
TEST_F(TextFormatTest, ExtractCopiesEveryPropertyAndTheRecordReadsBackToTheSameBytes) {
    const auto recording =
        recorded::LoadRecordingFromString(R"({"format": "kvswx-recording/1", "document": {
        "preferences": {"textFormat": {"1,0": {"isBackWards": -1, "isBold": 1, "charHeight": 0.005,
            "charHeightInPoints": -7, "charSpacingFactor": 1.25, "escapement": 0.1, "isItalic": 2, "lineLength": 2.5,
            "lineSpacing": 0.002, "obliqueAngle": -0.2, "isStrikeOut": 0, "typeFaceName": "Ari\u00e1l <N> & \"C\"",
            "isUnderline": -2, "isUpsideDown": 1, "isVertical": 1, "widthFactor": 0.75},
          "2,0": {"charHeight": 0.004}}}}})",
                                          "text.json");
    KVSWX_TextFormat format;
    ExtractTextFormat(format, recording->Document()->ReadDocumentTextFormat(1, 0));
    const TextFormatValues& v = format.Values();
    EXPECT_TRUE(v.isBackWards && v.isBold && v.isItalic && v.isUnderline && v.isUpsideDown &&
                v.isVertical);
    EXPECT_FALSE(v.isStrikeOut);
    EXPECT_EQ(v.charHeight, 0.005);
    EXPECT_EQ(v.charHeightInPoints, -7);
    EXPECT_EQ(v.charSpacingFactor, 1.25);
    EXPECT_EQ(v.escapement, 0.1);
    EXPECT_EQ(v.lineLength, 2.5);
    EXPECT_EQ(v.lineSpacing, 0.002);
    EXPECT_EQ(v.obliqueAngle, -0.2);
    EXPECT_EQ(v.widthFactor, 0.75);
    EXPECT_EQ(v.typeFaceName, L"Ari\u00e1l <N> & \"C\"");
    const std::string xml = WriteFont(format);
    KVSWX_TextFormat back;
    ReadFont(back, xml);
    ResetProcessStateForTests();
    EXPECT_EQ(WriteFont(back), xml);

    ExtractTextFormat(format, recording->Document()->ReadDocumentTextFormat(2, 0));
    EXPECT_EQ(format.Values().typeFaceName, L"");  // no string at all: copied as empty
    const std::string initial = WriteFont(KVSWX_TextFormat{});
    KVSWX_TextFormat untouched;
    ExtractTextFormat(untouched, recording->Document()->ReadDocumentTextFormat(3, 0));  // none
    EXPECT_EQ(WriteFont(untouched), initial);
}

}  // namespace
}  // namespace kvswx
