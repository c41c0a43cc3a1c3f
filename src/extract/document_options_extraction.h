// Filling the document properties from the open drawing's document
// preferences: center line and center mark options, the options of each
// view type with their common label blocks, and the line thickness table.
// Preferences are read by kind, identifier and option number; the reads are
// not checked, so a preference the document does not deliver stores what
// the call returned.
#pragma once

#include <cstdint>
#include <vector>

#include "docprops/document_properties.h"
#include "source/source.h"

namespace kvswx {

// Warning codes the options extraction returns, in the order they arise.
inline constexpr std::int32_t kDetailCircleThicknessWarning =
    0;                                                // detail "LineThickness" is custom (10)
inline constexpr std::int32_t kViewPlaneWarning = 1;  // auxiliary indicator "same as section" (1)

// Creates the view options, then the center line options (filled), fills
// the detail, section, auxiliary and projected options in that order, then
// creates and fills the line thickness options. Dimension styles are not
// extracted. Returns the warning codes.
std::vector<std::int32_t> ExtractDocumentProperties(KVSWX_DocumentProperties& properties,
                                                    const Ref<SourceDocument>& document);

// The steps, each creating its record fresh; the view-type steps append
// their warning code to `warnings`.
void ExtractDetailViewOptions(KVSWX_DocViewOptions& options, SourceDocument& document,
                              std::vector<std::int32_t>& warnings);
void ExtractSectionViewOptions(KVSWX_DocViewOptions& options, SourceDocument& document,
                               std::vector<std::int32_t>& warnings);
void ExtractAuxiliaryViewOptions(KVSWX_DocViewOptions& options, SourceDocument& document,
                                 std::vector<std::int32_t>& warnings);
void ExtractProjectedViewOptions(KVSWX_DocViewOptions& options, SourceDocument& document,
                                 std::vector<std::int32_t>& warnings);
void ExtractLineThicknessOptions(KVSWX_DocLineThicknessOptions& options, SourceDocument& document);
void ExtractCenterlineOptions(KVSWX_DocCenterlinesCenterMarksOptions& options,
                              SourceDocument& document);

}  // namespace kvswx
