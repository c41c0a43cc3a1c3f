#include "containers/sheet_objects.h"

#include <tuple>

#include "model/enum_names.h"
#include "model/fields.h"

namespace kvswx {

namespace {

constexpr wchar_t kHexDigits[] = L"0123456789ABCDEF";

int NibbleOf(wchar_t c) { return c < L':' ? static_cast<int>(c) - L'0' : static_cast<int>(c) - 55; }

struct HexBytesKind {
    std::wstring Format(const ByteList& v) const { return FormatHexBytes(v); }
    void Parse(ByteList& v, std::wstring_view t) const { v = ParseHexBytes(t); }
};
struct PixelMapKind {
    std::wstring Format(const PixelList& v) const { return FormatPixelMap(v); }
    void Parse(PixelList& v, std::wstring_view t) const { v = ParsePixelMap(t); }
};

using OV = OLEObjectValues;
const auto kOLEObjectFields = std::make_tuple(
    Field(L"Aspect", &OV::aspect, Enum(OleAspectNames)),
    Field(L"Boundaries", &OV::boundaries, kDoubleList),
    Field(L"Buffer", &OV::buffer, HexBytesKind{}), Field(L"CLSID", &OV::clsid, kText),
    Field(L"FileName", &OV::fileName, kText), Field(L"IsLinked", &OV::isLinked, kBool));

using SV = SketchPictureValues;
const auto kSketchPictureFields = std::make_tuple(
    Field(L"X", &SV::x, kDouble), Field(L"Y", &SV::y, kDouble),
    Field(L"Box", &SV::box, kDoubleList), Field(L"Angle", &SV::angle, kDouble),
    Field(L"IsFlipped", &SV::isFlipped, kBool), Field(L"Width", &SV::width, kInt),
    Field(L"Height", &SV::height, kInt), Field(L"PixelMap", &SV::pixelMap, PixelMapKind{}));

}  // namespace

std::wstring FormatHexBytes(const ByteList& bytes) {
    std::wstring out;
    out.reserve(bytes.size() * 2);
    for (const std::uint8_t b : bytes) {
        out += kHexDigits[b & 0x0F];
        out += kHexDigits[b >> 4];
    }
    return out;
}

ByteList ParseHexBytes(std::wstring_view text) {
    ByteList out(text.size() / 2);
    for (std::size_t i = 0; i < out.size(); ++i) {
        const int low = NibbleOf(text[2 * i]);
        const int high = NibbleOf(text[2 * i + 1]);
        out[i] = static_cast<std::uint8_t>(static_cast<unsigned>(low) +
                                           (static_cast<unsigned>(high) << 4));
    }
    return out;
}

std::wstring FormatPixelMap(const PixelList& pixels) {
    std::wstring out;
    for (std::size_t i = 0; i < pixels.size(); ++i) {
        if (i != 0) out += L' ';
        out += FormatInt(pixels[i]);
    }
    return out;
}

PixelList ParsePixelMap(std::wstring_view text) {
    PixelList out;
    std::size_t i = 0;
    while (i < text.size()) {
        while (i < text.size() && text[i] == L' ') ++i;
        if (i == text.size()) break;
        std::size_t j = i;
        while (j < text.size() && text[j] != L' ') ++j;
        out.push_back(static_cast<std::int16_t>(ParseInt(text.substr(i, j - i))));
        i = j;
    }
    return out;
}

// ---- records -----------------------------------------------------------------

// A record of scalars only: its fields are the children of the element the
// sheet passes in.
template <class Values, const auto& Fields>
class SheetObjectImplOf : public NodeSerializable {
public:
    Values v;
    void Write(XmlDocument& doc, XmlNode element) override { WriteFields(doc, element, v, Fields); }
    void ReadFromNode(XmlDocument&, XmlNode element) override {
        ReadFieldChildren(v, Fields, element);
    }
};

class KVSWX_OLEObjectImpl final : public SheetObjectImplOf<OLEObjectValues, kOLEObjectFields> {};
class KVSWX_SketchPictureImpl final
    : public SheetObjectImplOf<SketchPictureValues, kSketchPictureFields> {};

#define KVSWX_SHEET_OBJECT_HANDLE(Name)                                          \
    KVSWX_##Name::KVSWX_##Name() : d_(std::make_unique<KVSWX_##Name##Impl>()) {} \
    KVSWX_##Name::~KVSWX_##Name() = default;                                     \
    I_Serializable* KVSWX_##Name::GetImpl() const { return d_.get(); }           \
    const Name##Values& KVSWX_##Name::Values() const { return d_->v; }

KVSWX_SHEET_OBJECT_HANDLE(OLEObject)
KVSWX_SHEET_OBJECT_HANDLE(SketchPicture)

#undef KVSWX_SHEET_OBJECT_HANDLE

void KVSWX_OLEObject::SetAspect(std::int32_t v) { d_->v.aspect = v; }
void KVSWX_OLEObject::SetBoundaries(const DoubleList& v) { d_->v.boundaries = v; }
void KVSWX_OLEObject::SetBuffer(const ByteList& v) { d_->v.buffer = v; }
void KVSWX_OLEObject::SetCLSID(const std::wstring& v) { d_->v.clsid = v; }
void KVSWX_OLEObject::SetFileName(const std::wstring& v) { d_->v.fileName = v; }
void KVSWX_OLEObject::SetIsLinked(bool v) { d_->v.isLinked = v; }
const std::wstring& KVSWX_OLEObject::GetFileName() const { return d_->v.fileName; }
bool KVSWX_OLEObject::GetIsLinked() const { return d_->v.isLinked; }

void KVSWX_SketchPicture::SetX(double v) { d_->v.x = v; }
void KVSWX_SketchPicture::SetY(double v) { d_->v.y = v; }
void KVSWX_SketchPicture::SetBox(const DoubleList& v) { d_->v.box = v; }
void KVSWX_SketchPicture::SetAngle(double v) { d_->v.angle = v; }
void KVSWX_SketchPicture::SetIsFlipped(bool v) { d_->v.isFlipped = v; }
void KVSWX_SketchPicture::SetWidth(std::int32_t v) { d_->v.width = v; }
void KVSWX_SketchPicture::SetHeight(std::int32_t v) { d_->v.height = v; }
void KVSWX_SketchPicture::SetPixelMap(const PixelList& v) { d_->v.pixelMap = v; }

}  // namespace kvswx
