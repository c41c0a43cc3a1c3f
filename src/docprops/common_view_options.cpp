#include "docprops/common_view_options.h"

#include "docprops/option_fields.h"

namespace kvswx {

class KVSWX_CommonViewOptionsImpl final : public LocatedSerializable,
                                          public CommonViewOptionsValues {
public:
    std::unique_ptr<KVSWX_TextFormat> nameFont;
    std::unique_ptr<KVSWX_TextFormat> scaleFont;
    std::unique_ptr<KVSWX_TextFormat> delimiterFont;

    void Write(XmlDocument& doc, XmlNode element) override;
    void ReadFromDocument(XmlDocument& doc, const std::wstring& location) override;
};

namespace {

using C = KVSWX_CommonViewOptionsImpl;
using CV = CommonViewOptionsValues;
// The children of "CommonViewOptions", in written order.
const auto kCommonFields = std::make_tuple(
    Field(L"DetailingStandard", &CV::detailingStandard, Enum(DraftingStandardNames)),
    Field(L"DetailingPerStandard", &CV::detailingPerStandard, kBool),
    Field(L"LabelOptionsName", &CV::labelOptionsName, Enum(ViewLabelNameNames)),
    Field(L"LabelOptionsCustom", &CV::labelOptionsCustom, kText),
    Font(L"LabelOptionsNameFont", &C::nameFont),
    Field(L"LabelOptionsScale", &CV::labelOptionsScale, Enum(ViewLabelScaleNames)),
    Field(L"LabelOptionsScaleCustom", &CV::labelOptionsScaleCustom, kText),
    Font(L"LabelOptionsScaleFont", &C::scaleFont),
    Field(L"LabelOptionsDelimiter", &CV::labelOptionsDelimiter, Enum(ViewLabelDelimiterNames)),
    Field(L"LabelOptionsDelimiterCustom", &CV::labelOptionsDelimiterCustom, kText),
    Font(L"LabelOptionsDelimiterFont", &C::delimiterFont),
    Field(L"LabelOptionsRemoveSpaceInScaleAroundColon",
          &CV::labelOptionsRemoveSpaceInScaleAroundColon, kBool),
    Field(L"DisplayLabelAboveView", &CV::displayLabelAboveView, kBool));

}  // namespace

void KVSWX_CommonViewOptionsImpl::Write(XmlDocument& doc, XmlNode element) {
    WriteOptionFields(doc, element, *this, kCommonFields);
}

void KVSWX_CommonViewOptionsImpl::ReadFromDocument(XmlDocument& doc, const std::wstring& location) {
    ReplaceWithNew(nameFont);
    ReplaceWithNew(scaleFont);
    ReplaceWithNew(delimiterFont);
    ReadOptionFields(doc, location, *this, kCommonFields);
}

KVSWX_CommonViewOptions::KVSWX_CommonViewOptions()
    : d_(std::make_unique<KVSWX_CommonViewOptionsImpl>()) {}
KVSWX_CommonViewOptions::~KVSWX_CommonViewOptions() = default;
I_Serializable* KVSWX_CommonViewOptions::GetImpl() const { return d_.get(); }
const CommonViewOptionsValues& KVSWX_CommonViewOptions::Values() const { return *d_; }
const KVSWX_TextFormat* KVSWX_CommonViewOptions::GetLabelOptionsNameFont() const {
    return d_->nameFont.get();
}
const KVSWX_TextFormat* KVSWX_CommonViewOptions::GetLabelOptionsScaleFont() const {
    return d_->scaleFont.get();
}
const KVSWX_TextFormat* KVSWX_CommonViewOptions::GetLabelOptionsDelimiterFont() const {
    return d_->delimiterFont.get();
}

void KVSWX_CommonViewOptions::SetDetailingStandard(std::int32_t v) { d_->detailingStandard = v; }
void KVSWX_CommonViewOptions::SetDetailingPerStandard(bool v) { d_->detailingPerStandard = v; }
void KVSWX_CommonViewOptions::SetLabelOptionsName(std::int32_t v) { d_->labelOptionsName = v; }
void KVSWX_CommonViewOptions::SetLabelOptionsCustom(const std::wstring& v) {
    d_->labelOptionsCustom = v;
}
void KVSWX_CommonViewOptions::SetLabelOptionsScale(std::int32_t v) { d_->labelOptionsScale = v; }
void KVSWX_CommonViewOptions::SetLabelOptionsScaleCustom(const std::wstring& v) {
    d_->labelOptionsScaleCustom = v;
}
void KVSWX_CommonViewOptions::SetLabelOptionsDelimiter(std::int32_t v) {
    d_->labelOptionsDelimiter = v;
}
void KVSWX_CommonViewOptions::SetLabelOptionsDelimiterCustom(const std::wstring& v) {
    d_->labelOptionsDelimiterCustom = v;
}
void KVSWX_CommonViewOptions::SetLabelOptionsRemoveSpaceInScaleAroundColon(bool v) {
    d_->labelOptionsRemoveSpaceInScaleAroundColon = v;
}
void KVSWX_CommonViewOptions::SetDisplayLabelAboveView(bool v) { d_->displayLabelAboveView = v; }
KVSWX_TextFormat* KVSWX_CommonViewOptions::CreateLabelOptionsNameFont() {
    return ReplaceWithNew(d_->nameFont);
}
KVSWX_TextFormat* KVSWX_CommonViewOptions::CreateLabelOptionsScaleFont() {
    return ReplaceWithNew(d_->scaleFont);
}
KVSWX_TextFormat* KVSWX_CommonViewOptions::CreateLabelOptionsDelimiterFont() {
    return ReplaceWithNew(d_->delimiterFont);
}

}  // namespace kvswx
