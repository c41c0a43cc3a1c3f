// Sheet objects taken from a recorded drawing. The
// sheet_objects_2014/2015 examples pin whole runs (owner chains, the
// release gate, the missing-file warning before the sheet's views); these
// are the edges.
#include "extract/sheet_object_extraction.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <memory>
#include <string>
#include <utility>
#include <vector>

#include "containers/drawing.h"
#include "containers/sheet_objects.h"
#include "test_support.h"
#include "view_recording.h"

namespace kvswx {
namespace {

namespace fs = std::filesystem;

// Remembers what it was asked for and answers with three bytes.
class CapturingFiles final : public SourceFileSystem {
public:
    std::optional<std::vector<std::uint8_t>> ReadWholeFile(const std::wstring& directory,
                                                           const std::wstring& file) override {
        asked.emplace_back(directory, file);
        return std::vector<std::uint8_t>{1, 2, 3};
    }
    std::vector<std::pair<std::wstring, std::wstring>> asked;
};

std::shared_ptr<recorded::Recording> LoadOleObjects(const std::string& objects,
                                                    const std::string& revision) {
    return recorded::LoadRecordingFromString(
        R"({"format": "kvswx-recording/1", "application": {"revision": ")" + revision +
            R"("}, "document": {"drawing": {"sheets": [
        {"name": "S", "oleObjects": [)" +
            objects + "]}]}}}",
        "ole.json");
}

Ref<SourceOleObject> FirstOleObject(const recorded::Recording& recording) {
    return recording.Document()->Commands()->OleObjects(1).at(0);
}

using SheetObjectExtraction = test::FreshProcessTest;

// The file name is split at its last backslash; the two parts are read
// together.
TEST_F(SheetObjectExtraction, LinkedFileNameSplitAtTheLastBackslash) {
    const struct {
        const char* json;
        std::wstring directory, file;
    } cases[] = {
        {R"(C:\\Logos\\2014\\logo.bmp)", L"C:\\Logos\\2014\\", L"logo.bmp"},
        {R"(\\\\server\\share\\a b.doc)", L"\\\\server\\share\\", L"a b.doc"},
        {"logo.bmp", L"", L"logo.bmp"},
        {R"(C:\\Logos\\)", L"C:\\Logos\\", L""},
    };
    for (const auto& c : cases) {
        const auto recording = LoadOleObjects(
            std::string(R"({"linked": 1, "fileName": ")") + c.json + "\"}", "22.0.0");
        const auto files = std::make_shared<CapturingFiles>();
        KVSWX_OLEObject record;
        EXPECT_EQ(FillOLEObject(*FirstOleObject(*recording), record, files), 0);
        ASSERT_EQ(files->asked.size(), 1u);
        EXPECT_EQ(files->asked[0].first, c.directory);
        EXPECT_EQ(files->asked[0].second, c.file);
        EXPECT_EQ(record.Values().buffer, (ByteList{1, 2, 3}));
    }
}

// Without the application's files the library reads this machine's own,
// and the current directory stays where it was.
TEST_F(SheetObjectExtraction, OwnFileSystemReadWithoutChangingDirectory) {
    const fs::path dir = test::ScratchDir();
    test::WriteFile(dir / "logo.bin", std::string("\x00\xFF\x1F", 3));
    const fs::path before = fs::current_path();
    for (const auto& [name, result] :
         {std::pair{dir / "logo.bin", 0}, std::pair{dir / "absent.bin", 1}}) {
        const auto recording = LoadOleObjects(
            R"({"linked": -1, "fileName": ")" + name.string() + R"(", "data": [9]})", "22.0.0");
        KVSWX_OLEObject record;
        EXPECT_EQ(FillOLEObject(*FirstOleObject(*recording), record, nullptr), result) << name;
        EXPECT_EQ(record.Values().buffer, result == 0 ? (ByteList{0x00, 0xFF, 0x1F}) : ByteList{});
        EXPECT_EQ(fs::current_path(), before);
    }
}

// Objects are taken up to release year 2014: the examples sheet_objects_2014
// and sheet_objects_2015 pin the gate's two sides, the missing file's
// warning and entries that are none; an earlier year takes them too.
TEST_F(SheetObjectExtraction, EarlierReleasesTakeTheObjects) {
    const auto recording = LoadOleObjects(R"({"data": [1]}, null)", "22.0.0");
    KVSWX_DrawingSheet sheet;
    ExtractSheetOLEObjects(*recording->Document()->Commands(), sheet, L"1999",
                           recording->Application()->FileSystem());
    EXPECT_EQ(sheet.GetOLEObjectCount(), 1u);
}

// Pixel data is taken whole whatever its lower bound.
TEST_F(SheetObjectExtraction, PicturePixelsWhateverTheLowerBound) {
    const auto recording =
        recorded::LoadRecordingFromString(R"({"format": "kvswx-recording/1", "document": {
        "features": [{"name": "S", "typeName": "DrSheet"},
                     {"name": "P", "owner": "S", "specific": {"picture": {"pixels": {"values": [-1, 300], "lowerBound": 1}}}}]}})",
                                          "pictures.json");
    const PictureMap pictures = CollectPictureFeatures(*recording->Document());
    KVSWX_DrawingSheet sheet;
    ExtractSheetPictures(L"S", pictures, sheet);
    ExtractSheetPictures(L"s", pictures, sheet);  // another name
    ASSERT_EQ(sheet.GetSketchPictureCount(), 1u);
    EXPECT_EQ(sheet.GetSketchPicture(0)->Values().pixelMap, (PixelList{-1, 300}));
}

}  // namespace
}  // namespace kvswx
