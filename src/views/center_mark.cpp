#include "views/center_mark.h"

#include <tuple>

#include "model/fields.h"

namespace kvswx {

namespace {

using CM = CenterMarkValues;
bool OwnSettings(const CM& v) { return !v.useDocumentDefaults; }

// The children of "CenterMark", in written order. The three settings of a
// mark's own are written only when it does not use the document defaults,
// and read whenever present.
const auto kCenterMarkFields = std::make_tuple(
    Field(L"UseDocumentDefaults", &CM::useDocumentDefaults, kBool),
    Field(L"MarkSize", &CM::markSize, kDouble).When(&OwnSettings),
    Field(L"ExtendedLines", &CM::extendedLines, kBool).When(&OwnSettings),
    Field(L"CenterlineFont", &CM::centerlineFont, kBool).When(&OwnSettings),
    Field(L"Angle", &CM::angle, kDouble), Field(L"Style", &CM::style, Enum(CenterMarkStyleNames)),
    Field(L"GroupCount", &CM::groupCount, kInt), Field(L"Position", &CM::position, kPoint3D),
    Field(L"CMLayer", &CM::cmLayer, kText));

}  // namespace

class KVSWX_CenterMarkImpl final : public NodeSerializable {
public:
    CenterMarkValues v;

    void Write(XmlDocument& doc, XmlNode list) override {
        XmlNode element = CreateChildElement(doc, list, L"CenterMark");
        WriteFields(doc, element, v, kCenterMarkFields);
        CloseElement(doc, element);
    }
    void ReadFromNode(XmlDocument&, XmlNode element) override {
        ReadFieldChildren(v, kCenterMarkFields, element);
    }
};

KVSWX_CenterMark::KVSWX_CenterMark() : d_(std::make_unique<KVSWX_CenterMarkImpl>()) {}
KVSWX_CenterMark::~KVSWX_CenterMark() = default;
I_Serializable* KVSWX_CenterMark::GetImpl() const { return d_.get(); }
const CenterMarkValues& KVSWX_CenterMark::Values() const { return d_->v; }
void KVSWX_CenterMark::SetUseDocumentDefaults(bool v) { d_->v.useDocumentDefaults = v; }
void KVSWX_CenterMark::SetMarkSize(double v) { d_->v.markSize = v; }
void KVSWX_CenterMark::SetExtendedLines(bool v) { d_->v.extendedLines = v; }
void KVSWX_CenterMark::SetCenterlineFont(bool v) { d_->v.centerlineFont = v; }
void KVSWX_CenterMark::SetAngle(double v) { d_->v.angle = v; }
void KVSWX_CenterMark::SetStyle(std::int32_t v) { d_->v.style = v; }
void KVSWX_CenterMark::SetGroupCount(std::int32_t v) { d_->v.groupCount = v; }
void KVSWX_CenterMark::SetPosition(const Point3& v) { d_->v.position = v; }
void KVSWX_CenterMark::SetCMLayer(const std::wstring& v) { d_->v.cmLayer = v; }

}  // namespace kvswx
