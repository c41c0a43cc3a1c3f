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

TEST_F(SketchSegmentsTest,
       EmptyCollectionWritesEmptySegmentsALineWritesSortedAttributesAndThreeNumberPoints) {
    KVSWX_SketchSegmentsCollection c;
    EXPECT_EQ(test::WriteRecord(*c.GetImpl()), "\n<r>\n\t<Segments>\n\t</Segments>\n</r>");
    KVSWX_Line* line = c.AddLine();
    line->SetStartPoint({0.5, -0.25, 0});
    line->SetEndPoint({1, 2, 3});
    EXPECT_EQ(
        test::WriteRecord(*c.GetImpl()),
        "\n<r>\n\t<Segments>\n"
        "\t\t<Line isConstructionGeometry=\"false\" swSketchSegments=\"swSketchLINE\">\n"
        "\t\t\t<StartPoint>0.5000000000000000 -0.2500000000000000 0.0000000000000000</StartPoint>\n"
        "\t\t\t<EndPoint>1.0000000000000000 2.0000000000000000 3.0000000000000000</EndPoint>\n"
        "\t\t</Line>\n\t</Segments>\n</r>");
    EXPECT_EQ(Process().indentDepth, 0);
}

// One segment of every kind; the second spline is not rational and its
// weights are never written.
TEST_F(SketchSegmentsTest, EveryKindWritesItsElementAndChildrenAndReadsBackToTheSameBytes) {
    KVSWX_SketchSegmentsCollection c;
    c.AddLine()->SetConstructionGeometry(true);
    c.AddCircle()->SetRadius(0.125);
    c.AddArc()->SetAlongPoint({0, 1});
    c.AddEllipse()->SetParams({0, 0, 0, 2, 2, 0, 0, 1, 0, 1, 0});
    c.AddEllipticalArc()->SetIsClockwise(true);
    KVSWX_Spline* rational = c.AddSpline();
    rational->SetIsRational(true);
    rational->SetWeights({1, 0.7071067811865476});
    c.AddSpline()->SetWeights({9});
    c.AddParabola()->SetFocus({0, 0.25, 0});
    const std::string xml = test::WriteRecord(*c.GetImpl());

    struct Row {
        std::wstring element, typeName, children;
    };
    const std::vector<Row> rows = {
        {L"Line", L"swSketchLINE", L"StartPoint EndPoint"},
        {L"Circle", L"swSketchARC", L"CenterPoint Radius"},
        {L"Arc", L"swSketchARC", L"StartPoint AlongPoint EndPoint"},
        {L"Ellipse", L"swSketchELLIPSE", L"Params"},
        {L"EllipticalArc", L"swSketchELLIPSE",
         L"CenterPoint MajorPoint Ratio IsClockwise StartAngle EndAngle"},
        {L"Spline", L"swSketchSPLINE", L"Order IsRational ControlPoints KnotPoints Weights"},
        {L"Spline", L"swSketchSPLINE", L"Order IsRational ControlPoints KnotPoints"},
        {L"Parabola", L"swSketchPARABOLA", L"StartPoint EndPoint Focus Apex"},
    };
    XmlDocument doc;
    ASSERT_TRUE(doc.LoadString(xml).ok);
    const std::vector<XmlNode> segments = doc.SelectNodes(L"/r/Segments/*");
    ASSERT_EQ(segments.size(), rows.size());
    for (std::size_t i = 0; i < rows.size(); ++i) {
        SCOPED_TRACE(i);
        EXPECT_EQ(segments[i].Name(), rows[i].element);
        EXPECT_EQ(GetAttributeValue(segments[i], L"swSketchSegments"), rows[i].typeName);
        EXPECT_EQ(GetAttributeValue(segments[i], L"isConstructionGeometry"),
                  i == 0 ? L"true" : L"false");
        std::wstring children;
        for (const XmlNode& n : segments[i].ChildNodes()) {
            if (n.IsElement()) children += (children.empty() ? L"" : L" ") + n.Name();
        }
        EXPECT_EQ(children, rows[i].children);
    }
    EXPECT_EQ(GetNodeText(doc.SelectSingleNode(L"/r/Segments/Arc/AlongPoint")),
              L"0.0000000000000000 1.0000000000000000");

    ResetProcessStateForTests();
    KVSWX_SketchSegmentsCollection back;
    test::ReadAt(xml, L"/r/Segments",
                 [&](XmlDocument& d, XmlNode node) { back.GetImpl()->ReadFromNode(d, node); });
    ASSERT_EQ(back.GetCount(), c.GetCount());
    for (std::size_t i = 0; i < c.GetCount(); ++i) {
        EXPECT_EQ(typeid(*back.GetSegments()[i]), typeid(*c.GetSegments()[i])) << i;
        EXPECT_EQ(back.GetSegments()[i]->GetType(), c.GetSegments()[i]->GetType()) << i;
    }
    EXPECT_EQ(test::WriteRecord(*back.GetImpl()), xml);
}

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
