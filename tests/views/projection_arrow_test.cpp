#include "views/projection_arrow.h"

#include <gtest/gtest.h>

#include <string>

#include "docprops/text_format.h"
#include "model/process_state.h"
#include "views/record_xml.h"

namespace kvswx {
namespace {

class ProjectionArrowTest : public ::testing::Test {
protected:
    void SetUp() override { ResetProcessStateForTests(); }
};

// The arrow written into the element the base view creates for it.
std::string WriteArrow(const KVSWX_ProjectionArrow& arrow) {
    return test::WriteUnder(L"ProjectionArrow", [&](XmlDocument& doc, XmlNode element) {
        arrow.GetImpl()->Write(doc, element);
    });
}

void ReadArrow(KVSWX_ProjectionArrow& arrow, const std::string& xml) {
    XmlDocument doc;
    ASSERT_TRUE(doc.LoadString(xml).ok) << xml;
    arrow.GetImpl()->ReadFromDocument(doc, L"/ProjectionArrow");
}

TEST_F(ProjectionArrowTest, WithoutTextFormatOnlyLabelAndCoordinates) {
    KVSWX_ProjectionArrow arrow;
    arrow.SetCoordinates({1, 2, 3, 4, 5, -6});
    EXPECT_EQ(
        WriteArrow(arrow),
        "\n<ProjectionArrow>\n\t<Label/>\n\t<Coordinates>1.0000000000000000 2.0000000000000000 "
        "3.0000000000000000 4.0000000000000000 5.0000000000000000 -6.0000000000000000"
        "</Coordinates>\n</ProjectionArrow>");
}

// Coordinates are six numbers whatever the text holds.
TEST_F(ProjectionArrowTest, CoordinatesReadAsSixNumbers) {
    struct Case {
        const char* text;
        ArrowCoordinates expected;
    };
    const Case cases[] = {
        {"1 2 3 4", {1, 2, 3, 4, 0, 0}},
        {"1 2 3 4 5 6 7 8", {1, 2, 3, 4, 5, 6}},
        {"", {0, 0, 0, 0, 0, 0}},
        {"x 2", {0, 2, 0, 0, 0, 0}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.text);
        KVSWX_ProjectionArrow arrow;
        arrow.SetCoordinates({9, 9, 9, 9, 9, 9});
        ReadArrow(arrow, std::string("<ProjectionArrow><Coordinates>") + c.text +
                             "</Coordinates></ProjectionArrow>");
        EXPECT_EQ(arrow.Values().coordinates, c.expected);
    }
}

TEST_F(ProjectionArrowTest, RoundTripWithTextFormat) {
    KVSWX_ProjectionArrow arrow;
    arrow.SetLabel(L"B");
    arrow.SetCoordinates({0.5, 0.25, 0, 1, 2, 3});
    arrow.NewTextFormat()->SetTypeFaceName(L"Arial");
    const std::string bytes = WriteArrow(arrow);

    KVSWX_ProjectionArrow back;
    ReadArrow(back, bytes);
    EXPECT_EQ(back.Values().label, L"B");
    EXPECT_EQ(back.Values().coordinates, arrow.Values().coordinates);
    ASSERT_NE(back.GetTextFormat(), nullptr);
    EXPECT_EQ(back.GetTextFormat()->Values().typeFaceName, L"Arial");
    EXPECT_EQ(WriteArrow(back), bytes);
}

}  // namespace
}  // namespace kvswx
