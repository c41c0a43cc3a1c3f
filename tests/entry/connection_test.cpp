#include <gtest/gtest.h>

#include "source/class_registry.h"
#include "entry/connection.h"
#include "recorded/recording.h"

namespace kvswx {
namespace {

TEST(Connection, ParseRelease) {
    struct Case {
        std::wstring revision;
        std::wstring year;
        std::wstring servicePack;
    };
    const Case cases[] = {
        {L"20.5.1", L"2012", L"5"},
        {L"30.1.0", L"2022", L"1"},
        {L"", L"10", L"0"},
        {L"22", L"2014", L"0"},
        {L"..23..4", L"2015", L"4"},   // empty tokens are skipped
        {L" 21x.sp3", L"2013", L"sp3"},  // lenient number, service pack kept as text
        {L"abc.2", L"1992", L"2"},
        {L".", L"10", L"0"},
        {L"99999999999.1", L"2147485639", L"1"},  // clamped, then widened: no overflow
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(std::string(c.revision.begin(), c.revision.end()));
        const SourceRelease release = ParseRelease(c.revision);
        EXPECT_EQ(release.year, c.year);
        EXPECT_EQ(release.servicePack, c.servicePack);
    }
}

// What a connection prepares and hands on (the five preference calls in
// order, the commands, the drawing, the math utility, the path) shows in the
// golden example runs; refusals without an application in run_driver_test.
TEST(Connection, ADocumentWithoutDrawingInterfaceStillConnects) {
    const auto recording = recorded::LoadRecordingFromString(
        R"({"format": "kvswx-recording/1", "document": {"path": "C:\\Parts\\P.SLDPRT"}})", "test.json");
    const Ref<SourceApplication> app = recording->Application();
    const ScopedClassRegistration registration(kSourceApplicationProgId, [app] { return app; });
    SourceConnection connection;
    ASSERT_TRUE(ConnectSource(recording->Document(), connection));
    EXPECT_EQ(connection.application, app);
    EXPECT_FALSE(connection.drawing);
}

// Layer "0" gets the first "KV_<n>" name that no layer has yet.
TEST(Naming, FreeLayerZeroPicksTheFirstFreeName) {
    struct Case {
        const char* layers;
        std::wstring freed;
        std::vector<std::wstring> after;
    };
    const Case cases[] = {
        {R"(["0", "KV_0"])", L"KV_1", {L"KV_1", L"KV_0"}},
        {R"(["KV_1", "0", "KV_0", "KV_2"])", L"KV_3", {L"KV_1", L"KV_3", L"KV_0", L"KV_2"}},
        {R"(["Dims", "KV_0"])", L"", {L"Dims", L"KV_0"}},
        {R"([])", L"", {}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.layers);
        const auto recording = recorded::LoadRecordingFromString(
            std::string(R"({"format": "kvswx-recording/1", "document": {"layers": )") + c.layers + "}}", "test");
        EXPECT_EQ(FreeLayerZero(recording->Document()), c.freed);
        EXPECT_EQ(recording->LayerNames(), c.after);
        const auto& journal = recording->GetJournal().Entries();
        if (c.freed.empty()) {
            EXPECT_TRUE(journal.empty());
        } else {
            ASSERT_EQ(journal.size(), 1u);
            EXPECT_EQ(journal[0].ToJson(), R"({"op":"Layer.SetName","target":"0","args":[")" +
                                               std::string(c.freed.begin(), c.freed.end()) + R"("]})");
        }
    }
}

}  // namespace
}  // namespace kvswx
