// The list records of a view: hatches, components, center marks and notes.
// What the golden examples pin (filled records in context) is not repeated;
// these are the defaults, the conditional children and the lenient readers.
#include <gtest/gtest.h>

#include <string>

#include "views/center_mark.h"
#include "views/component.h"
#include "views/hatch.h"
#include "views/note.h"
#include "views/record_xml.h"

namespace kvswx {
namespace {

std::size_t Count(const std::string& text, const std::string& what) {
    std::size_t n = 0;
    for (std::size_t at = text.find(what); at != std::string::npos; at = text.find(what, at + 1))
        ++n;
    return n;
}

TEST(Hatches, DefaultsAreAllWrittenAndReadersIgnoreForeignChildren) {
    KVSWX_FaceHatch face;
    const std::string xml = test::WriteRecord(*face.GetImpl());
    EXPECT_NE(xml.find("<r>\n\t<FaceHatch>\n\t\t<Angle>0.0000000000000000</Angle>\n\t\t<Color>0</"
                       "Color>\n\t\t<Definition/>"
                       "\n\t\t<Pattern/>\n\t\t<PatternId>0</"
                       "PatternId>\n\t\t<Scale>0.0000000000000000</Scale>\n\t\t"
                       "<SolidFill>false</SolidFill>\n\t\t<UseMaterialHatch>false</"
                       "UseMaterialHatch>\n\t</FaceHatch>"),
              std::string::npos)
        << xml;

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

TEST(Components, NamesVisibilityAndBodies) {
    KVSWX_AssemblyComponent assembly;
    KVSWX_BodyComponent* hidden = assembly.AddBodyComponent();
    hidden->SetName(L"Body<1");
    assembly.SetName(L"Part-1");
    const std::string xml = test::WriteRecord(*assembly.GetImpl());
    EXPECT_NE(xml.find("<BodyComponents>\n\t\t\t<BodyComponent "
                       "Name=\"Body&lt;1\">\n\t\t\t\t<Visible>false</Visible>\n\t\t\t"
                       "</BodyComponent>\n\t\t</BodyComponents>"),
              std::string::npos)
        << xml;

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

TEST(CenterMarks, DocumentDefaultsLeaveOutThreeChildren) {
    KVSWX_CenterMark mark;
    mark.SetStyle(2);
    // Children of the mark are the lines two levels below the root.
    EXPECT_EQ(Count(test::WriteRecord(*mark.GetImpl()), "\n\t\t<"), 9u);
    mark.SetUseDocumentDefaults(true);
    mark.SetStyle(0);
    const std::string xml = test::WriteRecord(*mark.GetImpl());
    EXPECT_EQ(Count(xml, "\n\t\t<"), 6u) << xml;
    EXPECT_NE(xml.find("<UseDocumentDefaults>true</UseDocumentDefaults>\n\t\t<Angle>"),
              std::string::npos)
        << xml;
    EXPECT_NE(xml.find("<Style>0</Style>"), std::string::npos) << xml;
    mark.SetStyle(2);
    EXPECT_NE(test::WriteRecord(*mark.GetImpl())
                  .find("<Style swEnumValue=\"swCenterMark_Single\">2</Style>"),
              std::string::npos);

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

// A note with a text format (written last) reads back to the same bytes in
// the example "assembly"; a fresh one writes its defaults in written order.
TEST(Notes, FreshNoteWrittenOrderAndDefaults) {
    KVSWX_Note note;
    const std::string fresh = test::WriteRecord(*note.GetImpl());
    const std::string expected =
        "<Note>\n\t\t<Text/>\n\t\t<Prompt/>\n\t\t<LinkedText/>\n\t\t<IsBalloon>false</IsBalloon>\n\t\t"
        "<TextPoint>0.0000000000000000 0.0000000000000000 0.0000000000000000</TextPoint>\n\t\t<LeaderPoints/>"
        "\n\t\t<LeaderHeadStyle swArrowStyle=\"swCLOSED_ARROWHEAD\">1</LeaderHeadStyle>\n\t</Note>";
    EXPECT_NE(fresh.find(expected), std::string::npos) << fresh;
}

}  // namespace
}  // namespace kvswx
