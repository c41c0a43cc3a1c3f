#include "views/sketch_segments.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "model/process_state.h"
#include "views/record_xml.h"

namespace kvswx {
namespace {

class SketchSegmentsTest : public ::testing::Test {
protected:
    void SetUp() override { ResetProcessStateForTests(); }
};

void Read(KVSWX_SketchSegmentsCollection& into, const std::string& segments) {
    test::ReadAt("<r><Segments>" + segments + "</Segments></r>", L"/r/Segments",
                 [&](XmlDocument& doc, XmlNode node) { into.GetImpl()->ReadFromNode(doc, node); });
}

// What every kind of segment writes, and that it reads back to the same
// bytes, is pinned by the golden example "geometry" (see
// outcomes_example_test); here is how lenient reading is.
TEST_F(SketchSegmentsTest, ReadingGoesByElementNameAndReadsEveryFieldWhateverTheFlags) {
    KVSWX_SketchSegmentsCollection c;
    Read(c,
         "<Circle swSketchSegments=\"swSketchLINE\" "
         "isConstructionGeometry=\"true\"><Radius>2</Radius></Circle>"
         "<Unknown/>text<!-- note -->"
         "<Arc isConstructionGeometry=\"True\"><StartPoint>1 2 "
         "3</StartPoint><EndPoint>4</EndPoint></Arc>"
         "<Spline isConstructionGeometry=\"1\"><IsRational>false</IsRational><Weights>0.5  "
         "2</Weights>"
         "<ControlPoints/></Spline><Ellipse><Params></Params></Ellipse>");
    ASSERT_EQ(c.GetCount(), 4u);
    const auto& circle = dynamic_cast<const KVSWX_Circle&>(*c.GetSegments()[0]);
    EXPECT_EQ(circle.GetType(), kSketchSegmentArc);
    EXPECT_EQ(circle.Values().radius, 2.0);
    const auto& arc = dynamic_cast<const KVSWX_Arc&>(*c.GetSegments()[1]);
    EXPECT_EQ(arc.Values().startPoint, (Point2{1, 2}));  // extra token ignored
    EXPECT_EQ(arc.Values().endPoint, (Point2{4, 0}));    // missing token stays 0
    const auto& spline = dynamic_cast<const KVSWX_Spline&>(*c.GetSegments()[2]);
    EXPECT_EQ(spline.Values().weights, (DoubleList{0.5, 2}));
    EXPECT_TRUE(spline.Values().controlPoints.empty());
    EXPECT_TRUE(dynamic_cast<const KVSWX_Ellipse&>(*c.GetSegments()[3]).Values().params.empty());
    // Construction geometry only for exactly "true".
    const std::vector<bool> construction = {true, false, false, false};
    for (std::size_t i = 0; i < construction.size(); ++i) {
        EXPECT_EQ(c.GetSegments()[i]->IsConstructionGeometry(), construction[i]) << i;
    }
}

}  // namespace
}  // namespace kvswx
