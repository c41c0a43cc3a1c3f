#include "docprops/text_format.h"

#include <tuple>

#include "model/fields.h"

namespace kvswx {

namespace {

using TF = TextFormatValues;
// The 16 children of a font element, in written order.
const auto kTextFormatFields = std::make_tuple(
    Field(L"IsBackWards", &TF::isBackWards, kBool), Field(L"IsBold", &TF::isBold, kBool),
    Field(L"CharHeight", &TF::charHeight, kDouble),
    Field(L"CharHeightInPoints", &TF::charHeightInPoints, kInt),
    Field(L"CharSpacingFactor", &TF::charSpacingFactor, kDouble),
    Field(L"Escapement", &TF::escapement, kDouble), Field(L"IsItalic", &TF::isItalic, kBool),
    Field(L"LineLength", &TF::lineLength, kDouble),
    Field(L"LineSpacing", &TF::lineSpacing, kDouble),
    Field(L"ObliqueAngle", &TF::obliqueAngle, kDouble),
    Field(L"IsStrikeOut", &TF::isStrikeOut, kBool),
    Field(L"TypeFaceName", &TF::typeFaceName, kText),
    Field(L"IsUnderline", &TF::isUnderline, kBool),
    Field(L"IsUpsideDown", &TF::isUpsideDown, kBool), Field(L"IsVertical", &TF::isVertical, kBool),
    Field(L"WidthFactor", &TF::widthFactor, kDouble));

}  // namespace

class KVSWX_TextFormatImpl final : public NodeSerializable {
public:
    TextFormatValues v;

    // Fills the owner's wrapper element and closes it.
    void Write(XmlDocument& doc, XmlNode wrapper) override {
        WriteFields(doc, wrapper, v, kTextFormatFields);
        CloseElement(doc, wrapper);
    }

    void ReadFromNode(XmlDocument&, XmlNode wrapper) override {
        ReadFieldChildren(v, kTextFormatFields, wrapper);
    }
};

KVSWX_TextFormat::KVSWX_TextFormat() : d_(std::make_unique<KVSWX_TextFormatImpl>()) {}
KVSWX_TextFormat::~KVSWX_TextFormat() = default;
I_Serializable* KVSWX_TextFormat::GetImpl() const { return d_.get(); }
const TextFormatValues& KVSWX_TextFormat::Values() const { return d_->v; }

void KVSWX_TextFormat::SetIsBackWards(bool v) { d_->v.isBackWards = v; }
void KVSWX_TextFormat::SetIsBold(bool v) { d_->v.isBold = v; }
void KVSWX_TextFormat::SetCharHeight(double v) { d_->v.charHeight = v; }
void KVSWX_TextFormat::SetCharHeightInPoints(std::int32_t v) { d_->v.charHeightInPoints = v; }
void KVSWX_TextFormat::SetCharSpacingFactor(double v) { d_->v.charSpacingFactor = v; }
void KVSWX_TextFormat::SetEscapement(double v) { d_->v.escapement = v; }
void KVSWX_TextFormat::SetIsItalic(bool v) { d_->v.isItalic = v; }
void KVSWX_TextFormat::SetLineLength(double v) { d_->v.lineLength = v; }
void KVSWX_TextFormat::SetLineSpacing(double v) { d_->v.lineSpacing = v; }
void KVSWX_TextFormat::SetObliqueAngle(double v) { d_->v.obliqueAngle = v; }
void KVSWX_TextFormat::SetIsStrikeOut(bool v) { d_->v.isStrikeOut = v; }
void KVSWX_TextFormat::SetTypeFaceName(const std::wstring& v) { d_->v.typeFaceName = v; }
void KVSWX_TextFormat::SetIsUnderline(bool v) { d_->v.isUnderline = v; }
void KVSWX_TextFormat::SetIsUpsideDown(bool v) { d_->v.isUpsideDown = v; }
void KVSWX_TextFormat::SetIsVertical(bool v) { d_->v.isVertical = v; }
void KVSWX_TextFormat::SetWidthFactor(double v) { d_->v.widthFactor = v; }

}  // namespace kvswx
