// The two text encodings of OLE objects and sketch pictures. The
// sheet_objects examples pin the objects' place in the sheet, their empty
// values and their reading back.
#include "containers/sheet_objects.h"

#include <gtest/gtest.h>

#include <string>

namespace kvswx {
namespace {

TEST(SheetObjects, HexBytesLowNibbleFirst) {
    const struct {
        ByteList bytes;
        const wchar_t* text;
    } cases[] = {
        {{0x00, 0xFF, 0x1F}, L"00FFF1"},
        {{0xA0}, L"0A"},
        {{0x12, 0x9C}, L"21C9"},
        {{}, L""},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(FormatHexBytes(c.bytes), c.text);
        EXPECT_EQ(ParseHexBytes(c.text), c.bytes) << std::wstring(c.text).size();
    }
    ByteList all;
    for (int b = 0; b < 256; ++b) all.push_back(static_cast<std::uint8_t>(b));
    EXPECT_EQ(ParseHexBytes(FormatHexBytes(all)), all);
    // Half the length counts: a last odd digit is dropped.
    EXPECT_EQ(ParseHexBytes(L"F1A"), (ByteList{0x1F}));
}

TEST(SheetObjects, PixelMapKeepsSignAndSixteenBits) {
    EXPECT_EQ(FormatPixelMap({-1, 300}), L"-1 300");
    EXPECT_EQ(FormatPixelMap({}), L"");
    EXPECT_EQ(ParsePixelMap(L"  -1   300 "), (PixelList{-1, 300}));
    EXPECT_EQ(ParsePixelMap(L"-32768 32767"), (PixelList{-32768, 32767}));
    EXPECT_EQ(ParsePixelMap(L"65535"), (PixelList{-1}));  // kept as 16 bits
}

}  // namespace
}  // namespace kvswx
