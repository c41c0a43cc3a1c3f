// Small hand-written stand-ins of the source interfaces that sketch geometry
// extraction reads: sketches, segments and their typed forms, curves,
// B-spline data, points, placements, transforms, the math utility, a view
// and the document commands.
#pragma once

#include <array>
#include <cmath>
#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <utility>
#include <vector>

#include "entry/source.h"
#include "model/encodings.h"

namespace kvswx::fake {

inline SourceDoubleArray Array(std::vector<double> values) { return SourceDoubleArray{std::move(values), 0}; }

// 16 numbers: rotation about z by `degrees`, then scale, then translation.
class Transform final : public SourceTransform {
public:
    std::array<double, 16> v{};

    static Ref<Transform> Make(double scale, Point3 translation = {}, double degrees = 0) {
        auto t = std::make_shared<Transform>();
        const double a = degrees * 3.141592653589793 / 180;
        const double c = degrees == 0 ? 1 : std::cos(a);
        const double s = degrees == 0 ? 0 : std::sin(a);
        t->v = {c, s, 0, -s, c, 0, 0, 0, 1, translation[0], translation[1], translation[2], scale, 0, 0, 0};
        return t;
    }
    // p' = s*(p*R) + t, p a row vector.
    Point3 MapPoint(const Point3& p) const {
        Point3 out{};
        for (int j = 0; j < 3; ++j) {
            out[j] = v[12] * (p[0] * v[0 + j] + p[1] * v[3 + j] + p[2] * v[6 + j]) + v[9 + j];
        }
        return out;
    }

    SourceDoubleArray ArrayData() override { return Array({v.begin(), v.end()}); }
    SourceTransformComponents Components() override {
        SourceTransformComponents c;
        c.scale = v[12];
        return c;
    }
    Ref<SourceTransform> Inverse() override { return nullptr; }
    Ref<SourceTransform> Multiply(const Ref<SourceTransform>&) override { return nullptr; }
};

class MathPoint final : public SourceMathPoint {
public:
    explicit MathPoint(Point3 p) : p_(p) {}
    Ref<SourceMathPoint> MultiplyTransform(const Ref<SourceTransform>& transform) override {
        auto* t = dynamic_cast<Transform*>(transform.get());
        return t ? std::make_shared<MathPoint>(t->MapPoint(p_)) : nullptr;
    }
    SourceDoubleArray ArrayData() override { return Array({p_[0], p_[1], p_[2]}); }

private:
    Point3 p_;
};

class MathUtility final : public SourceMathUtility {
public:
    int pointsMade = 0;
    Ref<SourceMathPoint> CreatePoint(double x, double y, double z) override {
        ++pointsMade;
        return std::make_shared<MathPoint>(Point3{x, y, z});
    }
    Ref<SourceMathVector> CreateVector(double, double, double) override { return nullptr; }
    Ref<SourceTransform> CreateTransform(const SourceDoubleArray&) override { return nullptr; }
};

class Placement final : public SourcePlacement {
public:
    explicit Placement(Ref<SourceTransform> t) : transform(std::move(t)) {}
    Ref<SourceTransform> transform;
    Ref<SourceTransform> SegmentTransform() override { return transform; }
    Ref<SourcePlacement> Combine(const Ref<SourcePlacement>&) override { return nullptr; }
    Ref<SourcePlacement> Combine(const Ref<SourceTransform>&) override { return nullptr; }
};

class Point final : public SourcePoint {
public:
    explicit Point(Point3 p) : p_(p) {}
    double X() override { return p_[0]; }
    double Y() override { return p_[1]; }
    double Z() override { return p_[2]; }

private:
    Point3 p_;
};

// Everything a segment can answer, as plain values.
struct SegmentData {
    std::int32_t kind = kSegmentLine;
    VBool construction = 0;
    bool noCurve = false;   // the curve query fails
    bool noTyped = false;   // the typed query fails
    std::vector<double> lineData, circleData, ellipseData;
    double length = 0;
    std::optional<Point3> start, end, center, major, minor, focus, apex;
    std::int32_t direction = 1;
    std::int32_t fullCircle = 0;
    // B-spline data.
    VBool closed = 0;
    std::int32_t order = 0;
    std::int32_t dimension = 3;
    std::vector<double> controlPoints, knots;
    std::int32_t controlLowerBound = 0;
};

// The arguments of the last B-spline data request.
struct BSplineRequest {
    std::int32_t wantCubic = -9, wantNonRational = -9;
    VBool forceNonPeriodic = -9, closed = -9;
};

class BSplineData final : public SourceBSplineData {
public:
    explicit BSplineData(const SegmentData& d) : d_(d) {}
    std::int32_t Order() override { return d_.order; }
    std::int32_t Dimension() override { return d_.dimension; }
    SourceDoubleArray ControlPoints() override { return SourceDoubleArray{d_.controlPoints, d_.controlLowerBound}; }
    SourceDoubleArray Knots() override { return Array(d_.knots); }

private:
    SegmentData d_;
};

class Curve final : public SourceCurve {
public:
    Curve(const SegmentData& d, BSplineRequest& request) : d_(d), request_(request) {}
    SourceDoubleArray LineData() override { return Array(d_.lineData); }
    SourceDoubleArray CircleData() override { return Array(d_.circleData); }
    SourceDoubleArray EllipseData() override { return Array(d_.ellipseData); }
    SourceCurveParameters Parameters() override {
        SourceCurveParameters p;
        p.closed = d_.closed;
        return p;
    }
    Ref<SourceBSplineData> BSplineData(std::int32_t wantCubic, std::int32_t wantNonRational, VBool forceNonPeriodic,
                                       VBool closed) override {
        request_ = {wantCubic, wantNonRational, forceNonPeriodic, closed};
        return std::make_shared<fake::BSplineData>(d_);
    }

private:
    SegmentData d_;
    BSplineRequest& request_;
};

class Segment;

// The typed forms of a segment: one object per segment, so that repeated
// queries return the same object.
class Typed final : public SourceLineSegment,
                    public SourceArcSegment,
                    public SourceEllipseSegment,
                    public SourceParabolaSegment,
                    public SourceSplineSegment {
public:
    explicit Typed(std::weak_ptr<Segment> segment) : segment_(std::move(segment)) {}
    Ref<SourceSketchSegment> AsSegment() override;
    Ref<SourcePoint> StartPoint() override { return PointOf(&SegmentData::start); }
    Ref<SourcePoint> EndPoint() override { return PointOf(&SegmentData::end); }
    Ref<SourcePoint> CenterPoint() override { return PointOf(&SegmentData::center); }
    Ref<SourcePoint> MajorPoint() override { return PointOf(&SegmentData::major); }
    Ref<SourcePoint> MinorPoint() override { return PointOf(&SegmentData::minor); }
    Ref<SourcePoint> FocalPoint() override { return PointOf(&SegmentData::focus); }
    Ref<SourcePoint> ApexPoint() override { return PointOf(&SegmentData::apex); }
    std::int32_t Direction() override;
    std::int32_t FullCircle() override;

private:
    Ref<SourcePoint> PointOf(std::optional<Point3> SegmentData::*member);
    std::weak_ptr<Segment> segment_;
};

class Segment final : public SourceSketchSegment, public std::enable_shared_from_this<Segment> {
public:
    SegmentData d;
    std::weak_ptr<SourceSketch> sketch;
    BSplineRequest lastRequest;

    std::int32_t Kind() override { return d.kind; }
    VBool Construction() override { return d.construction; }
    Ref<SourceSketch> Sketch() override { return sketch.lock(); }
    Ref<SourceCurve> Curve() override { return d.noCurve ? nullptr : std::make_shared<fake::Curve>(d, lastRequest); }
    Ref<SourceCurve> SplineCurve() override { return Curve(); }
    double Length() override { return d.length; }
    Ref<SourceLineSegment> QueryLine() override { return Query(kSegmentLine); }
    Ref<SourceArcSegment> QueryArc() override { return Query(kSegmentArc); }
    Ref<SourceEllipseSegment> QueryEllipse() override { return Query(kSegmentEllipse); }
    Ref<SourceSplineSegment> QuerySpline() override { return Query(kSegmentSpline); }
    Ref<SourceParabolaSegment> QueryParabola() override { return Query(kSegmentParabola); }

    Ref<Typed> TypedForm() {
        if (!typed_) typed_ = std::make_shared<Typed>(weak_from_this());
        return typed_;
    }

private:
    Ref<Typed> Query(std::int32_t kind) { return d.kind == kind && !d.noTyped ? TypedForm() : nullptr; }
    Ref<Typed> typed_;
};

inline Ref<SourceSketchSegment> Typed::AsSegment() { return segment_.lock(); }
inline std::int32_t Typed::Direction() { return segment_.lock()->d.direction; }
inline std::int32_t Typed::FullCircle() { return segment_.lock()->d.fullCircle; }
inline Ref<SourcePoint> Typed::PointOf(std::optional<Point3> SegmentData::*member) {
    const std::optional<Point3>& p = segment_.lock()->d.*member;
    return p ? std::make_shared<Point>(*p) : nullptr;
}

class Sketch final : public SourceSketch {
public:
    std::vector<Ref<SourceSketchSegment>> segments;
    bool noList = false;
    Ref<SourcePlacement> placement;
    std::vector<double> arcData;

    std::optional<std::vector<Ref<SourceSketchSegment>>> Segments() override {
        if (noList) return std::nullopt;
        return segments;
    }
    Ref<SourcePlacement> Placement() override { return placement; }
    SourceDoubleArray ArcData() override { return Array(arcData); }
    std::vector<Ref<SourceBlockInstance>> BlockInstances() override { return {}; }
    std::vector<Ref<SourceSketchHatch>> SketchHatches() override { return {}; }
};

// ---- segment data of each kind ----------------------------------------------

inline SegmentData Line(Point3 root, Point3 direction, double length) {
    SegmentData d;
    d.kind = kSegmentLine;
    d.lineData = {root[0], root[1], root[2], direction[0], direction[1], direction[2]};
    d.length = length;
    d.start = root;
    return d;
}

// An arc with its points and its circle data.
inline SegmentData Arc(Point3 start, Point3 end, Point3 center, std::int32_t direction) {
    SegmentData d;
    d.kind = kSegmentArc;
    d.start = start;
    d.end = end;
    d.center = center;
    d.direction = direction;
    const double r = std::hypot(start[0] - center[0], start[1] - center[1]);
    d.circleData = {center[0], center[1], center[2], 0, 0, 1, r};
    return d;
}

inline SegmentData FullCircle(Point3 center, double radius) {
    SegmentData d = Arc({center[0] + radius, center[1], center[2]}, {center[0] + radius, center[1], center[2]},
                        center, 1);
    d.fullCircle = 1;
    return d;
}

// An ellipse whose curve data matches its points: major axis along x.
inline SegmentData Ellipse(Point3 center, double major, double minor, Point3 start, Point3 end) {
    SegmentData d;
    d.kind = kSegmentEllipse;
    d.ellipseData = {center[0], center[1], center[2], major, 1, 0, 0, minor, 0, 1, 0};
    d.center = center;
    d.major = Point3{center[0] + major, center[1], center[2]};
    d.minor = Point3{center[0], center[1] + minor, center[2]};
    d.start = start;
    d.end = end;
    return d;
}

inline SegmentData Spline(std::int32_t order, std::int32_t dimension, std::vector<double> controlPoints,
                          std::vector<double> knots) {
    SegmentData d;
    d.kind = kSegmentSpline;
    d.order = order;
    d.dimension = dimension;
    d.controlPoints = std::move(controlPoints);
    d.knots = std::move(knots);
    return d;
}

inline SegmentData Parabola(Point3 start, Point3 end, Point3 focus, Point3 apex) {
    SegmentData d = Spline(3, 3, {start[0], start[1], start[2], apex[0], apex[1], apex[2], end[0], end[1], end[2]},
                           {0, 0, 0, 1, 1, 1});
    d.kind = kSegmentParabola;
    d.start = start;
    d.end = end;
    d.focus = focus;
    d.apex = apex;
    return d;
}

inline SegmentData Construction(SegmentData d) {
    d.construction = kVariantTrue;
    return d;
}

// One block of sketch arc data: six display values, start, end, center,
// direction.
inline std::vector<double> ArcBlock(Point3 start, Point3 end, Point3 center, double direction) {
    return {7, 1, 0, 0.00025, 3, 0, start[0], start[1], start[2], end[0], end[1], end[2],
            center[0], center[1], center[2], direction};
}

// A sketch with its placement and segments.
class Scene {
public:
    Ref<Sketch> sketch = std::make_shared<Sketch>();

    explicit Scene(Ref<Transform> transform = Transform::Make(1)) {
        sketch->placement = std::make_shared<Placement>(std::move(transform));
    }

    Ref<Segment> Add(SegmentData d) {
        Ref<Segment> segment = Detached(std::move(d));
        sketch->segments.push_back(segment);
        return segment;
    }
    // A segment of this sketch that is not (yet) in its list.
    Ref<Segment> Detached(SegmentData d) {
        auto segment = std::make_shared<Segment>();
        segment->d = std::move(d);
        segment->sketch = sketch;
        return segment;
    }
    void AddArcBlock(const std::vector<double>& block) {
        sketch->arcData.insert(sketch->arcData.end(), block.begin(), block.end());
    }
    const std::vector<Ref<SourceSketchSegment>>& Segments() const { return sketch->segments; }
};

}  // namespace kvswx::fake

namespace kvswx::fake {

// A view that answers only its name and sketch; everything else is empty.
class View final : public SourceView {
public:
    SourceString name;
    Ref<SourceSketch> sketch;

    Ref<SourceView> NextView() override { return nullptr; }
    SourceString Name() override { return name; }
    std::int32_t Type() override { return 0; }
    Ref<SourceView> ParentView() override { return nullptr; }
    Ref<SourceModelDocument> ReferencedModelDocument() override { return nullptr; }
    std::int32_t HiddenEdgeCount() override { return 0; }
    VBool ExplodedState() override { return 0; }
    VBool Visible() override { return 1; }
    void SetVisible(VBool, std::int32_t) override {}
    SourceDoubleArray Position() override { return {}; }
    SourceString ReferencedConfiguration() override { return std::nullopt; }
    SourceString ReferencedDocumentPath() override { return std::nullopt; }
    SourceDoubleArray Scale() override { return {}; }
    std::int32_t Alignment() override { return 0; }
    std::int32_t TangentEdgeDisplay() override { return 0; }
    std::int32_t DisplayMode() override { return 0; }
    VBool HiddenEdgesInShadedMode() override { return 0; }
    VBool Cropped() override { return 0; }
    VBool Broken() override { return 0; }
    double Angle() override { return 0; }
    Ref<SourceTransform> Transform() override { return nullptr; }
    Ref<SourceSketch> Sketch() override { return sketch; }
    Ref<SourceSketch> CenterLineSketch() override { return nullptr; }
    Ref<SourceSectionLine> SectionLine() override { return nullptr; }
    std::vector<Ref<SourceSectionLine>> SectionLines() override { return {}; }
    SourceDoubleArray SectionLineData() override { return {}; }
    Ref<SourceDetailCircle> DetailCircle() override { return nullptr; }
    std::vector<Ref<SourceDetailCircle>> DetailCircles() override { return {}; }
    SourceDoubleArray DetailCircleData() override { return {}; }
    Ref<SourceProjectionArrow> ProjectionArrow() override { return nullptr; }
    std::int32_t BreakLineCount() override { return 0; }
    std::vector<Ref<SourceBreakLine>> BreakLines() override { return {}; }
    SourceDoubleArray BreakLineData() override { return {}; }
    double BreakLineGap() override { return 0; }
    std::vector<SourceBrokenOutSectionEntry> BrokenOutSections() override { return {}; }
    std::vector<Ref<SourceNote>> Notes() override { return {}; }
    Ref<SourceDrawingComponent> RootDrawingComponent() override { return nullptr; }
    std::vector<Ref<SourceComponent>> HiddenComponents() override { return {}; }
    std::int32_t BodyNamingValue() override { return 0; }
    std::vector<Ref<SourceBody>> ComponentBodiesLegacy(const Ref<SourceComponent>&, std::int32_t) override {
        return {};
    }
    std::vector<Ref<SourceBody>> ComponentBodies(const Ref<SourceComponent>&, std::int32_t) override { return {}; }
    Ref<SourceCenterMark> FirstCenterMark() override { return nullptr; }
    std::vector<Ref<SourceFaceHatch>> FaceHatches() override { return {}; }
};

// Document commands that log their calls; command 1388 appends the crop
// segments to the view's sketch.
class Commands final : public SourceDocumentCommands {
public:
    Ref<Sketch> viewSketch;
    std::vector<Ref<SourceSketchSegment>> cropSegments;
    std::vector<std::string> calls;

    VBool SelectById(const std::wstring& name, const std::wstring& type, double x, double y, double z, VBool append,
                     std::int32_t mark, const Ref<SourceCallout>& callout, std::int32_t options) override {
        calls.push_back("select " + std::string(name.begin(), name.end()) + " " +
                        std::string(type.begin(), type.end()) + " " + std::to_string(x) + " " + std::to_string(y) +
                        " " + std::to_string(z) + " " + std::to_string(append) + " " + std::to_string(mark) + " " +
                        (callout ? "callout" : "none") + " " + std::to_string(options));
        return 1;
    }
    VBool RunCommand(std::int32_t command, const SourceString& title) override {
        calls.push_back("run " + std::to_string(command) + (title ? " titled" : " untitled"));
        if (command == 1388 && viewSketch) {
            viewSketch->segments.insert(viewSketch->segments.end(), cropSegments.begin(), cropSegments.end());
        }
        return 1;
    }
    std::vector<Ref<SourceOleObject>> OleObjects(std::int32_t) override { return {}; }
};

}  // namespace kvswx::fake
