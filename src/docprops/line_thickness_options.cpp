#include "docprops/line_thickness_options.h"

#include "docprops/option_fields.h"

namespace kvswx {

namespace {

using LT = LineThicknessValues;
const auto kLineThicknessFields =
    std::make_tuple(Field(L"Thin", &LT::thin, kDouble), Field(L"Normal", &LT::normal, kDouble),
                    Field(L"Thick", &LT::thick, kDouble), Field(L"Thick2", &LT::thick2, kDouble),
                    Field(L"Thick3", &LT::thick3, kDouble), Field(L"Thick4", &LT::thick4, kDouble),
                    Field(L"Thick5", &LT::thick5, kDouble), Field(L"Thick6", &LT::thick6, kDouble));

}  // namespace

class KVSWX_DocLineThicknessOptionsImpl final : public LocatedSerializable {
public:
    LineThicknessValues v;

    void Write(XmlDocument& doc, XmlNode parent) override {
        XmlNode element = CreateChildElement(doc, parent, L"LineThickness");
        WriteFields(doc, element, v, kLineThicknessFields);
        CloseElement(doc, element);
    }

    void ReadFromDocument(XmlDocument& doc, const std::wstring& location) override {
        ReadOptionFields(doc, location, v, kLineThicknessFields);
    }
};

KVSWX_DocLineThicknessOptions::KVSWX_DocLineThicknessOptions()
    : d_(std::make_unique<KVSWX_DocLineThicknessOptionsImpl>()) {}
KVSWX_DocLineThicknessOptions::~KVSWX_DocLineThicknessOptions() = default;
I_Serializable* KVSWX_DocLineThicknessOptions::GetImpl() const { return d_.get(); }
const LineThicknessValues& KVSWX_DocLineThicknessOptions::Values() const { return d_->v; }
void KVSWX_DocLineThicknessOptions::SetThin(double v) { d_->v.thin = v; }
void KVSWX_DocLineThicknessOptions::SetNormal(double v) { d_->v.normal = v; }
void KVSWX_DocLineThicknessOptions::SetThick(double v) { d_->v.thick = v; }
void KVSWX_DocLineThicknessOptions::SetThick2(double v) { d_->v.thick2 = v; }
void KVSWX_DocLineThicknessOptions::SetThick3(double v) { d_->v.thick3 = v; }
void KVSWX_DocLineThicknessOptions::SetThick4(double v) { d_->v.thick4 = v; }
void KVSWX_DocLineThicknessOptions::SetThick5(double v) { d_->v.thick5 = v; }
void KVSWX_DocLineThicknessOptions::SetThick6(double v) { d_->v.thick6 = v; }

}  // namespace kvswx
