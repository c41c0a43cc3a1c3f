#include "views/hatch.h"

#include <tuple>

#include "model/fields.h"

namespace kvswx {

namespace {

using FH = FaceHatchValues;
const auto kFaceHatchFields = std::make_tuple(
    Field(L"Angle", &FH::angle, kDouble), Field(L"Color", &FH::color, kInt),
    Field(L"Definition", &FH::definition, kText), Field(L"Pattern", &FH::pattern, kText),
    Field(L"PatternId", &FH::patternId, kInt), Field(L"Scale", &FH::scale, kDouble),
    Field(L"SolidFill", &FH::solidFill, kBool),
    Field(L"UseMaterialHatch", &FH::useMaterialHatch, kBool));

using SH = SketchHatchValues;
const auto kSketchHatchFields = std::make_tuple(
    Field(L"Angle", &SH::angle, kDouble), Field(L"Color", &SH::color, kInt),
    Field(L"Pattern", &SH::pattern, kText), Field(L"PatternId", &SH::patternId, kInt),
    Field(L"Scale", &SH::scale, kDouble), Field(L"SolidFill", &SH::solidFill, kBool));

// A record that writes one element holding its fields and reads them back
// from that element's children.
template <class Values, const auto& kFields>
class FieldRecord : public NodeSerializable {
public:
    explicit FieldRecord(const wchar_t* element) : element_(element) {}
    Values v;

    void Write(XmlDocument& doc, XmlNode list) override {
        XmlNode element = CreateChildElement(doc, list, element_);
        WriteFields(doc, element, v, kFields);
        CloseElement(doc, element);
    }
    void ReadFromNode(XmlDocument&, XmlNode element) override {
        ReadFieldChildren(v, kFields, element);
    }

private:
    const wchar_t* element_;
};

}  // namespace

class KVSWX_FaceHatchImpl final : public FieldRecord<FaceHatchValues, kFaceHatchFields> {
public:
    KVSWX_FaceHatchImpl() : FieldRecord(L"FaceHatch") {}
};

class KVSWX_SketchHatchImpl final : public FieldRecord<SketchHatchValues, kSketchHatchFields> {
public:
    KVSWX_SketchHatchImpl() : FieldRecord(L"SketchHatch") {}
};

KVSWX_FaceHatch::KVSWX_FaceHatch() : d_(std::make_unique<KVSWX_FaceHatchImpl>()) {}
KVSWX_FaceHatch::~KVSWX_FaceHatch() = default;
I_Serializable* KVSWX_FaceHatch::GetImpl() const { return d_.get(); }
const FaceHatchValues& KVSWX_FaceHatch::Values() const { return d_->v; }
void KVSWX_FaceHatch::SetAngle(double v) { d_->v.angle = v; }
void KVSWX_FaceHatch::SetColor(std::int32_t v) { d_->v.color = v; }
void KVSWX_FaceHatch::SetDefinition(const std::wstring& v) { d_->v.definition = v; }
void KVSWX_FaceHatch::SetPattern(const std::wstring& v) { d_->v.pattern = v; }
void KVSWX_FaceHatch::SetPatternId(std::int32_t v) { d_->v.patternId = v; }
void KVSWX_FaceHatch::SetScale(double v) { d_->v.scale = v; }
void KVSWX_FaceHatch::SetSolidFill(bool v) { d_->v.solidFill = v; }
void KVSWX_FaceHatch::SetUseMaterialHatch(bool v) { d_->v.useMaterialHatch = v; }

KVSWX_SketchHatch::KVSWX_SketchHatch() : d_(std::make_unique<KVSWX_SketchHatchImpl>()) {}
KVSWX_SketchHatch::~KVSWX_SketchHatch() = default;
I_Serializable* KVSWX_SketchHatch::GetImpl() const { return d_.get(); }
const SketchHatchValues& KVSWX_SketchHatch::Values() const { return d_->v; }
void KVSWX_SketchHatch::SetAngle(double v) { d_->v.angle = v; }
void KVSWX_SketchHatch::SetColor(std::int32_t v) { d_->v.color = v; }
void KVSWX_SketchHatch::SetPattern(const std::wstring& v) { d_->v.pattern = v; }
void KVSWX_SketchHatch::SetPatternId(std::int32_t v) { d_->v.patternId = v; }
void KVSWX_SketchHatch::SetScale(double v) { d_->v.scale = v; }
void KVSWX_SketchHatch::SetSolidFill(bool v) { d_->v.solidFill = v; }

}  // namespace kvswx
