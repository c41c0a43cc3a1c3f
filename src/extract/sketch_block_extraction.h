// Sketch block extraction: the block instances of a view's sketch become
// sketch blocks of its manual geometry, each with its geometry mapped into
// the view's sketch coordinates and its own nested blocks, to the depth the
// record allows (kMaxSketchBlockDepth).
#pragma once

#include "source/source.h"

namespace kvswx {

class KVSWX_ManualGeometry;

// For each block instance of `sketch`, in order, appends a block to
// `manual` (before filling it), names it after the instance and fills it
// from the instance's definition sketch D: D's segments (arc mode off,
// construction kept) mapped through E, then D's own instances as nested
// blocks, recursively with E as the given placement.
//
// B is the sketch's placement, combined into `placement` when one is given
// (B maps through the sketch's placement first, then `placement`); E is B
// combined with the instance's segment transform (through that transform
// first). Where a placement or transform is none, E is none and each
// segment falls back to its own sketch's placement.
void ExtractSketchBlocks(const Ref<SourceSketch>& sketch, KVSWX_ManualGeometry& manual,
                         const Ref<SourcePlacement>& placement);

}  // namespace kvswx
