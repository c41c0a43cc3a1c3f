#include "docprops/view_options.h"

#include "docprops/option_fields.h"

namespace kvswx {

namespace {

// The sub-records the per-type records hold; the section and auxiliary
// records hold the same ones.
struct DetailSlots {
    std::unique_ptr<KVSWX_TextFormat> labelFont;
    std::unique_ptr<KVSWX_TextFormat> circleTextFont;
    std::unique_ptr<KVSWX_CommonViewOptions> common;
};
struct ArrowLabelSlots {
    std::unique_ptr<KVSWX_TextFormat> arrowFont;
    std::unique_ptr<KVSWX_TextFormat> labelFont;
    std::unique_ptr<KVSWX_TextFormat> rotationFont;
    std::unique_ptr<KVSWX_CommonViewOptions> common;
};
struct ProjectedSlots {
    std::unique_ptr<KVSWX_CommonViewOptions> common;
};
struct NoValues {};

constexpr wchar_t kDetail[] = L"Detail";
constexpr wchar_t kSection[] = L"Section";
constexpr wchar_t kAuxiliary[] = L"Auxiliary";
constexpr wchar_t kProjected[] = L"Projected";

using DS = DetailSlots;
using DV = DetailViewOptionsValues;
const auto kDetailFields = std::make_tuple(
    Font(L"DetaiCircleTextFont", &DS::circleTextFont),
    Font(L"LabelOptionsLabelFont", &DS::labelFont),
    Field(L"LineStyle", &DV::lineStyle, Enum(LineStyleNames)),
    Field(L"LineThickness", &DV::lineThickness, Enum(LineWeightNames)),
    Field(L"LineCustomThickness", &DV::lineCustomThickness, kDouble),
    Field(L"BorderStyle", &DV::borderStyle, Enum(LineStyleNames, kBorderStyleKey)),
    Field(L"BorderThickness", &DV::borderThickness, Enum(LineWeightNames, kBorderThicknessKey)),
    Field(L"BorderCustomThickness", &DV::borderCustomThickness, kDouble),
    Field(L"OverallDraftingStandard", &DV::overallDraftingStandard, Enum(DraftingStandardNames)),
    Field(L"UppercaseAll", &DV::uppercaseAll, kBool),
    Field(L"ExclusionList", &DV::exclusionList, kText), Field(L"IsStacked", &DV::isStacked, kBool),
    Block(L"CommonViewOptions", &DS::common));

using AL = ArrowLabelSlots;
using SV = SectionViewOptionsValues;
const auto kSectionFields = std::make_tuple(
    Field(L"BaseSectonStandard", &SV::baseSectonStandard, Enum(DraftingStandardNames)),
    Field(L"LineStyle", &SV::lineStyle, Enum(LineStyleNames)),
    Field(L"LineThickness", &SV::lineThickness, Enum(LineWeightNames)),
    Field(L"LineCustomThickness", &SV::lineCustomThickness, kDouble),
    Field(L"AlternativeDisplay", &SV::alternativeDisplay, kBool),
    Font(L"SectionArrowTextFont", &AL::arrowFont),
    Field(L"LabelOptionsLabel", &SV::labelOptionsLabel, Enum(ViewLabelLetterNames)),
    Font(L"LabelOptionsLabelFont", &AL::labelFont),
    Field(L"LabelOptionsRotation", &SV::labelOptionsRotation, Enum(ViewLabelRotationNames)),
    Font(L"LabelOptionsRotationFont", &AL::rotationFont),
    Field(L"IsStacked", &SV::isStacked, kBool),
    Field(L"SectionViewArrowWidht", &SV::sectionViewArrowWidht, kDouble),
    Field(L"SectionViewArrowHeadWidth", &SV::sectionViewArrowHeadWidth, kDouble),
    Field(L"SectionViewArrowHeadLength", &SV::sectionViewArrowHeadLength, kDouble),
    Field(L"IsScaleWithSectionViewArrowLetterHeight", &SV::isScaleWithSectionViewArrowLetterHeight,
          kBool),
    Field(L"ArrowStyle", &SV::arrowStyle, Enum(ArrowHeadStyleNames)),
    Field(L"HalfSectionStyle", &SV::halfSectionStyle, Enum(HalfSectionArrowNames)),
    Field(L"DisplayCuttingLineShoulders", &SV::displayCuttingLineShoulders, kBool),
    Block(L"CommonViewOptions", &AL::common));

using AV = AuxiliaryViewOptionsValues;
const auto kAuxiliaryFields = std::make_tuple(
    Field(L"BaseAuxiliaryStandard", &AV::baseAuxiliaryStandard, Enum(DraftingStandardNames)),
    Field(L"LineStyle", &AV::lineStyle, Enum(LineStyleNames)),
    Field(L"LineThickness", &AV::lineThickness, Enum(LineWeightNames)),
    Field(L"LineCustomThickness", &AV::lineCustomThickness, kDouble),
    Font(L"AuxiliaryArrowFont", &AL::arrowFont),
    Field(L"LabelOptionsSimplifiedOrDetail", &AV::labelOptionsSimplifiedOrDetail, kBool),
    Field(L"LabelOptionsLabel", &AV::labelOptionsLabel, Enum(ViewLabelLetterNames)),
    Font(L"LabelOptionsLabelFont", &AL::labelFont),
    Field(L"LabelOptionsRotation", &AV::labelOptionsRotation, Enum(ViewLabelRotationNames)),
    Font(L"LabelOptionsRotationFont", &AL::rotationFont),
    Field(L"IsStacked", &AV::isStacked, kBool),
    Field(L"RotateViewToBeHorizontalToSheet", &AV::rotateViewToBeHorizontalToSheet, kBool),
    Field(L"IsClockWise", &AV::isClockWise, kBool),
    Field(L"AuxiliaryIndicator", &AV::auxiliaryIndicator, Enum(ViewIndicationNames)),
    Block(L"CommonViewOptions", &AL::common));

const auto kProjectedFields = std::make_tuple(Block(L"CommonViewOptions", &ProjectedSlots::common));

// A per-type record: its element (`Element`) holds the list's
// entries in order and is then closed. Reading first replaces every
// sub-record with a fresh one, then reads the entries found at the location.
template <const wchar_t* Element, class Values, class Slots, const auto& Fields>
class ViewOptionsImplOf : public LocatedSerializable, public Values, public Slots {
public:
    void Write(XmlDocument& doc, XmlNode parent) override {
        XmlNode element = CreateChildElement(doc, parent, Element);
        WriteOptionFields(doc, element, *this, Fields);
        CloseElement(doc, element);
    }
    void ReadFromDocument(XmlDocument& doc, const std::wstring& location) override {
        ResetSubRecords(*this, Fields);
        ReadOptionFields(doc, location, *this, Fields);
    }
};

}  // namespace

class KVSWX_DocViewDetailOptionsImpl final
    : public ViewOptionsImplOf<kDetail, DV, DS, kDetailFields> {};
class KVSWX_DocViewSectionOptionsImpl final
    : public ViewOptionsImplOf<kSection, SV, AL, kSectionFields> {};
class KVSWX_DocViewAuxiliaryOptionsImpl final
    : public ViewOptionsImplOf<kAuxiliary, AV, AL, kAuxiliaryFields> {};
class KVSWX_DocViewProjectedOptionsImpl final
    : public ViewOptionsImplOf<kProjected, NoValues, ProjectedSlots, kProjectedFields> {};

// ---- handles ------------------------------------------------------------------

// What every per-type handle has: the record and its common label block.
#define KVSWX_VIEW_OPTIONS_HANDLE(Type)                                                         \
    KVSWX_DocView##Type##Options::KVSWX_DocView##Type##Options()                                \
        : d_(std::make_unique<KVSWX_DocView##Type##OptionsImpl>()) {}                           \
    KVSWX_DocView##Type##Options::~KVSWX_DocView##Type##Options() = default;                    \
    I_Serializable* KVSWX_DocView##Type##Options::GetImpl() const { return d_.get(); }          \
    const KVSWX_CommonViewOptions* KVSWX_DocView##Type##Options::GetCommonViewOptions() const { \
        return d_->common.get();                                                                \
    }                                                                                           \
    KVSWX_CommonViewOptions* KVSWX_DocView##Type##Options::CreateCommonViewOptions() {          \
        return ReplaceWithNew(d_->common);                                                      \
    }

// What the detail, section and auxiliary handles share: their values, the
// line and stacking scalars and the label font.
#define KVSWX_VIEW_OPTIONS_LINE(Type)                                                              \
    const Type##ViewOptionsValues& KVSWX_DocView##Type##Options::Values() const { return *d_; }    \
    void KVSWX_DocView##Type##Options::SetLineStyle(std::int32_t v) { d_->lineStyle = v; }         \
    void KVSWX_DocView##Type##Options::SetLineThickness(std::int32_t v) { d_->lineThickness = v; } \
    void KVSWX_DocView##Type##Options::SetLineCustomThickness(double v) {                          \
        d_->lineCustomThickness = v;                                                               \
    }                                                                                              \
    void KVSWX_DocView##Type##Options::SetIsStacked(bool v) { d_->isStacked = v; }                 \
    KVSWX_TextFormat* KVSWX_DocView##Type##Options::CreateLabelOptionsLabelFont() {                \
        return ReplaceWithNew(d_->labelFont);                                                      \
    }

// What the section and auxiliary handles share besides: the label letter
// and rotation with the rotation's font.
#define KVSWX_VIEW_OPTIONS_LABEL(Type)                                                 \
    void KVSWX_DocView##Type##Options::SetLabelOptionsLabel(std::int32_t v) {          \
        d_->labelOptionsLabel = v;                                                     \
    }                                                                                  \
    void KVSWX_DocView##Type##Options::SetLabelOptionsRotation(std::int32_t v) {       \
        d_->labelOptionsRotation = v;                                                  \
    }                                                                                  \
    KVSWX_TextFormat* KVSWX_DocView##Type##Options::CreateLabelOptionsRotationFont() { \
        return ReplaceWithNew(d_->rotationFont);                                       \
    }

KVSWX_VIEW_OPTIONS_HANDLE(Detail)
KVSWX_VIEW_OPTIONS_HANDLE(Section)
KVSWX_VIEW_OPTIONS_HANDLE(Auxiliary)
KVSWX_VIEW_OPTIONS_HANDLE(Projected)
KVSWX_VIEW_OPTIONS_LINE(Detail)
KVSWX_VIEW_OPTIONS_LINE(Section)
KVSWX_VIEW_OPTIONS_LINE(Auxiliary)
KVSWX_VIEW_OPTIONS_LABEL(Section)
KVSWX_VIEW_OPTIONS_LABEL(Auxiliary)

#undef KVSWX_VIEW_OPTIONS_HANDLE
#undef KVSWX_VIEW_OPTIONS_LINE
#undef KVSWX_VIEW_OPTIONS_LABEL

// ---- "Detail" ---------------------------------------------------------------

std::int32_t KVSWX_DocViewDetailOptions::GetLineThickness() const { return d_->lineThickness; }
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
KVSWX_TextFormat* KVSWX_DocViewDetailOptions::CreateDetaiCircleTextFont() {
    return ReplaceWithNew(d_->circleTextFont);
}

// ---- "Section" --------------------------------------------------------------

void KVSWX_DocViewSectionOptions::SetBaseSectonStandard(std::int32_t v) {
    d_->baseSectonStandard = v;
}
void KVSWX_DocViewSectionOptions::SetAlternativeDisplay(bool v) { d_->alternativeDisplay = v; }
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
    return ReplaceWithNew(d_->arrowFont);
}

// ---- "Auxiliary" ------------------------------------------------------------

std::int32_t KVSWX_DocViewAuxiliaryOptions::GetAuxiliaryIndicator() const {
    return d_->auxiliaryIndicator;
}
void KVSWX_DocViewAuxiliaryOptions::SetBaseAuxiliaryStandard(std::int32_t v) {
    d_->baseAuxiliaryStandard = v;
}
void KVSWX_DocViewAuxiliaryOptions::SetLabelOptionsSimplifiedOrDetail(bool v) {
    d_->labelOptionsSimplifiedOrDetail = v;
}
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
