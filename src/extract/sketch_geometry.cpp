#include "extract/sketch_geometry.h"

#include <cmath>
#include <cstddef>
#include <cstdint>
#include <memory>
#include <optional>
#include <set>
#include <utility>

#include "model/process_state.h"
#include "views/base_view.h"
#include "views/segmented_sketch.h"
#include "views/sketch_segments.h"

namespace kvswx {

namespace {

constexpr double kTwoPi = 6.283185307179586;

// Minimum lengths of the source arrays.
constexpr std::size_t kLineDataSize = 6;
constexpr std::size_t kCircleDataSize = 7;
constexpr std::size_t kEllipseDataSize = 11;
constexpr std::size_t kArcBlockSize = 16;

// Maps points through one transform with the application's math utility.
// Every operation yields nothing when a source object is missing or an array
// comes back too short.
class PointMapper {
public:
    explicit PointMapper(Ref<SourceTransform> transform)
        : transform_(std::move(transform)), utility_(Process().mathUtility) {}

    bool Usable() const { return transform_ && utility_; }

    std::optional<Point3> Map(const Point3& p) const {
        if (!Usable()) return std::nullopt;
        const Ref<SourceMathPoint> point = utility_->CreatePoint(p[0], p[1], p[2]);
        if (!point) return std::nullopt;
        const Ref<SourceMathPoint> mapped = point->MultiplyTransform(transform_);
        if (!mapped) return std::nullopt;
        const SourceDoubleArray data = mapped->ArrayData();
        const std::vector<double>& v = CheckedValues(data);
        if (v.size() < 3) return std::nullopt;
        return Point3{v[0], v[1], v[2]};
    }

    std::optional<double> Scale() const {
        if (!transform_) return std::nullopt;
        return transform_->Components().scale;
    }

private:
    Ref<SourceTransform> transform_;
    Ref<SourceMathUtility> utility_;
};

Ref<SourceTransform> SegmentTransformOf(const Ref<SourcePlacement>& placement) {
    return placement ? placement->SegmentTransform() : nullptr;
}

// The transform of one segment: the given placement's, else its own
// sketch's placement's.
Ref<SourceTransform> TransformFor(SourceSketchSegment& segment, const Ref<SourcePlacement>& given) {
    if (given) return SegmentTransformOf(given);
    const Ref<SourceSketch> sketch = segment.Sketch();
    return sketch ? SegmentTransformOf(sketch->Placement()) : nullptr;
}

std::optional<Point3> ReadPoint(const Ref<SourcePoint>& p) {
    if (!p) return std::nullopt;
    return Point3{p->X(), p->Y(), p->Z()};
}

std::optional<Point3> ReadMapped(const Ref<SourcePoint>& p, const PointMapper& mapper) {
    const std::optional<Point3> raw = ReadPoint(p);
    return raw ? mapper.Map(*raw) : std::nullopt;
}

Point2 XY(const Point3& p) { return {p[0], p[1]}; }

Point3 At(const std::vector<double>& v, std::size_t i) { return {v[i], v[i + 1], v[i + 2]}; }

// ---- one record per kind ---------------------------------------------------
// Each returns the filled record, or null when the segment's data cannot be
// read whole.

std::unique_ptr<KVSWX_SketchSegment> MakeLine(SourceSketchSegment& segment,
                                              const PointMapper& mapper) {
    const Ref<SourceCurve> curve = segment.Curve();
    if (!curve) return nullptr;
    const SourceDoubleArray data = curve->LineData();
    const std::vector<double>& v = CheckedValues(data);
    if (v.size() < kLineDataSize) return nullptr;
    const double length = segment.Length();
    const Point3 root = At(v, 0);
    const Point3 end{root[0] + length * v[3], root[1] + length * v[4], root[2] + length * v[5]};
    const std::optional<Point3> start = mapper.Map(root);
    const std::optional<Point3> finish = mapper.Map(end);
    if (!start || !finish) return nullptr;
    auto line = std::make_unique<KVSWX_Line>();
    line->SetStartPoint(*start);
    line->SetEndPoint(*finish);
    return line;
}

std::unique_ptr<KVSWX_SketchSegment> MakeCircle(SourceSketchSegment& segment,
                                                const PointMapper& mapper) {
    const Ref<SourceCurve> curve = segment.Curve();
    if (!curve) return nullptr;
    const SourceDoubleArray data = curve->CircleData();
    const std::vector<double>& v = CheckedValues(data);
    if (v.size() < kCircleDataSize) return nullptr;
    const std::optional<Point3> center = mapper.Map(At(v, 0));
    const std::optional<double> scale = mapper.Scale();
    if (!center || !scale) return nullptr;
    auto circle = std::make_unique<KVSWX_Circle>();
    circle->SetCenterPoint(*center);
    circle->SetRadius(v[6] * *scale);
    return circle;
}

std::unique_ptr<KVSWX_SketchSegment> MakeArc(const Point3& start, const Point3& end,
                                             const Point3& center, bool clockwise,
                                             const PointMapper& mapper) {
    const std::optional<Point3> s = mapper.Map(start);
    const std::optional<Point3> e = mapper.Map(end);
    const std::optional<Point3> o = mapper.Map(center);
    if (!s || !e || !o) return nullptr;
    auto arc = std::make_unique<KVSWX_Arc>();
    arc->SetStartPoint(XY(*s));
    arc->SetAlongPoint(ComputeAlongPoint(XY(*s), XY(*e), XY(*o), clockwise));
    arc->SetEndPoint(XY(*e));
    return arc;
}

std::unique_ptr<KVSWX_SketchSegment> MakeArcFromPoints(SourceArcSegment& arc,
                                                       const PointMapper& mapper) {
    const std::optional<Point3> s = ReadPoint(arc.StartPoint());
    const std::optional<Point3> e = ReadPoint(arc.EndPoint());
    const std::optional<Point3> o = ReadPoint(arc.CenterPoint());
    if (!s || !e || !o) return nullptr;
    return MakeArc(*s, *e, *o, arc.Direction() == -1, mapper);
}

std::unique_ptr<KVSWX_SketchSegment> MakeEllipse(SourceSketchSegment& segment,
                                                 const PointMapper& mapper) {
    const Ref<SourceCurve> curve = segment.Curve();
    if (!curve) return nullptr;
    const SourceDoubleArray data = curve->EllipseData();
    const std::vector<double>& v = CheckedValues(data);
    if (v.size() < kEllipseDataSize) return nullptr;
    const Point3 center = At(v, 0);
    Point3 majorEnd{};
    Point3 minorEnd{};
    for (std::size_t i = 0; i < 3; ++i) {
        majorEnd[i] = v[3] * v[4 + i] + center[i];
        minorEnd[i] = v[7] * v[8 + i] + center[i];
    }
    const std::optional<Point3> c = mapper.Map(center);
    const std::optional<Point3> a = mapper.Map(majorEnd);
    const std::optional<Point3> b = mapper.Map(minorEnd);
    const std::optional<double> scale = mapper.Scale();
    if (!c || !a || !b || !scale) return nullptr;
    DoubleList params{(*c)[0], (*c)[1],       (*c)[2], v[3] * *scale, (*a)[0], (*a)[1],
                      (*a)[2], v[7] * *scale, (*b)[0], (*b)[1],       (*b)[2]};
    auto ellipse = std::make_unique<KVSWX_Ellipse>();
    ellipse->SetParams(params);
    return ellipse;
}

std::unique_ptr<KVSWX_SketchSegment> MakeEllipticalArc(SourceEllipseSegment& ellipse,
                                                       const PointMapper& mapper) {
    const std::optional<Point3> o = ReadMapped(ellipse.CenterPoint(), mapper);
    const std::optional<Point3> a = ReadMapped(ellipse.MajorPoint(), mapper);
    const std::optional<Point3> b = ReadMapped(ellipse.MinorPoint(), mapper);
    const std::optional<Point3> s = ReadMapped(ellipse.StartPoint(), mapper);
    const std::optional<Point3> e = ReadMapped(ellipse.EndPoint(), mapper);
    if (!o || !a || !b || !s || !e) return nullptr;
    const double majorLength = std::sqrt(((*a)[0] - (*o)[0]) * ((*a)[0] - (*o)[0]) +
                                         ((*a)[1] - (*o)[1]) * ((*a)[1] - (*o)[1]));
    const double minorLength = std::sqrt(((*b)[0] - (*o)[0]) * ((*b)[0] - (*o)[0]) +
                                         ((*b)[1] - (*o)[1]) * ((*b)[1] - (*o)[1]));
    auto arc = std::make_unique<KVSWX_EllipticalArc>();
    arc->SetCenterPoint(*o);
    arc->SetMajorPoint(*a);
    arc->SetRatio(minorLength / majorLength);
    arc->SetIsClockwise(ellipse.Direction() == -1);
    arc->SetStartAngle(std::atan2((*s)[1] - (*o)[1], (*s)[0] - (*o)[0]));
    arc->SetEndAngle(std::atan2((*e)[1] - (*o)[1], (*e)[0] - (*o)[0]));
    return arc;
}

// An ellipse whose start and end differ in any coordinate is an elliptical
// arc; compared exactly, before mapping.
std::unique_ptr<KVSWX_SketchSegment> MakeEllipseKind(SourceSketchSegment& segment,
                                                     SourceEllipseSegment& ellipse,
                                                     const PointMapper& mapper) {
    const std::optional<Point3> start = ReadPoint(ellipse.StartPoint());
    const std::optional<Point3> end = ReadPoint(ellipse.EndPoint());
    if (!start || !end) return nullptr;
    if (*start != *end) return MakeEllipticalArc(ellipse, mapper);
    return MakeEllipse(segment, mapper);
}

std::unique_ptr<KVSWX_SketchSegment> MakeSpline(SourceSketchSegment& segment,
                                                const PointMapper& mapper) {
    const Ref<SourceCurve> curve = segment.SplineCurve();
    if (!curve) return nullptr;
    const VBool closed = curve->Parameters().closed;
    const Ref<SourceBSplineData> data = curve->BSplineData(0, 0, kVariantTrue, closed);
    if (!data) return nullptr;
    const std::int32_t order = data->Order();
    const bool rational = data->Dimension() == 4;
    const SourceDoubleArray pointArray = data->ControlPoints();
    const std::vector<double>& raw = CheckedValues(pointArray);
    const std::size_t stride = rational ? 4 : 3;
    if (raw.size() % stride != 0) return nullptr;

    DoubleList controlPoints;
    DoubleList weights;
    controlPoints.reserve(raw.size() / stride * 3);
    for (std::size_t i = 0; i < raw.size(); i += stride) {
        const std::optional<Point3> p = mapper.Map(At(raw, i));
        if (!p) return nullptr;
        controlPoints.insert(controlPoints.end(), p->begin(), p->end());
        if (rational) weights.push_back(raw[i + 3]);
    }
    const SourceDoubleArray knotArray = data->Knots();
    auto spline = std::make_unique<KVSWX_Spline>();
    spline->SetOrder(order);
    spline->SetIsRational(rational);
    spline->SetControlPoints(controlPoints);
    spline->SetKnotPoints(CheckedValues(knotArray));
    spline->SetWeights(weights);
    return spline;
}

// A parabola whose focus and apex coincide exactly is written as a spline.
std::unique_ptr<KVSWX_SketchSegment> MakeParabolaKind(SourceSketchSegment& segment,
                                                      SourceParabolaSegment& parabola,
                                                      const PointMapper& mapper) {
    const std::optional<Point3> focus = ReadPoint(parabola.FocalPoint());
    const std::optional<Point3> apex = ReadPoint(parabola.ApexPoint());
    if (!focus || !apex) return nullptr;
    if (*focus == *apex) return MakeSpline(segment, mapper);
    const std::optional<Point3> s = ReadMapped(parabola.StartPoint(), mapper);
    const std::optional<Point3> e = ReadMapped(parabola.EndPoint(), mapper);
    const std::optional<Point3> f = mapper.Map(*focus);
    const std::optional<Point3> a = mapper.Map(*apex);
    if (!s || !e || !f || !a) return nullptr;
    auto record = std::make_unique<KVSWX_Parabola>();
    record->SetStartPoint(*s);
    record->SetEndPoint(*e);
    record->SetFocus(*f);
    record->SetApex(*a);
    return record;
}

// Arc mode off: the arc's values are block `block` of its sketch's arc data.
std::unique_ptr<KVSWX_SketchSegment> MakeArcFromBlock(SourceSketchSegment& segment,
                                                      std::size_t block,
                                                      const PointMapper& mapper) {
    const Ref<SourceSketch> sketch = segment.Sketch();
    if (!sketch) return nullptr;
    const SharedSourceDoubleArray data = sketch->ArcData();
    const std::vector<double>& v = CheckedValues(data);
    const std::size_t base = block * kArcBlockSize;
    if (v.size() < base + kArcBlockSize) return nullptr;
    const Point3 start = At(v, base + 6);
    const Point3 end = At(v, base + 9);
    if (start[0] == end[0] && start[1] == end[1]) return MakeCircle(segment, mapper);
    return MakeArc(start, end, At(v, base + 12), v[base + 15] == -1.0, mapper);
}

// Appends `record` with the given construction flag, when there is one.
void AppendRecord(KVSWX_SketchSegmentsCollection& target,
                  std::unique_ptr<KVSWX_SketchSegment> record, bool construction) {
    if (!record) return;
    record->SetConstructionGeometry(construction);
    target.Append(std::move(record));
}

// The segment behind a typed segment, when it is not construction geometry.
template <class Typed>
Ref<SourceSketchSegment> NonConstructionSegment(const Ref<Typed>& typed) {
    if (!typed) return nullptr;
    Ref<SourceSketchSegment> segment = typed->AsSegment();
    if (!segment || segment->Construction() != 0) return nullptr;
    return segment;
}

// Typed segments of `after` that are not in `before`, by identity, in the
// order of `after`.
template <class Typed>
std::vector<Ref<Typed>> NewSince(const std::vector<Ref<Typed>>& before,
                                 const std::vector<Ref<Typed>>& after) {
    std::set<const Typed*> known;
    for (const auto& typed : before) known.insert(typed.get());
    std::vector<Ref<Typed>> added;
    for (const auto& typed : after) {
        if (known.count(typed.get()) == 0) added.push_back(typed);
    }
    return added;
}

std::vector<Ref<SourceSketchSegment>> SegmentsOf(const Ref<SourceSketch>& sketch) {
    if (!sketch) return {};
    return sketch->Segments().value_or(std::vector<Ref<SourceSketchSegment>>{});
}

}  // namespace

Point2 ComputeAlongPoint(const Point2& start, const Point2& end, const Point2& center,
                         bool clockwise) {
    const double a1 = std::atan2(start[1] - center[1], start[0] - center[0]);
    const double a2 = std::atan2(end[1] - center[1], end[0] - center[0]);
    double d = a2 - a1;
    if (clockwise && a1 < a2) d -= kTwoPi;
    if (!clockwise && a2 < a1) d += kTwoPi;
    const double m = a1 + d / 2;
    const double dx = start[0] - center[0];
    const double dy = start[1] - center[1];
    const double r = std::sqrt(dx * dx + dy * dy);
    return {center[0] + r * std::cos(m), center[1] + r * std::sin(m)};
}

void ExtractSketchSegments(const std::vector<Ref<SourceSketchSegment>>& segments,
                           KVSWX_SketchSegmentsCollection& target, bool arcMode,
                           bool skipConstruction, const Ref<SourcePlacement>& placement) {
    // Arc data block of the next arc handled with arc mode off. It advances
    // for every such arc, also one whose record cannot be made, so that the
    // following arcs keep their own blocks.
    std::size_t arcBlock = 0;
    for (const Ref<SourceSketchSegment>& segment : segments) {
        if (!segment) continue;
        const bool construction = segment->Construction() != 0;
        if (construction && skipConstruction) continue;
        const PointMapper mapper(TransformFor(*segment, placement));
        std::unique_ptr<KVSWX_SketchSegment> record;
        switch (segment->Kind()) {
            case kSegmentLine:
                if (mapper.Usable()) record = MakeLine(*segment, mapper);
                break;
            case kSegmentArc:
                if (!arcMode) {
                    if (mapper.Usable()) record = MakeArcFromBlock(*segment, arcBlock, mapper);
                    ++arcBlock;
                } else if (const Ref<SourceArcSegment> arc = segment->QueryArc();
                           arc && mapper.Usable()) {
                    if (arc->FullCircle() != 1) record = MakeArcFromPoints(*arc, mapper);
                }
                break;
            case kSegmentEllipse:
                if (const Ref<SourceEllipseSegment> ellipse = segment->QueryEllipse();
                    ellipse && mapper.Usable()) {
                    record = MakeEllipseKind(*segment, *ellipse, mapper);
                }
                break;
            case kSegmentSpline:
                if (mapper.Usable()) record = MakeSpline(*segment, mapper);
                break;
            case kSegmentParabola:
                if (const Ref<SourceParabolaSegment> parabola = segment->QueryParabola();
                    parabola && mapper.Usable()) {
                    record = MakeParabolaKind(*segment, *parabola, mapper);
                }
                break;
            default:
                break;
        }
        AppendRecord(target, std::move(record), construction);
    }
}

void ExtractLines(KVSWX_SketchSegmentsCollection& target,
                  const std::vector<Ref<SourceLineSegment>>& lines,
                  const Ref<SourceTransform>& transform) {
    const PointMapper mapper(transform);
    if (!mapper.Usable()) return;
    for (const auto& line : lines) {
        if (const Ref<SourceSketchSegment> segment = NonConstructionSegment(line)) {
            AppendRecord(target, MakeLine(*segment, mapper), false);
        }
    }
}

void ExtractArcs(KVSWX_SketchSegmentsCollection& target,
                 const std::vector<Ref<SourceArcSegment>>& arcs,
                 const Ref<SourceTransform>& transform) {
    const PointMapper mapper(transform);
    if (!mapper.Usable()) return;
    for (const auto& arc : arcs) {
        const Ref<SourceSketchSegment> segment = NonConstructionSegment(arc);
        if (!segment) continue;
        AppendRecord(
            target,
            arc->FullCircle() == 1 ? MakeCircle(*segment, mapper) : MakeArcFromPoints(*arc, mapper),
            false);
    }
}

void ExtractEllipses(KVSWX_SketchSegmentsCollection& target,
                     const std::vector<Ref<SourceEllipseSegment>>& ellipses,
                     const Ref<SourceTransform>& transform) {
    const PointMapper mapper(transform);
    if (!mapper.Usable()) return;
    for (const auto& ellipse : ellipses) {
        if (const Ref<SourceSketchSegment> segment = NonConstructionSegment(ellipse)) {
            AppendRecord(target, MakeEllipseKind(*segment, *ellipse, mapper), false);
        }
    }
}

void ExtractSplines(KVSWX_SketchSegmentsCollection& target,
                    const std::vector<Ref<SourceSplineSegment>>& splines,
                    const Ref<SourceTransform>& transform) {
    const PointMapper mapper(transform);
    if (!mapper.Usable()) return;
    for (const auto& spline : splines) {
        if (const Ref<SourceSketchSegment> segment = NonConstructionSegment(spline)) {
            AppendRecord(target, MakeSpline(*segment, mapper), false);
        }
    }
}

void ExtractParabolas(KVSWX_SketchSegmentsCollection& target,
                      const std::vector<Ref<SourceParabolaSegment>>& parabolas,
                      const Ref<SourceTransform>& transform) {
    const PointMapper mapper(transform);
    if (!mapper.Usable()) return;
    for (const auto& parabola : parabolas) {
        if (const Ref<SourceSketchSegment> segment = NonConstructionSegment(parabola)) {
            AppendRecord(target, MakeParabolaKind(*segment, *parabola, mapper), false);
        }
    }
}

void ExtractLinesAndArcs(KVSWX_SketchSegmentsCollection& target,
                         const std::vector<Ref<SourceSketchSegment>>& segments,
                         const Ref<SourceTransform>& transform) {
    const PointMapper mapper(transform);
    if (!mapper.Usable()) return;
    for (const Ref<SourceSketchSegment>& segment : segments) {
        if (!segment) continue;
        std::unique_ptr<KVSWX_SketchSegment> record;
        const std::int32_t kind = segment->Kind();
        if (kind == kSegmentLine) {
            record = MakeLine(*segment, mapper);
        } else if (kind == kSegmentArc) {
            if (const Ref<SourceArcSegment> arc = segment->QueryArc()) {
                record = MakeArcFromPoints(*arc, mapper);
            }
        }
        if (record) target.Append(std::move(record));
    }
}

SegmentsByKind SplitSegmentsByKind(const std::vector<Ref<SourceSketchSegment>>& segments) {
    SegmentsByKind out;
    for (const Ref<SourceSketchSegment>& segment : segments) {
        if (!segment) continue;
        switch (segment->Kind()) {
            case kSegmentLine:
                if (auto typed = segment->QueryLine()) out.lines.push_back(std::move(typed));
                break;
            case kSegmentArc:
                if (auto typed = segment->QueryArc()) out.arcs.push_back(std::move(typed));
                break;
            case kSegmentEllipse:
                if (auto typed = segment->QueryEllipse()) out.ellipses.push_back(std::move(typed));
                break;
            case kSegmentSpline:
                if (auto typed = segment->QuerySpline()) out.splines.push_back(std::move(typed));
                break;
            case kSegmentParabola:
                if (auto typed = segment->QueryParabola())
                    out.parabolas.push_back(std::move(typed));
                break;
            default:
                break;
        }
    }
    return out;
}

void ExtractManualGeometry(KVSWX_BaseView& view, const Ref<SourceView>& source) {
    KVSWX_ManualGeometry* manual = view.NewManualGeometry();
    KVSWX_SketchSegmentsCollection* segments = manual->NewSegments();
    if (!source) return;
    ExtractSketchSegments(SegmentsOf(source->Sketch()), *segments, false, false, nullptr);
}

void ExtractCropProfile(KVSWX_BaseView& view, const Ref<SourceView>& source,
                        const Ref<SourceDocumentCommands>& commands) {
    if (!source || !commands) return;
    commands->SelectById(source->Name().value_or(std::wstring()), L"DRAWINGVIEW", 0.0, 0.0, 0.0,
                         kVariantTrue, 0, nullptr, 0);
    const SegmentsByKind before = SplitSegmentsByKind(SegmentsOf(source->Sketch()));
    commands->RunCommand(1388, std::nullopt);
    const Ref<SourceSketch> sketch = source->Sketch();
    const SegmentsByKind after = SplitSegmentsByKind(SegmentsOf(sketch));

    KVSWX_CropProfile* profile = view.NewCropProfile();
    KVSWX_SketchSegmentsCollection& target = *profile->NewSegments();
    const Ref<SourceTransform> transform =
        sketch ? SegmentTransformOf(sketch->Placement()) : nullptr;
    // Per kind in this order; an empty list adds nothing.
    ExtractLines(target, NewSince(before.lines, after.lines), transform);
    ExtractArcs(target, NewSince(before.arcs, after.arcs), transform);
    ExtractEllipses(target, NewSince(before.ellipses, after.ellipses), transform);
    ExtractSplines(target, NewSince(before.splines, after.splines), transform);
    ExtractParabolas(target, NewSince(before.parabolas, after.parabolas), transform);
}

}  // namespace kvswx
