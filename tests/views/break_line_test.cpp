#include "views/break_line.h"

#include <gtest/gtest.h>

#include <string>

#include "model/process_state.h"
#include "views/record_xml.h"

namespace kvswx {
namespace {

// A break line's children in written order, with and without enumeration
// names, are in the example "annotations"; Color and Orientation start at -1.
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
