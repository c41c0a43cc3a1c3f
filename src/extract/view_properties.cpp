#include "extract/view_properties.h"

#include <algorithm>
#include <cstddef>

#include "model/naming.h"
#include "model/encodings.h"
#include "model/process_state.h"
#include "views/base_view.h"

namespace kvswx {

namespace {

// The leading values of an array into a fixed-size value: missing values
// stay 0, extra ones are ignored. A lower bound other than 0 is rejected.
template <std::size_t N>
std::array<double, N> Leading(const SourceDoubleArray& array) {
    const std::vector<double>& values = CheckedValues(array);
    std::array<double, N> out{};
    std::copy_n(values.begin(), std::min(N, values.size()), out.begin());
    return out;
}

}  // namespace

std::int32_t ReferencedDocumentIndex(const std::wstring& path, const std::wstring& configuration) {
    ReferencedDocumentTable& table = Process().referencedDocuments;
    const auto found = std::find_if(table.begin(), table.end(), [&](const auto& entry) {
        return entry.first == path && entry.second == configuration;
    });
    if (found != table.end()) return static_cast<std::int32_t>(found - table.begin());
    table.emplace_back(path, configuration);
    return static_cast<std::int32_t>(table.size() - 1);
}

ReferencedModel ExtractPlacementAndConfiguration(KVSWX_BaseView& baseView, SourceView& view) {
    baseView.SetType(view.Type());
    baseView.SetAlignment(view.Alignment());
    const Point2 position = Leading<2>(view.Position());
    baseView.SetPosition(position[0], position[1]);

    ReferencedModel model;
    model.configuration = view.ReferencedConfiguration().value_or(std::wstring());
    // The record gets a name usable in file names; the table keeps the raw one.
    baseView.SetReferencedConfiguration(MakeFileNameSafe(model.configuration));
    model.path = view.ReferencedDocumentPath().value_or(std::wstring());
    return model;
}

void ExtractReferenceAndDisplay(KVSWX_BaseView& baseView, SourceView& view, const ReferencedModel& model) {
    baseView.SetReferencedDocument(model.path);
    baseView.SetRefDocIndex(ReferencedDocumentIndex(model.path, model.configuration));
    // Both numbers in source order: no ratio is formed.
    const Point2 scale = Leading<2>(view.Scale());
    baseView.SetScale(scale[0], scale[1]);
    baseView.SetDisplayTangents(view.TangentEdgeDisplay());
    baseView.SetDisplayMode(view.DisplayMode());
    baseView.SetShowHiddenEdgesInShadedMode(view.HiddenEdgesInShadedMode() != 0);
}

bool ExtractIsCropped(KVSWX_BaseView& baseView, SourceView& view) {
    const bool cropped = view.Cropped() == 1;
    baseView.SetIsCropped(cropped);
    return cropped;
}

void ExtractParentTransformAndState(KVSWX_BaseView& baseView, SourceView& view) {
    if (const Ref<SourceView> parent = view.ParentView()) {
        baseView.SetParentView(parent->Name().value_or(std::wstring()));
    }
    if (const Ref<SourceTransform> transform = view.Transform()) {
        baseView.SetModelToViewTransform(Leading<16>(transform->ArrayData()));
    }
    // Only 1 is visible; the broken flag takes any non-zero value.
    baseView.SetIsVisible(view.Visible() == 1);
    baseView.SetIsBroken(view.Broken() != 0);
    baseView.SetAngle(view.Angle());
}

}  // namespace kvswx
