#include "extract/detail_envelope_extraction.h"

#include <string>
#include <vector>

#include "extract/classify_view.h"
#include "extract/sketch_geometry.h"
#include "extract/text_format_extraction.h"
#include "views/base_view.h"
#include "views/detail_envelope.h"

namespace kvswx {

namespace {

constexpr std::size_t kLeadingValues = 1;
constexpr std::size_t kArrowCountOffset = 15;
constexpr std::size_t kFixedValues = 16;
constexpr std::size_t kArrowGroupSize = 9;

// Values of the record starting at `start`; none when its arrow count is not
// one.
std::optional<std::size_t> RecordSize(const PackedRecordReader& data, std::size_t start) {
    const std::optional<std::size_t> n = data.CountAt(start + kArrowCountOffset);
    if (!n) return std::nullopt;
    return kArrowGroupSize * *n + kFixedValues;
}

}  // namespace

std::optional<std::size_t> DetailCircleRecordStart(const PackedRecordReader& data, std::int32_t k) {
    return data.RecordStart(kLeadingValues, k,
                            [&data](std::size_t start) { return RecordSize(data, start); });
}

void ExtractDetailEnvelope(KVSWX_BaseView& baseView, SourceView& detailView,
                           SourceDetailCircle& circle) {
    const std::int32_t k = FindDetailCircleInParent(circle);
    if (k < 0) return;
    const Ref<SourceView> parent = detailView.ParentView();
    if (!parent) return;
    const SourceDoubleArray array = parent->DetailCircleData();
    const PackedRecordReader data(CheckedValues(array));
    const std::optional<std::size_t> start = DetailCircleRecordStart(data, k);
    if (!start) return;
    const std::size_t at = *start;
    const std::size_t n = *data.CountAt(at + kArrowCountOffset);

    KVSWX_DetailEnvelope& envelope = *baseView.NewDetailEnvelope();
    const std::wstring name = circle.Name().value_or(std::wstring());
    envelope.SetDisplay(circle.DisplayKind());
    const std::wstring label = circle.Label().value_or(std::wstring());
    envelope.SetName(name);
    envelope.SetLabel(label);
    envelope.SetDetailCircleStyle(circle.CircleStyle());
    baseView.SetIsFullOutline(circle.FullOutline() != 0);

    envelope.SetCenterPoint(data.PointAt(at + 1));
    envelope.SetStartPoint(data.PointAt(at + 4));
    envelope.SetEndPoint(data.PointAt(at + 7));
    envelope.SetLineType(data.Int32At(at + 10));
    envelope.SetTextPoint(data.PointAt(at + 11));
    envelope.SetTextHeight(data.At(at + 14));

    for (std::size_t j = 0; j < n; ++j) {
        const std::size_t group = at + kFixedValues + kArrowGroupSize * j;
        KVSWX_DetailCircleArrow& arrow = *envelope.AddArrow();
        arrow.SetTip(data.PointAt(group));
        arrow.SetComponent(data.PointAt(group + 3));
        arrow.SetWidth(data.At(group + 6));
        arrow.SetHeight(data.At(group + 7));
        arrow.SetStyle(data.Int32At(group + 8));
    }

    ExtractTextFormat(*envelope.NewTextFormat(), circle.TextFormat());
    ExtractSketchSegments(circle.ProfileSegments(), *envelope.NewSegments(), true, true, nullptr);
}

}  // namespace kvswx
