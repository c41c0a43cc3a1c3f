// Section views: the section line record, taken from the section line object
// and from the packed section line data of the parent view.
//
// The parent's data holds two leading values, then one record per section
// line of the parent in list order: n (the number of cut segments), n groups
// of 7 values (line type, start xyz, end xyz), 25 arrow values and one value
// not used, 7n + 27 values in all.
#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>

#include "extract/packed_record_reader.h"
#include "source/source.h"

namespace kvswx {

class KVSWX_BaseView;

// Where the fold segment test counts a direction as lying in the section
// view's plane: |z| strictly below this after both mappings.
inline constexpr double kFoldSegmentBound = 1e-14;

// Start of the record of the section line at list position `k`; none when
// the array ends before that record does.
std::optional<std::size_t> SectionLineRecordStart(const PackedRecordReader& data, std::int32_t k);

// Fills a new section line of `baseView` from `line`, the section line that
// cut `sectionView`. Nothing is created when the line is not among the
// section lines of its owner's parent, when the section view has no parent,
// or when the parent's data is empty or ends before the line's record does.
//
// Segment points are mapped through the segment transform of the parent's
// sketch (fetched for each segment); a point that cannot be mapped stays 0.
// Arrow and text points are copied as they are. The fold segment index is the
// first segment whose direction, mapped through the inverse of the parent's
// transform and then the section view's transform and normalised, has
// |z| < kFoldSegmentBound; n when none has. Without either transform the
// index keeps its default.
void ExtractSectionLine(KVSWX_BaseView& baseView, SourceView& sectionView, SourceSectionLine& line);

}  // namespace kvswx
