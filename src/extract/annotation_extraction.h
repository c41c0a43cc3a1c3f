// Four smaller extractions of a view, called by ExtractView at fixed steps:
// center lines, break lines, the projection arrow of a projected or
// auxiliary view, and the broken-out sections.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>

#include "source/release.h"
#include "source/source.h"

namespace kvswx {

class KVSWX_BaseView;

// A value of a packed array as a signed 32-bit integer: truncated toward
// zero. Not-a-number and values outside the 32-bit range give INT32_MIN,
// the automation conversion's "integer indefinite".
std::int32_t TruncateToInt32(double value);

// Number of point values that follow the nine leading values of a break line
// record: the count c is `numOfArcs` for style 3 and `numOfLines` otherwise
// (a negative count counts as 0); kinds 1, 2 and 4 carry 6 values per count,
// kind 3 carries 10, every other kind none.
std::uint64_t BreakLinePointCount(std::int32_t kind, std::int32_t style, std::int32_t numOfLines,
                                  std::int32_t numOfArcs);

// The leading decimal integer of the release's year text (0 when none).
std::int32_t ReleaseYear(const SourceRelease& release);

// Center lines: none when the view has no center-line sketch or the sketch
// returns no segment list; otherwise a new center lines record (with a
// segments collection, possibly empty) holding the sketch's lines and arcs,
// mapped through the segment transform of the center-line sketch.
void ExtractCenterLines(KVSWX_BaseView& baseView, SourceView& view);

// Break lines of a broken view. Nothing when the break line count is 0 or
// less. Otherwise a new collection with the view's break line gap and one
// record per source break line, in list order: each break line is first
// moved to the base view's layer; orientation, positions and style come from
// the break line object, the rest from its record in the view's
// BreakLineData (records back to back from position 0, nine values and then
// the point values, see BreakLinePointCount).
//
// Data shorter than the counts require is never read past: a value missing
// from a record leaves that field at its default, and Points holds only the
// point values present. A record past the end of the data leaves every field
// from the data at its default.
void ExtractBreakLines(KVSWX_BaseView& baseView, SourceView& view);

// The projection arrow: label, the first six values of its coordinate array
// (a shorter array leaves the missing ones 0), and a text format record
// filled from the arrow's text format (defaults when it has none).
void ExtractProjectionArrow(KVSWX_BaseView& baseView, SourceProjectionArrow& arrow);

// One broken-out section: a new list item named `name` with the feature's
// depth, then, while the feature's sketch is being edited, the feature's
// sketch segments (arc mode off, construction skipped, each segment's own
// sketch placement). Nothing without feature.
void ExtractBrokenOutSection(KVSWX_BaseView& baseView, const Ref<SourceBrokenOutSection>& feature,
                             const std::wstring& name);

// Every broken-out section of the view, in source order, from release year
// 2012 on; an entry without feature object, or whose feature is not a
// broken-out section, is skipped.
void ExtractBrokenOutSections(KVSWX_BaseView& baseView, SourceView& view,
                              const SourceRelease& release);

}  // namespace kvswx
