#include "views/detail_envelope.h"

#include <gtest/gtest.h>

#include <string>

#include "model/process_state.h"
#include "views/base_view.h"
#include "views/record_xml.h"
#include "views/sketch_segments.h"

namespace kvswx {
namespace {

class DetailEnvelopeTest : public ::testing::Test {
protected:
    void SetUp() override { ResetProcessStateForTests(); }
};

// A detail view holding the envelope filled by `fill`.
template <class Fill>
std::string ViewWith(Fill fill) {
    KVSWX_BaseView view;
    view.SetType(3);
    fill(*view.NewDetailEnvelope());
    return test::WriteUnder(
        L"view", [&](XmlDocument& doc, XmlNode parent) { view.GetImpl()->Write(doc, parent); });
}

void ReadInto(KVSWX_DetailEnvelope& envelope, const std::string& xml) {
    XmlDocument doc;
    ASSERT_TRUE(doc.LoadString(xml).ok) << xml;
    envelope.GetImpl()->ReadFromDocument(doc, L"/view/DetailEnvelope");
}

// A plain circle: nine children, the two enumerations named; with an empty
// collection still no "Segments".
TEST_F(DetailEnvelopeTest, CircleShapedEnvelopeWritesExactlyNineChildren) {
    const std::string xml = ViewWith([](KVSWX_DetailEnvelope& envelope) {
        envelope.SetName(L"B");
        envelope.SetDisplay(2);
        envelope.SetDetailCircleStyle(0);
        envelope.NewSegments();
    });
    EXPECT_EQ(
        xml.substr(xml.find("\t<DetailEnvelope")),
        "\t<DetailEnvelope Name=\"B\">\n"
        "\t\t<Label/>\n"
        "\t\t<Display swDetCircleShowType=\"swDetCircleDONTSHOW\">2</Display>\n"
        "\t\t<CenterPoint>0.0000000000000000 0.0000000000000000 0.0000000000000000</CenterPoint>\n"
        "\t\t<StartPoint>0.0000000000000000 0.0000000000000000 0.0000000000000000</StartPoint>\n"
        "\t\t<EndPoint>0.0000000000000000 0.0000000000000000 0.0000000000000000</EndPoint>\n"
        "\t\t<LineType swLineType=\"swLF_VISIBLE\">0</LineType>\n"
        "\t\t<TextPoint>0.0000000000000000 0.0000000000000000 0.0000000000000000</TextPoint>\n"
        "\t\t<TextHeight>0.0000000000000000</TextHeight>\n"
        "\t\t<DetailCircleStyle swDetailCircleStyle=\"swDetViewSTANDARD\">0</DetailCircleStyle>\n"
        "\t</DetailEnvelope>\n"
        "</view>");
}

// Reading always leaves a collection, even without "Segments" or a name;
// reading "Arrows" again replaces the arrows.
TEST_F(DetailEnvelopeTest, ReadingLeavesACollectionAndReplacesArrows) {
    KVSWX_DetailEnvelope unnamed;
    ReadInto(unnamed, "<view><DetailEnvelope><Label>L</Label></DetailEnvelope></view>");
    ASSERT_NE(unnamed.GetSegments(), nullptr);
    EXPECT_TRUE(unnamed.GetSegments()->IsEmpty());
    EXPECT_EQ(unnamed.Values().label, L"");

    const std::string xml = R"(<view><DetailEnvelope Name="B"><Display>2</Display>
        <Arrows><Arrow><Style>3</Style></Arrow><Arrow/></Arrows></DetailEnvelope></view>)";
    KVSWX_DetailEnvelope envelope;
    ReadInto(envelope, xml);
    ReadInto(envelope, xml);
    EXPECT_EQ(envelope.GetName(), L"B");
    EXPECT_EQ(envelope.Values().display, 2);
    ASSERT_EQ(envelope.GetArrows().size(), 2u);
    EXPECT_EQ(envelope.GetArrows()[0]->Values().style, 3);
    ASSERT_NE(envelope.GetSegments(), nullptr);
}

}  // namespace
}  // namespace kvswx
