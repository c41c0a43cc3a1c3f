#include <gtest/gtest.h>

#include <string>
#include <utility>

#include "platform/text.h"
#include "test_support.h"

#include "model/enum_names.h"

namespace kvswx {
namespace {

// The names themselves are table rows (those written are pinned by the golden
// examples); a lookup finds its row, gives the shared empty name for a value
// without one, and never copies.
TEST(EnumNames, LookupsMissingRowsAndStableReferences) {
    EXPECT_EQ(LineWeightNames().NameOf(11), L"");
    EXPECT_EQ(&ViewTypeNames().NameOf(1), &EmptyName());
    EXPECT_EQ(&ViewTypeNames().NameOf(99), &EmptyName());
    EXPECT_EQ(OleAspectNames().NameOf(3), L"");
    EXPECT_EQ(&LineFontNames().NameOf(3), &LineFontNames().NameOf(3));
}

// Every row of the 24 tables, held in one golden file that was checked
// name by name against the source application's enumerations: a misspelt or
// renumbered name fails here even where no sample writes it.
TEST(EnumNames, EveryTableMatchesItsGoldenFile) {
    const std::pair<const char*, const EnumTable&> tables[] = {
        {"view type", ViewTypeNames()},
        {"view alignment", ViewAlignmentNames()},
        {"tangent edge display", TangentEdgeDisplayNames()},
        {"display mode", DisplayModeNames()},
        {"center mark style", CenterMarkStyleNames()},
        {"arrow head style", ArrowHeadStyleNames()},
        {"line font", LineFontNames()},
        {"line style", LineStyleNames()},
        {"line weight", LineWeightNames()},
        {"sketch segment type", SketchSegmentTypeNames()},
        {"drafting standard", DraftingStandardNames()},
        {"view label name", ViewLabelNameNames()},
        {"view label scale", ViewLabelScaleNames()},
        {"view label delimiter", ViewLabelDelimiterNames()},
        {"view label letter form", ViewLabelLetterNames()},
        {"view label rotation", ViewLabelRotationNames()},
        {"half section arrow display", HalfSectionArrowNames()},
        {"view indication", ViewIndicationNames()},
        {"detail view style", DetailViewStyleNames()},
        {"detail circle display", DetailCircleDisplayNames()},
        {"center line mark orientation", CenterLineMarkOrientNames()},
        {"break line style", BreakLineStyleNames()},
        {"break line orientation", BreakLineOrientationNames()},
        {"OLE display aspect", OleAspectNames()},
    };
    std::string text;
    for (const auto& [label, table] : tables) {
        text += std::string(label) + " (" + ToUtf8(table.Key()) + ")\n";
        for (const auto& [value, name] : table.Rows()) {
            text += std::to_string(value) + " " + ToUtf8(name) + "\n";
            EXPECT_EQ(&table.NameOf(value), &name) << label << " " << value;
        }
    }
    EXPECT_TRUE(test::MatchesGolden("model/enum_names.txt", text));
}

}  // namespace
}  // namespace kvswx
