#include <gtest/gtest.h>

#include <filesystem>

#include "model/run_log.h"
#include "test_support.h"

namespace kvswx {
namespace {

std::wstring Wide(const std::filesystem::path& p) { return p.wstring(); }

TEST(RunLog, ReopeningAppendsAndKeepsEarlierLines) {
    const auto path = test::ScratchDir() / "run.log";
    {
        RunLog log;
        ASSERT_TRUE(log.Open(Wide(path), kRunLogMode));
        log.Print(logmsg::kPreprocessing, L"C:\\Drawings\\A.SLDDRW");
    }
    RunLog log;
    ASSERT_TRUE(log.Open(Wide(path), kRunLogMode));
    // Opening again closes the first stream and keeps appending.
    ASSERT_TRUE(log.Open(Wide(path), kRunLogMode));
    log.Print(logmsg::kProcessing, L"C:\\Drawings\\A.SLDDRW");
    log.Close();
    EXPECT_EQ(test::ReadFile(path),
              "### Preprocessing C:\\Drawings\\A.SLDDRW\n### Processing C:\\Drawings\\A.SLDDRW\n");
}

TEST(RunLog, FormatsArgumentsAndNeverReadsThemAsFormats) {
    const auto path = test::ScratchDir() / "run.log";
    RunLog log;
    ASSERT_TRUE(log.Open(Wide(path), kRunLogMode));
    log.Print(logmsg::kViewSucceeded, L"100% %s %d \"scale\"");
    log.Print(logmsg::kDetailCircleThicknessLost);
    log.Print(L"%d of %i, 50%%, %x stays, %s", 3, std::int64_t{-4});  // missing argument: written as is
    log.Print(L"Ünïcödé %s", L"\u00e9\u4e2d\U0001F600");
    log.Print(L"%s then %s, %d", L"plain", L"\u00e9", 7);  // not ASCII only from the second argument on
    log.Close();
    EXPECT_EQ(test::ReadFile(path),
              "View \"100% %s %d \"scale\"\" - succeeded\n"
              "Warning: The value of detail circle thickness will be lost for all detail views due to SolidWorks "
              "API restrictions\n"
              "3 of -4, 50%, %x stays, %s\n"
              "\xc3\x9c" "n" "\xc3\xaf" "c" "\xc3\xb6" "d" "\xc3\xa9" " " "\xc3\xa9\xe4\xb8\xad\xf0\x9f\x98\x80" "\n"
              "plain then \xc3\xa9, 7\n");
}

TEST(RunLog, OpenFailuresReportFalseAndPrintingStaysHarmless) {
    const auto dir = test::ScratchDir();
    struct Case {
        std::wstring path;
        std::wstring mode;
    };
    const Case cases[] = {
        {Wide(dir / "missing-folder" / "run.log"), kRunLogMode},
        {Wide(dir), kRunLogMode},  // a folder
        {L"", kRunLogMode},
        {Wide(dir / "x.log"), L"a,ccs=UTF-16LE"},  // only UTF-8 is offered
        {Wide(dir / "x.log"), L"q"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(std::string(c.path.begin(), c.path.end()));
        RunLog log;
        EXPECT_FALSE(log.Open(c.path, c.mode));
        EXPECT_FALSE(log.IsOpen());
        log.Print(logmsg::kProcessing, L"x");  // no stream: nothing happens
    }
    EXPECT_FALSE(std::filesystem::exists(dir / "x.log"));

    // A failed reopen leaves no stream behind.
    RunLog log;
    ASSERT_TRUE(log.Open(Wide(dir / "ok.log"), kRunLogMode));
    EXPECT_FALSE(log.Open(Wide(dir / "missing-folder" / "run.log"), kRunLogMode));
    log.Print(logmsg::kProcessing, L"x");
    EXPECT_EQ(test::ReadFile(dir / "ok.log"), "");
}

}  // namespace
}  // namespace kvswx
