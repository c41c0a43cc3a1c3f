#include "extract/annotation_extraction.h"

#include <algorithm>
#include <cmath>
#include <limits>
#include <optional>
#include <vector>

#include "extract/sketch_geometry.h"
#include "extract/text_format_extraction.h"
#include "model/encodings.h"
#include "views/base_view.h"
#include "views/break_line.h"
#include "views/projection_arrow.h"
#include "views/segmented_sketch.h"

namespace kvswx {

namespace {

// Break line records: kind, colour, line type, line style, line weight,
// layer id, layer override, number of lines, number of arcs, then points.
constexpr std::size_t kBreakLineHeaderSize = 9;
constexpr std::int32_t kBreakLineStyleCurve = 3;
constexpr std::int32_t kFirstBrokenOutSectionYear = 2012;

// Reads a packed array front to back without ever going past its end.
class PackedReader {
public:
    explicit PackedReader(const std::vector<double>& values) : values_(values) {}

    // The value at `position`, or nothing past the end.
    std::optional<double> At(std::uint64_t position) const {
        if (position >= values_.size()) return std::nullopt;
        return values_[static_cast<std::size_t>(position)];
    }
    std::optional<std::int32_t> IntAt(std::uint64_t position) const {
        const std::optional<double> v = At(position);
        return v ? std::optional<std::int32_t>(TruncateToInt32(*v)) : std::nullopt;
    }
    // Up to `count` values from `position`, fewer when the array ends first.
    DoubleList Range(std::uint64_t position, std::uint64_t count) const {
        if (position >= values_.size()) return {};
        const std::uint64_t available = values_.size() - position;
        const auto first = values_.begin() + static_cast<std::ptrdiff_t>(position);
        return DoubleList(first, first + static_cast<std::ptrdiff_t>(std::min(count, available)));
    }
    std::uint64_t Size() const { return values_.size(); }

private:
    const std::vector<double>& values_;
};

// Stores a record value through `set` when the data holds it.
template <class Set>
void SetIfPresent(const std::optional<std::int32_t>& value, Set set) {
    if (value) set(*value);
}

}  // namespace

std::int32_t TruncateToInt32(double value) {
    constexpr double kLow = static_cast<double>(std::numeric_limits<std::int32_t>::min());
    constexpr double kHigh = static_cast<double>(std::numeric_limits<std::int32_t>::max());
    const double t = std::trunc(value);
    if (!(t >= kLow && t <= kHigh)) return std::numeric_limits<std::int32_t>::min();
    return static_cast<std::int32_t>(t);
}

std::uint64_t BreakLinePointCount(std::int32_t kind, std::int32_t style, std::int32_t numOfLines,
                                  std::int32_t numOfArcs) {
    const std::int32_t count = style == kBreakLineStyleCurve ? numOfArcs : numOfLines;
    const std::uint64_t c = count > 0 ? static_cast<std::uint64_t>(count) : 0;
    switch (kind) {
        case 1:
        case 2:
        case 4:
            return 6 * c;
        case 3:
            return 10 * c;
        default:
            return 0;
    }
}

std::int32_t ReleaseYear(const SourceRelease& release) { return ParseInt(release.year); }

void ExtractCenterLines(KVSWX_BaseView& baseView, SourceView& view) {
    const Ref<SourceSketch> sketch = view.CenterLineSketch();
    if (!sketch) return;
    const auto segments = sketch->Segments();
    if (!segments) return;
    KVSWX_SketchSegmentsCollection& target = *baseView.NewCenterLines()->NewSegments();
    const Ref<SourcePlacement> placement = sketch->Placement();
    ExtractLinesAndArcs(target, *segments, placement ? placement->SegmentTransform() : nullptr);
}

void ExtractBreakLines(KVSWX_BaseView& baseView, SourceView& view) {
    if (view.BreakLineCount() <= 0) return;
    const std::vector<Ref<SourceBreakLine>> lines = view.BreakLines();
    const SourceDoubleArray dataArray = view.BreakLineData();
    const PackedReader data(CheckedValues(dataArray));

    KVSWX_BreakLinesCollection* collection = baseView.NewBreakLines();
    collection->SetBreakLineGap(view.BreakLineGap());
    // Start of the current record; it stops at the end of the data so that
    // hostile counts cannot make it overflow.
    std::uint64_t p = 0;
    for (const Ref<SourceBreakLine>& source : lines) {
        if (!source) continue;
        source->SetLayer(baseView.GetLayer());
        const std::int32_t orientation = source->Orientation();
        const double position1 = source->Position(0);
        const double position2 = source->Position(1);
        const std::int32_t style = source->Style();

        KVSWX_BreakLine* line = collection->AddBreakLine();
        line->SetOrientation(orientation);
        line->SetPosition1(position1);
        line->SetPosition2(position2);
        line->SetBreakLineStyle(style);

        const std::optional<std::int32_t> kind = data.IntAt(p);
        SetIfPresent(data.IntAt(p + 1), [&](std::int32_t v) { line->SetColor(v); });
        SetIfPresent(data.IntAt(p + 2), [&](std::int32_t v) { line->SetLineType(v); });
        SetIfPresent(data.IntAt(p + 3), [&](std::int32_t v) { line->SetLineStyle(v); });
        SetIfPresent(data.IntAt(p + 4), [&](std::int32_t v) { line->SetLineWeight(v); });
        SetIfPresent(data.IntAt(p + 5), [&](std::int32_t v) { line->SetLayerID(v); });
        SetIfPresent(data.IntAt(p + 6), [&](std::int32_t v) { line->SetLayerOverride(v); });
        SetIfPresent(data.IntAt(p + 7), [&](std::int32_t v) { line->SetNumOfLines(v); });
        SetIfPresent(data.IntAt(p + 8), [&](std::int32_t v) { line->SetNumOfArcs(v); });
        const BreakLineValues& values = line->Values();
        const std::uint64_t m =
            kind ? BreakLinePointCount(*kind, style, values.numOfLines, values.numOfArcs) : 0;
        line->SetPoints(data.Range(p + kBreakLineHeaderSize, m));
        p = std::min(p + kBreakLineHeaderSize + m, data.Size());
    }
}

void ExtractProjectionArrow(KVSWX_BaseView& baseView, SourceProjectionArrow& arrow) {
    const SourceDoubleArray coordinateArray = arrow.Coordinates();
    const std::vector<double>& values = CheckedValues(coordinateArray);
    const SourceString label = arrow.Label();

    KVSWX_ProjectionArrow* record = baseView.NewProjectionArrow();
    record->SetLabel(label.value_or(std::wstring()));
    ArrowCoordinates coordinates{};
    std::copy_n(values.begin(), std::min(values.size(), coordinates.size()), coordinates.begin());
    record->SetCoordinates(coordinates);
    ExtractTextFormat(*record->NewTextFormat(), arrow.TextFormat());
}

void ExtractBrokenOutSection(KVSWX_BaseView& baseView, const Ref<SourceBrokenOutSection>& feature,
                             const std::wstring& name) {
    if (!feature) return;
    KVSWX_BrokenOutSection* section = baseView.AddBrokenOutSection();
    section->SetName(name);
    section->SetDepth(feature->Depth());
    KVSWX_SketchSegmentsCollection& target = *section->NewSegments();
    feature->SetSketchEditing(kVariantTrue);
    ExtractSketchSegments(feature->SketchSegments(), target, false, true, nullptr);
    feature->SetSketchEditing(kVariantFalse);
}

void ExtractBrokenOutSections(KVSWX_BaseView& baseView, SourceView& view,
                              const SourceRelease& release) {
    if (ReleaseYear(release) < kFirstBrokenOutSectionYear) return;
    for (const SourceBrokenOutSectionEntry& entry : view.BrokenOutSections()) {
        if (!entry.feature) continue;
        ExtractBrokenOutSection(baseView, entry.feature->QueryBrokenOutSection(),
                                entry.name.value_or(std::wstring()));
    }
}

}  // namespace kvswx
