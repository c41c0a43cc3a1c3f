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
        {L"23.1.0", L"2015", L"1"},
        {L"30.1.0", L"2022", L"1"},
        {L"", L"10", L"0"},
        {L"23", L"2015", L"0"},
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

TEST(Connection, PreparesTheApplicationAndGetsTheDocumentInterfaces) {
    ResetProcessStateForTests();
    const auto recording = recorded::LoadRecordingFromString(kDocument, "test.json");
    const Ref<SourceApplication> app = recording->Application();
    const ScopedClassRegistration registration(kSourceApplicationProgId, [app] { return app; });

    SourceConnection connection;
    ASSERT_TRUE(ConnectSource(recording->Document(), connection));
    EXPECT_EQ(connection.application, app);
    EXPECT_EQ(connection.release.year, L"2012");
    EXPECT_EQ(connection.release.servicePack, L"5");
    EXPECT_TRUE(connection.commands);
    EXPECT_TRUE(connection.drawing);
    EXPECT_EQ(connection.documentPath, L"C:\\Drawings\\Bracket.SLDDRW");
    EXPECT_TRUE(Process().mathUtility);

    std::vector<std::string> journal;
    for (const auto& e : recording->GetJournal().Entries()) journal.push_back(e.ToJson());
    const std::vector<std::string> expected = {
        R"({"op":"Application.SetIntegerPreference","target":"","args":[136,0]})",
        R"({"op":"Application.SetIntegerPreference","target":"","args":[1,1]})",
        R"({"op":"Application.SetTogglePreference","target":"","args":[358,1]})",
        R"({"op":"Application.SetIntegerPreference","target":"","args":[2,2]})",
        R"({"op":"Application.SetTogglePreference","target":"","args":[484,1]})",
    };
    EXPECT_EQ(journal, expected);
}

TEST(Connection, FailsWithoutAnApplication) {
    ResetProcessStateForTests();
    const auto recording = recorded::LoadRecordingFromString(kDocument, "test.json");
    {
        const ScopedClassRegistration nothing(kSourceApplicationProgId, nullptr);
        SourceConnection connection;
        EXPECT_FALSE(ConnectSource(recording->Document(), connection));
        EXPECT_FALSE(connection.application);
    }
    {
        // A class whose object cannot be had.
        const ScopedClassRegistration broken(kSourceApplicationProgId, [] { return Ref<SourceApplication>(); });
        SourceConnection connection;
        EXPECT_FALSE(ConnectSource(recording->Document(), connection));
    }
    EXPECT_TRUE(recording->GetJournal().Entries().empty());
    EXPECT_FALSE(Process().mathUtility);
}

TEST(Connection, ADocumentWithoutDrawingInterfaceStillConnects) {
    const auto recording = recorded::LoadRecordingFromString(
        R"({"format": "kvswx-recording/1", "document": {"path": "C:\\Parts\\P.SLDPRT"}})", "test.json");
    const Ref<SourceApplication> app = recording->Application();
    const ScopedClassRegistration registration(kSourceApplicationProgId, [app] { return app; });
    SourceConnection connection;
    ASSERT_TRUE(ConnectSource(recording->Document(), connection));
    EXPECT_FALSE(connection.drawing);
    EXPECT_EQ(connection.release.year, L"10");  // no revision text
    EXPECT_EQ(connection.release.servicePack, L"0");
}

}  // namespace
}  // namespace kvswx
