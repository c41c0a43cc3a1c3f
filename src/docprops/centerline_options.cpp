#include "docprops/centerline_options.h"

#include "docprops/option_fields.h"

namespace kvswx {

namespace {

using CL = CenterlineOptionsValues;
const auto kCenterlineFields = std::make_tuple(
    Field(L"CenterlineExtension", &CL::centerlineExtension, kDouble),
    Field(L"CenterMarkSize", &CL::centerMarkSize, kDouble),
    Field(L"CenterMarkShowLines", &CL::centerMarkShowLines, kBool),
    Field(L"CenterMarkUseCenterLine", &CL::centerMarkUseCenterLine, kBool),
    Field(L"LineMarkOrient", &CL::lineMarkOrient, Enum(CenterLineMarkOrientNames)),
    Field(L"CenterLineMarkLinear", &CL::centerLineMarkLinear, kBool),
    Field(L"CenterLineMarkEndsOnlyLinear", &CL::centerLineMarkEndsOnlyLinear, kBool),
    Field(L"CenterLineMarkCircular", &CL::centerLineMarkCircular, kBool),
    Field(L"CenterLineMarkEndsOnlyCircular", &CL::centerLineMarkEndsOnlyCircular, kBool));

}  // namespace

class KVSWX_DocCenterlinesCenterMarksOptionsImpl final : public LocatedSerializable {
public:
    CenterlineOptionsValues v;

    void Write(XmlDocument& doc, XmlNode parent) override {
        XmlNode element = CreateChildElement(doc, parent, L"CenterlinesCenterMarks");
        WriteFields(doc, element, v, kCenterlineFields);
        CloseElement(doc, element);
    }

    void ReadFromDocument(XmlDocument& doc, const std::wstring& location) override {
        ReadOptionFields(doc, location, v, kCenterlineFields);
    }
};

KVSWX_DocCenterlinesCenterMarksOptions::KVSWX_DocCenterlinesCenterMarksOptions()
    : d_(std::make_unique<KVSWX_DocCenterlinesCenterMarksOptionsImpl>()) {}
KVSWX_DocCenterlinesCenterMarksOptions::~KVSWX_DocCenterlinesCenterMarksOptions() = default;
I_Serializable* KVSWX_DocCenterlinesCenterMarksOptions::GetImpl() const { return d_.get(); }
const CenterlineOptionsValues& KVSWX_DocCenterlinesCenterMarksOptions::Values() const {
    return d_->v;
}
void KVSWX_DocCenterlinesCenterMarksOptions::SetCenterlineExtension(double v) {
    d_->v.centerlineExtension = v;
}
void KVSWX_DocCenterlinesCenterMarksOptions::SetCenterMarkSize(double v) {
    d_->v.centerMarkSize = v;
}
void KVSWX_DocCenterlinesCenterMarksOptions::SetCenterMarkShowLines(bool v) {
    d_->v.centerMarkShowLines = v;
}
void KVSWX_DocCenterlinesCenterMarksOptions::SetCenterMarkUseCenterLine(bool v) {
    d_->v.centerMarkUseCenterLine = v;
}
void KVSWX_DocCenterlinesCenterMarksOptions::SetLineMarkOrient(std::int32_t v) {
    d_->v.lineMarkOrient = v;
}
void KVSWX_DocCenterlinesCenterMarksOptions::SetCenterLineMarkLinear(bool v) {
    d_->v.centerLineMarkLinear = v;
}
void KVSWX_DocCenterlinesCenterMarksOptions::SetCenterLineMarkEndsOnlyLinear(bool v) {
    d_->v.centerLineMarkEndsOnlyLinear = v;
}
void KVSWX_DocCenterlinesCenterMarksOptions::SetCenterLineMarkCircular(bool v) {
    d_->v.centerLineMarkCircular = v;
}
void KVSWX_DocCenterlinesCenterMarksOptions::SetCenterLineMarkEndsOnlyCircular(bool v) {
    d_->v.centerLineMarkEndsOnlyCircular = v;
}

}  // namespace kvswx
