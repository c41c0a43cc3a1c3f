#include <gtest/gtest.h>

#include "model/enum_names.h"

namespace kvswx {
namespace {

// The names themselves are table rows (those written are pinned by the golden
// examples); a lookup finds its row, gives the shared empty name for a value
// without one, and never copies.
TEST(EnumNames, LookupsMissingRowsAndStableReferences) {
    EXPECT_EQ(LineWeightNames().NameOf(-1), L"swLW_NONE");
    EXPECT_EQ(LineWeightNames().NameOf(6), L"swLW_THICK5");  // between THICK4 and THICK6
    EXPECT_EQ(LineWeightNames().NameOf(11), L"");
    EXPECT_EQ(&ViewTypeNames().NameOf(1), &EmptyName());
    EXPECT_EQ(&ViewTypeNames().NameOf(99), &EmptyName());
    EXPECT_EQ(OleAspectNames().NameOf(3), L"");
    EXPECT_EQ(&LineFontNames().NameOf(3), &LineFontNames().NameOf(3));
    EXPECT_EQ(OleAspectNames().Key(), L"AspectStringValue");
}

}  // namespace
}  // namespace kvswx
