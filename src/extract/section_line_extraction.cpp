#include "extract/section_line_extraction.h"

#include <cmath>
#include <string>
#include <vector>

#include "extract/classify_view.h"
#include "extract/text_format_extraction.h"
#include "model/process_state.h"
#include "views/base_view.h"
#include "views/section_line.h"

namespace kvswx {

namespace {

constexpr std::size_t kLeadingValues = 2;
constexpr std::size_t kSegmentGroupSize = 7;
constexpr std::size_t kArrowValues = 25;
// The count, the 25 arrow values and the value not used.
constexpr std::size_t kFixedValues = 1 + kArrowValues + 1;

// Values of the record starting at `start`; none when its count is not one.
std::optional<std::size_t> RecordSize(const PackedRecordReader& data, std::size_t start) {
    const std::optional<std::size_t> n = data.CountAt(start);
    if (!n) return std::nullopt;
    return kSegmentGroupSize * *n + kFixedValues;
}

// The segment transform of the parent's sketch; none when any link is none.
Ref<SourceTransform> ParentSketchTransform(SourceView& parent) {
    const Ref<SourceSketch> sketch = parent.Sketch();
    const Ref<SourcePlacement> placement = sketch ? sketch->Placement() : nullptr;
    return placement ? placement->SegmentTransform() : nullptr;
}

std::optional<Point3> MapPoint(const Ref<SourceTransform>& transform, const Point3& p) {
    const Ref<SourceMathUtility>& utility = Process().mathUtility;
    if (!transform || !utility) return std::nullopt;
    const Ref<SourceMathPoint> point = utility->CreatePoint(p[0], p[1], p[2]);
    const Ref<SourceMathPoint> mapped = point ? point->MultiplyTransform(transform) : nullptr;
    if (!mapped) return std::nullopt;
    const SourceDoubleArray data = mapped->ArrayData();
    const std::vector<double>& v = CheckedValues(data);
    if (v.size() < 3) return std::nullopt;
    return Point3{v[0], v[1], v[2]};
}

// z of the direction (dx, dy, 0) mapped through `first`, then `second`, and
// normalised; none when a step yields nothing.
std::optional<double> MappedDirectionZ(SourceMathUtility& utility, double dx, double dy,
                                       const Ref<SourceTransform>& first,
                                       const Ref<SourceTransform>& second) {
    const Ref<SourceMathVector> vector = utility.CreateVector(dx, dy, 0.0);
    const Ref<SourceMathVector> once = vector ? vector->MultiplyTransform(first) : nullptr;
    const Ref<SourceMathVector> twice = once ? once->MultiplyTransform(second) : nullptr;
    const Ref<SourceMathVector> unit = twice ? twice->Normalise() : nullptr;
    if (!unit) return std::nullopt;
    const SourceDoubleArray data = unit->ArrayData();
    const std::vector<double>& v = CheckedValues(data);
    if (v.size() < 3) return std::nullopt;
    return v[2];
}

void FillArrow(KVSWX_SectionArrow& arrow, const PackedRecordReader& data, std::size_t at) {
    arrow.SetArrowStart1(data.PointAt(at));
    arrow.SetArrowEnd1(data.PointAt(at + 3));
    arrow.SetArrowWidth1(data.At(at + 6));
    arrow.SetArrowHeight1(data.At(at + 7));
    arrow.SetArrowStyle1(data.Int32At(at + 8));
    arrow.SetArrowStart2(data.PointAt(at + 9));
    arrow.SetArrowEnd2(data.PointAt(at + 12));
    arrow.SetArrowWidth2(data.At(at + 15));
    arrow.SetArrowHeight2(data.At(at + 16));
    arrow.SetArrowStyle2(data.Int32At(at + 17));
    arrow.SetTextPoint1(data.PointAt(at + 18));
    arrow.SetTextPoint2(data.PointAt(at + 21));
    arrow.SetTextHeight(data.At(at + 24));
}

// The first segment whose direction lies in the section view's plane; the
// segment count when none does. None when a transform is missing.
std::optional<std::int32_t> FoldSegmentIndex(const KVSWX_SectionLine& record, SourceView& parent,
                                             SourceView& sectionView) {
    const Ref<SourceMathUtility>& utility = Process().mathUtility;
    const Ref<SourceTransform> parentTransform = parent.Transform();
    const Ref<SourceTransform> toModel = parentTransform ? parentTransform->Inverse() : nullptr;
    const Ref<SourceTransform> toSection = sectionView.Transform();
    if (!utility || !toModel || !toSection) return std::nullopt;
    const std::size_t count = record.GetSegmentCount();
    for (std::size_t j = 0; j < count; ++j) {
        const SectionSegmentValues& s = record.GetSegment(j)->Values();
        const std::optional<double> z =
            MappedDirectionZ(*utility, s.endPoint[0] - s.startPoint[0],
                             s.endPoint[1] - s.startPoint[1], toModel, toSection);
        if (z && std::fabs(*z) < kFoldSegmentBound) return static_cast<std::int32_t>(j);
    }
    return static_cast<std::int32_t>(count);
}

}  // namespace

std::optional<std::size_t> SectionLineRecordStart(const PackedRecordReader& data, std::int32_t k) {
    return data.RecordStart(kLeadingValues, k,
                            [&data](std::size_t start) { return RecordSize(data, start); });
}

void ExtractSectionLine(KVSWX_BaseView& baseView, SourceView& sectionView,
                        SourceSectionLine& line) {
    const std::int32_t k = FindSectionLineInParent(line);
    if (k < 0) return;
    const Ref<SourceView> parent = sectionView.ParentView();
    if (!parent) return;
    const SourceDoubleArray array = parent->SectionLineData();
    const PackedRecordReader data(CheckedValues(array));
    if (data.Size() == 0) return;
    const std::optional<std::size_t> start = SectionLineRecordStart(data, k);
    if (!start) return;
    const std::size_t n = *data.CountAt(*start);

    KVSWX_SectionLine& record = *baseView.NewSectionLine();
    record.SetName(line.Name().value_or(std::wstring()));
    record.SetLabel(line.Label().value_or(std::wstring()));
    // Only 1 counts as true.
    record.SetIsReversedCutDirection(line.ReversedCutDirection() == 1);
    record.SetIsAligned(line.Aligned() == 1);
    record.SetDisplayOnlySurfaceCut(line.DisplayOnlySurfaceCut() == 1);
    record.SetIsPartial(line.Partial() == 1);
    record.SetAutohatch(line.AutoHatch() == 1);
    record.SetDepth(line.Depth());

    for (std::size_t j = 0; j < n; ++j) {
        const std::size_t group = *start + 1 + kSegmentGroupSize * j;
        KVSWX_SectionSegment& segment = *record.AddSegment();
        segment.SetLineType(data.Int32At(group));
        const Ref<SourceTransform> transform = ParentSketchTransform(*parent);
        if (const auto p = MapPoint(transform, data.PointAt(group + 1))) segment.SetStartPoint(*p);
        if (const auto p = MapPoint(transform, data.PointAt(group + 4))) segment.SetEndPoint(*p);
    }

    FillArrow(*record.NewArrow(), data, *start + 1 + kSegmentGroupSize * n);
    ExtractTextFormat(*record.NewTextFormat(), line.TextFormat());
    if (const auto index = FoldSegmentIndex(record, *parent, sectionView))
        record.SetFoldSegmentIndex(*index);
}

}  // namespace kvswx
