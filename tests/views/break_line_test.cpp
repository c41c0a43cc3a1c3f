#include "views/break_line.h"

#include <gtest/gtest.h>

#include <string>

#include "model/process_state.h"
#include "views/record_xml.h"

namespace kvswx {
namespace {

// Color and Orientation start at -1; values without a name carry no name
// attribute; LineStyle is written before LineType.
TEST(BreakLines, FreshBreakLine) {
    ResetProcessStateForTests();
    KVSWX_BreakLinesCollection collection;
    collection.AddBreakLine();
    EXPECT_EQ(
        test::WriteUnder(L"view", [&](XmlDocument& doc,
                                      XmlNode view) { collection.GetImpl()->Write(doc, view); }),
        "\n<view>\n\t<BreakLines>\n\t\t<BreakLineGap>0.0000000000000000</BreakLineGap>"
        "\n\t\t<BreakLine>"
        "\n\t\t\t<BreakLineStyle>0</BreakLineStyle>"
        "\n\t\t\t<Color>-1</Color>"
        "\n\t\t\t<LineStyle swLineStyle=\"swLineCONTINUOUS\">0</LineStyle>"
        "\n\t\t\t<LineType swLineType=\"swLF_VISIBLE\">0</LineType>"
        "\n\t\t\t<LineWeight swLineWeight=\"swLW_THIN\">0</LineWeight>"
        "\n\t\t\t<LayerID>0</LayerID>\n\t\t\t<LayerOverride>0</LayerOverride>"
        "\n\t\t\t<NumOfLines>0</NumOfLines>\n\t\t\t<NumOfArcs>0</NumOfArcs>"
        "\n\t\t\t<Orientation>-1</Orientation>"
        "\n\t\t\t<Position1>0.0000000000000000</Position1>"
        "\n\t\t\t<Position2>0.0000000000000000</Position2>"
        "\n\t\t\t<Points/>\n\t\t</BreakLine>\n\t</BreakLines>\n</view>");
}

// Reading replaces the break lines held; missing children keep defaults.
TEST(BreakLines, ReadReplacesAndKeepsDefaults) {
    ResetProcessStateForTests();
    KVSWX_BreakLinesCollection collection;
    collection.AddBreakLine()->SetColor(9);
    XmlDocument doc;
    ASSERT_TRUE(doc.LoadString("<view><BreakLines><BreakLine><Points></Points></BreakLine>"
                               "<BreakLine><Color>5</Color><LineStyle>2</LineStyle></BreakLine>"
                               "</BreakLines></view>")
                    .ok);
    collection.GetImpl()->ReadFromDocument(doc, L"/view/BreakLines");
    const auto& lines = collection.GetBreakLines();
    ASSERT_EQ(lines.size(), 2u);
    EXPECT_EQ(lines[0]->Values().color, -1);
    EXPECT_EQ(lines[0]->Values().orientation, -1);
    EXPECT_TRUE(lines[0]->Values().points.empty());
    EXPECT_EQ(lines[1]->Values().color, 5);
    EXPECT_EQ(lines[1]->Values().lineStyle, 2);
    EXPECT_EQ(collection.GetBreakLineGap(), 0.0);
}

}  // namespace
}  // namespace kvswx
