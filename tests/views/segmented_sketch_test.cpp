#include "views/segmented_sketch.h"

#include <gtest/gtest.h>

#include <string>

#include "test_support.h"
#include "model/process_state.h"
#include "views/record_xml.h"
#include "views/sketch_segments.h"

namespace kvswx {
namespace {

using SegmentedSketchTest = test::FreshProcessTest;

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

// Without "Segments" center lines and manual geometry read an empty
// collection, a crop profile none, and writes back without it. Center lines
// with an empty collection are written in the example "outcomes"; manual
// geometry without content is left out by the base view (base_view_test).
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
    EXPECT_EQ(WriteIn(crop, L"CropProfile"), "\n<view>\n\t<CropProfile>\n\t</CropProfile>\n</view>");
}

// Each located sketch with segments reads back to the same bytes as part of
// the base view (see base_view_test); a broken-out section's name is written
// but not read back (the example "annotations" and its round trip).

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
