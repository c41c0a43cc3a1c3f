#include "extract/annotation_extraction.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cwchar>
#include <limits>
#include <string>
#include <utility>
#include <vector>

#include "extract/extract_view.h"
#include "extract/view_recording.h"
#include "model/process_state.h"
#include "views/base_view.h"
#include "views/break_line.h"
#include "views/projection_arrow.h"
#include "views/segmented_sketch.h"
#include "views/sketch_segments.h"

namespace kvswx {
namespace {

class AnnotationExtractionTest : public ::testing::Test {
protected:
    void SetUp() override { ResetProcessStateForTests(); }

    // Loads the view "V" with `members` and keeps the recording alive.
    SourceView& View(const std::string& members) {
        recording_ =
            test::LoadViews(R"({"name": "V", "type": 7, "referencedModel": "m", )" + members + "}");
        view_ = test::ViewNamed(*recording_, L"V");
        return *view_;
    }
    std::vector<std::string> Journal() const { return test::JournalLines(*recording_); }

private:
    std::shared_ptr<recorded::Recording> recording_;
    Ref<SourceView> view_;
};

TEST(BreakLinePointCount, FollowsKindStyleAndCounts) {
    struct Case {
        std::int32_t kind, style, lines, arcs;
        std::uint64_t expected;
    };
    const Case cases[] = {
        {3, 3, 2, 1, 10},  // style 3 counts arcs
        {1, 1, 2, 0, 12},
        {2, 1, 1, 5, 6},
        {4, 2, 3, 9, 18},
        {3, 1, 2, 1, 20},  // other styles count lines
        {1, 3, 2, 1, 6},
        {0, 1, 2, 1, 0},
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
    constexpr std::int32_t kMin = std::numeric_limits<std::int32_t>::min();
    const std::pair<double, std::int32_t> cases[] = {
        {2.9, 2},
        {-2.9, -2},
        {0.0, 0},
        {2147483647.9, 2147483647},
        {-2147483648.0, kMin},
        {2147483648.0, kMin},
        {-1e300, kMin},
        {std::nan(""), kMin},
        {std::numeric_limits<double>::infinity(), kMin},
    };
    for (const auto& [value, expected] : cases)
        EXPECT_EQ(TruncateToInt32(value), expected) << value;
}

TEST_F(AnnotationExtractionTest, BreakLineRecordsFollowTheirPointCounts) {
    SourceView& view = View(R"(
        "breakLineGap": 0.01,
        "breakLines": [{"name": "B0", "style": 1, "orientation": 2, "positions": [0.5, 0.7]},
                       {"name": "B1", "style": 1}, {"name": "B3", "style": 3}],
        "breakLineData": [0, 10, 1, 2, 3, 4, 5, 2, 0,
                          1, 11, 0, 0, 0, 0, 0, 2, 0, 1,2,3,4,5,6,7,8,9,10,11,12,
                          3, 12, 0, 0, 0, 0, 0, 2, 1, 21,22,23,24,25,26,27,28,29,30])");
    KVSWX_BaseView base;
    base.SetLayer(L"1000");
    ExtractBreakLines(base, view);
    ASSERT_NE(base.GetBreakLines(), nullptr);
    EXPECT_EQ(base.GetBreakLines()->GetBreakLineGap(), 0.01);
    const auto& lines = base.GetBreakLines()->GetBreakLines();
    ASSERT_EQ(lines.size(), 3u);
    const BreakLineValues& kind0 = lines[0]->Values();
    EXPECT_EQ(kind0.color, 10);
    EXPECT_EQ(kind0.lineType, 1);
    EXPECT_EQ(kind0.lineStyle, 2);
    EXPECT_EQ(kind0.lineWeight, 3);
    EXPECT_EQ(kind0.layerID, 4);
    EXPECT_EQ(kind0.layerOverride, 5);
    EXPECT_EQ(kind0.numOfLines, 2);
    EXPECT_TRUE(kind0.points.empty());
    EXPECT_EQ(kind0.breakLineStyle, 1);
    EXPECT_EQ(kind0.orientation, 2);
    EXPECT_EQ(kind0.position1, 0.5);
    EXPECT_EQ(kind0.position2, 0.7);
    // The kind-0 record is followed by the next one 9 values later.
    EXPECT_EQ(lines[1]->Values().color, 11);
    EXPECT_EQ(lines[1]->Values().points, (DoubleList{1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11, 12}));
    EXPECT_EQ(lines[2]->Values().color, 12);
    EXPECT_EQ(lines[2]->Values().numOfArcs, 1);
    EXPECT_EQ(lines[2]->Values().points, (DoubleList{21, 22, 23, 24, 25, 26, 27, 28, 29, 30}));
    EXPECT_EQ(Journal(), (std::vector<std::string>{R"(BreakLine.SetLayer B0 ["1000"])",
                                                   R"(BreakLine.SetLayer B1 ["1000"])",
                                                   R"(BreakLine.SetLayer B3 ["1000"])"}));
}

// Data shorter than its counts: nothing is read past the end; what is
// missing keeps the defaults.
TEST_F(AnnotationExtractionTest, ShortBreakLineDataIsNeverReadPast) {
    struct Case {
        const char* what;
        std::string data;
        std::vector<DoubleList> points;
        std::vector<std::int32_t> colors;
    };
    const std::vector<Case> cases = {
        {"points cut short", "[1, 7, 0, 0, 0, 0, 0, 2, 0, 1, 2, 3]", {{1, 2, 3}, {}}, {7, -1}},
        {"header cut short", "[1, 7, 0]", {{}, {}}, {7, -1}},
        {"no data", "[]", {{}, {}}, {-1, -1}},
        {"huge count", "[3, 7, 0, 0, 0, 0, 0, 2147483647, 0, 1, 2]", {{1, 2}, {}}, {7, -1}},
        // A count of not-a-number is negative: no points, the next record
        // follows at once.
        {"count of NaN", R"([1, 7, 0, 0, 0, 0, 0, "nan", 0, 1, 2])", {{}, {}}, {7, 2}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        ResetProcessStateForTests();
        SourceView& view =
            View(R"("breakLines": [{"style": 1}, {"style": 1}], "breakLineData": )" + c.data);
        KVSWX_BaseView base;
        ExtractBreakLines(base, view);
        ASSERT_NE(base.GetBreakLines(), nullptr);
        const auto& lines = base.GetBreakLines()->GetBreakLines();
        ASSERT_EQ(lines.size(), 2u);
        for (std::size_t i = 0; i < 2; ++i) {
            EXPECT_EQ(lines[i]->Values().points, c.points[i]) << i;
            EXPECT_EQ(lines[i]->Values().color, c.colors[i]) << i;
        }
    }
}

TEST_F(AnnotationExtractionTest, NoBreakLinesRecordWithoutCount) {
    for (const char* members :
         {R"("broken": 1)", R"("broken": 1, "breakLineCount": -1, "breakLines": [{}])"}) {
        SCOPED_TRACE(members);
        SourceView& view = View(members);
        KVSWX_BaseView base;
        ExtractBreakLines(base, view);
        EXPECT_EQ(base.GetBreakLines(), nullptr);
        EXPECT_TRUE(Journal().empty());
    }
}

TEST_F(AnnotationExtractionTest, ProjectionArrowKeepsTheFirstSixCoordinates) {
    struct Case {
        const char* coordinates;
        ArrowCoordinates expected;
    };
    const Case cases[] = {
        {"[1, 2, 3, 4, 5, 6, 7, 8]", {1, 2, 3, 4, 5, 6}},
        {"[1, 2, 3, 4]", {1, 2, 3, 4, 0, 0}},
        {"[]", {}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.coordinates);
        SourceView& view =
            View(std::string(R"("projectionArrow": {"label": "A", "coordinates": )") +
                 c.coordinates + "}");
        KVSWX_BaseView base;
        ExtractProjectionArrow(base, *view.ProjectionArrow());
        ASSERT_NE(base.GetProjectionArrow(), nullptr);
        EXPECT_EQ(base.GetProjectionArrow()->Values().coordinates, c.expected);
        EXPECT_EQ(base.GetProjectionArrow()->Values().label, L"A");
        EXPECT_NE(base.GetProjectionArrow()->GetTextFormat(), nullptr);
    }
    SourceView& shifted =
        View(R"("projectionArrow": {"coordinates": {"values": [1], "lowerBound": 1}})");
    KVSWX_BaseView base;
    EXPECT_THROW(ExtractProjectionArrow(base, *shifted.ProjectionArrow()), ComError);
}

std::vector<std::int32_t> Kinds(const KVSWX_SegmentedSketch* sketch) {
    std::vector<std::int32_t> kinds;
    if (sketch == nullptr || sketch->GetSegments() == nullptr) return kinds;
    for (const auto& segment : sketch->GetSegments()->GetSegments())
        kinds.push_back(segment->GetType());
    return kinds;
}

TEST_F(AnnotationExtractionTest, CenterLinesTakeOnlyLinesAndArcs) {
    SourceView& view = View(R"("centerLineSketch": {
        "placement": [1, 0, 0, 0, 1, 0, 0, 0, 1, 1, 2, 0, 1, 0, 0, 0],
        "segments": [
          {"kind": 3, "curve": {"bspline": {"order": 3, "dimension": 3, "controlPoints": [0, 0, 0]}}},
          {"kind": 0, "length": 1, "curve": {"lineData": [0, 0, 0, 1, 0, 0]}},
          {"kind": 2}, {"kind": 5},
          {"kind": 1, "start": [1, 0, 0], "end": [1, 0, 0], "center": [0, 0, 0], "fullCircle": 1,
           "construction": 1}]})");
    KVSWX_BaseView base;
    ExtractCenterLines(base, view);
    ASSERT_NE(base.GetCenterLines(), nullptr);
    EXPECT_EQ(Kinds(base.GetCenterLines()),
              (std::vector<std::int32_t>{kSketchSegmentLine, kSketchSegmentArc}));
    const auto& segments = base.GetCenterLines()->GetSegments()->GetSegments();
    // Mapped through the center-line sketch's placement; a full circle is an
    // Arc; construction is not looked at.
    EXPECT_EQ(static_cast<const KVSWX_Line&>(*segments[0]).Values().endPoint, (Point3{2, 2, 0}));
    const auto* arc = dynamic_cast<const KVSWX_Arc*>(segments[1].get());
    ASSERT_NE(arc, nullptr);
    EXPECT_EQ(arc->Values().startPoint, (Point2{2, 2}));
    EXPECT_FALSE(arc->IsConstructionGeometry());
}

TEST_F(AnnotationExtractionTest, CenterLinesRecordOnlyWithASegmentList) {
    struct Case {
        const char* members;
        bool record;
    };
    const Case cases[] = {
        {R"("sketch": {})", false},
        {R"("centerLineSketch": {})", false},
        {R"("centerLineSketch": {"segments": []})", true},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.members);
        SourceView& view = View(c.members);
        KVSWX_BaseView base;
        ExtractCenterLines(base, view);
        ASSERT_EQ(base.GetCenterLines() != nullptr, c.record);
        if (c.record) {
            EXPECT_NE(base.GetCenterLines()->GetSegments(), nullptr);
        }
    }
}

// A broken-out section of two arcs after a construction arc: the first real
// arc takes arc data block 0, the second block 1.
constexpr const char* kBrokenOut = R"("brokenOutSections": [
    {"name": "Lost"},
    {"name": "Not a section", "feature": {}},
    {"name": "S1", "feature": {"brokenOutSection": {"name": "F1", "depth": 0.25, "sketch": {
      "placement": [1, 0, 0, 0, 1, 0, 0, 0, 1, 0, 0, 0, 1, 0, 0, 0],
      "segments": [
        {"kind": 1, "construction": 1},
        {"kind": 1},
        {"kind": 0, "construction": 1, "length": 1, "curve": {"lineData": [0, 0, 0, 1, 0, 0]}},
        {"kind": 1}],
      "arcData": [0,0,0,0,0,0, 1,0,0, 0,1,0, 0,0,0, 1,
                  0,0,0,0,0,0, 2,0,0, 0,2,0, 0,0,0, 1,
                  0,0,0,0,0,0, 3,0,0, 0,3,0, 0,0,0, 1]}}}}])";

TEST_F(AnnotationExtractionTest, BrokenOutSectionArcsCountOnlyArcsHandled) {
    SourceView& view = View(kBrokenOut);
    KVSWX_BaseView base;
    ExtractBrokenOutSections(base, view, SourceRelease{L"2012", L"0"});
    ASSERT_EQ(base.GetBrokenOutSections().size(), 1u);
    const KVSWX_BrokenOutSection& section = *base.GetBrokenOutSections()[0];
    EXPECT_EQ(section.GetName(), L"S1");
    EXPECT_EQ(section.GetDepth(), 0.25);
    ASSERT_EQ(Kinds(&section), (std::vector<std::int32_t>{kSketchSegmentArc, kSketchSegmentArc}));
    const auto& segments = section.GetSegments()->GetSegments();
    EXPECT_EQ(static_cast<const KVSWX_Arc&>(*segments[0]).Values().startPoint, (Point2{1, 0}));
    EXPECT_EQ(static_cast<const KVSWX_Arc&>(*segments[1]).Values().startPoint, (Point2{2, 0}));
    EXPECT_EQ(Journal(), (std::vector<std::string>{"BrokenOutSection.SetSketchEditing F1 [-1]",
                                                   "BrokenOutSection.SetSketchEditing F1 [0]"}));
}

TEST_F(AnnotationExtractionTest, BrokenOutSectionsFromReleaseYear2012) {
    struct Case {
        const wchar_t* year;
        std::size_t sections;
    };
    const Case cases[] = {{L"2011", 0}, {L"2012", 1}, {L"2013", 1}, {L"", 0}};
    for (const Case& c : cases) {
        SCOPED_TRACE(std::string(c.year, c.year + std::wcslen(c.year)));
        ResetProcessStateForTests();
        SourceView& view = View(kBrokenOut);
        KVSWX_BaseView base;
        ExtractBrokenOutSections(base, view, SourceRelease{c.year, L"0"});
        EXPECT_EQ(base.GetBrokenOutSections().size(), c.sections);
    }
}

}  // namespace
}  // namespace kvswx
