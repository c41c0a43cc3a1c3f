// The scalar properties of a base view, read from the source view, and the
// process-wide numbering of referenced model documents. ExtractView calls the
// four groups at their places in its pipeline.
#pragma once

#include <cstdint>
#include <string>

#include "source/source.h"

namespace kvswx {

class KVSWX_BaseView;

// Position of the pair (path, configuration) in Process().referencedDocuments.
// Both names are compared exactly and case-sensitively; a pair not yet in the
// table is appended. Entries are never changed or removed.
std::int32_t ReferencedDocumentIndex(const std::wstring& path, const std::wstring& configuration);

// What the first group reads for the second to store. Strings the source did
// not return are empty.
struct ReferencedModel {
    std::wstring path;
    std::wstring configuration;  // raw, before MakeFileNameSafe
};

// Stores type, alignment, position and the file-name-safe configuration;
// reads the referenced document path.
ReferencedModel ExtractPlacementAndConfiguration(KVSWX_BaseView& baseView, SourceView& view);

// Stores the referenced document, RefDocIndex, scale, tangent edge display,
// display mode and hidden edges in shaded mode.
void ExtractReferenceAndDisplay(KVSWX_BaseView& baseView, SourceView& view, const ReferencedModel& model);

// Stores IsCropped (only the value 1 counts) and returns it.
bool ExtractIsCropped(KVSWX_BaseView& baseView, SourceView& view);

// Stores the parent view's name, the model-to-view transform, visibility,
// the broken flag and the angle.
void ExtractParentTransformAndState(KVSWX_BaseView& baseView, SourceView& view);

}  // namespace kvswx
