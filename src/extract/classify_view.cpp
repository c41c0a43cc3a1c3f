#include "extract/classify_view.h"

#include <algorithm>
#include <cmath>
#include <string>

#include "model/run_log.h"
#include "extract/extract_view.h"
#include "model/process_state.h"

namespace kvswx {

namespace {

// View type codes that classification tells apart.
constexpr std::int32_t kSectionView = 2;
constexpr std::int32_t kDetailView = 3;
constexpr std::int32_t kProjectedView = 4;
constexpr std::int32_t kAuxiliaryView = 5;
constexpr std::int32_t kAlternatePositionView = 10;

// Values passed to SetVisible: the first argument shows or hides the view,
// the second (dimensions) is always 0.
constexpr VBool kShow = 1;
constexpr VBool kHide = 0;

// Position of the first entry named exactly `name` (a missing name counts as
// empty); -1 when none is.
template <class T>
std::int32_t FindByName(const std::vector<Ref<T>>& entries, const std::wstring& name) {
    for (std::size_t i = 0; i < entries.size(); ++i) {
        if (entries[i] && entries[i]->Name().value_or(std::wstring()) == name) return static_cast<std::int32_t>(i);
    }
    return -1;
}

// The parent of the view that owns the annotation; none when either is none.
template <class Annotation>
Ref<SourceView> OwnersParent(Annotation& annotation) {
    const Ref<SourceView> owner = annotation.OwnerView();
    return owner ? owner->ParentView() : nullptr;
}

std::size_t SegmentCount(const Ref<SourceSketch>& sketch) {
    if (!sketch) return 0;
    const auto segments = sketch->Segments();
    return segments ? segments->size() : 0;
}

const wchar_t* DetailWarningFormat(DetailWarning warning) {
    switch (warning) {
        case DetailWarning::ManualGeometry: return logmsg::kDetailManualGeometry;
        case DetailWarning::CenterLines: return logmsg::kDetailCenterLines;
        case DetailWarning::Notes: return logmsg::kDetailNotes;
    }
    return L"";
}

// The outcome code of the type-specific checks; 0 when none fires. Detail
// warnings found on the way are appended to `warnings`.
std::int32_t ClassifyByType(SourceView& view, const Ref<SourceView>& parent, VBool parentVisible,
                            std::vector<DetailWarning>& warnings) {
    switch (view.Type()) {
        case kSectionView: {
            const Ref<SourceSectionLine> line = view.SectionLine();
            if (!line || FindSectionLineInParent(*line) < 0) return 5;
            // Showing the parent for a moment brings its data up to date in
            // the application; it is left as hidden as it was.
            if (parent && parentVisible == 0) {
                parent->SetVisible(kShow, 0);
                parent->SetVisible(kHide, 0);
            }
            const Matrix3 p = RotationOf(parent ? parent->Transform() : nullptr);
            const Matrix3 v = RotationOf(view.Transform());
            if (std::fabs(AdjugateProductCorner(p, v)) > kIsometricSectionBound) return 6;
            return 0;
        }
        case kDetailView: {
            const Ref<SourceDetailCircle> circle = view.DetailCircle();
            if (!circle || FindDetailCircleInParent(*circle) < 0) return 7;
            warnings = CollectDetailWarnings(view);
            return 0;
        }
        case kProjectedView:
            if (!parent) return 1;
            if (parent->Type() == kSectionView) return 2;
            return 0;
        case kAuxiliaryView:
            if (!parent) return 3;
            if (!view.ProjectionArrow()) return 4;
            return 0;
        case kAlternatePositionView:
            return 10;
        default:
            return 0;
    }
}

}  // namespace

Matrix3 RotationOf(const Ref<SourceTransform>& transform) {
    Matrix3 m{};
    if (!transform) return m;
    const SourceDoubleArray data = transform->ArrayData();
    const std::vector<double>& values = CheckedValues(data);
    std::copy_n(values.begin(), std::min(m.size(), values.size()), m.begin());
    return m;
}

double AdjugateProductCorner(const Matrix3& p, const Matrix3& v) {
    auto at = [&p](int row, int col) { return p[static_cast<std::size_t>(row * 3 + col)]; };
    // Row 3 of adj(P) holds the cofactors of column 3 of P: C(0,2), C(1,2),
    // C(2,2).
    const double adj20 = at(1, 0) * at(2, 1) - at(1, 1) * at(2, 0);
    const double adj21 = -(at(0, 0) * at(2, 1) - at(0, 1) * at(2, 0));
    const double adj22 = at(0, 0) * at(1, 1) - at(0, 1) * at(1, 0);
    return adj20 * v[2] + adj21 * v[5] + adj22 * v[8];
}

std::int32_t FindSectionLineInParent(SourceSectionLine& line) {
    const Ref<SourceView> parent = OwnersParent(line);
    if (!parent) return -1;
    return FindByName(parent->SectionLines(), line.Name().value_or(std::wstring()));
}

std::int32_t FindDetailCircleInParent(SourceDetailCircle& circle) {
    const Ref<SourceView> parent = OwnersParent(circle);
    if (!parent) return -1;
    return FindByName(parent->DetailCircles(), circle.Name().value_or(std::wstring()));
}

std::vector<DetailWarning> CollectDetailWarnings(SourceView& view) {
    std::vector<DetailWarning> warnings;
    if (SegmentCount(view.Sketch()) >= 1) warnings.push_back(DetailWarning::ManualGeometry);
    if (SegmentCount(view.CenterLineSketch()) >= 1) warnings.push_back(DetailWarning::CenterLines);
    if (view.Notes().size() >= 2) warnings.push_back(DetailWarning::Notes);
    return warnings;
}

std::int32_t ClassifyView(const Ref<SourceView>& view) {
    const Ref<SourceView> parent = view->ParentView();
    const VBool parentVisible = parent ? parent->Visible() : VBool{1};

    if (!view->ReferencedModelDocument()) return 8;
    if (view->HiddenEdgeCount() != 0) return 9;
    if (view->ExplodedState() == 1) return 11;

    std::vector<DetailWarning> warnings;
    if (const std::int32_t code = ClassifyByType(*view, parent, parentVisible, warnings); code != 0) return code;

    const std::wstring name = view->Name().value_or(std::wstring());
    if (RunLog* log = Process().activeLog) {
        for (DetailWarning warning : warnings) log->Print(DetailWarningFormat(warning), name);
    }
    return 0;
}

}  // namespace kvswx
