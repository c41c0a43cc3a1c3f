#include "views/projection_arrow.h"

#include <gtest/gtest.h>

#include <string>

#include "docprops/text_format.h"
#include "model/process_state.h"
#include "views/record_xml.h"

namespace kvswx {
namespace {

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

// Coordinates are six numbers whatever the text holds.
TEST(ProjectionArrow, CoordinatesReadAsSixNumbers) {
    ResetProcessStateForTests();
    const std::pair<const char*, ArrowCoordinates> cases[] = {
        {"1 2 3 4", {1, 2, 3, 4, 0, 0}},
        {"1 2 3 4 5 6 7 8", {1, 2, 3, 4, 5, 6}},
        {"", {}},
    };
    for (const auto& [text, expected] : cases) {
        SCOPED_TRACE(text);
        KVSWX_ProjectionArrow arrow;
        arrow.SetCoordinates({9, 9, 9, 9, 9, 9});
        ReadArrow(arrow, std::string("<ProjectionArrow><Coordinates>") + text +
                             "</Coordinates></ProjectionArrow>");
        EXPECT_EQ(arrow.Values().coordinates, expected);
    }
}

TEST(ProjectionArrow, TextFormatOnlyWhenPresent) {
    ResetProcessStateForTests();
    KVSWX_ProjectionArrow arrow;  // children in written order: see the examples
    EXPECT_EQ(WriteArrow(arrow).find("TextFormat"), std::string::npos);
    arrow.NewTextFormat()->SetTypeFaceName(L"Arial");
    const std::string bytes = WriteArrow(arrow);
    KVSWX_ProjectionArrow back;
    ReadArrow(back, bytes);
    ASSERT_NE(back.GetTextFormat(), nullptr);
    EXPECT_EQ(back.GetTextFormat()->Values().typeFaceName, L"Arial");
    EXPECT_EQ(WriteArrow(back), bytes);
}

}  // namespace
}  // namespace kvswx
