#include "extract/extract_view.h"

#include "extract/detail_envelope_extraction.h"
#include "extract/section_line_extraction.h"
#include "extract/annotation_extraction.h"
#include "extract/component_extraction.h"
#include "extract/notes_extraction.h"
#include "extract/sketch_geometry.h"
#include "extract/sketch_block_extraction.h"
#include "extract/view_properties.h"
#include "views/base_view.h"

namespace kvswx {

namespace {

constexpr std::int32_t kSectionView = 2;
constexpr std::int32_t kDetailView = 3;
constexpr std::int32_t kProjectedView = 4;
constexpr std::int32_t kAuxiliaryView = 5;

// Values passed to SetVisible: shown or hidden, dimensions argument 0.
constexpr VBool kShow = 1;
constexpr VBool kHide = 0;

// Section view: the section line is read from its parent view, which must be
// visible meanwhile; a hidden parent is shown and hidden again afterwards.
void ExtractSectionAnnotation(KVSWX_BaseView& baseView, SourceView& view) {
    const Ref<SourceView> parent = view.ParentView();
    const bool reveal = parent && parent->Visible() == 0;
    if (reveal) parent->SetVisible(kShow, 0);
    const Ref<SourceSectionLine> line = view.SectionLine();
    if (line) {
        line->SetLayer(baseView.GetLayer());
        ExtractSectionLine(baseView, view, *line);
    }
    if (reveal) parent->SetVisible(kHide, 0);
    // Then the components the section line excludes, in source order.
    if (line) ExtractExcludedComponents(baseView, *line);
}

// Detail view: the detail circle goes on the view's layer.
void ExtractDetailAnnotation(KVSWX_BaseView& baseView, SourceView& view) {
    if (const Ref<SourceDetailCircle> circle = view.DetailCircle()) {
        circle->SetLayer(baseView.GetLayer());
        ExtractDetailEnvelope(baseView, view, *circle);
    }
}

}  // namespace

// The steps run in a fixed order; each source object is released at the end
// of its step.
ViewWarningSet ExtractView(KVSWX_BaseView& baseView, const Ref<SourceView>& view,
                           const Ref<SourceApplication>& application,
                           const Ref<SourceDocumentCommands>& commands, const SourceRelease& release,
                           std::int32_t notesSwitch) {
    // 1. No warning yet.
    ViewWarningSet warnings;

    // 2. Manual geometry from the view's sketch; the sketch blocks of the
    // same sketch are added to it here.
    ExtractManualGeometry(baseView, view);
    if (view) ExtractSketchBlocks(view->Sketch(), *baseView.GetManualGeometry(), nullptr);

    // 3. Type, alignment, position, referenced configuration; the referenced
    // document path is read.
    const ReferencedModel model = ExtractPlacementAndConfiguration(baseView, *view);

    // 4. Notes, when notesSwitch is 1 and the view (type read again) is not a
    // detail view.
    if (notesSwitch == 1 && view->Type() != kDetailView) ExtractNotes(baseView, *view);

    // 5. Referenced document, RefDocIndex, scale and display settings.
    ExtractReferenceAndDisplay(baseView, *view, model);

    // 6. Cropped flag, and for a cropped view its crop profile.
    if (ExtractIsCropped(baseView, *view)) ExtractCropProfile(baseView, view, commands);

    // 7. Components and bodies (the release picks the body query).
    ExtractComponents(baseView, *view, release);

    // 8. Parent view name, model-to-view transform, visibility, broken flag,
    // angle.
    ExtractParentTransformAndState(baseView, *view);

    // 9. The type again, for step 13.
    const std::int32_t type = view->Type();

    // 10. Center marks.
    ExtractCenterMarks(baseView, *view);
    // 11. Center lines.
    ExtractCenterLines(baseView, *view);
    // 12. Break lines (independent of the IsBroken flag of step 8).
    ExtractBreakLines(baseView, *view);

    // 13. The annotation that ties the view to its parent.
    if (type == kSectionView) {
        ExtractSectionAnnotation(baseView, *view);
    } else if (type == kDetailView) {
        ExtractDetailAnnotation(baseView, *view);
    }
    // Projected and auxiliary views: the projection arrow, when there is one.
    if (type == kProjectedView || type == kAuxiliaryView) {
        if (const Ref<SourceProjectionArrow> arrow = view->ProjectionArrow()) {
            ExtractProjectionArrow(baseView, *arrow);
        }
    }

    // 14. Broken-out sections, from release year 2012 on.
    ExtractBrokenOutSections(baseView, *view, release);
    // 15. Face hatches (may insert warning 0 into `warnings`).
    const bool faceHatchTaken = ExtractFaceHatches(baseView, *view, warnings);
    // 16. Material hatch, when step 15 took no hatch (with the application).
    if (!faceHatchTaken) ExtractMaterialHatch(baseView, *view, application.get());
    // 17. Sketch hatches.
    ExtractSketchHatches(baseView, *view);

    // 18. The warnings found on the way.
    return warnings;
}

}  // namespace kvswx
