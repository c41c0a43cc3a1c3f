// The files linked OLE objects name: what a recording may say about them,
// and what the recorded file system answers.
#include <gtest/gtest.h>

#include <string>

#include "recorded/recording.h"
#include "test_support.h"

namespace kvswx::recorded {
namespace {

namespace fs = std::filesystem;

std::string WithObjects(const std::string& objects) {
    return R"({"format": "kvswx-recording/1", "document": {"drawing": {"sheets": [{"name": "S", "oleObjects": [)" +
           objects + "]}]}}}";
}

TEST(LinkedFiles, BadDescriptionsNameTheirPlace) {
    const struct {
        std::string objects;
        std::string expected;
    } cases[] = {
        {R"({"fileName": "C:\\a.doc", "linkedFile": {"data": [1], "path": "x"}})",
         "oleObjects/0/linkedFile: a linked file needs exactly one of \"data\" and \"path\""},
        {R"({"linkedFile": {"data": [1]}})",
         "oleObjects/0/linkedFile: a linked file needs the OLE object's"},
        {R"({"fileName": "C:\\a.doc", "linkedFile": {"data": [256]}})",
         "linkedFile/data/0: integer 256 is out of range"},
        {R"({"fileName": "C:\\a.doc", "linkedFile": {"path": "surely-not-here.bin"}})",
         "linkedFile/path: no file \""},
        {R"({"fileName": "C:\\a.doc", "linkedFile": {"data": [1]}}, {"fileName": "C:\\a.doc", "linkedFile": {"data": [2]}})",
         "oleObjects/1/linkedFile: another OLE object gives other content for the file "
         "\"C:\\a.doc\""},
    };
    for (const auto& c : cases) {
        try {
            LoadRecordingFromString(WithObjects(c.objects), "t.json");
            ADD_FAILURE() << "loaded: " << c.objects;
        } catch (const RecordingError& e) {
            EXPECT_NE(std::string(e.what()).find(c.expected), std::string::npos) << e.what();
        }
    }
}

// Inline bytes, a stand-in file beside the recording (read when asked, so a
// later change shows), and a name the recording says nothing about.
TEST(LinkedFiles, FileSystemAnswersFromTheRecording) {
    const fs::path dir = test::ScratchDir();
    test::WriteFile(dir / "stand-in.bin", "AB");
    test::WriteFile(dir / "r.json",
                    WithObjects(R"({"fileName": "C:\\Logos\\a.bmp", "linkedFile": {"data": [7, 8]}},
        {"fileName": "C:\\Logos\\b.bmp", "linkedFile": {"path": "stand-in.bin"}},
        {"fileName": "C:\\Logos\\b.bmp", "linkedFile": {"path": "stand-in.bin"}})"));
    const auto recording = LoadRecording(dir / "r.json");
    const Ref<SourceFileSystem> files = recording->Application()->FileSystem();
    ASSERT_TRUE(files);
    EXPECT_EQ(files->ReadWholeFile(L"C:\\Logos\\", L"a.bmp"), (std::vector<std::uint8_t>{7, 8}));
    EXPECT_EQ(files->ReadWholeFile(L"C:\\Logos\\", L"b.bmp"),
              (std::vector<std::uint8_t>{'A', 'B'}));
    test::WriteFile(dir / "stand-in.bin", "C");
    EXPECT_EQ(files->ReadWholeFile(L"C:\\Logos\\", L"b.bmp"), (std::vector<std::uint8_t>{'C'}));
    EXPECT_EQ(files->ReadWholeFile(L"C:\\Logos\\", L"c.bmp"), std::nullopt);
    EXPECT_EQ(files->ReadWholeFile(L"c:\\logos\\", L"a.bmp"),
              std::nullopt);  // names compare exactly
}

}  // namespace
}  // namespace kvswx::recorded
