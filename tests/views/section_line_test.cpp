#include "views/section_line.h"

#include <gtest/gtest.h>

#include <functional>
#include <string>

#include "model/process_state.h"
#include "test_support.h"
#include "views/base_view.h"
#include "views/record_xml.h"

namespace kvswx {
namespace {

using SectionLineTest = test::FreshProcessTest;

// A view holding `fill`'s section line, as the base view writes it.
std::string ViewWith(const std::function<void(KVSWX_SectionLine&)>& fill) {
    KVSWX_BaseView view;
    fill(*view.NewSectionLine());
    return test::WriteUnder(
        L"view", [&](XmlDocument& doc, XmlNode parent) { view.GetImpl()->Write(doc, parent); });
}

// The section line read back from the first view of `xml`.
void ReadInto(KVSWX_SectionLine& line, const std::string& xml) {
    XmlDocument doc;
    ASSERT_TRUE(doc.LoadString(xml).ok) << xml;
    line.GetImpl()->ReadFromDocument(doc, L"/view/SectionLine");
}

// The part of a saved view from "<SectionLine" on.
std::string SectionPart(const std::string& xml) { return xml.substr(xml.find("\t<SectionLine")); }

// A line's children in written order are in the examples; a fresh one has
// fold index 1 and writes none of the optional parts.
TEST_F(SectionLineTest, FreshLineWritesFoldIndexOneAndNothingOptional) {
    const std::string part = SectionPart(ViewWith([](KVSWX_SectionLine&) {}));
    EXPECT_NE(part.find("<FoldSegmentIndex>1</FoldSegmentIndex>\n\t</SectionLine>"),
              std::string::npos)
        << part;
    for (const char* optional : {"<Segments", "<Arrow", "<TextFormat"})
        EXPECT_EQ(part.find(optional), std::string::npos) << part;
}

TEST_F(SectionLineTest, ReadingTwiceReplacesTheSegments) {
    const std::string xml = R"(<view><SectionLine Name="A"><Segments>
        <Segment><LineType>2</LineType><StartPoint>1 2</StartPoint></Segment><Segment/>
        </Segments></SectionLine></view>)";
    KVSWX_SectionLine line;
    ReadInto(line, xml);
    ReadInto(line, xml);
    ASSERT_EQ(line.GetSegmentCount(), 2u);
    EXPECT_EQ(line.GetSegment(0)->Values().lineType, 2);
    EXPECT_EQ(line.GetSegment(0)->Values().startPoint, (Point3{1, 2, 0}));
    EXPECT_EQ(line.GetSegment(2), nullptr);
}

// Without a name the named location matches nothing: every field keeps its
// default.
TEST_F(SectionLineTest, UnnamedLineReadsOnlyDefaults) {
    const std::string xml = ViewWith([](KVSWX_SectionLine& line) {
        line.SetLabel(L"X");
        line.SetFoldSegmentIndex(0);
        line.AddSegment();
        line.NewArrow();
    });
    EXPECT_NE(xml.find("\t<SectionLine>\n"), std::string::npos) << "no empty Name attribute";
    KVSWX_SectionLine line;
    ReadInto(line, xml);
    EXPECT_EQ(line.Values().label, L"");
    EXPECT_EQ(line.Values().foldSegmentIndex, 1);
    EXPECT_EQ(line.GetSegmentCount(), 0u);
    EXPECT_EQ(line.GetArrow(), nullptr);
}

}  // namespace
}  // namespace kvswx
