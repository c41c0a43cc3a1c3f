// Sketch block extraction: the block instances of a view's sketch become
// sketch blocks of its manual geometry, each with its geometry mapped into
// the view's sketch coordinates and its own nested blocks, to the depth the
// record allows (kMaxSketchBlockDepth).
#pragma once

#include <cstddef>

#include "source/source.h"

namespace kvswx {

// Definitions that hold several instances of one another multiply: a chain
// of n definitions holding two instances each gives 2^n blocks. One call
// makes at most this many blocks, in walk order, and leaves out the rest.
inline constexpr std::size_t kMaxSketchBlocks = 10000;

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
