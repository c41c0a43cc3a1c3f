// The example "annotations" pins the ordinary cases (point counts of kinds
// 0, 1 and 3, the first six arrow coordinates, center lines beside a spline,
// a construction arc before a real arc, the journal); these are the edges.
#include "extract/annotation_extraction.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <string>
#include <utility>
#include <vector>

#include "extract/view_recording.h"
#include "model/process_state.h"
#include "views/base_view.h"
#include "views/break_line.h"
#include "views/projection_arrow.h"
#include "views/segmented_sketch.h"

namespace kvswx {
namespace {

constexpr std::int32_t kIndefinite = std::numeric_limits<std::int32_t>::min();

// The view "V" with `members`; the recording stays alive with the view.
struct LoadedView {
    explicit LoadedView(const std::string& members)
        : recording(test::LoadViews(R"({"name": "V", "type": 5, "referencedModel": "m", )" +
                                    members + "}")),
          view(test::ViewNamed(*recording, L"V")) {}
    std::shared_ptr<recorded::Recording> recording;
    Ref<SourceView> view;
};

TEST(BreakLinePointCount, FollowsKindStyleAndCounts) {
    struct Case {
        std::int32_t kind, style, lines, arcs;
        std::uint64_t expected;
    };
    const Case cases[] = {
        {2, 1, 1, 5, 6},
        {4, 2, 3, 9, 18},
        {3, 1, 2, 1, 20},
        {1, 3, 2, 1, 6},
        {-1, 1, 2, 1, 0},
        {5, 1, 2, 1, 0},
        {1, 1, -4, 0, 0},
        {3, 3, 0, -1, 0},
        {3, 3, 0, std::numeric_limits<std::int32_t>::max(), 21474836470ULL},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(BreakLinePointCount(c.kind, c.style, c.lines, c.arcs), c.expected)
            << c.kind << " " << c.style << " " << c.lines << " " << c.arcs;
    }
}

TEST(TruncateToInt32, TowardZeroAndIndefiniteOutOfRange) {
    const std::pair<double, std::int32_t> cases[] = {
        {2.9, 2},
        {-2.9, -2},
        {2147483647.9, 2147483647},
        {2147483648.0, kIndefinite},
        {std::nan(""), kIndefinite},
        {-std::numeric_limits<double>::infinity(), kIndefinite},
    };
    for (const auto& [value, expected] : cases)
        EXPECT_EQ(TruncateToInt32(value), expected) << value;
}

// Data shorter than its counts is never read past; what is missing keeps
// the record's defaults.
TEST(ExtractBreakLines, ShortDataIsNeverReadPast) {
    struct Case {
        const char* what;
        std::string data;
        DoubleList points[2];
        std::int32_t colors[2];
    };
    const Case cases[] = {
        {"points cut short", "[1, 7, 0, 0, 0, 0, 0, 2, 0, 1, 2, 3]", {{1, 2, 3}, {}}, {7, -1}},
        {"header cut short", "[1, 7, 0]", {{}, {}}, {7, -1}},
        {"no data", "[]", {{}, {}}, {-1, -1}},
        {"huge count", "[3, 7, 0, 0, 0, 0, 0, 2147483647, 0, 1, 2]", {{1, 2}, {}}, {7, -1}},
        // A count of not-a-number is negative: the next record follows at once.
        {"count of NaN", R"([1, 7, 0, 0, 0, 0, 0, "nan", 0, 1, 2])", {{}, {}}, {7, 2}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        const LoadedView v(R"("breakLines": [{"style": 1}, {"style": 1}], "breakLineData": )" +
                           c.data);
        KVSWX_BaseView base;
        ExtractBreakLines(base, *v.view);
        ASSERT_NE(base.GetBreakLines(), nullptr);
        const auto& lines = base.GetBreakLines()->GetBreakLines();
        ASSERT_EQ(lines.size(), 2u);
        for (std::size_t i = 0; i < 2; ++i) {
            EXPECT_EQ(lines[i]->Values().points, c.points[i]) << i;
            EXPECT_EQ(lines[i]->Values().color, c.colors[i]) << i;
        }
    }
    // A count below 1 reads nothing, whatever the list holds.
    const LoadedView negative(R"("breakLineCount": -1, "breakLines": [{"name": "B"}])");
    KVSWX_BaseView base;
    ExtractBreakLines(base, *negative.view);
    EXPECT_EQ(base.GetBreakLines(), nullptr);
    EXPECT_TRUE(test::JournalLines(*negative.recording).empty());
}

TEST(ExtractProjectionArrow, ShortCoordinatesLeaveZeros) {
    const LoadedView v(R"("projectionArrow": {"coordinates": [1, 2, 3, 4]})");
    KVSWX_BaseView base;
    ExtractProjectionArrow(base, *v.view->ProjectionArrow());
    ASSERT_NE(base.GetProjectionArrow(), nullptr);
    EXPECT_EQ(base.GetProjectionArrow()->Values().coordinates,
              (ArrowCoordinates{1, 2, 3, 4, 0, 0}));
    EXPECT_NE(base.GetProjectionArrow()->GetTextFormat(), nullptr);
}

TEST(ExtractCenterLines, RecordOnlyWithASegmentList) {
    const std::pair<const char*, bool> cases[] = {
        {R"("sketch": {"segments": []})", false},
        {R"("centerLineSketch": {})", false},
        {R"("centerLineSketch": {"segments": []})", true},
    };
    for (const auto& [members, record] : cases) {
        SCOPED_TRACE(members);
        const LoadedView v(members);
        KVSWX_BaseView base;
        ExtractCenterLines(base, *v.view);
        ASSERT_EQ(base.GetCenterLines() != nullptr, record);
        if (record) {
            EXPECT_NE(base.GetCenterLines()->GetSegments(), nullptr);
        }
    }
}

// Entries without a broken-out section feature are skipped and the rest
// copied (the example "annotations"); the release year decides whether any
// is extracted.
TEST(ExtractBrokenOutSections, FromReleaseYear2012) {
    const std::pair<const wchar_t*, std::size_t> cases[] = {
        {L"2011", 0}, {L"2012", 1}, {L"2013", 1}, {L"", 0}};
    for (const auto& [year, sections] : cases) {
        SCOPED_TRACE(std::wstring(year).size());
        ResetProcessStateForTests();
        const LoadedView v(
            R"("brokenOutSections": [{"name": "Lost"}, {"name": "Other", "feature": {}},
            {"name": "S", "feature": {"brokenOutSection": {"depth": 0.25, "sketch": {"segments": []}}}}])");
        KVSWX_BaseView base;
        ExtractBrokenOutSections(base, *v.view, SourceRelease{year, L"0"});
        EXPECT_EQ(base.GetBrokenOutSections().size(), sections);
    }
}

}  // namespace
}  // namespace kvswx
