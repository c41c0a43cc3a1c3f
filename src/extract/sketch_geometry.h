// Sketch geometry extraction: turns source sketch segments into segment
// records (Line, Circle, Arc, Ellipse, EllipticalArc, Spline, Parabola),
// mapping their points through a transform chosen per call.
//
// The transform T is the segment transform of a placement: the placement the
// caller gives, otherwise the placement of the segment's own sketch. Points
// are mapped by making a math point with the application's shared math
// utility (Process().mathUtility) and multiplying it by T; lengths are
// multiplied by T's scale component. Every comparison is exact.
//
// A segment whose data cannot be read whole is skipped and produces no
// record: a failed query (none), no transform or math utility, or an array
// shorter than its layout (line data 6 values, circle data 7, ellipse data
// 11, arc data 16 per arc block, control points in whole triples or
// quadruples). An array whose lower bound is not 0 raises ComError
// (invalid argument), as every packed array does.
#pragma once

#include <vector>

#include "source/source.h"
#include "model/encodings.h"

namespace kvswx {

class KVSWX_BaseView;
class KVSWX_SketchSegmentsCollection;

// Appends one record per segment of `segments`, in order.
// - arcMode off: an arc takes its values from the sketch's arc data, block k
//   for the k-th arc handled in this call; equal start and end x and y give a
//   Circle, otherwise an Arc.
// - arcMode on: an arc is read through its arc interface; a full circle
//   gives no record.
// - skipConstruction: construction segments give no record; otherwise every
//   record carries the segment's construction flag.
// - placement: its segment transform maps every segment; none means each
//   segment's own sketch placement.
void ExtractSketchSegments(const std::vector<Ref<SourceSketchSegment>>& segments,
                           KVSWX_SketchSegmentsCollection& target, bool arcMode,
                           bool skipConstruction, const Ref<SourcePlacement>& placement);

// The point half-way along the arc from `start` to `end` around `center`, in
// the arc's turning direction (x and y only).
Point2 ComputeAlongPoint(const Point2& start, const Point2& end, const Point2& center,
                         bool clockwise);

// Per-kind extractors, as the crop profile splits segments. Each walks its
// list in order, skips construction segments and leaves the records'
// construction flag false.
void ExtractLines(KVSWX_SketchSegmentsCollection& target,
                  const std::vector<Ref<SourceLineSegment>>& lines,
                  const Ref<SourceTransform>& transform);
// A full circle gives a Circle, anything else an Arc read from its points.
void ExtractArcs(KVSWX_SketchSegmentsCollection& target,
                 const std::vector<Ref<SourceArcSegment>>& arcs,
                 const Ref<SourceTransform>& transform);
void ExtractEllipses(KVSWX_SketchSegmentsCollection& target,
                     const std::vector<Ref<SourceEllipseSegment>>& ellipses,
                     const Ref<SourceTransform>& transform);
void ExtractSplines(KVSWX_SketchSegmentsCollection& target,
                    const std::vector<Ref<SourceSplineSegment>>& splines,
                    const Ref<SourceTransform>& transform);
void ExtractParabolas(KVSWX_SketchSegmentsCollection& target,
                      const std::vector<Ref<SourceParabolaSegment>>& parabolas,
                      const Ref<SourceTransform>& transform);

// Center lines: appends a Line for every line and an Arc read from its
// points for every arc (a full circle too), in list order, all mapped
// through `transform`; other kinds give nothing. Construction flags are
// neither read nor set.
void ExtractLinesAndArcs(KVSWX_SketchSegmentsCollection& target,
                         const std::vector<Ref<SourceSketchSegment>>& segments,
                         const Ref<SourceTransform>& transform);

// Segments split by kind into typed lists, in source order. Segments of
// other kinds, and segments whose typed query fails, are left out.
struct SegmentsByKind {
    std::vector<Ref<SourceLineSegment>> lines;
    std::vector<Ref<SourceArcSegment>> arcs;
    std::vector<Ref<SourceEllipseSegment>> ellipses;
    std::vector<Ref<SourceSplineSegment>> splines;
    std::vector<Ref<SourceParabolaSegment>> parabolas;
};
SegmentsByKind SplitSegmentsByKind(const std::vector<Ref<SourceSketchSegment>>& segments);

// View extraction: the manual geometry of the view (a new one, filled from
// the segments of the view's sketch, arc mode off, construction kept, each
// segment's own placement). Sketch blocks are added by their own step.
void ExtractManualGeometry(KVSWX_BaseView& view, const Ref<SourceView>& source);

// View extraction, cropped views: selects the view, runs command 1388 and
// fills a new crop profile with exactly the segments of the view's sketch
// that the command added (by identity, per kind, in the order of the second
// read), mapped through the segment transform of the view's sketch.
void ExtractCropProfile(KVSWX_BaseView& view, const Ref<SourceView>& source,
                        const Ref<SourceDocumentCommands>& commands);

}  // namespace kvswx
