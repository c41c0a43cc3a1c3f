#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

#include "docprops/text_format.h"
#include "entry/source.h"
#include "model/process_state.h"
#include "views/record_xml.h"

namespace kvswx {
namespace {

class TextFormatTest : public ::testing::Test {
protected:
    void SetUp() override { ResetProcessStateForTests(); }
};

// The record in the wrapper element its owner creates, as owners do.
std::string WriteFont(const KVSWX_TextFormat& format) {
    return test::WriteUnder(L"owner", [&](XmlDocument& doc, XmlNode owner) {
        format.GetImpl()->Write(doc, CreateChildElement(doc, owner, L"Font"));
    });
}

void ReadFont(KVSWX_TextFormat& format, const std::string& xml) {
    test::ReadAt(xml, L"/owner/Font",
                 [&](XmlDocument& doc, XmlNode node) { format.GetImpl()->ReadFromNode(doc, node); });
}

TEST_F(TextFormatTest, NeverFilledWritesInitialValuesInOrderAndClosesTheWrapper) {
    KVSWX_TextFormat format;
    EXPECT_EQ(WriteFont(format),
              "\n<owner>\n\t<Font>"
              "\n\t\t<IsBackWards>false</IsBackWards>"
              "\n\t\t<IsBold>false</IsBold>"
              "\n\t\t<CharHeight>0.0035000000000000</CharHeight>"
              "\n\t\t<CharHeightInPoints>13</CharHeightInPoints>"
              "\n\t\t<CharSpacingFactor>1.0000000000000000</CharSpacingFactor>"
              "\n\t\t<Escapement>0.0000000000000000</Escapement>"
              "\n\t\t<IsItalic>false</IsItalic>"
              "\n\t\t<LineLength>0.0000000000000000</LineLength>"
              "\n\t\t<LineSpacing>0.0000000000000000</LineSpacing>"
              "\n\t\t<ObliqueAngle>0.0000000000000000</ObliqueAngle>"
              "\n\t\t<IsStrikeOut>false</IsStrikeOut>"
              "\n\t\t<TypeFaceName>Century Gothic</TypeFaceName>"
              "\n\t\t<IsUnderline>false</IsUnderline>"
              "\n\t\t<IsUpsideDown>false</IsUpsideDown>"
              "\n\t\t<IsVertical>false</IsVertical>"
              "\n\t\t<WidthFactor>1.0000000000000000</WidthFactor>"
              "\n\t</Font>\n</owner>");
    EXPECT_EQ(Process().indentDepth, 0);
}

void FillAll(KVSWX_TextFormat& f) {
    f.SetIsBackWards(true);
    f.SetIsBold(true);
    f.SetCharHeight(0.005);
    f.SetCharHeightInPoints(-7);
    f.SetCharSpacingFactor(1.25);
    f.SetEscapement(0.1);
    f.SetIsItalic(true);
    f.SetLineLength(2.5);
    f.SetLineSpacing(0.002);
    f.SetObliqueAngle(-0.2);
    f.SetIsStrikeOut(true);
    f.SetTypeFaceName(L"Ari\u00e1l <Narrow> & \"Co\"");
    f.SetIsUnderline(true);
    f.SetIsUpsideDown(true);
    f.SetIsVertical(true);
    f.SetWidthFactor(0.75);
}

TEST_F(TextFormatTest, EveryFieldReadsBackAndSavesToSameBytes) {
    KVSWX_TextFormat original;
    FillAll(original);
    const std::string xml = WriteFont(original);
    KVSWX_TextFormat back;
    ReadFont(back, xml);
    EXPECT_EQ(back.Values().typeFaceName, original.Values().typeFaceName);
    EXPECT_EQ(back.Values().charHeightInPoints, -7);
    ResetProcessStateForTests();
    EXPECT_EQ(WriteFont(back), xml);
}

TEST_F(TextFormatTest, ReadingIsStrictAboutBooleansAndKeepsFieldsWithoutElement) {
    KVSWX_TextFormat format;
    ReadFont(format,
             "<owner><Font><IsBold>1</IsBold><IsItalic>true</IsItalic><TypeFaceName/>"
             "<Unknown>5</Unknown><CharHeight>  0.01</CharHeight></Font></owner>");
    EXPECT_FALSE(format.Values().isBold);
    EXPECT_TRUE(format.Values().isItalic);
    EXPECT_EQ(format.Values().typeFaceName, L"");
    EXPECT_EQ(format.Values().charHeight, 0.01);
    EXPECT_EQ(format.Values().charHeightInPoints, 13);
    EXPECT_EQ(format.Values().widthFactor, 1.0);
    // An empty face name writes an element without text.
    EXPECT_NE(WriteFont(format).find("<TypeFaceName/>"), std::string::npos);
}

// A source text format whose properties are given as plain values.
class FakeTextFormat final : public SourceTextFormat {
public:
    VBool backwards = 0, bold = 0, italic = 0, strike = 0, underline = 0, upsideDown = 0, vertical = 0;
    double height = 0, spacing = 0, escapement = 0, lineLength = 0, lineSpacing = 0, oblique = 0, width = 0;
    std::int32_t points = 0;
    SourceString face;

    VBool IsBackWards() override { return backwards; }
    VBool IsBold() override { return bold; }
    double CharHeight() override { return height; }
    std::int32_t CharHeightInPoints() override { return points; }
    double CharSpacingFactor() override { return spacing; }
    double Escapement() override { return escapement; }
    VBool IsItalic() override { return italic; }
    double LineLength() override { return lineLength; }
    double LineSpacing() override { return lineSpacing; }
    double ObliqueAngle() override { return oblique; }
    VBool IsStrikeOut() override { return strike; }
    SourceString TypeFaceName() override { return face; }
    VBool IsUnderline() override { return underline; }
    VBool IsUpsideDown() override { return upsideDown; }
    VBool IsVertical() override { return vertical; }
    double WidthFactor() override { return width; }
};

TEST_F(TextFormatTest, ExtractCopiesEveryPropertyAnyNonZeroBooleanIsTrue) {
    auto source = std::make_shared<FakeTextFormat>();
    source->backwards = kVariantTrue;
    source->bold = 1;
    source->italic = 2;
    source->strike = 0;
    source->underline = -2;
    source->vertical = kVariantTrue;
    source->height = 0.004;
    source->points = 11;
    source->spacing = 1.5;
    source->escapement = 0.3;
    source->lineLength = 4;
    source->lineSpacing = 0.001;
    source->oblique = 0.2;
    source->width = 0.9;
    source->face = L"Arial";
    KVSWX_TextFormat format;
    ExtractTextFormat(format, source);
    const TextFormatValues& v = format.Values();
    EXPECT_TRUE(v.isBackWards && v.isBold && v.isItalic && v.isUnderline && v.isVertical);
    EXPECT_FALSE(v.isStrikeOut || v.isUpsideDown);
    EXPECT_EQ(v.charHeight, 0.004);
    EXPECT_EQ(v.charHeightInPoints, 11);
    EXPECT_EQ(v.charSpacingFactor, 1.5);
    EXPECT_EQ(v.escapement, 0.3);
    EXPECT_EQ(v.lineLength, 4);
    EXPECT_EQ(v.lineSpacing, 0.001);
    EXPECT_EQ(v.obliqueAngle, 0.2);
    EXPECT_EQ(v.widthFactor, 0.9);
    EXPECT_EQ(v.typeFaceName, L"Arial");

    source->face.reset();  // no string at all: copied as empty
    ExtractTextFormat(format, source);
    EXPECT_EQ(format.Values().typeFaceName, L"");
}

TEST_F(TextFormatTest, ExtractWithoutSourceKeepsInitialValues) {
    KVSWX_TextFormat format;
    const std::string before = WriteFont(format);
    ExtractTextFormat(format, nullptr);
    ResetProcessStateForTests();
    EXPECT_EQ(WriteFont(format), before);
}

}  // namespace
}  // namespace kvswx
