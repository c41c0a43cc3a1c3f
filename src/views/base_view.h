// The base view record: everything needed to re-create one drawing view.
// Scalars are written as child elements of the "view" element, in the order
// of the field list in base_view.cpp; sub-records follow them in a fixed
// order (see Write in base_view.cpp).
#pragma once

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "model/encodings.h"
#include "model/serializable.h"

namespace kvswx {

class KVSWX_BaseViewImpl;
class KVSWX_BreakLinesCollection;
class KVSWX_BrokenOutSection;
class KVSWX_CenterLine;
class KVSWX_CropProfile;
class KVSWX_ManualGeometry;
class KVSWX_SectionLine;
class KVSWX_DetailEnvelope;
class KVSWX_ProjectionArrow;
class KVSWX_Note;
class KVSWX_AssemblyComponent;
class KVSWX_BodyComponent;
class KVSWX_ExcludedComponent;
class KVSWX_CenterMark;
class KVSWX_FaceHatch;
class KVSWX_SketchHatch;

// The scalar values of a base view, with their defaults.
struct BaseViewValues {
    std::wstring name;
    std::wstring secondName;  // never written; used to find a view again
    std::wstring invName;
    std::int32_t type = 0;
    Point2 position{};
    std::wstring referencedDocument;
    std::wstring referencedConfiguration;
    std::int32_t refDocIndex = -1;
    Point2 scale{};
    std::int32_t alignment = 0;
    std::int32_t displayTangents = 0;
    std::int32_t displayMode = 0;
    std::wstring parentView;
    std::wstring layer;
    double angle = 0.0;
    Transform16 modelToViewTransform{};
    bool isVisible = false;
    bool isBroken = false;
    bool isFullOutline = false;
    bool showHiddenEdgesInShadedMode = false;
    bool isCropped = false;
};

class KVSWX_BaseView {
public:
    KVSWX_BaseView();
    virtual ~KVSWX_BaseView();
    KVSWX_BaseView(const KVSWX_BaseView&) = delete;
    KVSWX_BaseView& operator=(const KVSWX_BaseView&) = delete;

    I_Serializable* GetImpl() const;
    const BaseViewValues& Values() const;

    void SetName(const std::wstring& v);
    void SetSecondName(const std::wstring& v);
    void SetInvName(const std::wstring& v);
    const std::wstring& GetName() const;
    const std::wstring& GetSecondName() const;
    const std::wstring& GetInvName() const;
    const std::wstring& GetLayer() const;

    void SetType(std::int32_t v);
    void SetPosition(double x, double y);
    void SetReferencedDocument(const std::wstring& v);
    void SetReferencedConfiguration(const std::wstring& v);
    void SetRefDocIndex(std::int32_t v);
    void SetScale(double first, double second);
    void SetAlignment(std::int32_t v);
    void SetDisplayTangents(std::int32_t v);
    void SetDisplayMode(std::int32_t v);
    void SetParentView(const std::wstring& v);
    void SetLayer(const std::wstring& v);
    void SetAngle(double v);
    void SetModelToViewTransform(const Transform16& v);
    void SetIsVisible(bool v);
    void SetIsBroken(bool v);
    void SetIsFullOutline(bool v);
    void SetShowHiddenEdgesInShadedMode(bool v);
    void SetIsCropped(bool v);

    // Single sub-records: New* destroys the one held, if any, and returns a
    // new default one that the record owns. Get* returns null when none.
    KVSWX_SectionLine* NewSectionLine();
    KVSWX_DetailEnvelope* NewDetailEnvelope();
    KVSWX_SectionLine* GetSectionLine() const;
    KVSWX_DetailEnvelope* GetDetailEnvelope() const;
    KVSWX_CenterLine* NewCenterLines();
    KVSWX_CropProfile* NewCropProfile();
    KVSWX_ManualGeometry* NewManualGeometry();
    KVSWX_CenterLine* GetCenterLines() const;
    KVSWX_CropProfile* GetCropProfile() const;
    KVSWX_ManualGeometry* GetManualGeometry() const;
    KVSWX_ProjectionArrow* NewProjectionArrow();
    KVSWX_ProjectionArrow* GetProjectionArrow() const;
    KVSWX_BreakLinesCollection* NewBreakLines();
    KVSWX_BreakLinesCollection* GetBreakLines() const;

    // Lists: Add* appends a new default item and returns it for the caller
    // to fill.
    KVSWX_BrokenOutSection* AddBrokenOutSection();
    const std::vector<std::unique_ptr<KVSWX_BrokenOutSection>>& GetBrokenOutSections() const;
    KVSWX_Note* AddNote();
    const std::vector<std::unique_ptr<KVSWX_Note>>& GetNotes() const;
    KVSWX_AssemblyComponent* AddAssemblyComponent();
    const std::vector<std::unique_ptr<KVSWX_AssemblyComponent>>& GetAssemblyComponents() const;
    KVSWX_BodyComponent* AddBodyComponent();
    const std::vector<std::unique_ptr<KVSWX_BodyComponent>>& GetBodyComponents() const;
    KVSWX_ExcludedComponent* AddExcludedComponent();
    const std::vector<std::unique_ptr<KVSWX_ExcludedComponent>>& GetExcludedComponents() const;
    KVSWX_CenterMark* AddCenterMark();
    const std::vector<std::unique_ptr<KVSWX_CenterMark>>& GetCenterMarks() const;
    KVSWX_FaceHatch* AddFaceHatch();
    const std::vector<std::unique_ptr<KVSWX_FaceHatch>>& GetFaceHatches() const;
    KVSWX_SketchHatch* AddSketchHatch();
    const std::vector<std::unique_ptr<KVSWX_SketchHatch>>& GetSketchHatches() const;

private:
    std::unique_ptr<KVSWX_BaseViewImpl> d_;
};

}  // namespace kvswx
