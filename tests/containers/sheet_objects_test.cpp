// OLE objects and sketch pictures: the two text encodings of their own, and
// their place in the sheet's XML. The examples pin full objects as a run
// writes them; these are the edges.
#include <gtest/gtest.h>

#include <string>

#include "containers/drawing.h"
#include "containers/sheet_objects.h"
#include "containers/xml_wrapper.h"
#include "model/process_state.h"

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

class SheetObjectsXml : public ::testing::Test {
protected:
    void SetUp() override { ResetProcessStateForTests(); }
};

// Pictures, then OLE objects, then the views; a sheet without either writes
// no wrapper; empty lists write their element without text and read back
// empty; read-back sheets save to the same bytes.
TEST_F(SheetObjectsXml, WrappersBeforeViewsAndStableRoundTrip) {
    KVSWX_XMLWrapper writer;
    KVSWX_Drawing& drawing = *writer.NewDrawing();
    KVSWX_DrawingSheet& with = *drawing.GetOrAddSheet(L"A");
    with.GetOrAddView(L"V", L"", L"");
    KVSWX_SketchPicture& picture = *with.AddSketchPicture();
    picture.SetPixelMap({-1, 300});
    picture.SetIsFlipped(true);
    auto ole = std::make_unique<KVSWX_OLEObject>();
    ole->SetAspect(4);
    ole->SetBuffer({0x00, 0xFF, 0x1F});
    ole->SetIsLinked(true);
    with.AddOLEObject(std::move(ole));
    drawing.GetOrAddSheet(L"B")->GetOrAddView(L"W", L"", L"");
    const std::string bytes = writer.ToBytes();

    const std::size_t pictures = bytes.find("<SketchPictures>");
    const std::size_t objects = bytes.find("<OLEObjects>");
    const std::size_t view = bytes.find("<view Name=\"V\"");
    ASSERT_NE(pictures, std::string::npos) << bytes;
    EXPECT_TRUE(pictures < objects && objects < view) << bytes;
    EXPECT_EQ(bytes.find("<SketchPictures>", objects), std::string::npos) << "sheet B has none: " << bytes;
    for (const char* piece : {"<Box/>", "<PixelMap>-1 300</PixelMap>", "<IsFlipped>true</IsFlipped>",
                              "<Aspect AspectStringValue=\"swDVASPECT_ICON\">4</Aspect>", "<Buffer>00FFF1</Buffer>",
                              "<FileName/>", "<IsLinked>true</IsLinked>"}) {
        EXPECT_NE(bytes.find(piece), std::string::npos) << piece << " in " << bytes;
    }

    KVSWX_XMLWrapper reader;
    reader.LoadFromString(bytes);
    const KVSWX_DrawingSheet& a = *reader.GetDrawing()->GetSheet(0);
    ASSERT_EQ(a.GetSketchPictureCount(), 1u);
    ASSERT_EQ(a.GetOLEObjectCount(), 1u);
    EXPECT_TRUE(a.GetSketchPicture(0)->Values().box.empty());
    EXPECT_EQ(a.GetSketchPicture(0)->Values().pixelMap, (PixelList{-1, 300}));
    EXPECT_EQ(a.GetOLEObject(0)->Values().buffer, (ByteList{0x00, 0xFF, 0x1F}));
    EXPECT_EQ(reader.GetDrawing()->GetSheet(1)->GetSketchPictureCount(), 0u);
    // Reading adds document properties; the sheets save to the same bytes.
    const std::string again = reader.ToBytes();
    EXPECT_EQ(again.substr(again.find("<sheet")), bytes.substr(bytes.find("<sheet")));
}

// Children in any order and unknown ones are read by name; missing ones keep
// their initial values.
TEST_F(SheetObjectsXml, ReadsByChildNameOnly) {
    KVSWX_XMLWrapper reader;
    reader.LoadFromString(
        "<swdrawing><sheet Name='S'><OLEObjects><Anything><IsLinked>true</IsLinked><Extra>1</Extra>"
        "<Aspect>8</Aspect></Anything></OLEObjects><SketchPictures><SketchPicture><Height>5</Height>"
        "</SketchPicture></SketchPictures></sheet></swdrawing>");
    const KVSWX_DrawingSheet& s = *reader.GetDrawing()->GetSheet(0);
    ASSERT_EQ(s.GetOLEObjectCount(), 1u);
    EXPECT_TRUE(s.GetOLEObject(0)->GetIsLinked());
    EXPECT_EQ(s.GetOLEObject(0)->Values().aspect, 8);
    EXPECT_TRUE(s.GetOLEObject(0)->Values().buffer.empty());
    ASSERT_EQ(s.GetSketchPictureCount(), 1u);
    EXPECT_EQ(s.GetSketchPicture(0)->Values().height, 5);
    EXPECT_EQ(s.GetSketchPicture(0)->Values().width, 0);
}

}  // namespace
}  // namespace kvswx
