#include "views/base_view.h"

#include <tuple>

#include "model/fields.h"

namespace kvswx {

namespace {

bool IsDetailView(const BaseViewValues& v) { return v.type == 3; }

using V = BaseViewValues;
// The scalar children of "view", in written order.
const auto kBaseViewFields = std::make_tuple(
    Field(L"Type", &V::type, Enum(ViewTypeNames)),
    Field(L"Position", &V::position, kPoint2D),
    Field(L"ReferencedDocument", &V::referencedDocument, kText),
    Field(L"ReferencedConifguration", &V::referencedConfiguration, kText),
    Field(L"RefDocIndex", &V::refDocIndex, kInt),
    Field(L"Scale", &V::scale, kPoint2D),
    Field(L"Aligment", &V::alignment, Enum(ViewAlignmentNames)),
    Field(L"DisplayTangents", &V::displayTangents, Enum(TangentEdgeDisplayNames)),
    Field(L"DisplayMode", &V::displayMode, Enum(DisplayModeNames)),
    Field(L"ParentView", &V::parentView, kText),
    Field(L"Layer", &V::layer, kText),
    Field(L"Angle", &V::angle, kDouble),
    Field(L"ModelToViewTransform", &V::modelToViewTransform, kTransform),
    Field(L"IsVisible", &V::isVisible, kBool),
    Field(L"IsBroken", &V::isBroken, kBool),
    Field(L"IsFullOutline", &V::isFullOutline, kBool).When(&IsDetailView),
    Field(L"ShowHiddenEdgesInShadedMode", &V::showHiddenEdgesInShadedMode, kBool),
    Field(L"IsCropped", &V::isCropped, kBool));

}  // namespace

class KVSWX_BaseViewImpl : public LocatedSerializable {
public:
    BaseViewValues v;

    void Write(XmlDocument& doc, XmlNode view) override { WriteFields(doc, view, v, kBaseViewFields); }

    void ReadFromDocument(XmlDocument& doc, const std::wstring& location) override {
        for (const XmlNode& node : doc.SelectNodes(AppendPath(location, L"/*"))) {
            ReadField(v, kBaseViewFields, node.Name(), GetNodeText(node));
        }
    }
};

KVSWX_BaseView::KVSWX_BaseView() : d_(std::make_unique<KVSWX_BaseViewImpl>()) {}
KVSWX_BaseView::~KVSWX_BaseView() = default;
I_Serializable* KVSWX_BaseView::GetImpl() const { return d_.get(); }
const BaseViewValues& KVSWX_BaseView::Values() const { return d_->v; }

void KVSWX_BaseView::SetName(const std::wstring& v) { d_->v.name = v; }
void KVSWX_BaseView::SetSecondName(const std::wstring& v) { d_->v.secondName = v; }
void KVSWX_BaseView::SetInvName(const std::wstring& v) { d_->v.invName = v; }
const std::wstring& KVSWX_BaseView::GetName() const { return d_->v.name; }
const std::wstring& KVSWX_BaseView::GetSecondName() const { return d_->v.secondName; }
const std::wstring& KVSWX_BaseView::GetInvName() const { return d_->v.invName; }
const std::wstring& KVSWX_BaseView::GetLayer() const { return d_->v.layer; }

void KVSWX_BaseView::SetType(std::int32_t v) { d_->v.type = v; }
void KVSWX_BaseView::SetPosition(double x, double y) { d_->v.position = {x, y}; }
void KVSWX_BaseView::SetReferencedDocument(const std::wstring& v) { d_->v.referencedDocument = v; }
void KVSWX_BaseView::SetReferencedConfiguration(const std::wstring& v) { d_->v.referencedConfiguration = v; }
void KVSWX_BaseView::SetRefDocIndex(std::int32_t v) { d_->v.refDocIndex = v; }
void KVSWX_BaseView::SetScale(double first, double second) { d_->v.scale = {first, second}; }
void KVSWX_BaseView::SetAlignment(std::int32_t v) { d_->v.alignment = v; }
void KVSWX_BaseView::SetDisplayTangents(std::int32_t v) { d_->v.displayTangents = v; }
void KVSWX_BaseView::SetDisplayMode(std::int32_t v) { d_->v.displayMode = v; }
void KVSWX_BaseView::SetParentView(const std::wstring& v) { d_->v.parentView = v; }
void KVSWX_BaseView::SetLayer(const std::wstring& v) { d_->v.layer = v; }
void KVSWX_BaseView::SetAngle(double v) { d_->v.angle = v; }
void KVSWX_BaseView::SetModelToViewTransform(const Transform16& v) { d_->v.modelToViewTransform = v; }
void KVSWX_BaseView::SetIsVisible(bool v) { d_->v.isVisible = v; }
void KVSWX_BaseView::SetIsBroken(bool v) { d_->v.isBroken = v; }
void KVSWX_BaseView::SetIsFullOutline(bool v) { d_->v.isFullOutline = v; }
void KVSWX_BaseView::SetShowHiddenEdgesInShadedMode(bool v) { d_->v.showHiddenEdgesInShadedMode = v; }
void KVSWX_BaseView::SetIsCropped(bool v) { d_->v.isCropped = v; }

}  // namespace kvswx
