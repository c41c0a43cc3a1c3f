#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "model/process_state.h"
#include "views/record_xml.h"
#include "views/sketch_segments.h"

namespace kvswx {
namespace {

class SketchSegmentsTest : public ::testing::Test {
protected:
    void SetUp() override { ResetProcessStateForTests(); }
};

std::string WriteCollection(const KVSWX_SketchSegmentsCollection& segments) {
    return test::WriteRecord(*segments.GetImpl());
}

void ReadCollection(KVSWX_SketchSegmentsCollection& into, const std::string& xml) {
    test::ReadAt(xml, L"/r/Segments",
                 [&](XmlDocument& doc, XmlNode node) { into.GetImpl()->ReadFromNode(doc, node); });
}

std::string Wrap(const std::string& segments) { return "<r><Segments>" + segments + "</Segments></r>"; }

// One segment of every kind, with values that show precision and sign.
void FillAllKinds(KVSWX_SketchSegmentsCollection& c) {
    KVSWX_Line* line = c.AddLine();
    line->SetStartPoint({0.1, -0.2, 0.3});
    line->SetEndPoint({1e-17, 12345.678, -0.0});
    line->SetConstructionGeometry(true);
    KVSWX_Circle* circle = c.AddCircle();
    circle->SetCenterPoint({1, 2, 3});
    circle->SetRadius(0.125);
    KVSWX_Arc* arc = c.AddArc();
    arc->SetStartPoint({1, 0});
    arc->SetAlongPoint({0, 1});
    arc->SetEndPoint({-1, 0});
    c.AddEllipse()->SetParams({0, 0, 0, 2, 2, 0, 0, 1, 0, 1, 0});
    KVSWX_EllipticalArc* ea = c.AddEllipticalArc();
    ea->SetCenterPoint({0.5, 0.5, 0});
    ea->SetMajorPoint({2.5, 0.5, 0});
    ea->SetRatio(0.5);
    ea->SetIsClockwise(true);
    ea->SetStartAngle(-3.141592653589793);
    ea->SetEndAngle(1.5);
    KVSWX_Spline* rational = c.AddSpline();
    rational->SetOrder(3);
    rational->SetIsRational(true);
    rational->SetControlPoints({0, 0, 0, 1, 1, 0, 2, 0, 0});
    rational->SetKnotPoints({0, 0, 0, 1, 1, 1});
    rational->SetWeights({1, 0.7071067811865476, 1});
    KVSWX_Spline* plain = c.AddSpline();
    plain->SetOrder(4);
    plain->SetControlPoints({0, 0, 0, 1, 2, 3});
    plain->SetWeights({9});  // not rational: never written
    KVSWX_Parabola* parabola = c.AddParabola();
    parabola->SetStartPoint({-1, 1, 0});
    parabola->SetEndPoint({1, 1, 0});
    parabola->SetFocus({0, 0.25, 0});
    parabola->SetApex({0, 0, 0});
}

std::vector<std::wstring> Names(const std::vector<XmlNode>& nodes) {
    std::vector<std::wstring> names;
    for (const XmlNode& n : nodes) names.push_back(n.Name());
    return names;
}

TEST_F(SketchSegmentsTest, EmptyCollectionStillWritesSegments) {
    KVSWX_SketchSegmentsCollection c;
    EXPECT_EQ(WriteCollection(c), "\n<r>\n\t<Segments>\n\t</Segments>\n</r>");
    EXPECT_EQ(Process().indentDepth, 0);
}

TEST_F(SketchSegmentsTest, LineWritesAttributesInNameOrderAndThreeNumberPoints) {
    KVSWX_SketchSegmentsCollection c;
    KVSWX_Line* line = c.AddLine();
    line->SetStartPoint({0.5, -0.25, 0});
    line->SetEndPoint({1, 2, 3});
    EXPECT_EQ(WriteCollection(c),
              "\n<r>\n\t<Segments>\n"
              "\t\t<Line isConstructionGeometry=\"false\" swSketchSegments=\"swSketchLINE\">\n"
              "\t\t\t<StartPoint>0.5000000000000000 -0.2500000000000000 0.0000000000000000</StartPoint>\n"
              "\t\t\t<EndPoint>1.0000000000000000 2.0000000000000000 3.0000000000000000</EndPoint>\n"
              "\t\t</Line>\n\t</Segments>\n</r>");
}

TEST_F(SketchSegmentsTest, EachKindWritesItsElementTypeNameAndChildrenInOrder) {
    KVSWX_SketchSegmentsCollection c;
    FillAllKinds(c);
    const std::string xml = WriteCollection(c);
    XmlDocument doc;
    ASSERT_TRUE(doc.LoadString(xml).ok);
    struct Row {
        std::wstring element;
        std::wstring typeName;
        std::vector<std::wstring> children;
    };
    const std::vector<Row> rows = {
        {L"Line", L"swSketchLINE", {L"StartPoint", L"EndPoint"}},
        {L"Circle", L"swSketchARC", {L"CenterPoint", L"Radius"}},
        {L"Arc", L"swSketchARC", {L"StartPoint", L"AlongPoint", L"EndPoint"}},
        {L"Ellipse", L"swSketchELLIPSE", {L"Params"}},
        {L"EllipticalArc", L"swSketchELLIPSE",
         {L"CenterPoint", L"MajorPoint", L"Ratio", L"IsClockwise", L"StartAngle", L"EndAngle"}},
        {L"Spline", L"swSketchSPLINE", {L"Order", L"IsRational", L"ControlPoints", L"KnotPoints", L"Weights"}},
        {L"Spline", L"swSketchSPLINE", {L"Order", L"IsRational", L"ControlPoints", L"KnotPoints"}},
        {L"Parabola", L"swSketchPARABOLA", {L"StartPoint", L"EndPoint", L"Focus", L"Apex"}},
    };
    const std::vector<XmlNode> segments = doc.SelectNodes(L"/r/Segments/*");
    ASSERT_EQ(segments.size(), rows.size());
    for (std::size_t i = 0; i < rows.size(); ++i) {
        SCOPED_TRACE(i);
        EXPECT_EQ(segments[i].Name(), rows[i].element);
        EXPECT_EQ(GetAttributeValue(segments[i], L"swSketchSegments"), rows[i].typeName);
        EXPECT_EQ(GetAttributeValue(segments[i], L"isConstructionGeometry"), i == 0 ? L"true" : L"false");
        EXPECT_EQ(Names(doc.SelectNodes(L"/r/Segments/*[" + std::to_wstring(i + 1) + L"]/*")), rows[i].children);
    }
    // An arc keeps two numbers per point.
    EXPECT_EQ(GetNodeText(doc.SelectSingleNode(L"/r/Segments/Arc/AlongPoint")),
              L"0.0000000000000000 1.0000000000000000");
    EXPECT_EQ(GetNodeText(doc.SelectSingleNode(L"/r/Segments/Spline[1]/Weights")),
              L"1.0000000000000000 0.7071067811865476 1.0000000000000000");
}

TEST_F(SketchSegmentsTest, ReadBackGivesSameKindsAndSavesToSameBytes) {
    KVSWX_SketchSegmentsCollection original;
    FillAllKinds(original);
    const std::string xml = WriteCollection(original);

    ResetProcessStateForTests();
    KVSWX_SketchSegmentsCollection back;
    ReadCollection(back, xml);
    ASSERT_EQ(back.GetCount(), original.GetCount());
    for (std::size_t i = 0; i < back.GetCount(); ++i) {
        const KVSWX_SketchSegment& a = *original.GetSegments()[i];
        const KVSWX_SketchSegment& b = *back.GetSegments()[i];
        EXPECT_EQ(typeid(a), typeid(b)) << i;
        EXPECT_EQ(a.GetType(), b.GetType()) << i;
        EXPECT_EQ(a.IsConstructionGeometry(), b.IsConstructionGeometry()) << i;
    }
    EXPECT_EQ(WriteCollection(back), xml);
    // The unwritten weights of the non-rational spline are not invented.
    EXPECT_TRUE(dynamic_cast<const KVSWX_Spline&>(*back.GetSegments()[6]).Values().weights.empty());
}

TEST_F(SketchSegmentsTest, ElementNameDecidesTheKindNotTheTypeAttribute) {
    KVSWX_SketchSegmentsCollection c;
    ReadCollection(c, Wrap("<Circle swSketchSegments=\"swSketchLINE\"><Radius>2</Radius></Circle>"
                           "<Unknown/>text<!-- note -->"
                           "<Arc><StartPoint>1 2 3</StartPoint><EndPoint>4</EndPoint></Arc>"));
    ASSERT_EQ(c.GetCount(), 2u);
    const auto* circle = dynamic_cast<const KVSWX_Circle*>(c.GetSegments()[0].get());
    ASSERT_NE(circle, nullptr);
    EXPECT_EQ(circle->GetType(), kSketchSegmentArc);
    EXPECT_EQ(circle->Values().radius, 2.0);
    const auto* arc = dynamic_cast<const KVSWX_Arc*>(c.GetSegments()[1].get());
    ASSERT_NE(arc, nullptr);
    EXPECT_EQ(arc->Values().startPoint, (Point2{1, 2}));  // extra token ignored
    EXPECT_EQ(arc->Values().endPoint, (Point2{4, 0}));    // missing token stays 0
}

TEST_F(SketchSegmentsTest, ConstructionFlagOnlyForExactlyTrue) {
    const std::vector<std::pair<std::string, bool>> cases = {
        {"<Line isConstructionGeometry=\"true\"/>", true},
        {"<Line isConstructionGeometry=\"True\"/>", false},
        {"<Line isConstructionGeometry=\"1\"/>", false},
        {"<Line/>", false},
    };
    for (const auto& [xml, expected] : cases) {
        KVSWX_SketchSegmentsCollection c;
        ReadCollection(c, Wrap(xml));
        ASSERT_EQ(c.GetCount(), 1u) << xml;
        EXPECT_EQ(c.GetSegments()[0]->IsConstructionGeometry(), expected) << xml;
    }
}

TEST_F(SketchSegmentsTest, SplineReadsWeightsWhateverIsRationalSaysAndEmptyListsStayEmpty) {
    KVSWX_SketchSegmentsCollection c;
    ReadCollection(c, Wrap("<Spline><IsRational>false</IsRational><Weights>0.5  2</Weights>"
                           "<ControlPoints></ControlPoints></Spline><Ellipse><Params/></Ellipse>"));
    ASSERT_EQ(c.GetCount(), 2u);
    const auto& spline = dynamic_cast<const KVSWX_Spline&>(*c.GetSegments()[0]);
    EXPECT_FALSE(spline.Values().isRational);
    EXPECT_EQ(spline.Values().weights, (DoubleList{0.5, 2}));
    EXPECT_TRUE(spline.Values().controlPoints.empty());
    EXPECT_TRUE(dynamic_cast<const KVSWX_Ellipse&>(*c.GetSegments()[1]).Values().params.empty());
}

TEST_F(SketchSegmentsTest, ReadingAppendsAfterExistingSegments) {
    KVSWX_SketchSegmentsCollection c;
    c.AddParabola();
    ReadCollection(c, Wrap("<Line/>"));
    ASSERT_EQ(c.GetCount(), 2u);
    EXPECT_EQ(c.GetSegments()[0]->GetType(), kSketchSegmentParabola);
    EXPECT_EQ(c.GetSegments()[1]->GetType(), kSketchSegmentLine);
    EXPECT_EQ(c.Append(nullptr), nullptr);
    EXPECT_EQ(c.GetCount(), 2u);
}

}  // namespace
}  // namespace kvswx
