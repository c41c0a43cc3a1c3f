#include "docprops/view_options.h"

#include "docprops/option_fields.h"

namespace kvswx {

namespace {

// A per-type record's element: its children in list order, then closed.
template <class Rec, class Fields>
void WriteOptionRecord(XmlDocument& doc, XmlNode parent, const wchar_t* name, const Rec& rec,
                       const Fields& fields) {
    XmlNode element = CreateChildElement(doc, parent, name);
    WriteOptionFields(doc, element, rec, fields);
    CloseElement(doc, element);
}

}  // namespace

// ---- "Detail" ---------------------------------------------------------------

class KVSWX_DocViewDetailOptionsImpl final : public LocatedSerializable,
                                             public DetailViewOptionsValues {
public:
    std::unique_ptr<KVSWX_TextFormat> labelFont;
    std::unique_ptr<KVSWX_TextFormat> circleTextFont;
    std::unique_ptr<KVSWX_CommonViewOptions> common;

    void Write(XmlDocument& doc, XmlNode parent) override;
    void ReadFromDocument(XmlDocument& doc, const std::wstring& location) override;
};

namespace {
using D = KVSWX_DocViewDetailOptionsImpl;
using DV = DetailViewOptionsValues;
const auto kDetailFields = std::make_tuple(
    Font(L"DetaiCircleTextFont", &D::circleTextFont), Font(L"LabelOptionsLabelFont", &D::labelFont),
    Field(L"LineStyle", &DV::lineStyle, Enum(LineStyleNames)),
    Field(L"LineThickness", &DV::lineThickness, Enum(LineWeightNames)),
    Field(L"LineCustomThickness", &DV::lineCustomThickness, kDouble),
    Field(L"BorderStyle", &DV::borderStyle, Enum(LineStyleNames, kBorderStyleKey)),
    Field(L"BorderThickness", &DV::borderThickness, Enum(LineWeightNames, kBorderThicknessKey)),
    Field(L"BorderCustomThickness", &DV::borderCustomThickness, kDouble),
    Field(L"OverallDraftingStandard", &DV::overallDraftingStandard, Enum(DraftingStandardNames)),
    Field(L"UppercaseAll", &DV::uppercaseAll, kBool),
    Field(L"ExclusionList", &DV::exclusionList, kText), Field(L"IsStacked", &DV::isStacked, kBool),
    Block(L"CommonViewOptions", &D::common));
}  // namespace

void KVSWX_DocViewDetailOptionsImpl::Write(XmlDocument& doc, XmlNode parent) {
    WriteOptionRecord(doc, parent, L"Detail", *this, kDetailFields);
}

void KVSWX_DocViewDetailOptionsImpl::ReadFromDocument(XmlDocument& doc,
                                                      const std::wstring& location) {
    ReplaceWithNew(labelFont);
    ReplaceWithNew(circleTextFont);
    ReplaceWithNew(common);
    ReadOptionFields(doc, location, *this, kDetailFields);
}

KVSWX_DocViewDetailOptions::KVSWX_DocViewDetailOptions()
    : d_(std::make_unique<KVSWX_DocViewDetailOptionsImpl>()) {}
KVSWX_DocViewDetailOptions::~KVSWX_DocViewDetailOptions() = default;
I_Serializable* KVSWX_DocViewDetailOptions::GetImpl() const { return d_.get(); }
const DetailViewOptionsValues& KVSWX_DocViewDetailOptions::Values() const { return *d_; }
std::int32_t KVSWX_DocViewDetailOptions::GetLineThickness() const { return d_->lineThickness; }
const KVSWX_CommonViewOptions* KVSWX_DocViewDetailOptions::GetCommonViewOptions() const {
    return d_->common.get();
}
void KVSWX_DocViewDetailOptions::SetLineStyle(std::int32_t v) { d_->lineStyle = v; }
void KVSWX_DocViewDetailOptions::SetLineThickness(std::int32_t v) { d_->lineThickness = v; }
void KVSWX_DocViewDetailOptions::SetLineCustomThickness(double v) { d_->lineCustomThickness = v; }
void KVSWX_DocViewDetailOptions::SetBorderStyle(std::int32_t v) { d_->borderStyle = v; }
void KVSWX_DocViewDetailOptions::SetBorderThickness(std::int32_t v) { d_->borderThickness = v; }
void KVSWX_DocViewDetailOptions::SetBorderCustomThickness(double v) {
    d_->borderCustomThickness = v;
}
void KVSWX_DocViewDetailOptions::SetOverallDraftingStandard(std::int32_t v) {
    d_->overallDraftingStandard = v;
}
void KVSWX_DocViewDetailOptions::SetUppercaseAll(bool v) { d_->uppercaseAll = v; }
void KVSWX_DocViewDetailOptions::SetExclusionList(const std::wstring& v) { d_->exclusionList = v; }
void KVSWX_DocViewDetailOptions::SetIsStacked(bool v) { d_->isStacked = v; }
KVSWX_TextFormat* KVSWX_DocViewDetailOptions::CreateLabelOptionsLabelFont() {
    return ReplaceWithNew(d_->labelFont);
}
KVSWX_TextFormat* KVSWX_DocViewDetailOptions::CreateDetaiCircleTextFont() {
    return ReplaceWithNew(d_->circleTextFont);
}
KVSWX_CommonViewOptions* KVSWX_DocViewDetailOptions::CreateCommonViewOptions() {
    return ReplaceWithNew(d_->common);
}

// ---- "Section" --------------------------------------------------------------

class KVSWX_DocViewSectionOptionsImpl final : public LocatedSerializable,
                                              public SectionViewOptionsValues {
public:
    std::unique_ptr<KVSWX_TextFormat> arrowTextFont;
    std::unique_ptr<KVSWX_TextFormat> labelFont;
    std::unique_ptr<KVSWX_TextFormat> rotationFont;
    std::unique_ptr<KVSWX_CommonViewOptions> common;

    void Write(XmlDocument& doc, XmlNode parent) override;
    void ReadFromDocument(XmlDocument& doc, const std::wstring& location) override;
};

namespace {
using S = KVSWX_DocViewSectionOptionsImpl;
using SV = SectionViewOptionsValues;
const auto kSectionFields = std::make_tuple(
    Field(L"BaseSectonStandard", &SV::baseSectonStandard, Enum(DraftingStandardNames)),
    Field(L"LineStyle", &SV::lineStyle, Enum(LineStyleNames)),
    Field(L"LineThickness", &SV::lineThickness, Enum(LineWeightNames)),
    Field(L"LineCustomThickness", &SV::lineCustomThickness, kDouble),
    Field(L"AlternativeDisplay", &SV::alternativeDisplay, kBool),
    Font(L"SectionArrowTextFont", &S::arrowTextFont),
    Field(L"LabelOptionsLabel", &SV::labelOptionsLabel, Enum(ViewLabelLetterNames)),
    Font(L"LabelOptionsLabelFont", &S::labelFont),
    Field(L"LabelOptionsRotation", &SV::labelOptionsRotation, Enum(ViewLabelRotationNames)),
    Font(L"LabelOptionsRotationFont", &S::rotationFont), Field(L"IsStacked", &SV::isStacked, kBool),
    Field(L"SectionViewArrowWidht", &SV::sectionViewArrowWidht, kDouble),
    Field(L"SectionViewArrowHeadWidth", &SV::sectionViewArrowHeadWidth, kDouble),
    Field(L"SectionViewArrowHeadLength", &SV::sectionViewArrowHeadLength, kDouble),
    Field(L"IsScaleWithSectionViewArrowLetterHeight", &SV::isScaleWithSectionViewArrowLetterHeight,
          kBool),
    Field(L"ArrowStyle", &SV::arrowStyle, Enum(ArrowHeadStyleNames)),
    Field(L"HalfSectionStyle", &SV::halfSectionStyle, Enum(HalfSectionArrowNames)),
    Field(L"DisplayCuttingLineShoulders", &SV::displayCuttingLineShoulders, kBool),
    Block(L"CommonViewOptions", &S::common));
}  // namespace

void KVSWX_DocViewSectionOptionsImpl::Write(XmlDocument& doc, XmlNode parent) {
    WriteOptionRecord(doc, parent, L"Section", *this, kSectionFields);
}

void KVSWX_DocViewSectionOptionsImpl::ReadFromDocument(XmlDocument& doc,
                                                       const std::wstring& location) {
    ReplaceWithNew(arrowTextFont);
    ReplaceWithNew(labelFont);
    ReplaceWithNew(rotationFont);
    ReplaceWithNew(common);
    ReadOptionFields(doc, location, *this, kSectionFields);
}

KVSWX_DocViewSectionOptions::KVSWX_DocViewSectionOptions()
    : d_(std::make_unique<KVSWX_DocViewSectionOptionsImpl>()) {}
KVSWX_DocViewSectionOptions::~KVSWX_DocViewSectionOptions() = default;
I_Serializable* KVSWX_DocViewSectionOptions::GetImpl() const { return d_.get(); }
const SectionViewOptionsValues& KVSWX_DocViewSectionOptions::Values() const { return *d_; }
const KVSWX_CommonViewOptions* KVSWX_DocViewSectionOptions::GetCommonViewOptions() const {
    return d_->common.get();
}
void KVSWX_DocViewSectionOptions::SetBaseSectonStandard(std::int32_t v) {
    d_->baseSectonStandard = v;
}
void KVSWX_DocViewSectionOptions::SetLineStyle(std::int32_t v) { d_->lineStyle = v; }
void KVSWX_DocViewSectionOptions::SetLineThickness(std::int32_t v) { d_->lineThickness = v; }
void KVSWX_DocViewSectionOptions::SetLineCustomThickness(double v) { d_->lineCustomThickness = v; }
void KVSWX_DocViewSectionOptions::SetAlternativeDisplay(bool v) { d_->alternativeDisplay = v; }
void KVSWX_DocViewSectionOptions::SetLabelOptionsLabel(std::int32_t v) {
    d_->labelOptionsLabel = v;
}
void KVSWX_DocViewSectionOptions::SetLabelOptionsRotation(std::int32_t v) {
    d_->labelOptionsRotation = v;
}
void KVSWX_DocViewSectionOptions::SetIsStacked(bool v) { d_->isStacked = v; }
void KVSWX_DocViewSectionOptions::SetSectionViewArrowWidht(double v) {
    d_->sectionViewArrowWidht = v;
}
void KVSWX_DocViewSectionOptions::SetSectionViewArrowHeadWidth(double v) {
    d_->sectionViewArrowHeadWidth = v;
}
void KVSWX_DocViewSectionOptions::SetSectionViewArrowHeadLength(double v) {
    d_->sectionViewArrowHeadLength = v;
}
void KVSWX_DocViewSectionOptions::SetIsScaleWithSectionViewArrowLetterHeight(bool v) {
    d_->isScaleWithSectionViewArrowLetterHeight = v;
}
void KVSWX_DocViewSectionOptions::SetArrowStyle(std::int32_t v) { d_->arrowStyle = v; }
void KVSWX_DocViewSectionOptions::SetHalfSectionStyle(std::int32_t v) { d_->halfSectionStyle = v; }
void KVSWX_DocViewSectionOptions::SetDisplayCuttingLineShoulders(bool v) {
    d_->displayCuttingLineShoulders = v;
}
KVSWX_TextFormat* KVSWX_DocViewSectionOptions::CreateSectionArrowTextFont() {
    return ReplaceWithNew(d_->arrowTextFont);
}
KVSWX_TextFormat* KVSWX_DocViewSectionOptions::CreateLabelOptionsLabelFont() {
    return ReplaceWithNew(d_->labelFont);
}
KVSWX_TextFormat* KVSWX_DocViewSectionOptions::CreateLabelOptionsRotationFont() {
    return ReplaceWithNew(d_->rotationFont);
}
KVSWX_CommonViewOptions* KVSWX_DocViewSectionOptions::CreateCommonViewOptions() {
    return ReplaceWithNew(d_->common);
}

// ---- "Auxiliary" ------------------------------------------------------------

class KVSWX_DocViewAuxiliaryOptionsImpl final : public LocatedSerializable,
                                                public AuxiliaryViewOptionsValues {
public:
    std::unique_ptr<KVSWX_TextFormat> arrowFont;
    std::unique_ptr<KVSWX_TextFormat> labelFont;
    std::unique_ptr<KVSWX_TextFormat> rotationFont;
    std::unique_ptr<KVSWX_CommonViewOptions> common;

    void Write(XmlDocument& doc, XmlNode parent) override;
    void ReadFromDocument(XmlDocument& doc, const std::wstring& location) override;
};

namespace {
using A = KVSWX_DocViewAuxiliaryOptionsImpl;
using AV = AuxiliaryViewOptionsValues;
const auto kAuxiliaryFields = std::make_tuple(
    Field(L"BaseAuxiliaryStandard", &AV::baseAuxiliaryStandard, Enum(DraftingStandardNames)),
    Field(L"LineStyle", &AV::lineStyle, Enum(LineStyleNames)),
    Field(L"LineThickness", &AV::lineThickness, Enum(LineWeightNames)),
    Field(L"LineCustomThickness", &AV::lineCustomThickness, kDouble),
    Font(L"AuxiliaryArrowFont", &A::arrowFont),
    Field(L"LabelOptionsSimplifiedOrDetail", &AV::labelOptionsSimplifiedOrDetail, kBool),
    Field(L"LabelOptionsLabel", &AV::labelOptionsLabel, Enum(ViewLabelLetterNames)),
    Font(L"LabelOptionsLabelFont", &A::labelFont),
    Field(L"LabelOptionsRotation", &AV::labelOptionsRotation, Enum(ViewLabelRotationNames)),
    Font(L"LabelOptionsRotationFont", &A::rotationFont), Field(L"IsStacked", &AV::isStacked, kBool),
    Field(L"RotateViewToBeHorizontalToSheet", &AV::rotateViewToBeHorizontalToSheet, kBool),
    Field(L"IsClockWise", &AV::isClockWise, kBool),
    Field(L"AuxiliaryIndicator", &AV::auxiliaryIndicator, Enum(ViewIndicationNames)),
    Block(L"CommonViewOptions", &A::common));
}  // namespace

void KVSWX_DocViewAuxiliaryOptionsImpl::Write(XmlDocument& doc, XmlNode parent) {
    WriteOptionRecord(doc, parent, L"Auxiliary", *this, kAuxiliaryFields);
}

void KVSWX_DocViewAuxiliaryOptionsImpl::ReadFromDocument(XmlDocument& doc,
                                                         const std::wstring& location) {
    ReplaceWithNew(arrowFont);
    ReplaceWithNew(labelFont);
    ReplaceWithNew(rotationFont);
    ReplaceWithNew(common);
    ReadOptionFields(doc, location, *this, kAuxiliaryFields);
}

KVSWX_DocViewAuxiliaryOptions::KVSWX_DocViewAuxiliaryOptions()
    : d_(std::make_unique<KVSWX_DocViewAuxiliaryOptionsImpl>()) {}
KVSWX_DocViewAuxiliaryOptions::~KVSWX_DocViewAuxiliaryOptions() = default;
I_Serializable* KVSWX_DocViewAuxiliaryOptions::GetImpl() const { return d_.get(); }
const AuxiliaryViewOptionsValues& KVSWX_DocViewAuxiliaryOptions::Values() const { return *d_; }
std::int32_t KVSWX_DocViewAuxiliaryOptions::GetAuxiliaryIndicator() const {
    return d_->auxiliaryIndicator;
}
const KVSWX_CommonViewOptions* KVSWX_DocViewAuxiliaryOptions::GetCommonViewOptions() const {
    return d_->common.get();
}
void KVSWX_DocViewAuxiliaryOptions::SetBaseAuxiliaryStandard(std::int32_t v) {
    d_->baseAuxiliaryStandard = v;
}
void KVSWX_DocViewAuxiliaryOptions::SetLineStyle(std::int32_t v) { d_->lineStyle = v; }
void KVSWX_DocViewAuxiliaryOptions::SetLineThickness(std::int32_t v) { d_->lineThickness = v; }
void KVSWX_DocViewAuxiliaryOptions::SetLineCustomThickness(double v) {
    d_->lineCustomThickness = v;
}
void KVSWX_DocViewAuxiliaryOptions::SetLabelOptionsSimplifiedOrDetail(bool v) {
    d_->labelOptionsSimplifiedOrDetail = v;
}
void KVSWX_DocViewAuxiliaryOptions::SetLabelOptionsLabel(std::int32_t v) {
    d_->labelOptionsLabel = v;
}
void KVSWX_DocViewAuxiliaryOptions::SetLabelOptionsRotation(std::int32_t v) {
    d_->labelOptionsRotation = v;
}
void KVSWX_DocViewAuxiliaryOptions::SetIsStacked(bool v) { d_->isStacked = v; }
void KVSWX_DocViewAuxiliaryOptions::SetRotateViewToBeHorizontalToSheet(bool v) {
    d_->rotateViewToBeHorizontalToSheet = v;
}
void KVSWX_DocViewAuxiliaryOptions::SetIsClockWise(bool v) { d_->isClockWise = v; }
void KVSWX_DocViewAuxiliaryOptions::SetAuxiliaryIndicator(std::int32_t v) {
    d_->auxiliaryIndicator = v;
}
KVSWX_TextFormat* KVSWX_DocViewAuxiliaryOptions::CreateAuxiliaryArrowFont() {
    return ReplaceWithNew(d_->arrowFont);
}
KVSWX_TextFormat* KVSWX_DocViewAuxiliaryOptions::CreateLabelOptionsLabelFont() {
    return ReplaceWithNew(d_->labelFont);
}
KVSWX_TextFormat* KVSWX_DocViewAuxiliaryOptions::CreateLabelOptionsRotationFont() {
    return ReplaceWithNew(d_->rotationFont);
}
KVSWX_CommonViewOptions* KVSWX_DocViewAuxiliaryOptions::CreateCommonViewOptions() {
    return ReplaceWithNew(d_->common);
}

// ---- "Projected" ------------------------------------------------------------

class KVSWX_DocViewProjectedOptionsImpl final : public LocatedSerializable {
public:
    std::unique_ptr<KVSWX_CommonViewOptions> common;

    void Write(XmlDocument& doc, XmlNode parent) override;
    void ReadFromDocument(XmlDocument& doc, const std::wstring& location) override;
};

namespace {
const auto kProjectedFields =
    std::make_tuple(Block(L"CommonViewOptions", &KVSWX_DocViewProjectedOptionsImpl::common));
}  // namespace

void KVSWX_DocViewProjectedOptionsImpl::Write(XmlDocument& doc, XmlNode parent) {
    WriteOptionRecord(doc, parent, L"Projected", *this, kProjectedFields);
}

void KVSWX_DocViewProjectedOptionsImpl::ReadFromDocument(XmlDocument& doc,
                                                         const std::wstring& location) {
    ReplaceWithNew(common);
    ReadOptionFields(doc, location, *this, kProjectedFields);
}

KVSWX_DocViewProjectedOptions::KVSWX_DocViewProjectedOptions()
    : d_(std::make_unique<KVSWX_DocViewProjectedOptionsImpl>()) {}
KVSWX_DocViewProjectedOptions::~KVSWX_DocViewProjectedOptions() = default;
I_Serializable* KVSWX_DocViewProjectedOptions::GetImpl() const { return d_.get(); }
const KVSWX_CommonViewOptions* KVSWX_DocViewProjectedOptions::GetCommonViewOptions() const {
    return d_->common.get();
}
KVSWX_CommonViewOptions* KVSWX_DocViewProjectedOptions::CreateCommonViewOptions() {
    return ReplaceWithNew(d_->common);
}

// ---- "Views" ----------------------------------------------------------------

class KVSWX_DocViewOptionsImpl final : public LocatedSerializable {
public:
    std::unique_ptr<KVSWX_DocViewAuxiliaryOptions> auxiliary;
    std::unique_ptr<KVSWX_DocViewDetailOptions> detail;
    std::unique_ptr<KVSWX_DocViewSectionOptions> section;
    std::unique_ptr<KVSWX_DocViewProjectedOptions> projected;

    void Write(XmlDocument& doc, XmlNode parent) override {
        XmlNode element = CreateChildElement(doc, parent, L"Views");
        if (detail) detail->GetImpl()->Write(doc, element);
        if (section) section->GetImpl()->Write(doc, element);
        if (auxiliary) auxiliary->GetImpl()->Write(doc, element);
        if (projected) projected->GetImpl()->Write(doc, element);
        CloseElement(doc, element);
    }

    void ReadFromDocument(XmlDocument& doc, const std::wstring& location) override {
        ReplaceWithNew(detail)->GetImpl()->ReadFromDocument(doc, AppendPath(location, L"/Detail"));
        ReplaceWithNew(section)->GetImpl()->ReadFromDocument(doc,
                                                             AppendPath(location, L"/Section"));
        ReplaceWithNew(auxiliary)->GetImpl()->ReadFromDocument(doc,
                                                               AppendPath(location, L"/Auxiliary"));
        ReplaceWithNew(projected)->GetImpl()->ReadFromDocument(doc,
                                                               AppendPath(location, L"/Projected"));
    }
};

KVSWX_DocViewOptions::KVSWX_DocViewOptions() : d_(std::make_unique<KVSWX_DocViewOptionsImpl>()) {}
KVSWX_DocViewOptions::~KVSWX_DocViewOptions() = default;
I_Serializable* KVSWX_DocViewOptions::GetImpl() const { return d_.get(); }
const KVSWX_DocViewDetailOptions* KVSWX_DocViewOptions::GetDetailOptions() const {
    return d_->detail.get();
}
const KVSWX_DocViewSectionOptions* KVSWX_DocViewOptions::GetSectionOptions() const {
    return d_->section.get();
}
const KVSWX_DocViewAuxiliaryOptions* KVSWX_DocViewOptions::GetAuxiliaryOptions() const {
    return d_->auxiliary.get();
}
const KVSWX_DocViewProjectedOptions* KVSWX_DocViewOptions::GetProjectedOptions() const {
    return d_->projected.get();
}
KVSWX_DocViewDetailOptions* KVSWX_DocViewOptions::CreateDetailOptions() {
    return ReplaceWithNew(d_->detail);
}
KVSWX_DocViewSectionOptions* KVSWX_DocViewOptions::CreateSectionOptions() {
    return ReplaceWithNew(d_->section);
}
KVSWX_DocViewAuxiliaryOptions* KVSWX_DocViewOptions::CreateAuxiliaryOptions() {
    return ReplaceWithNew(d_->auxiliary);
}
KVSWX_DocViewProjectedOptions* KVSWX_DocViewOptions::CreateProjectedOptions() {
    return ReplaceWithNew(d_->projected);
}

}  // namespace kvswx
