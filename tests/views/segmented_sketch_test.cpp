#include "views/segmented_sketch.h"

#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

#include "model/process_state.h"
#include "views/record_xml.h"
#include "views/sketch_segments.h"

namespace kvswx {
namespace {

class SegmentedSketchTest : public ::testing::Test {
protected:
    void SetUp() override { ResetProcessStateForTests(); }
};

// A sketch written into the element its owner creates, as the base view does.
std::string WriteIn(const KVSWX_SegmentedSketch& sketch, const std::wstring& element) {
    return test::WriteUnder(L"view", [&](XmlDocument& doc, XmlNode view) {
        XmlNode owned = CreateChildElement(doc, view, element);
        sketch.GetImpl()->Write(doc, owned);
        CloseElement(doc, owned);
    });
}

void ReadAt(const KVSWX_SegmentedSketch& sketch, const std::string& xml,
            const std::wstring& location) {
    XmlDocument doc;
    ASSERT_TRUE(doc.LoadString(xml).ok) << xml;
    sketch.GetImpl()->ReadFromDocument(doc, location);
}

TEST_F(SegmentedSketchTest, EmptySegmentsAreWrittenForCenterLinesButNotForManualGeometry) {
    KVSWX_CenterLine centerLines;
    centerLines.NewSegments();
    EXPECT_EQ(
        WriteIn(centerLines, L"CenterLines"),
        "\n<view>\n\t<CenterLines>\n\t\t<Segments>\n\t\t</Segments>\n\t</CenterLines>\n</view>");
    KVSWX_ManualGeometry manual;
    manual.NewSegments();
    EXPECT_TRUE(manual.IsEmpty());
    EXPECT_EQ(WriteIn(manual, L"ManualGeometry"),
              "\n<view>\n\t<ManualGeometry>\n\t</ManualGeometry>\n</view>");
    manual.GetSegments()->AddLine();
    EXPECT_FALSE(manual.IsEmpty());
    KVSWX_CropProfile crop;  // no collection at all
    EXPECT_EQ(WriteIn(crop, L"CropProfile"),
              "\n<view>\n\t<CropProfile>\n\t</CropProfile>\n</view>");
}

TEST_F(SegmentedSketchTest,
       WithoutSegmentsCenterLinesAndManualGeometryReadEmptyCropProfileReadsNone) {
    const std::string xml = "<view><CenterLines/><ManualGeometry/><CropProfile/></view>";
    KVSWX_CenterLine centerLines;
    ReadAt(centerLines, xml, L"/view/CenterLines");
    ASSERT_NE(centerLines.GetSegments(), nullptr);
    EXPECT_TRUE(centerLines.GetSegments()->IsEmpty());
    KVSWX_ManualGeometry manual;
    ReadAt(manual, xml, L"/view/ManualGeometry");
    ASSERT_NE(manual.GetSegments(), nullptr);
    KVSWX_CropProfile crop;
    ReadAt(crop, xml, L"/view/CropProfile");
    EXPECT_EQ(crop.GetSegments(), nullptr);
}

// Each located sketch with segments reads back to the same bytes as part of
// the base view (see base_view_test).

// Broken-out sections read back to the same bytes as part of the base view;
// the name is written as an attribute but not read back.
TEST_F(SegmentedSketchTest, BrokenOutSectionWritesItsNameButDoesNotReadIt) {
    std::vector<std::unique_ptr<KVSWX_BrokenOutSection>> sections;
    sections.push_back(std::make_unique<KVSWX_BrokenOutSection>());
    sections.back()->SetName(L"A");
    sections.back()->SetDepth(0.025);
    sections.back()->NewSegments()->AddLine();
    const std::string xml = test::WriteUnder(L"view", [&](XmlDocument& doc, XmlNode view) {
        WriteCollection(doc, view, L"BrokenOutSections", sections);
    });
    EXPECT_NE(xml.find("<BrokenOutSection Name=\"A\">\n\t\t\t<Depth>0.0250000000000000</Depth>\n\t\t\t<Segments>"),
              std::string::npos)
        << xml;
    XmlDocument doc;
    ASSERT_TRUE(doc.LoadString(xml).ok);
    std::vector<std::unique_ptr<KVSWX_BrokenOutSection>> back;
    ReadCollection(doc, L"/view", L"BrokenOutSections", back);
    ASSERT_EQ(back.size(), 1u);
    EXPECT_EQ(back[0]->GetName(), L"");
}

TEST_F(SegmentedSketchTest, SecondSegmentsElementReplacesTheFirst) {
    KVSWX_BrokenOutSection section;
    test::ReadAt(
        "<B><Segments><Line/><Line/></Segments><Depth>2.5</Depth><Segments><Parabola/></Segments></"
        "B>",
        L"/B", [&](XmlDocument& doc, XmlNode node) { section.GetImpl()->ReadFromNode(doc, node); });
    EXPECT_EQ(section.GetDepth(), 2.5);
    ASSERT_EQ(section.GetSegments()->GetCount(), 1u);
    EXPECT_EQ(section.GetSegments()->GetSegments()[0]->GetType(), kSketchSegmentParabola);
}

}  // namespace
}  // namespace kvswx
