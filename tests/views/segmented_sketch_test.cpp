#include "views/segmented_sketch.h"

#include <gtest/gtest.h>

#include <functional>
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

TEST_F(SegmentedSketchTest, LocatedSketchesReadBackAndSaveToTheSameBytes) {
    const std::vector<
        std::pair<std::wstring, std::function<std::unique_ptr<KVSWX_SegmentedSketch>()>>>
        kinds = {
            {L"CenterLines", [] { return std::make_unique<KVSWX_CenterLine>(); }},
            {L"CropProfile", [] { return std::make_unique<KVSWX_CropProfile>(); }},
            {L"ManualGeometry", [] { return std::make_unique<KVSWX_ManualGeometry>(); }},
        };
    for (const auto& [element, make] : kinds) {
        SCOPED_TRACE(std::string(element.begin(), element.end()));
        const auto sketch = make();
        KVSWX_SketchSegmentsCollection* segments = sketch->NewSegments();
        segments->AddLine()->SetEndPoint({1, 2, 3});
        segments->AddArc()->SetAlongPoint({0.5, -0.5});
        segments->AddSpline()->SetConstructionGeometry(true);
        const std::string xml = WriteIn(*sketch, element);
        const auto back = make();
        ReadAt(*back, xml, L"/view/" + element);
        ASSERT_NE(back->GetSegments(), nullptr);
        EXPECT_EQ(back->GetSegments()->GetCount(), 3u);
        EXPECT_EQ(WriteIn(*back, element), xml);
    }
}

TEST_F(SegmentedSketchTest, BrokenOutSectionWritesItsOwnElementAndForgetsItsNameOnReading) {
    std::vector<std::unique_ptr<KVSWX_BrokenOutSection>> sections;
    sections.push_back(std::make_unique<KVSWX_BrokenOutSection>());
    sections.back()->SetName(L"A");
    sections.back()->SetDepth(0.025);
    sections.back()->NewSegments()->AddLine();
    sections.push_back(std::make_unique<KVSWX_BrokenOutSection>());  // no name, no segments
    const auto write = [](const auto& list) {
        return test::WriteUnder(L"view", [&](XmlDocument& doc, XmlNode view) {
            WriteCollection(doc, view, L"BrokenOutSections", list);
        });
    };
    const std::string xml = write(sections);
    EXPECT_NE(xml.find("<BrokenOutSection "
                       "Name=\"A\">\n\t\t\t<Depth>0.0250000000000000</Depth>\n\t\t\t<Segments>"),
              std::string::npos)
        << xml;
    EXPECT_NE(
        xml.find(
            "<BrokenOutSection>\n\t\t\t<Depth>0.0000000000000000</Depth>\n\t\t</BrokenOutSection>"),
        std::string::npos)
        << xml;

    XmlDocument doc;
    ASSERT_TRUE(doc.LoadString(xml).ok);
    std::vector<std::unique_ptr<KVSWX_BrokenOutSection>> back;
    ReadCollection(doc, L"/view", L"BrokenOutSections", back);
    ASSERT_EQ(back.size(), 2u);
    EXPECT_EQ(back[0]->GetName(), L"");
    EXPECT_EQ(back[0]->GetDepth(), 0.025);
    EXPECT_EQ(back[1]->GetSegments(), nullptr);
    back[0]->SetName(L"A");
    ResetProcessStateForTests();
    EXPECT_EQ(write(back), xml);
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
