#include <gtest/gtest.h>

#include "model/enum_names.h"

namespace kvswx {
namespace {

TEST(EnumNames, LookupsAndMissingRows) {
    struct Case { const EnumTable& (*table)(); std::int32_t value; const wchar_t* name; };
    const Case cases[] = {
        {ViewTypeNames, 2, L"swDrawingSectionView"},
        {ViewTypeNames, 10, L"swDrawingAlternatePositionView"},
        {ViewTypeNames, 1, L""},
        {ViewTypeNames, 0, L""},
        {LineWeightNames, -1, L"swLW_NONE"},
        {LineWeightNames, 5, L"swLW_THICK4"},
        {LineWeightNames, 6, L"swLW_THICK5"},
        {LineWeightNames, 7, L"swLW_THICK6"},
        {LineWeightNames, 11, L""},
        {DraftingStandardNames, 0, L""},
        {DraftingStandardNames, 8, L"swDetailingStandardUserDefined"},
        {ViewLabelLetterNames, 2, L"m_DetailingViewLabelsLabel_XdashX"},
        {ViewLabelScaleNames, 2, L"swDetailingViewLabelsScale_SCALEcolon"},
        {OleAspectNames, 3, L""},
        {OleAspectNames, 8, L"swDVASPECT_DOCPRINT"},
        {SketchSegmentTypeNames, 5, L"swSketchPARABOLA"},
        {BreakLineStyleNames, 0, L""},
    };
    for (const auto& c : cases) EXPECT_EQ(c.table().NameOf(c.value), c.name) << c.value;
}

TEST(EnumNames, KeysAndStableReferences) {
    EXPECT_EQ(ViewTypeNames().Key(), L"swEnumValue");
    EXPECT_EQ(ArrowHeadStyleNames().Key(), L"swArrowStyle");
    EXPECT_EQ(OleAspectNames().Key(), L"AspectStringValue");
    EXPECT_EQ(&LineFontNames().NameOf(3), &LineFontNames().NameOf(3));
    EXPECT_EQ(&ViewTypeNames().NameOf(99), &EmptyName());
}

}  // namespace
}  // namespace kvswx
