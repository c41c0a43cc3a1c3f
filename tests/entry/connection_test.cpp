#include <gtest/gtest.h>

#include "entry/class_registry.h"
#include "entry/connection.h"
#include "model/process_state.h"
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

constexpr const char* kDocument = R"({
  "format": "kvswx-recording/1",
  "application": {"revision": "20.5.1"},
  "document": {"path": "C:\\Drawings\\Bracket.SLDDRW", "drawing": {"sheets": [{"name": "S"}]}}
})";

// The five preference calls, in order, are pinned by the golden journals;
// refusals without an application by the run driver's tests.
TEST(Connection, PreparesTheApplicationAndGetsTheDocumentInterfaces) {
    ResetProcessStateForTests();
    const auto recording = recorded::LoadRecordingFromString(kDocument, "test.json");
    const Ref<SourceApplication> app = recording->Application();
    const ScopedClassRegistration registration(kSourceApplicationProgId, [app] { return app; });
    SourceConnection connection;
    ASSERT_TRUE(ConnectSource(recording->Document(), connection));
    EXPECT_EQ(connection.application, app);
    EXPECT_EQ(connection.release.year, L"2012");
    EXPECT_TRUE(connection.commands && connection.drawing && Process().mathUtility);
    EXPECT_EQ(connection.documentPath, L"C:\\Drawings\\Bracket.SLDDRW");
}

TEST(Connection, ADocumentWithoutDrawingInterfaceStillConnects) {
    const auto recording = recorded::LoadRecordingFromString(
        R"({"format": "kvswx-recording/1", "document": {"path": "C:\\Parts\\P.SLDPRT"}})", "test.json");
    const Ref<SourceApplication> app = recording->Application();
    const ScopedClassRegistration registration(kSourceApplicationProgId, [app] { return app; });
    SourceConnection connection;
    ASSERT_TRUE(ConnectSource(recording->Document(), connection));
    EXPECT_FALSE(connection.drawing);
}

}  // namespace
}  // namespace kvswx
