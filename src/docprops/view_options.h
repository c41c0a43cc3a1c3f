// The drafting options of each view type (detail, section, auxiliary,
// projected) under one "Views" element. Each per-type record writes its own
// element with its scalars, its fonts and its common label block.
#pragma once

#include <cstdint>
#include <memory>
#include <string>

#include "docprops/common_view_options.h"
#include "docprops/text_format.h"
#include "model/serializable.h"

namespace kvswx {

// ---- "Detail" ---------------------------------------------------------------

struct DetailViewOptionsValues {
    std::int32_t lineStyle = 0;
    std::int32_t lineThickness = 0;
    double lineCustomThickness = 0.0;
    std::int32_t borderStyle = 0;
    std::int32_t borderThickness = 0;
    double borderCustomThickness = 0.0;
    std::int32_t overallDraftingStandard = 0;
    bool uppercaseAll = true;
    std::wstring exclusionList;
    bool isStacked = true;
};

class KVSWX_DocViewDetailOptionsImpl;

class KVSWX_DocViewDetailOptions {
public:
    KVSWX_DocViewDetailOptions();
    virtual ~KVSWX_DocViewDetailOptions();
    KVSWX_DocViewDetailOptions(const KVSWX_DocViewDetailOptions&) = delete;
    KVSWX_DocViewDetailOptions& operator=(const KVSWX_DocViewDetailOptions&) = delete;

    I_Serializable* GetImpl() const;
    const DetailViewOptionsValues& Values() const;
    std::int32_t GetLineThickness() const;
    const KVSWX_CommonViewOptions* GetCommonViewOptions() const;

    void SetLineStyle(std::int32_t v);
    void SetLineThickness(std::int32_t v);
    void SetLineCustomThickness(double v);
    void SetBorderStyle(std::int32_t v);
    void SetBorderThickness(std::int32_t v);
    void SetBorderCustomThickness(double v);
    void SetOverallDraftingStandard(std::int32_t v);
    void SetUppercaseAll(bool v);
    void SetExclusionList(const std::wstring& v);
    void SetIsStacked(bool v);
    KVSWX_TextFormat* CreateLabelOptionsLabelFont();
    KVSWX_TextFormat* CreateDetaiCircleTextFont();
    KVSWX_CommonViewOptions* CreateCommonViewOptions();

private:
    std::unique_ptr<KVSWX_DocViewDetailOptionsImpl> d_;
};

// ---- "Section" --------------------------------------------------------------

struct SectionViewOptionsValues {
    std::int32_t baseSectonStandard = 0;
    std::int32_t lineStyle = 0;
    std::int32_t lineThickness = 0;
    double lineCustomThickness = 0.0;
    bool alternativeDisplay = true;
    std::int32_t labelOptionsLabel = 0;
    std::int32_t labelOptionsRotation = 0;
    bool isStacked = true;
    double sectionViewArrowWidht = 0.0;
    double sectionViewArrowHeadWidth = 0.0;
    double sectionViewArrowHeadLength = 0.0;
    bool isScaleWithSectionViewArrowLetterHeight = true;
    std::int32_t arrowStyle = 0;
    std::int32_t halfSectionStyle = 0;
    bool displayCuttingLineShoulders = true;
};

class KVSWX_DocViewSectionOptionsImpl;

class KVSWX_DocViewSectionOptions {
public:
    KVSWX_DocViewSectionOptions();
    virtual ~KVSWX_DocViewSectionOptions();
    KVSWX_DocViewSectionOptions(const KVSWX_DocViewSectionOptions&) = delete;
    KVSWX_DocViewSectionOptions& operator=(const KVSWX_DocViewSectionOptions&) = delete;

    I_Serializable* GetImpl() const;
    const SectionViewOptionsValues& Values() const;
    const KVSWX_CommonViewOptions* GetCommonViewOptions() const;

    void SetBaseSectonStandard(std::int32_t v);
    void SetLineStyle(std::int32_t v);
    void SetLineThickness(std::int32_t v);
    void SetLineCustomThickness(double v);
    void SetAlternativeDisplay(bool v);
    void SetLabelOptionsLabel(std::int32_t v);
    void SetLabelOptionsRotation(std::int32_t v);
    void SetIsStacked(bool v);
    void SetSectionViewArrowWidht(double v);
    void SetSectionViewArrowHeadWidth(double v);
    void SetSectionViewArrowHeadLength(double v);
    void SetIsScaleWithSectionViewArrowLetterHeight(bool v);
    void SetArrowStyle(std::int32_t v);
    void SetHalfSectionStyle(std::int32_t v);
    void SetDisplayCuttingLineShoulders(bool v);
    KVSWX_TextFormat* CreateSectionArrowTextFont();
    KVSWX_TextFormat* CreateLabelOptionsLabelFont();
    KVSWX_TextFormat* CreateLabelOptionsRotationFont();
    KVSWX_CommonViewOptions* CreateCommonViewOptions();

private:
    std::unique_ptr<KVSWX_DocViewSectionOptionsImpl> d_;
};

// ---- "Auxiliary" ------------------------------------------------------------

struct AuxiliaryViewOptionsValues {
    std::int32_t baseAuxiliaryStandard = 0;
    std::int32_t lineStyle = 0;
    std::int32_t lineThickness = 0;
    double lineCustomThickness = 0.0;
    bool labelOptionsSimplifiedOrDetail = true;
    std::int32_t labelOptionsLabel = 0;
    std::int32_t labelOptionsRotation = 0;
    bool isStacked = true;
    bool rotateViewToBeHorizontalToSheet = true;
    bool isClockWise = true;
    std::int32_t auxiliaryIndicator = 0;
};

class KVSWX_DocViewAuxiliaryOptionsImpl;

class KVSWX_DocViewAuxiliaryOptions {
public:
    KVSWX_DocViewAuxiliaryOptions();
    virtual ~KVSWX_DocViewAuxiliaryOptions();
    KVSWX_DocViewAuxiliaryOptions(const KVSWX_DocViewAuxiliaryOptions&) = delete;
    KVSWX_DocViewAuxiliaryOptions& operator=(const KVSWX_DocViewAuxiliaryOptions&) = delete;

    I_Serializable* GetImpl() const;
    const AuxiliaryViewOptionsValues& Values() const;
    std::int32_t GetAuxiliaryIndicator() const;
    const KVSWX_CommonViewOptions* GetCommonViewOptions() const;

    void SetBaseAuxiliaryStandard(std::int32_t v);
    void SetLineStyle(std::int32_t v);
    void SetLineThickness(std::int32_t v);
    void SetLineCustomThickness(double v);
    void SetLabelOptionsSimplifiedOrDetail(bool v);
    void SetLabelOptionsLabel(std::int32_t v);
    void SetLabelOptionsRotation(std::int32_t v);
    void SetIsStacked(bool v);
    void SetRotateViewToBeHorizontalToSheet(bool v);
    void SetIsClockWise(bool v);
    void SetAuxiliaryIndicator(std::int32_t v);
    KVSWX_TextFormat* CreateAuxiliaryArrowFont();
    KVSWX_TextFormat* CreateLabelOptionsLabelFont();
    KVSWX_TextFormat* CreateLabelOptionsRotationFont();
    KVSWX_CommonViewOptions* CreateCommonViewOptions();

private:
    std::unique_ptr<KVSWX_DocViewAuxiliaryOptionsImpl> d_;
};

// ---- "Projected" ------------------------------------------------------------

class KVSWX_DocViewProjectedOptionsImpl;

class KVSWX_DocViewProjectedOptions {
public:
    KVSWX_DocViewProjectedOptions();
    virtual ~KVSWX_DocViewProjectedOptions();
    KVSWX_DocViewProjectedOptions(const KVSWX_DocViewProjectedOptions&) = delete;
    KVSWX_DocViewProjectedOptions& operator=(const KVSWX_DocViewProjectedOptions&) = delete;

    I_Serializable* GetImpl() const;
    const KVSWX_CommonViewOptions* GetCommonViewOptions() const;
    KVSWX_CommonViewOptions* CreateCommonViewOptions();

private:
    std::unique_ptr<KVSWX_DocViewProjectedOptionsImpl> d_;
};

// ---- "Views" ----------------------------------------------------------------

class KVSWX_DocViewOptionsImpl;

class KVSWX_DocViewOptions {
public:
    KVSWX_DocViewOptions();
    virtual ~KVSWX_DocViewOptions();
    KVSWX_DocViewOptions(const KVSWX_DocViewOptions&) = delete;
    KVSWX_DocViewOptions& operator=(const KVSWX_DocViewOptions&) = delete;

    // Write(doc, parent) appends "Views" with the records that exist, in the
    // order detail, section, auxiliary, projected; ReadFromDocument(doc,
    // location of "Views") creates all four and reads them.
    I_Serializable* GetImpl() const;
    // Null until created.
    const KVSWX_DocViewDetailOptions* GetDetailOptions() const;
    const KVSWX_DocViewSectionOptions* GetSectionOptions() const;
    const KVSWX_DocViewAuxiliaryOptions* GetAuxiliaryOptions() const;
    const KVSWX_DocViewProjectedOptions* GetProjectedOptions() const;
    // Each replaces the earlier record and returns the new, empty one.
    KVSWX_DocViewDetailOptions* CreateDetailOptions();
    KVSWX_DocViewSectionOptions* CreateSectionOptions();
    KVSWX_DocViewAuxiliaryOptions* CreateAuxiliaryOptions();
    KVSWX_DocViewProjectedOptions* CreateProjectedOptions();

private:
    std::unique_ptr<KVSWX_DocViewOptionsImpl> d_;
};

}  // namespace kvswx
