#include <gtest/gtest.h>

#include <cmath>
#include <functional>
#include <memory>
#include <string>
#include <typeinfo>
#include <vector>

#include "extract/sketch_geometry.h"
#include "extract/sketch_geometry_fakes.h"
#include "model/process_state.h"
#include "platform/com.h"
#include "views/base_view.h"
#include "views/segmented_sketch.h"
#include "views/sketch_segments.h"

namespace kvswx {
namespace {

using fake::Scene;
using fake::SegmentData;

constexpr double kPi = 3.141592653589793;

class SketchGeometryTest : public ::testing::Test {
protected:
    void SetUp() override {
        ResetProcessStateForTests();
        Process().mathUtility = std::make_shared<fake::MathUtility>();
    }
    void TearDown() override { ResetProcessStateForTests(); }

    KVSWX_SketchSegmentsCollection out;

    void Extract(const Scene& scene, bool arcMode, bool skipConstruction, const Ref<SourcePlacement>& given = nullptr) {
        ExtractSketchSegments(scene.Segments(), out, arcMode, skipConstruction, given);
    }

    template <class T>
    const T& At(std::size_t i) const {
        EXPECT_LT(i, out.GetCount());
        const auto* typed = dynamic_cast<const T*>(out.GetSegments().at(i).get());
        if (typed == nullptr) throw std::runtime_error(std::string("record ") + std::to_string(i) + " is not " +
                                                       typeid(T).name());
        return *typed;
    }

    std::vector<std::string> Made() const {
        std::vector<std::string> kinds;
        for (const auto& s : out.GetSegments()) {
            const KVSWX_SketchSegment& segment = *s;
            if (typeid(segment) == typeid(KVSWX_Line)) kinds.push_back("Line");
            if (typeid(segment) == typeid(KVSWX_Circle)) kinds.push_back("Circle");
            if (typeid(segment) == typeid(KVSWX_Arc)) kinds.push_back("Arc");
            if (typeid(segment) == typeid(KVSWX_Ellipse)) kinds.push_back("Ellipse");
            if (typeid(segment) == typeid(KVSWX_EllipticalArc)) kinds.push_back("EllipticalArc");
            if (typeid(segment) == typeid(KVSWX_Spline)) kinds.push_back("Spline");
            if (typeid(segment) == typeid(KVSWX_Parabola)) kinds.push_back("Parabola");
        }
        return kinds;
    }
};

using Kinds = std::vector<std::string>;

void ExpectNear(const Point2& actual, const Point2& expected) {
    EXPECT_NEAR(actual[0], expected[0], 1e-12);
    EXPECT_NEAR(actual[1], expected[1], 1e-12);
}

Point2 OnCircle(Point2 center, double radius, double degrees) {
    return {center[0] + radius * std::cos(degrees * kPi / 180), center[1] + radius * std::sin(degrees * kPi / 180)};
}

// ---- along point -------------------------------------------------------------

TEST(ComputeAlongPoint, HalfWayInTheTurningDirectionAcrossTheSeam) {
    const Point2 c{10, -5};
    struct Row {
        const char* what;
        Point2 start, end;
        bool clockwise;
        Point2 expected;
    };
    const std::vector<Row> rows = {
        {"170 to 190 ccw crosses 180", OnCircle(c, 2, 170), OnCircle(c, 2, 190), false, OnCircle(c, 2, 180)},
        {"170 to 190 cw goes the long way", OnCircle(c, 2, 170), OnCircle(c, 2, 190), true, OnCircle(c, 2, 0)},
        {"0 to 90 ccw", OnCircle(c, 2, 0), OnCircle(c, 2, 90), false, OnCircle(c, 2, 45)},
        {"0 to 90 cw", OnCircle(c, 2, 0), OnCircle(c, 2, 90), true, OnCircle(c, 2, -135)},
        {"90 to 0 cw", OnCircle(c, 2, 90), OnCircle(c, 2, 0), true, OnCircle(c, 2, 45)},
        {"equal angles stay put ccw", OnCircle(c, 2, 30), OnCircle(c, 2, 30), false, OnCircle(c, 2, 30)},
        {"equal angles stay put cw", OnCircle(c, 2, 30), OnCircle(c, 2, 30), true, OnCircle(c, 2, 30)},
        {"start on the center", c, OnCircle(c, 2, 30), false, c},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.what);
        ExpectNear(ComputeAlongPoint(row.start, row.end, c, row.clockwise), row.expected);
    }
}

// ---- arcs and circles -------------------------------------------------------

TEST_F(SketchGeometryTest, FullCircleAsArcIsACircleWithArcModeOffAndNothingWithArcModeOn) {
    Scene scene(fake::Transform::Make(2, {1, 1, 0}));
    scene.Add(fake::FullCircle({1, 2, 0}, 5));
    scene.AddArcBlock(fake::ArcBlock({6, 2, 0}, {6, 2, 0}, {1, 2, 0}, 1));

    Extract(scene, false, false);
    ASSERT_EQ(Made(), Kinds{"Circle"});
    EXPECT_EQ(At<KVSWX_Circle>(0).Values().centerPoint, (Point3{3, 5, 0}));
    EXPECT_EQ(At<KVSWX_Circle>(0).Values().radius, 10.0);  // scale 2 doubles the radius
    EXPECT_FALSE(At<KVSWX_Circle>(0).IsConstructionGeometry());

    KVSWX_SketchSegmentsCollection arcMode;
    ExtractSketchSegments(scene.Segments(), arcMode, true, false, nullptr);
    EXPECT_TRUE(arcMode.IsEmpty());
}

TEST_F(SketchGeometryTest, ArcsAndCircleTakeArcBlocksInTurnWhateverStandsBetween) {
    Scene scene;
    // The segments' own points are never used with arc mode off.
    scene.Add(fake::Arc({9, 9, 9}, {8, 8, 8}, {7, 7, 7}, 1));
    scene.Add(fake::Line({0, 0, 0}, {1, 0, 0}, 1));
    scene.Add(fake::Spline(2, 3, {0, 0, 0, 1, 1, 1}, {0, 0, 1, 1}));
    SegmentData circle = fake::Arc({9, 9, 9}, {8, 8, 8}, {7, 7, 7}, 1);
    circle.circleData = {0, 0, 0, 0, 0, 1, 3};
    scene.Add(circle);
    scene.Add(fake::Ellipse({0, 0, 0}, 2, 1, {2, 0, 0}, {2, 0, 0}));
    scene.Add(fake::Arc({9, 9, 9}, {8, 8, 8}, {7, 7, 7}, 1));
    scene.AddArcBlock(fake::ArcBlock({1, 0, 0}, {0, 1, 0}, {0, 0, 0}, 1));
    scene.AddArcBlock(fake::ArcBlock({3, 0, 0}, {3, 0, 5}, {0, 0, 0}, 1));  // equal x and y: a circle
    scene.AddArcBlock(fake::ArcBlock({0, -2, 0}, {2, 0, 0}, {0, 0, 0}, -1));

    Extract(scene, false, false);
    ASSERT_EQ(Made(), (Kinds{"Arc", "Line", "Spline", "Circle", "Ellipse", "Arc"}));
    EXPECT_EQ(At<KVSWX_Arc>(0).Values().startPoint, (Point2{1, 0}));
    EXPECT_EQ(At<KVSWX_Arc>(0).Values().endPoint, (Point2{0, 1}));
    ExpectNear(At<KVSWX_Arc>(0).Values().alongPoint, OnCircle({0, 0}, 1, 45));
    EXPECT_EQ(At<KVSWX_Circle>(3).Values().radius, 3.0);
    EXPECT_EQ(At<KVSWX_Arc>(5).Values().startPoint, (Point2{0, -2}));
    ExpectNear(At<KVSWX_Arc>(5).Values().alongPoint, OnCircle({0, 0}, 2, 135));  // clockwise: the long way

    // A new call counts from block 0 again.
    KVSWX_SketchSegmentsCollection again;
    ExtractSketchSegments({scene.Segments()[5]}, again, false, false, nullptr);
    ASSERT_EQ(again.GetCount(), 1u);
    EXPECT_EQ(dynamic_cast<const KVSWX_Arc&>(*again.GetSegments()[0]).Values().startPoint, (Point2{1, 0}));
}

TEST_F(SketchGeometryTest, SkippedConstructionArcTakesNoArcBlock) {
    Scene scene;
    scene.Add(fake::Construction(fake::Arc({1, 0, 0}, {0, 1, 0}, {0, 0, 0}, 1)));
    scene.Add(fake::Arc({1, 0, 0}, {0, 1, 0}, {0, 0, 0}, 1));
    scene.AddArcBlock(fake::ArcBlock({5, 0, 0}, {0, 5, 0}, {0, 0, 0}, 1));
    scene.AddArcBlock(fake::ArcBlock({6, 0, 0}, {0, 6, 0}, {0, 0, 0}, 1));
    Extract(scene, false, true);
    ASSERT_EQ(Made(), Kinds{"Arc"});
    EXPECT_EQ(At<KVSWX_Arc>(0).Values().startPoint, (Point2{5, 0}));
}

TEST_F(SketchGeometryTest, ArcAcrossTheSeamFromValuesAndFromPoints) {
    const Point3 s{std::cos(170 * kPi / 180), std::sin(170 * kPi / 180), 0};
    const Point3 e{std::cos(190 * kPi / 180), std::sin(190 * kPi / 180), 0};
    for (const int direction : {1, -1}) {
        SCOPED_TRACE(direction);
        const Point2 expected = direction == 1 ? Point2{-1, 0} : Point2{1, 0};
        Scene scene;
        scene.Add(fake::Arc(s, e, {0, 0, 0}, direction));
        scene.AddArcBlock(fake::ArcBlock(s, e, {0, 0, 0}, direction));
        KVSWX_SketchSegmentsCollection fromValues, fromPoints;
        ExtractSketchSegments(scene.Segments(), fromValues, false, false, nullptr);
        ExtractSketchSegments(scene.Segments(), fromPoints, true, false, nullptr);
        for (const KVSWX_SketchSegmentsCollection* c : {&fromValues, &fromPoints}) {
            ASSERT_EQ(c->GetCount(), 1u);
            const auto& arc = dynamic_cast<const KVSWX_Arc&>(*c->GetSegments()[0]);
            ExpectNear(arc.Values().alongPoint, expected);
            EXPECT_EQ(arc.Values().startPoint, (Point2{s[0], s[1]}));
        }
    }
}

// ---- ellipses, parabolas, splines, lines ------------------------------------

TEST_F(SketchGeometryTest, ClosedEllipseGetsElevenParamsMappedAndScaled) {
    Scene scene(fake::Transform::Make(2, {10, 20, 0}));
    scene.Add(fake::Ellipse({1, 2, 0}, 3, 1, {4, 2, 0}, {4, 2, 0}));
    Extract(scene, false, false);
    ASSERT_EQ(Made(), Kinds{"Ellipse"});
    EXPECT_EQ(At<KVSWX_Ellipse>(0).Values().params, (DoubleList{12, 24, 0, 6, 18, 24, 0, 2, 12, 26, 0}));
}

TEST_F(SketchGeometryTest, EllipseWhoseEndsDifferOnlyInZIsAnEllipticalArc) {
    Scene scene;
    SegmentData d = fake::Ellipse({1, 2, 0}, 3, 1, {4, 2, 0}, {4, 2, 1e-9});
    d.direction = -1;
    scene.Add(d);
    scene.Add(fake::Ellipse({0, 0, 0}, 2, 1, {0, 1, 0}, {-2, 0, 0}));
    Extract(scene, false, false);
    ASSERT_EQ(Made(), (Kinds{"EllipticalArc", "EllipticalArc"}));
    const EllipticalArcValues& a = At<KVSWX_EllipticalArc>(0).Values();
    EXPECT_EQ(a.centerPoint, (Point3{1, 2, 0}));
    EXPECT_EQ(a.majorPoint, (Point3{4, 2, 0}));
    EXPECT_EQ(a.ratio, 1.0 / 3.0);
    EXPECT_TRUE(a.isClockwise);
    EXPECT_EQ(a.startAngle, 0.0);
    const EllipticalArcValues& b = At<KVSWX_EllipticalArc>(1).Values();
    EXPECT_EQ(b.ratio, 0.5);
    EXPECT_FALSE(b.isClockwise);
    EXPECT_EQ(b.startAngle, std::atan2(1.0, 0.0));
    EXPECT_EQ(b.endAngle, kPi);
}

TEST_F(SketchGeometryTest, ParabolaWithFocusOnApexIsASpline) {
    Scene scene(fake::Transform::Make(1, {0, 0, 1}));
    scene.Add(fake::Parabola({-1, 1, 0}, {1, 1, 0}, {0, 0.25, 0}, {0, 0, 0}));
    scene.Add(fake::Parabola({-1, 1, 0}, {1, 1, 0}, {0, 0, 0}, {0, 0, 0}));
    Extract(scene, false, false);
    ASSERT_EQ(Made(), (Kinds{"Parabola", "Spline"}));
    const ParabolaValues& p = At<KVSWX_Parabola>(0).Values();
    EXPECT_EQ(p.startPoint, (Point3{-1, 1, 1}));
    EXPECT_EQ(p.endPoint, (Point3{1, 1, 1}));
    EXPECT_EQ(p.focus, (Point3{0, 0.25, 1}));
    EXPECT_EQ(p.apex, (Point3{0, 0, 1}));
    EXPECT_EQ(At<KVSWX_Spline>(1).Values().controlPoints, (DoubleList{-1, 1, 1, 0, 0, 1, 1, 1, 1}));
}

TEST_F(SketchGeometryTest, RationalSplineCompactsControlPointsKeepsKnotsAndRequestsClosedData) {
    Scene scene(fake::Transform::Make(2, {1, 1, 1}));
    SegmentData rational = fake::Spline(3, 4, {0, 0, 0, 1, 1, 1, 0, 0.5, 2, 1, 0, 0.5, 3, 0, 0, 1},
                                        {0, 0, 0, 0.5, 1, 1, 1});
    rational.closed = 1;
    const auto segment = scene.Add(rational);
    scene.Add(fake::Spline(4, 3, {0, 0, 0, 1, 2, 3}, {0, 1}));
    Extract(scene, false, false);
    ASSERT_EQ(Made(), (Kinds{"Spline", "Spline"}));
    const SplineValues& r = At<KVSWX_Spline>(0).Values();
    EXPECT_EQ(r.order, 3);
    EXPECT_TRUE(r.isRational);
    EXPECT_EQ(r.controlPoints, (DoubleList{1, 1, 1, 3, 3, 1, 5, 3, 1, 7, 1, 1}));
    EXPECT_EQ(r.weights, (DoubleList{1, 0.5, 0.5, 1}));
    EXPECT_EQ(r.knotPoints, (DoubleList{0, 0, 0, 0.5, 1, 1, 1}));  // never mapped
    EXPECT_EQ(segment->lastRequest.wantCubic, 0);
    EXPECT_EQ(segment->lastRequest.wantNonRational, 0);
    EXPECT_EQ(segment->lastRequest.forceNonPeriodic, kVariantTrue);
    EXPECT_EQ(segment->lastRequest.closed, 1);
    const SplineValues& plain = At<KVSWX_Spline>(1).Values();
    EXPECT_FALSE(plain.isRational);
    EXPECT_EQ(plain.controlPoints, (DoubleList{1, 1, 1, 3, 5, 7}));
    EXPECT_TRUE(plain.weights.empty());
}

TEST_F(SketchGeometryTest, LineRunsFromRootAlongDirectionForItsLengthThroughTheTransform) {
    Scene scene(fake::Transform::Make(1, {5, 0, 0}, 90));
    scene.Add(fake::Line({1, 0, 0}, {0, 1, 0}, 2));
    Extract(scene, false, false);
    ASSERT_EQ(Made(), Kinds{"Line"});
    const LineValues& v = At<KVSWX_Line>(0).Values();
    EXPECT_NEAR(v.startPoint[0], 5, 1e-15);
    EXPECT_NEAR(v.startPoint[1], 1, 1e-15);
    EXPECT_NEAR(v.endPoint[0], 3, 1e-15);
    EXPECT_NEAR(v.endPoint[1], 1, 1e-15);
}

TEST_F(SketchGeometryTest, GivenPlacementWinsOverTheSketchPlacement) {
    Scene scene(fake::Transform::Make(1));
    scene.Add(fake::Line({1, 0, 0}, {1, 0, 0}, 1));
    Extract(scene, false, false, std::make_shared<fake::Placement>(fake::Transform::Make(3)));
    ASSERT_EQ(Made(), Kinds{"Line"});
    EXPECT_EQ(At<KVSWX_Line>(0).Values().endPoint, (Point3{6, 0, 0}));
}

// ---- construction geometry ----------------------------------------------------

TEST_F(SketchGeometryTest, ConstructionGeometryKeptAndFlaggedOrSkipped) {
    Scene scene;
    scene.Add(fake::Construction(fake::Line({0, 0, 0}, {1, 0, 0}, 1)));
    scene.Add(fake::Line({0, 0, 0}, {0, 1, 0}, 1));

    Extract(scene, false, false);
    ASSERT_EQ(Made(), (Kinds{"Line", "Line"}));
    EXPECT_TRUE(At<KVSWX_Line>(0).IsConstructionGeometry());
    EXPECT_FALSE(At<KVSWX_Line>(1).IsConstructionGeometry());

    KVSWX_SketchSegmentsCollection skipped;
    ExtractSketchSegments(scene.Segments(), skipped, true, true, nullptr);
    ASSERT_EQ(skipped.GetCount(), 1u);
    EXPECT_EQ(dynamic_cast<const KVSWX_Line&>(*skipped.GetSegments()[0]).Values().endPoint, (Point3{0, 1, 0}));
}

TEST_F(SketchGeometryTest, PerKindExtractorsSkipConstructionAndReadFullCirclesAsCircles) {
    Scene scene(fake::Transform::Make(2));
    const auto a = scene.Add(fake::FullCircle({0, 0, 0}, 5));
    const auto b = scene.Add(fake::Construction(fake::Arc({1, 0, 0}, {0, 1, 0}, {0, 0, 0}, 1)));
    const auto c = scene.Add(fake::Arc({1, 0, 0}, {0, 1, 0}, {0, 0, 0}, 1));
    const auto transform = fake::Transform::Make(2);
    ExtractArcs(out, {a->TypedForm(), b->TypedForm(), c->TypedForm()}, transform);
    ASSERT_EQ(Made(), (Kinds{"Circle", "Arc"}));
    EXPECT_EQ(At<KVSWX_Circle>(0).Values().radius, 10.0);
    EXPECT_EQ(At<KVSWX_Arc>(1).Values().endPoint, (Point2{0, 2}));
    EXPECT_FALSE(At<KVSWX_Arc>(1).IsConstructionGeometry());
}

// ---- data that cannot be read whole -----------------------------------------

TEST_F(SketchGeometryTest, ShortArraysAndFailedQueriesSkipOnlyTheirSegment) {
    struct Row {
        const char* what;
        bool arcMode;
        std::function<void(Scene&)> add;
    };
    const auto arcWithBlock = [](Scene& s, SegmentData d, std::vector<double> block) {
        s.Add(std::move(d));
        s.AddArcBlock(block);
    };
    const std::vector<Row> rows = {
        {"line data of 5", false,
         [](Scene& s) {
             SegmentData d = fake::Line({0, 0, 0}, {1, 0, 0}, 1);
             d.lineData.pop_back();
             s.Add(d);
         }},
        {"circle data of 6", false,
         [&](Scene& s) {
             SegmentData d = fake::FullCircle({0, 0, 0}, 1);
             d.circleData.pop_back();
             arcWithBlock(s, d, fake::ArcBlock({1, 0, 0}, {1, 0, 0}, {0, 0, 0}, 1));
         }},
        {"arc block of 15", false,
         [&](Scene& s) {
             std::vector<double> block = fake::ArcBlock({1, 0, 0}, {0, 1, 0}, {0, 0, 0}, 1);
             block.pop_back();
             arcWithBlock(s, fake::Arc({1, 0, 0}, {0, 1, 0}, {0, 0, 0}, 1), block);
         }},
        {"no arc block at all", false, [](Scene& s) { s.Add(fake::Arc({1, 0, 0}, {0, 1, 0}, {0, 0, 0}, 1)); }},
        {"ellipse data of 10", false,
         [](Scene& s) {
             SegmentData d = fake::Ellipse({0, 0, 0}, 2, 1, {2, 0, 0}, {2, 0, 0});
             d.ellipseData.pop_back();
             s.Add(d);
         }},
        {"control points not in triples", false,
         [](Scene& s) { s.Add(fake::Spline(3, 3, {0, 0, 0, 1, 1, 1, 2, 2}, {})); }},
        {"rational control points not in quadruples", false,
         [](Scene& s) { s.Add(fake::Spline(3, 4, {0, 0, 0, 1, 1, 1}, {})); }},
        {"curve query fails", false,
         [](Scene& s) {
             SegmentData d = fake::Line({0, 0, 0}, {1, 0, 0}, 1);
             d.noCurve = true;
             s.Add(d);
         }},
        {"arc interface query fails", true,
         [](Scene& s) {
             SegmentData d = fake::Arc({1, 0, 0}, {0, 1, 0}, {0, 0, 0}, 1);
             d.noTyped = true;
             s.Add(d);
         }},
        {"ellipse interface query fails", false,
         [](Scene& s) {
             SegmentData d = fake::Ellipse({0, 0, 0}, 2, 1, {2, 0, 0}, {0, 1, 0});
             d.noTyped = true;
             s.Add(d);
         }},
        {"elliptical arc without minor point", false,
         [](Scene& s) {
             SegmentData d = fake::Ellipse({0, 0, 0}, 2, 1, {2, 0, 0}, {0, 1, 0});
             d.minor.reset();
             s.Add(d);
         }},
        {"parabola without apex", false,
         [](Scene& s) {
             SegmentData d = fake::Parabola({-1, 1, 0}, {1, 1, 0}, {0, 0.25, 0}, {0, 0, 0});
             d.apex.reset();
             s.Add(d);
         }},
        {"text segment", false,
         [](Scene& s) {
             SegmentData d;
             d.kind = kSegmentText;
             s.Add(d);
         }},
        {"unknown kind", false,
         [](Scene& s) {
             SegmentData d;
             d.kind = 17;
             s.Add(d);
         }},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.what);
        Scene scene;
        scene.Add(fake::Line({0, 0, 0}, {1, 0, 0}, 1));
        row.add(scene);
        scene.Add(fake::Line({0, 0, 0}, {0, 1, 0}, 1));
        KVSWX_SketchSegmentsCollection c;
        ExtractSketchSegments(scene.Segments(), c, row.arcMode, false, nullptr);
        EXPECT_EQ(c.GetCount(), 2u);
    }
}

TEST_F(SketchGeometryTest, NoTransformOrMathUtilityGivesNoRecord) {
    Scene scene;
    scene.Add(fake::Line({0, 0, 0}, {1, 0, 0}, 1));
    scene.sketch->placement = std::make_shared<fake::Placement>(nullptr);
    Extract(scene, false, false);
    scene.sketch->placement = nullptr;
    Extract(scene, false, false);
    ExtractLines(out, {std::dynamic_pointer_cast<fake::Segment>(scene.Segments()[0])->TypedForm()}, nullptr);
    EXPECT_TRUE(out.IsEmpty());

    Process().mathUtility = nullptr;
    Extract(scene, false, false, std::make_shared<fake::Placement>(fake::Transform::Make(1)));
    EXPECT_TRUE(out.IsEmpty());
}

TEST_F(SketchGeometryTest, ArrayWithNonZeroLowerBoundIsAnError) {
    Scene scene;
    SegmentData d = fake::Spline(3, 3, {0, 0, 0}, {});
    d.controlLowerBound = 1;
    scene.Add(d);
    EXPECT_THROW(Extract(scene, false, false), ComError);
}

// ---- view steps ----------------------------------------------------------------

TEST_F(SketchGeometryTest, ManualGeometryTakesTheViewSketchWithConstructionAndArcBlocks) {
    Scene scene(fake::Transform::Make(2));
    scene.Add(fake::Construction(fake::Line({0, 0, 0}, {1, 0, 0}, 1)));
    scene.Add(fake::FullCircle({0, 0, 0}, 1));
    scene.AddArcBlock(fake::ArcBlock({1, 0, 0}, {1, 0, 0}, {0, 0, 0}, 1));
    auto view = std::make_shared<fake::View>();
    view->sketch = scene.sketch;

    KVSWX_BaseView base;
    base.NewManualGeometry()->NewSegments()->AddLine();  // replaced
    ExtractManualGeometry(base, view);
    const KVSWX_ManualGeometry* manual = base.GetManualGeometry();
    ASSERT_NE(manual, nullptr);
    ASSERT_NE(manual->GetSegments(), nullptr);
    const SketchSegmentList& segments = manual->GetSegments()->GetSegments();
    ASSERT_EQ(segments.size(), 2u);
    EXPECT_TRUE(segments[0]->IsConstructionGeometry());
    EXPECT_EQ(dynamic_cast<const KVSWX_Circle&>(*segments[1]).Values().radius, 2.0);

    // A view without sketch, or a sketch without a list, gives empty manual geometry.
    view->sketch = nullptr;
    ExtractManualGeometry(base, view);
    EXPECT_TRUE(base.GetManualGeometry()->IsEmpty());
    scene.sketch->noList = true;
    view->sketch = scene.sketch;
    ExtractManualGeometry(base, view);
    EXPECT_TRUE(base.GetManualGeometry()->IsEmpty());
}

TEST_F(SketchGeometryTest, CropProfileHoldsExactlyTheSegmentsCommand1388AddedPerKindInOrder) {
    Scene scene(fake::Transform::Make(2));
    const SegmentData existingLine = fake::Line({0, 0, 0}, {1, 0, 0}, 1);
    scene.Add(existingLine);
    scene.Add(fake::Arc({1, 0, 0}, {0, 1, 0}, {0, 0, 0}, 1));
    scene.Add(fake::Ellipse({0, 0, 0}, 2, 1, {2, 0, 0}, {2, 0, 0}));

    auto commands = std::make_shared<fake::Commands>();
    commands->viewSketch = scene.sketch;
    // Added by the command, deliberately mixed: the profile lists them by kind.
    commands->cropSegments = {
        scene.Detached(fake::Parabola({-1, 1, 0}, {1, 1, 0}, {0, 0.25, 0}, {0, 0, 0})),
        scene.Detached(existingLine),  // same geometry as an old one, but a new object
        scene.Detached(fake::FullCircle({0, 0, 0}, 5)),
        scene.Detached(fake::Construction(fake::Line({0, 0, 0}, {0, 0, 1}, 1))),
        scene.Detached(fake::Spline(2, 3, {0, 0, 0, 1, 0, 0}, {0, 0, 1, 1})),
        scene.Detached(fake::Ellipse({0, 0, 0}, 2, 1, {2, 0, 0}, {0, 1, 0})),
        scene.Detached(fake::Line({0, 0, 0}, {0, 1, 0}, 3)),
        scene.Detached(fake::Arc({1, 0, 0}, {-1, 0, 0}, {0, 0, 0}, -1)),
    };
    auto view = std::make_shared<fake::View>();
    view->name = L"Drawing View1";
    view->sketch = scene.sketch;

    KVSWX_BaseView base;
    ExtractCropProfile(base, view, commands);
    EXPECT_EQ(commands->calls, (std::vector<std::string>{
                                   "select Drawing View1 DRAWINGVIEW 0.000000 0.000000 0.000000 -1 0 none 0",
                                   "run 1388 untitled"}));
    ASSERT_NE(base.GetCropProfile(), nullptr);
    ASSERT_NE(base.GetCropProfile()->GetSegments(), nullptr);
    const SketchSegmentList& segments = base.GetCropProfile()->GetSegments()->GetSegments();
    std::vector<std::string> kinds;
    for (const auto& s : segments) kinds.push_back(typeid(*s).name());
    EXPECT_EQ(kinds, (std::vector<std::string>{typeid(KVSWX_Line).name(), typeid(KVSWX_Line).name(),
                                               typeid(KVSWX_Circle).name(), typeid(KVSWX_Arc).name(),
                                               typeid(KVSWX_EllipticalArc).name(), typeid(KVSWX_Spline).name(),
                                               typeid(KVSWX_Parabola).name()}));
    EXPECT_EQ(dynamic_cast<const KVSWX_Line&>(*segments[0]).Values().endPoint, (Point3{2, 0, 0}));
    EXPECT_EQ(dynamic_cast<const KVSWX_Line&>(*segments[1]).Values().endPoint, (Point3{0, 6, 0}));
    EXPECT_EQ(dynamic_cast<const KVSWX_Circle&>(*segments[2]).Values().radius, 10.0);
    for (const auto& s : segments) EXPECT_FALSE(s->IsConstructionGeometry());
}

TEST_F(SketchGeometryTest, CropProfileWithNothingAddedIsEmpty) {
    Scene scene;
    scene.Add(fake::Line({0, 0, 0}, {1, 0, 0}, 1));
    auto commands = std::make_shared<fake::Commands>();
    auto view = std::make_shared<fake::View>();
    view->name = L"V";
    view->sketch = scene.sketch;
    KVSWX_BaseView base;
    ExtractCropProfile(base, view, commands);
    ASSERT_NE(base.GetCropProfile(), nullptr);
    ASSERT_NE(base.GetCropProfile()->GetSegments(), nullptr);
    EXPECT_TRUE(base.GetCropProfile()->GetSegments()->IsEmpty());
}

}  // namespace
}  // namespace kvswx
