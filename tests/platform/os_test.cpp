// Files and paths by wide or UTF-8 name: what the run log, the XML file and
// the command line rely on, names outside ASCII and the BMP included.
#include <gtest/gtest.h>

#include <cstdio>
#include <memory>
#include <string>

#include "platform/os.h"
#include "platform/text.h"
#include "test_support.h"

namespace kvswx {
namespace {

struct FileCloser {
    void operator()(std::FILE* f) const { std::fclose(f); }
};
using File = std::unique_ptr<std::FILE, FileCloser>;

void Write(const std::wstring& path, const char* mode, const std::string& bytes) {
    const File f(OpenFile(path, mode));
    ASSERT_TRUE(f) << mode;
    ASSERT_EQ(std::fwrite(bytes.data(), 1, bytes.size(), f.get()), bytes.size());
}

// The bytes written are the bytes on disk (no line-end translation), "a"
// appends, and the name reaches the file system as the characters given.
TEST(Files, OpenFileKeepsBytesAndNames) {
    const auto dir = test::ScratchDir();
    const std::wstring name = L"log-\u00df-\u65e5" + FromUtf8("\xF0\x9D\x84\x9E") + L".log";
    const std::wstring path = dir.wstring() + L"/" + name;
    Write(path, "w", "one\ntwo\r\n");
    Write(path, "a", "three\n");
    EXPECT_EQ(test::ReadFile(dir / PathFromWide(name)), "one\ntwo\r\nthree\n");
    EXPECT_TRUE(std::filesystem::exists(dir / "log-\xC3\x9F-\xE6\x97\xA5\xF0\x9D\x84\x9E.log"));

    EXPECT_EQ(OpenFile(dir.wstring() + L"/missing/x.log", "a"), nullptr);
    EXPECT_EQ(OpenFile(dir.wstring() + L"/absent.log", "r"), nullptr);
}

TEST(Paths, Utf8AndWideNamesAgree) {
    const char* const cases[] = {
        "C:\\Drawings\\Bracket.SLDDRW",
        "out/\xC3\xBCn\xC3\xAF/\xE6\x97\xA5\xE6\x9C\xAC/\xF0\x9D\x84\x9E.xml",
        "",
    };
    for (const char* utf8 : cases) {
        SCOPED_TRACE(utf8);
        EXPECT_EQ(PathToUtf8(PathFromUtf8(utf8)), utf8);
        EXPECT_EQ(PathFromWide(FromUtf8(utf8)), PathFromUtf8(utf8));
    }
}

}  // namespace
}  // namespace kvswx
