#include "extract/sketch_geometry.h"

#include <gtest/gtest.h>

#include <cmath>
#include <memory>
#include <string>
#include <utility>
#include <vector>

#include "test_support.h"
#include "extract/view_recording.h"
#include "platform/com.h"
#include "platform/text.h"
#include "views/base_view.h"
#include "views/record_xml.h"
#include "views/segmented_sketch.h"
#include "views/sketch_segments.h"

namespace kvswx {
namespace {

constexpr double kPi = 3.141592653589793;

// ---- recorded segments as JSON text -------------------------------------------

std::string N(double v) { return test::Number(v); }
std::string P(const Point3& p) { return "[" + N(p[0]) + "," + N(p[1]) + "," + N(p[2]) + "]"; }
std::string Values(const Point3& p) { return N(p[0]) + "," + N(p[1]) + "," + N(p[2]); }
Point3 OnCircle(const Point3& c, double r, double degrees) {
    return {c[0] + r * std::cos(degrees * kPi / 180), c[1] + r * std::sin(degrees * kPi / 180),
            c[2]};
}

std::string Line(const Point3& root, const Point3& dir, double length,
                 const std::string& extra = "") {
    return R"({"kind":0,"length":)" + N(length) + R"(,"curve":{"lineData":[)" + Values(root) + "," +
           Values(dir) + "]}" + extra + "}";
}
std::string Arc(const Point3& s, const Point3& e, const Point3& c, int direction,
                const std::string& extra = "") {
    const double r = std::hypot(s[0] - c[0], s[1] - c[1]);
    return R"({"kind":1,"start":)" + P(s) + R"(,"end":)" + P(e) + R"(,"center":)" + P(c) +
           R"(,"direction":)" + std::to_string(direction) + R"(,"curve":{"circleData":[)" +
           Values(c) + ",0,0,1," + N(r) + "]}" + extra + "}";
}
std::string FullCircle(const Point3& c, double r) {
    const Point3 s{c[0] + r, c[1], c[2]};
    return Arc(s, s, c, 1, R"(,"fullCircle":1)");
}
// One block of sketch arc data: six display values, start, end, center, direction.
std::string Block(const Point3& s, const Point3& e, const Point3& c, int direction) {
    return "7,1,0,0.00025,3,0," + Values(s) + "," + Values(e) + "," + Values(c) + "," +
           std::to_string(direction);
}
// Major axis along x; the curve data matches the points.
std::string Ellipse(const Point3& c, double a, double b, const Point3& s, const Point3& e,
                    int direction = 1) {
    return R"({"kind":2,"center":)" + P(c) + R"(,"major":)" + P({c[0] + a, c[1], c[2]}) +
           R"(,"minor":)" + P({c[0], c[1] + b, c[2]}) + R"(,"start":)" + P(s) + R"(,"end":)" +
           P(e) + R"(,"direction":)" + std::to_string(direction) + R"(,"curve":{"ellipseData":[)" +
           Values(c) + "," + N(a) + ",1,0,0," + N(b) + ",0,1,0]}}";
}
std::string Spline(int kind, int dimension, const std::string& controlPoints,
                   const std::string& extra = "") {
    return R"({"kind":)" + std::to_string(kind) + R"(,"curve":{"bspline":{"order":3,"dimension":)" +
           std::to_string(dimension) + R"(,"controlPoints":)" + controlPoints +
           R"(,"knots":[0,0,0,1,1,1]}})" + extra + "}";
}
std::string Parabola(const Point3& focus, const Point3& apex, const std::string& extra = "") {
    return Spline(
        5, 3, "[-1,1,0,0,0,0,1,1,0]",
        R"(,"start":[-1,1,0],"end":[1,1,0],"focus":)" + P(focus) + R"(,"apex":)" + P(apex) + extra);
}
std::string Placement(double scale, const Point3& t = {}, bool quarterTurn = false) {
    return quarterTurn ? "[0,1,0,-1,0,0,0,0,1," + Values(t) + "," + N(scale) + ",0,0,0]"
                       : "[1,0,0,0,1,0,0,0,1," + Values(t) + "," + N(scale) + ",0,0,0]";
}

// The element name each record writes, per record of `c`.
std::vector<std::string> KindsOf(const KVSWX_SketchSegmentsCollection& c) {
    XmlDocument doc;
    EXPECT_TRUE(doc.LoadString(test::WriteRecord(*c.GetImpl())).ok);
    std::vector<std::string> kinds;
    for (const XmlNode& node : doc.SelectNodes(L"/r/Segments/*")) kinds.push_back(ToUtf8(node.Name()));
    return kinds;
}

class SketchGeometryTest : public test::FreshProcessTest {
protected:
    // A view "V" whose sketch holds `segments`; `more` adds keys to the sketch.
    void Load(const std::vector<std::string>& segments, const std::string& more = "",
              const std::string& placement = Placement(1), const std::string& viewKeys = "") {
        std::string list;
        for (const std::string& s : segments) list += (list.empty() ? "" : ",") + s;
        recording = test::LoadViews(R"({"name":"V")" + viewKeys + R"(,"sketch":{"placement":)" +
                                    placement + R"(,"segments":[)" + list + "]" + more + "}}");
        view = test::ViewNamed(*recording, L"V");
    }
    std::vector<Ref<SourceSketchSegment>> Segments() const { return *view->Sketch()->Segments(); }
    void Extract(bool arcMode, bool skipConstruction, const Ref<SourcePlacement>& given = nullptr) {
        ExtractSketchSegments(Segments(), *out, arcMode, skipConstruction, given);
    }
    std::vector<std::string> Made() const { return KindsOf(*out); }
    template <class T>
    const auto& At(std::size_t i) const {
        return dynamic_cast<const T&>(*out->GetSegments().at(i)).Values();
    }
    void Fresh() { out = std::make_unique<KVSWX_SketchSegmentsCollection>(); }

    std::shared_ptr<recorded::Recording> recording;
    Ref<SourceView> view;
    std::unique_ptr<KVSWX_SketchSegmentsCollection> out =
        std::make_unique<KVSWX_SketchSegmentsCollection>();
};

using Kinds = std::vector<std::string>;

void ExpectNear(const Point2& actual, const Point3& expected) {
    EXPECT_NEAR(actual[0], expected[0], 1e-12);
    EXPECT_NEAR(actual[1], expected[1], 1e-12);
}

// ---- along point ----------------------------------------------------------------

TEST(ComputeAlongPoint, HalfWayInTheTurningDirectionAcrossTheSeam) {
    const Point3 c{10, -5, 0};
    struct Row {
        double from, to;
        bool clockwise;
        double expected;  // degrees; NAN: the center
    };
    const std::vector<Row> rows = {
        {170, 190, false, 180}, {170, 190, true, 0}, {0, 90, false, 45}, {0, 90, true, -135},
        {90, 0, true, 45},      {30, 30, false, 30}, {30, 30, true, 30},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(std::to_string(row.from) + " to " + std::to_string(row.to) +
                     (row.clockwise ? " cw" : " ccw"));
        const Point3 s = OnCircle(c, 2, row.from), e = OnCircle(c, 2, row.to);
        ExpectNear(ComputeAlongPoint({s[0], s[1]}, {e[0], e[1]}, {c[0], c[1]}, row.clockwise),
                   OnCircle(c, 2, row.expected));
    }
    ExpectNear(ComputeAlongPoint({10, -5}, {12, -5}, {10, -5}, false), c);  // start on the center
}

// ---- arcs and circles -------------------------------------------------------------

// With arc mode off a full circle drawn as an arc is a Circle (see the golden
// example "geometry"); with it on, nothing; the crop extractor makes a Circle.
TEST_F(SketchGeometryTest, FullCircleGivesNothingInArcModeACircleInTheCropExtractor) {
    Load({FullCircle({1, 2, 0}, 5)}, "", Placement(2, {1, 1, 0}));
    Extract(true, false);
    EXPECT_TRUE(out->IsEmpty());
    ExtractArcs(*out, {Segments()[0]->QueryArc()}, view->Sketch()->Placement()->SegmentTransform());
    ASSERT_EQ(Made(), Kinds{"Circle"});
    EXPECT_EQ(At<KVSWX_Circle>(0).centerPoint, (Point3{3, 5, 0}));
    EXPECT_EQ(At<KVSWX_Circle>(0).radius, 10.0);  // scale 2 doubles the radius
}

TEST_F(SketchGeometryTest, ArcsAndCircleTakeArcBlocksInTurnWhateverStandsBetween) {
    const Point3 o{};
    const std::string ignored =
        Arc({9, 0, 0}, {0, 9, 0}, o, 1);  // own points unused with arc mode off
    Load({ignored, Line(o, {1, 0, 0}, 1), Spline(3, 3, "[0,0,0,1,1,1]"), ignored,
          Ellipse(o, 2, 1, {2, 0, 0}, {2, 0, 0}),
          Arc({9, 0, 0}, {0, 9, 0}, o, 1, R"(,"construction":1)"), ignored},
         R"(,"arcData":[)" + Block({1, 0, 0}, {0, 1, 0}, o, 1) + "," +
             Block({9, 0, 0}, {9, 0, 5}, o, 1) + "," + Block({0, -2, 0}, {2, 0, 0}, o, -1) + "]");
    Extract(false, true);  // the skipped construction arc takes no block
    ASSERT_EQ(Made(), (Kinds{"Arc", "Line", "Spline", "Circle", "Ellipse", "Arc"}));
    EXPECT_EQ(At<KVSWX_Arc>(0).startPoint, (Point2{1, 0}));
    ExpectNear(At<KVSWX_Arc>(0).alongPoint, OnCircle(o, 1, 45));
    EXPECT_EQ(At<KVSWX_Circle>(3).radius, 9.0);
    EXPECT_EQ(At<KVSWX_Arc>(5).startPoint, (Point2{0, -2}));
    ExpectNear(At<KVSWX_Arc>(5).alongPoint, OnCircle(o, 2, 135));  // clockwise: the long way
}

// Arc mode takes each arc's own points, never a block of arc data; only a
// full-circle indicator of exactly 1 makes a circle (nothing in arc mode, a
// Circle in the crop extractor).
TEST_F(SketchGeometryTest, ArcModeReadsTheArcItselfAndOnlyIndicatorOneIsAFullCircle) {
    const Point3 o{};
    Load({Arc({1, 0, 0}, {0, 1, 0}, o, 1), Arc({3, 0, 0}, {0, 3, 0}, o, 1, R"(,"fullCircle":2)")},
         R"(,"arcData":[)" + Block({9, 0, 0}, {0, 9, 0}, o, 1) + "," + Block({8, 0, 0}, {0, 8, 0}, o, 1) + "]");
    Extract(true, false);
    ASSERT_EQ(Made(), (Kinds{"Arc", "Arc"}));
    EXPECT_EQ(At<KVSWX_Arc>(0).startPoint, (Point2{1, 0}));
    EXPECT_EQ(At<KVSWX_Arc>(1).startPoint, (Point2{3, 0}));
    Fresh();
    ExtractArcs(*out, {Segments()[0]->QueryArc(), Segments()[1]->QueryArc()},
                view->Sketch()->Placement()->SegmentTransform());
    ASSERT_EQ(Made(), (Kinds{"Arc", "Arc"}));
    EXPECT_EQ(At<KVSWX_Arc>(1).endPoint, (Point2{0, 3}));
}

// An elliptical arc under a placement that turns, scales and moves it: its
// axis lengths are measured in x and y of the mapped points (the mapped
// major and minor points here also stand off the sheet in z), its angles
// from the mapped start and end.
TEST_F(SketchGeometryTest, EllipticalArcMeasuresMappedPointsInThePlane) {
    Load({R"({"kind":2,"center":[0,0,0],"major":[2,0,1],"minor":[0,1,3],"start":[2,0,0],"end":[0,1,0],)"
          R"("direction":-1})"},
         "", Placement(2, {5, 0, 0}, true));
    Extract(false, false);
    ASSERT_EQ(Made(), Kinds{"EllipticalArc"});
    const EllipticalArcValues& arc = At<KVSWX_EllipticalArc>(0);
    EXPECT_EQ(arc.centerPoint, (Point3{5, 0, 0}));
    EXPECT_EQ(arc.majorPoint, (Point3{5, 4, 2}));
    EXPECT_NEAR(arc.ratio, 0.5, 1e-15);
    EXPECT_NEAR(arc.startAngle, kPi / 2, 1e-15);
    EXPECT_NEAR(arc.endAngle, kPi, 1e-15);
    EXPECT_TRUE(arc.isClockwise);
}

// ---- lines and placements -----------------------------------------------------------
// Ellipses (closed: eleven params; ends differing only in z: an
// EllipticalArc), parabolas (focus on the apex: a Spline) and splines
// (rational: 12 values and 4 weights) are pinned by the golden example
// "geometry"; the crop profile test below maps one of each.

TEST_F(SketchGeometryTest, LineRunsAlongItsDirectionAndAGivenPlacementWinsOverTheSketchOne) {
    Load({Line({1, 0, 0}, {0, 1, 0}, 2)}, "", Placement(1, {5, 0, 0}, true));
    Extract(false, false);
    ASSERT_EQ(Made(), Kinds{"Line"});
    EXPECT_EQ(At<KVSWX_Line>(0).startPoint, (Point3{5, 1, 0}));
    EXPECT_EQ(At<KVSWX_Line>(0).endPoint, (Point3{3, 1, 0}));

    const auto sketchOfBlock =
        test::LoadViews(R"({"name":"B","sketch":{"placement":)" + Placement(3) + "}}");
    Extract(false, false, test::ViewNamed(*sketchOfBlock, L"B")->Sketch()->Placement());
    ASSERT_EQ(Made(), (Kinds{"Line", "Line"}));
    EXPECT_EQ(At<KVSWX_Line>(1).endPoint, (Point3{3, 6, 0}));
}

// ---- construction geometry ---------------------------------------------------------

// Flagged when kept: see the golden example "geometry".
TEST_F(SketchGeometryTest, ConstructionGeometrySkippedOnRequestNeverInCropExtractors) {
    Load({Line({0, 0, 0}, {1, 0, 0}, 1, R"(,"construction":-1)"), Line({0, 0, 0}, {0, 1, 0}, 1)});
    Extract(true, true);
    ASSERT_EQ(Made(), Kinds{"Line"});
    EXPECT_EQ(At<KVSWX_Line>(0).endPoint, (Point3{0, 1, 0}));
    Fresh();
    ExtractLines(*out, {Segments()[0]->QueryLine(), Segments()[1]->QueryLine()},
                 view->Sketch()->Placement()->SegmentTransform());
    ASSERT_EQ(Made(), Kinds{"Line"});
    EXPECT_FALSE(out->GetSegments()[0]->IsConstructionGeometry());
}

// ---- data that cannot be read whole ------------------------------------------------

TEST_F(SketchGeometryTest, ShortArraysAndFailedQueriesSkipOnlyTheirSegment) {
    struct Row {
        const char* what;
        bool arcMode;
        std::string segment, more;
    };
    const Point3 o{};
    const std::vector<Row> rows = {
        {"line data of 5", false, R"({"kind":0,"length":1,"curve":{"lineData":[0,0,0,1,0]}})", ""},
        {"circle data of 6", false, R"({"kind":1,"curve":{"circleData":[0,0,0,0,0,1]}})",
         R"(,"arcData":[)" + Block({1, 0, 0}, {1, 0, 0}, o, 1) + "]"},
        {"arc block of 15", false, Arc({1, 0, 0}, {0, 1, 0}, o, 1),
         R"(,"arcData":[0,0,0,0,0,0,1,0,0,0,1,0,0,0,0])"},
        {"no arc data", false, Arc({1, 0, 0}, {0, 1, 0}, o, 1), ""},
        {"ellipse data of 10", false,
         R"({"kind":2,"start":[2,0,0],"end":[2,0,0],"curve":{"ellipseData":[0,0,0,2,1,0,0,1,0,1]}})",
         ""},
        {"control points not in triples", false, Spline(3, 3, "[0,0,0,1,1,1,2,2]"), ""},
        {"rational control points not in quadruples", false, Spline(3, 4, "[0,0,0,1,1,1]"), ""},
        {"no curve", false, R"({"kind":0,"length":1})", ""},
        {"arc query fails", true, Arc({1, 0, 0}, {0, 1, 0}, o, 1, R"(,"typedQueryFails":true)"),
         ""},
        {"ellipse query fails", false, R"({"kind":2,"typedQueryFails":true})", ""},
        {"elliptical arc without minor point", false,
         R"({"kind":2,"center":[0,0,0],"major":[2,0,0],"start":[2,0,0],"end":[0,1,0]})", ""},
        {"parabola without apex", false,
         R"({"kind":5,"start":[0,0,0],"end":[1,1,0],"focus":[0,1,0]})", ""},
        {"unknown kind", false, R"({"kind":17})", ""},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.what);
        Load({Line({0, 0, 0}, {1, 0, 0}, 1), row.segment, Line({0, 0, 0}, {0, 1, 0}, 1)}, row.more);
        Fresh();
        Extract(row.arcMode, false);
        EXPECT_EQ(Made(), (Kinds{"Line", "Line"}));
    }
}

TEST_F(SketchGeometryTest, NoPlacementOrMathUtilityGivesNoRecordANonZeroLowerBoundIsAnError) {
    recording = test::LoadViews(R"({"name":"V","sketch":{"segments":[)" +
                                Line({0, 0, 0}, {1, 0, 0}, 1) + "]}}");
    view = test::ViewNamed(*recording, L"V");
    Extract(false, false);
    ExtractLines(*out, {Segments()[0]->QueryLine()}, nullptr);
    EXPECT_TRUE(out->IsEmpty());

    Load({Line({0, 0, 0}, {1, 0, 0}, 1)});
    Process().mathUtility = nullptr;
    Extract(false, false);
    EXPECT_TRUE(out->IsEmpty());

    Load({Spline(3, 3, R"({"values":[0,0,0],"lowerBound":1})")});
    EXPECT_THROW(Extract(false, false), ComError);
}

// ---- view steps ------------------------------------------------------------------------

// Manual geometry as the golden example "geometry" shows it; here a view
// without a segment list, whose earlier manual geometry is replaced.
TEST_F(SketchGeometryTest, ManualGeometryOfAViewWithoutSegmentsIsEmpty) {
    const auto noList = test::LoadViews(R"({"name":"E","sketch":{}},{"name":"F"})");
    KVSWX_BaseView base;
    for (const wchar_t* name : {L"E", L"F"}) {
        base.NewManualGeometry()->NewSegments()->AddLine();
        ExtractManualGeometry(base, test::ViewNamed(*noList, name));
        EXPECT_TRUE(base.GetManualGeometry()->IsEmpty());
    }
}

TEST_F(SketchGeometryTest, CropProfileHoldsExactlyTheSegmentsCommand1388AddedByKindInOrder) {
    const std::string oldLine = Line({0, 0, 0}, {1, 0, 0}, 1);
    const std::vector<std::string> added = {
        Parabola({0, 0.25, 0}, {0, 0, 0}),
        oldLine,  // the geometry of an old segment, but a new object
        FullCircle({0, 0, 0}, 5),
        Line({0, 0, 0}, {0, 0, 1}, 1, R"(,"construction":1)"),
        Spline(3, 3, "[0,0,0,1,0,0]"),
        Ellipse({0, 0, 0}, 2, 1, {2, 0, 0}, {0, 1, 0}),
        Line({0, 0, 0}, {0, 1, 0}, 3),
        Arc({1, 0, 0}, {-1, 0, 0}, {}, -1),
    };
    std::string crop;
    for (const std::string& s : added) crop += (crop.empty() ? "" : ",") + s;
    Load(
        {oldLine, Arc({1, 0, 0}, {0, 1, 0}, {}, 1), Ellipse({0, 0, 0}, 2, 1, {2, 0, 0}, {2, 0, 0})},
        "", Placement(2), R"(,"cropped":1,"cropSegments":[)" + crop + "]");
    KVSWX_BaseView base;
    ExtractCropProfile(base, view, recording->Document()->Commands());
    ASSERT_NE(base.GetCropProfile()->GetSegments(), nullptr);
    const SketchSegmentList& segments = base.GetCropProfile()->GetSegments()->GetSegments();
    EXPECT_EQ(KindsOf(*base.GetCropProfile()->GetSegments()),
              (Kinds{"Line", "Line", "Circle", "Arc", "EllipticalArc", "Spline", "Parabola"}));
    EXPECT_EQ(dynamic_cast<const KVSWX_Line&>(*segments[1]).Values().endPoint, (Point3{0, 6, 0}));
    ExpectNear(dynamic_cast<const KVSWX_Arc&>(*segments[3]).Values().alongPoint, {0, -2, 0});  // clockwise
    for (const auto& s : segments) EXPECT_FALSE(s->IsConstructionGeometry());
}

}  // namespace
}  // namespace kvswx
