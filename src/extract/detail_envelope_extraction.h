// Detail views: the detail envelope record, taken from the detail circle
// object and from the packed detail circle data of the parent view.
//
// The parent's data holds one leading value, then one record per detail
// circle of the parent in list order: a value not used, center xyz, start
// xyz, end xyz, line type, text position xyz, text height, n (the number of
// arrows) at offset 15, then n arrow groups of 9 values (tip xyz, component
// xyz, width, height, style), 9n + 16 values in all. No value is mapped.
#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>

#include "extract/packed_record_reader.h"
#include "source/source.h"

namespace kvswx {

class KVSWX_BaseView;

// Start of the record of the detail circle at list position `k`; none when
// the array ends before that record does.
std::optional<std::size_t> DetailCircleRecordStart(const PackedRecordReader& data, std::int32_t k);

// Fills a new detail envelope of `baseView` from `circle`, the detail circle
// of `detailView`, and sets the base view's IsFullOutline from the circle.
// Nothing is created or set when the circle is not among the detail circles
// of its owner's parent, when the detail view has no parent, or when the
// parent's data ends before the circle's record does. The profile segments
// are read with arc mode on, construction geometry skipped, each segment
// mapped through its own sketch's placement.
void ExtractDetailEnvelope(KVSWX_BaseView& baseView, SourceView& detailView,
                           SourceDetailCircle& circle);

}  // namespace kvswx
