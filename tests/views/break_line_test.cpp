#include "views/break_line.h"

#include <gtest/gtest.h>

#include <string>

#include "model/process_state.h"
#include "views/record_xml.h"

namespace kvswx {
namespace {

class BreakLineTest : public ::testing::Test {
protected:
    void SetUp() override { ResetProcessStateForTests(); }
};

// The collection under a "view" element, as the base view writes it.
std::string WriteCollectionUnderView(const KVSWX_BreakLinesCollection& collection) {
    return test::WriteUnder(
        L"view", [&](XmlDocument& doc, XmlNode view) { collection.GetImpl()->Write(doc, view); });
}

void ReadCollectionFrom(KVSWX_BreakLinesCollection& collection, const std::string& xml) {
    XmlDocument doc;
    ASSERT_TRUE(doc.LoadString(xml).ok) << xml;
    collection.GetImpl()->ReadFromDocument(doc, L"/view/BreakLines");
}

TEST_F(BreakLineTest, EmptyCollectionWritesOnlyTheGap) {
    KVSWX_BreakLinesCollection collection;
    collection.SetBreakLineGap(0.01);
    EXPECT_EQ(WriteCollectionUnderView(collection),
              "\n<view>\n\t<BreakLines>\n\t\t<BreakLineGap>0.0100000000000000</BreakLineGap>"
              "\n\t</BreakLines>\n</view>");
}

// Color and Orientation start at -1; values without a name carry no name
// attribute; LineStyle is written before LineType.
TEST_F(BreakLineTest, FreshBreakLine) {
    KVSWX_BreakLinesCollection collection;
    collection.AddBreakLine();
    EXPECT_EQ(WriteCollectionUnderView(collection),
              "\n<view>\n\t<BreakLines>\n\t\t<BreakLineGap>0.0000000000000000</BreakLineGap>"
              "\n\t\t<BreakLine>"
              "\n\t\t\t<BreakLineStyle>0</BreakLineStyle>"
              "\n\t\t\t<Color>-1</Color>"
              "\n\t\t\t<LineStyle swLineStyle=\"swLineCONTINUOUS\">0</LineStyle>"
              "\n\t\t\t<LineType swLineType=\"swLF_VISIBLE\">0</LineType>"
              "\n\t\t\t<LineWeight swLineWeight=\"swLW_THIN\">0</LineWeight>"
              "\n\t\t\t<LayerID>0</LayerID>"
              "\n\t\t\t<LayerOverride>0</LayerOverride>"
              "\n\t\t\t<NumOfLines>0</NumOfLines>"
              "\n\t\t\t<NumOfArcs>0</NumOfArcs>"
              "\n\t\t\t<Orientation>-1</Orientation>"
              "\n\t\t\t<Position1>0.0000000000000000</Position1>"
              "\n\t\t\t<Position2>0.0000000000000000</Position2>"
              "\n\t\t\t<Points/>"
              "\n\t\t</BreakLine>\n\t</BreakLines>\n</view>");
}

TEST_F(BreakLineTest, RoundTripAndDefaultsOfMissingChildren) {
    KVSWX_BreakLinesCollection collection;
    collection.SetBreakLineGap(0.02);
    KVSWX_BreakLine* line = collection.AddBreakLine();
    line->SetBreakLineStyle(3);
    line->SetColor(5);
    line->SetLineStyle(2);
    line->SetLineType(6);
    line->SetOrientation(2);
    line->SetPoints({0.5, -1, 2});
    const std::string bytes = WriteCollectionUnderView(collection);

    KVSWX_BreakLinesCollection back;
    back.AddBreakLine();  // replaced by what the file holds
    ReadCollectionFrom(back, bytes);
    EXPECT_EQ(back.GetBreakLineGap(), 0.02);
    ASSERT_EQ(back.GetBreakLines().size(), 1u);
    const BreakLineValues& v = back.GetBreakLines()[0]->Values();
    EXPECT_EQ(v.color, 5);
    EXPECT_EQ(v.lineStyle, 2);
    EXPECT_EQ(v.lineType, 6);
    EXPECT_EQ(v.points, (DoubleList{0.5, -1, 2}));
    EXPECT_EQ(WriteCollectionUnderView(back), bytes);

    KVSWX_BreakLinesCollection sparse;
    ReadCollectionFrom(sparse,
                       "<view><BreakLines><BreakLine><Points></Points></BreakLine>"
                       "<BreakLine><Color>7</Color></BreakLine></BreakLines></view>");
    ASSERT_EQ(sparse.GetBreakLines().size(), 2u);
    EXPECT_EQ(sparse.GetBreakLines()[0]->Values().color, -1);
    EXPECT_EQ(sparse.GetBreakLines()[0]->Values().orientation, -1);
    EXPECT_TRUE(sparse.GetBreakLines()[0]->Values().points.empty());
    EXPECT_EQ(sparse.GetBreakLines()[1]->Values().color, 7);
    EXPECT_EQ(sparse.GetBreakLineGap(), 0.0);
}

}  // namespace
}  // namespace kvswx
