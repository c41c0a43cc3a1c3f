// The shared library as a host sees it: two exported functions, and a
// library that holds its own process-wide state.
#include <gtest/gtest.h>

#include <cstdio>
#include <filesystem>
#include <memory>
#include <string>

#include "source/source.h"
#include "kvswx/extract_request.h"
#include "platform/com.h"
#include "recorded/recording.h"
#include "test_support.h"

#ifdef KVSWX_SHARED_LIBRARY_PATH

namespace kvswx {
namespace {

TEST(SharedLibrary, ExportsOnlyTheEntryPoints) {
    const std::string command = "nm -D --defined-only '" + std::string(KVSWX_SHARED_LIBRARY_PATH) + "' 2>/dev/null";
    std::unique_ptr<FILE, int (*)(FILE*)> pipe(popen(command.c_str(), "r"), pclose);
    ASSERT_TRUE(pipe);
    std::string symbols;
    char buffer[512];
    while (std::fgets(buffer, sizeof buffer, pipe.get()) != nullptr) {
        std::string line = buffer;
        const auto space = line.rfind(' ');
        symbols += line.substr(space + 1);
    }
    if (symbols.empty()) GTEST_SKIP() << "nm is not available";
    EXPECT_EQ(symbols, "KV_SWX_ExtractDrawingViewInfo\nKV_SWX_FreeString\n");
}

// With no application registered under the ProgID, a complete request is
// refused without touching the log or the output folder.
TEST(SharedLibrary, RefusesWhenItsApplicationIsNotReachable) {
    const auto dir = test::ScratchDir();
    const auto recording = recorded::LoadRecordingFromString(
        R"({"format": "kvswx-recording/1", "document": {"path": "C:\\D\\X.SLDDRW", "drawing": {}}})", "test.json");
    Ref<SourceDocument> document = recording->Document();
    const std::wstring out = dir.wstring();
    const std::wstring log = (dir / "run.log").wstring();
    KV_SWX_String documents = nullptr;
    KV_SWX_String configurations = nullptr;
    KV_SWX_ExtractRequest request{&document, out.c_str(), log.c_str(), &documents, &configurations, 0};
    EXPECT_EQ(KV_SWX_ExtractDrawingViewInfo(&request), 0);
    EXPECT_EQ(KV_SWX_ExtractDrawingViewInfo(nullptr), 0);
    EXPECT_EQ(documents, nullptr);
    EXPECT_TRUE(std::filesystem::is_empty(dir));
    EXPECT_TRUE(recording->GetJournal().Entries().empty());
    KV_SWX_FreeString(nullptr);
    KV_SWX_FreeString(ComStringAlloc(L"freed by the library"));
}

}  // namespace
}  // namespace kvswx

#endif  // KVSWX_SHARED_LIBRARY_PATH
