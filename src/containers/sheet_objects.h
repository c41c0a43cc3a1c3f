// The objects a sheet carries besides its views: embedded or linked OLE
// objects and raster sketch pictures. The sheet writes the wrapper elements
// ("OLEObjects"/"OLEObject", "SketchPictures"/"SketchPicture") and passes the
// inner element to Write; each record writes its scalars as children of it
// and reads them back from that element (ReadFromNode).
#pragma once

#include <cstdint>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "model/encodings.h"
#include "model/serializable.h"

namespace kvswx {

using ByteList = std::vector<std::uint8_t>;
using PixelList = std::vector<std::int16_t>;

// Two upper-case hexadecimal digits per byte, the low nibble first, no
// separators: 0x1F gives "F1", 0xA0 gives "0A"; nothing for no bytes.
std::wstring FormatHexBytes(const ByteList& bytes);
// The inverse of FormatHexBytes: half the text's length gives the byte
// count (a last odd character is ignored); of each pair the first character
// is the low nibble, the second the high one. A character below ':' counts
// its distance from '0', any other its code minus 55 ('A' to 'F' give 10 to
// 15), so only the upper-case digits FormatHexBytes writes read back right.
ByteList ParseHexBytes(std::wstring_view text);
// Each value as a signed integer, single spaces between them.
std::wstring FormatPixelMap(const PixelList& pixels);
// One value per token separated by spaces (ParseInt), kept as 16 bits.
PixelList ParsePixelMap(std::wstring_view text);

struct OLEObjectValues {
    std::int32_t aspect = 0;
    DoubleList boundaries;
    ByteList buffer;
    std::wstring clsid;
    std::wstring fileName;
    bool isLinked = false;
};

struct SketchPictureValues {
    double x = 0.0;
    double y = 0.0;
    DoubleList box;
    double angle = 0.0;
    bool isFlipped = false;
    std::int32_t width = 0;
    std::int32_t height = 0;
    PixelList pixelMap;
};

class KVSWX_OLEObjectImpl;
class KVSWX_SketchPictureImpl;

// "Aspect" (with "AspectStringValue"), "Boundaries", "Buffer", "CLSID",
// "FileName", "IsLinked".
class KVSWX_OLEObject {
public:
    KVSWX_OLEObject();
    virtual ~KVSWX_OLEObject();
    KVSWX_OLEObject(const KVSWX_OLEObject&) = delete;
    KVSWX_OLEObject& operator=(const KVSWX_OLEObject&) = delete;

    I_Serializable* GetImpl() const;
    const OLEObjectValues& Values() const;

    void SetAspect(std::int32_t v);
    void SetBoundaries(const DoubleList& v);
    void SetBuffer(const ByteList& v);
    void SetCLSID(const std::wstring& v);
    void SetFileName(const std::wstring& v);
    void SetIsLinked(bool v);
    const std::wstring& GetFileName() const;
    bool GetIsLinked() const;

private:
    std::unique_ptr<KVSWX_OLEObjectImpl> d_;
};

// "X", "Y", "Box", "Angle", "IsFlipped", "Width", "Height", "PixelMap".
class KVSWX_SketchPicture {
public:
    KVSWX_SketchPicture();
    virtual ~KVSWX_SketchPicture();
    KVSWX_SketchPicture(const KVSWX_SketchPicture&) = delete;
    KVSWX_SketchPicture& operator=(const KVSWX_SketchPicture&) = delete;

    I_Serializable* GetImpl() const;
    const SketchPictureValues& Values() const;

    void SetX(double v);
    void SetY(double v);
    void SetBox(const DoubleList& v);
    void SetAngle(double v);
    void SetIsFlipped(bool v);
    void SetWidth(std::int32_t v);
    void SetHeight(std::int32_t v);
    void SetPixelMap(const PixelList& v);

private:
    std::unique_ptr<KVSWX_SketchPictureImpl> d_;
};

}  // namespace kvswx
