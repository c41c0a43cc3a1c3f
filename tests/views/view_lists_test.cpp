// The list records of a view: hatches, components and center marks. What
// the golden examples pin (filled and fresh records in context, a note in
// its written order) is not repeated; these are the lenient readers.
#include <gtest/gtest.h>

#include <string>

#include "views/center_mark.h"
#include "views/component.h"
#include "views/hatch.h"
#include "views/record_xml.h"

namespace kvswx {
namespace {

TEST(Hatches, ReadersIgnoreForeignChildren) {
    // A sketch hatch read from a face hatch's element keeps what it has and
    // ignores the rest; "TRUE" is not "true".
    KVSWX_SketchHatch sketch;
    test::ReadAt(
        "<SketchHatch><Definition>D</Definition><UseMaterialHatch>true</"
        "UseMaterialHatch><PatternId>7</PatternId>"
        "<SolidFill>TRUE</SolidFill><Pattern>ANSI31</Pattern></SketchHatch>",
        L"/SketchHatch",
        [&](XmlDocument& doc, XmlNode node) { sketch.GetImpl()->ReadFromNode(doc, node); });
    EXPECT_EQ(sketch.Values().patternId, 7);
    EXPECT_EQ(sketch.Values().pattern, L"ANSI31");
    EXPECT_FALSE(sketch.Values().solidFill);
    EXPECT_EQ(test::WriteRecord(*sketch.GetImpl()).find("Definition"), std::string::npos);
}

TEST(Components, ReadingBodiesAndNames) {
    // Every child of "BodyComponents" is a body, whatever its name; reading
    // appends. An element without children keeps its name empty.
    KVSWX_AssemblyComponent back;
    back.AddBodyComponent();
    test::ReadAt(
        "<AssemblyComponent Name=\"A\"><Visible>true</Visible><BodyComponents><BodyComponent "
        "Name=\"x\"/>"
        "<Other Name=\"y\"><Visible>true</Visible></Other></BodyComponents></AssemblyComponent>",
        L"/AssemblyComponent",
        [&](XmlDocument& doc, XmlNode node) { back.GetImpl()->ReadFromNode(doc, node); });
    EXPECT_EQ(back.GetName(), L"A");
    EXPECT_TRUE(back.GetVisible());
    ASSERT_EQ(back.GetBodyComponents().size(), 3u);
    EXPECT_EQ(back.GetBodyComponents()[1]->GetName(), L"");
    EXPECT_EQ(back.GetBodyComponents()[2]->GetName(), L"y");
    EXPECT_TRUE(back.GetBodyComponents()[2]->GetVisible());

    KVSWX_ExcludedComponent excluded;
    test::ReadAt(
        "<ExcludedComponent Name=\"E\"/>", L"/ExcludedComponent",
        [&](XmlDocument& doc, XmlNode node) { excluded.GetImpl()->ReadFromNode(doc, node); });
    EXPECT_EQ(excluded.GetName(), L"");
}

// Which children a mark writes with and without the document defaults is
// in the example "assembly".
TEST(CenterMarks, ReadingIgnoresTheDocumentDefaults) {
    // The own settings are read whatever UseDocumentDefaults says; missing
    // ones stay 0.
    KVSWX_CenterMark back;
    test::ReadAt(
        "<CenterMark><UseDocumentDefaults>true</UseDocumentDefaults><ExtendedLines>true</"
        "ExtendedLines>"
        "<Position>1 2</Position><CMLayer>L</CMLayer></CenterMark>",
        L"/CenterMark",
        [&](XmlDocument& doc, XmlNode node) { back.GetImpl()->ReadFromNode(doc, node); });
    EXPECT_TRUE(back.Values().extendedLines);
    EXPECT_EQ(back.Values().markSize, 0.0);
    EXPECT_EQ(back.Values().position, (Point3{1, 2, 0}));
    EXPECT_EQ(back.Values().cmLayer, L"L");
}

}  // namespace
}  // namespace kvswx
