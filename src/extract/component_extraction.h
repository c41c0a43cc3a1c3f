// The list-valued parts of a view that ExtractView fills at fixed steps:
// assembly components with their bodies and the view's own bodies, the
// components a section leaves out, center marks, and face, material and
// sketch hatches.
#pragma once

#include <string>

#include "extract/extract_view.h"
#include "source/release.h"
#include "source/source.h"

namespace kvswx {

class KVSWX_BaseView;

// The name a body gets from the raw name of its naming object. With a
// positive body naming value the raw name is split at every "<" as a line
// reader with that delimiter splits it (a delimiter at the very end adds no
// empty part); fewer than two parts keep the raw name, otherwise the parts
// from position 2 on are joined with "<" and the last loses its final
// character (two parts give the empty name). A naming value of 0 or less
// keeps the raw name.
std::wstring BodyName(const std::wstring& raw, std::int32_t namingValue);

// Assembly components: the component tree under the view's root node, depth
// first, pre-order (the root itself and nodes without model component give
// no entry; their children still do), each with its bodies; then every
// component the view hides turns invisible the first entry of exactly its
// name and configuration. The bodies of the root node's own model component
// become the view's body components. Bodies are asked for with the query of
// releases from 2014 on when the release year is above 2013, else with the
// older one; bodies without naming object and repeated raw names are
// skipped.
void ExtractComponents(KVSWX_BaseView& baseView, SourceView& view, const SourceRelease& release);

// The components a section line leaves out, in source order; name and
// configuration are set only when the source returns them.
void ExtractExcludedComponents(KVSWX_BaseView& baseView, SourceSectionLine& line);

// One center mark per mark of the view's chain (first mark, then each
// mark's next one), with position and layer from the mark's annotation.
void ExtractCenterMarks(KVSWX_BaseView& baseView, SourceView& view);

// The view's face hatches in order, skipping empty entries and hatches whose
// definition equals that of a hatch already taken. Every hatch taken after
// the first whose pattern id differs from the first one's inserts warning 0.
// Returns whether any hatch was taken.
bool ExtractFaceHatches(KVSWX_BaseView& baseView, SourceView& view, ViewWarningSet& warnings);

// One face hatch from the material settings of the view's referenced model,
// opened by path (document kind 1, options 1, configuration ""): pattern,
// solid fill (fill kind 3), scale and angle, Color 0 and UseMaterialHatch.
// When the view returns no path or the model does not open, the hatch keeps
// its defaults.
void ExtractMaterialHatch(KVSWX_BaseView& baseView, SourceView& view,
                          SourceApplication* application);

// One sketch hatch per hatch of the view's sketch, in order, as they are.
void ExtractSketchHatches(KVSWX_BaseView& baseView, SourceView& view);

}  // namespace kvswx
