#include "extract/section_line_extraction.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <string>
#include <vector>

#include "test_support.h"
#include "docprops/text_format.h"
#include "extract/view_recording.h"
#include "views/base_view.h"
#include "views/section_line.h"

namespace kvswx {
namespace {

const double kCos30 = std::cos(3.141592653589793 / 6);

using test::List;
using test::Number;

// One record of section line data: n segments (line type, start, end), then
// 25 arrow values counting up from `arrowBase`, then the value not used.
std::vector<double> Record(const std::vector<std::vector<double>>& segments,
                           double arrowBase = 100) {
    std::vector<double> r{static_cast<double>(segments.size())};
    for (const auto& s : segments) r.insert(r.end(), s.begin(), s.end());
    for (int i = 0; i < 25; ++i) r.push_back(arrowBase + i);
    r.push_back(-1);
    return r;
}
std::vector<double> Join(std::vector<std::vector<double>> records) {
    std::vector<double> all{7, 7};  // the two leading values
    for (const auto& r : records) all.insert(all.end(), r.begin(), r.end());
    return all;
}
// A segment of line type 1 from (x0, y0, 0) to (x1, y1, 0).
std::vector<double> Seg(double x0, double y0, double x1, double y1) {
    return {1, x0, y0, 0, x1, y1, 0};
}

std::string Transform(const std::vector<double>& rows9, double scale = 1,
                      const std::string& t = "0,0,0") {
    return List(rows9).substr(0, List(rows9).size() - 1) + "," + t + "," + Number(scale) + ",0,0,0]";
}
const std::vector<double> kIdentity{1, 0, 0, 0, 1, 0, 0, 0, 1};
// Looks along the parent's y axis: x stays, z leaves the plane.
const std::vector<double> kSideways{1, 0, 0, 0, 0, -1, 0, 1, 0};

class SectionLineExtractionTest : public test::FreshProcessTest {
protected:
    // Parent "P" (transform `parent`, sketch placement scale 2 moved by
    // (1, 2, 0)) lists the lines "A" and "B" with `data`; the section view
    // "V" (transform `view`) was cut by "B", whose further keys are `lineB`.
    KVSWX_SectionLine* Extract(const std::string& data,
                               const std::vector<double>& parent = kIdentity,
                               const std::vector<double>& view = kIdentity,
                               const std::string& lineB = "") {
        recording =
            test::LoadViews(R"({"name": "P", "type": 7, "transform": )" + Transform(parent) +
                            R"(, "sketch": {"placement": )" + Transform(kIdentity, 2, "1,2,0") +
                            R"(}, "sectionLines": [{"name": "A"}, {"name": "B", "label": "B-B")" +
                            lineB + R"(}], "sectionLineData": )" + data + R"(},
            {"name": "V", "type": 2, "parent": "P", "sectionLine": "B", "transform": )" +
                            Transform(view) + "}");
        const Ref<SourceView> v = test::ViewNamed(*recording, L"V");
        ExtractSectionLine(base, *v, *v->SectionLine());
        return base.GetSectionLine();
    }

    std::shared_ptr<recorded::Recording> recording;
    KVSWX_BaseView base;
};

// Where the second line's record starts (position 43 after a line of two
// segments), the mapping of its points through the parent sketch's
// placement and the copied arrow values: see the example "sections". Here
// line types and styles truncated toward zero, negative ones too.
TEST_F(SectionLineExtractionTest, LineTypesAndStylesTruncateTowardZero) {
    std::vector<double> second = Record({{3.7, 0.5, 1, 0, 2, 3, 4}}, 200);
    second[1 + 7 + 17] = -1.5;  // ArrowStyle2
    const KVSWX_SectionLine* line = Extract(List(Join({Record({}), second})));
    ASSERT_NE(line, nullptr);
    ASSERT_EQ(line->GetSegmentCount(), 1u);
    EXPECT_EQ(line->GetSegment(1), nullptr);
    EXPECT_EQ(line->GetSegment(0)->Values().lineType, 3);
    EXPECT_EQ(line->GetArrow()->Values().arrowStyle2, -1);
}

// Only 1 counts for the line's flags; any non-zero for its text format.
TEST_F(SectionLineExtractionTest, FlagsCountOnlyOne) {
    const KVSWX_SectionLine* line = Extract(
        List(Join({Record({}), Record({})})), kIdentity, kIdentity,
        R"(, "reversedCutDirection": 1, "aligned": 2, "displayOnlySurfaceCut": -1, "partial": 1, "depth": 0.25,
            "textFormat": {"typeFaceName": "Arial", "isBold": 2})");
    ASSERT_NE(line, nullptr);
    const SectionLineValues& v = line->Values();
    EXPECT_EQ(std::vector<bool>({v.isReversedCutDirection, v.isAligned, v.displayOnlySurfaceCut,
                                 v.isPartial, v.autohatch}),
              std::vector<bool>({true, false, false, true, false}));
    EXPECT_EQ(v.depth, 0.25);
    EXPECT_EQ(line->GetTextFormat()->Values().typeFaceName, L"Arial");
    EXPECT_TRUE(line->GetTextFormat()->Values().isBold);
    EXPECT_EQ(v.foldSegmentIndex, 0);  // no segment: the count
}

// The directions are mapped through the inverse of the parent's transform,
// then the section view's; the first one left in the plane is the fold. A
// rotated parent's 30 degree cut: the example "sections".
TEST_F(SectionLineExtractionTest, FoldSegmentIndex) {
    struct Case {
        const char* what;
        std::vector<std::vector<double>> segments;
        std::vector<double> parent, view;
        std::int32_t index;
    };
    const double e = 1e-14;
    const std::vector<Case> cases = {
        {"the same segment under an unrotated parent leaves the plane",
         {Seg(0, 0, 0, 1), Seg(0, 0, kCos30 * 0.05, 0.025)},
         kIdentity,
         kSideways,
         2},
        {"z of exactly 1e-14 leaves the plane",
         {Seg(0, 0, 1, 0), Seg(0, 0, 0, 1)},
         kIdentity,
         {1, 0, e, 0, 1, 0, 0, 0, 1},
         1},
        {"z just below 1e-14 stays in it",
         {Seg(0, 0, 1, 0), Seg(0, 0, 0, 1)},
         kIdentity,
         {1, 0, e * 0.99, 0, 1, 0, 0, 0, 1},
         0},
        {"a singular parent has no inverse: the default stays",
         {Seg(0, 0, 1, 0)},
         {0, 0, 0, 0, 0, 0, 0, 0, 0},
         kIdentity,
         1},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        ResetProcessStateForTests();
        const KVSWX_SectionLine* line =
            Extract(List(Join({Record({}), Record(c.segments)})), c.parent, c.view);
        ASSERT_NE(line, nullptr);
        EXPECT_EQ(line->Values().foldSegmentIndex, c.index);
    }
}

// An array shorter than its counts require is never read past: no record.
TEST_F(SectionLineExtractionTest, NoRecordWithoutWholeData) {
    const std::vector<double> whole = Join({Record({Seg(0, 0, 1, 0)}), Record({Seg(0, 0, 1, 0)})});
    auto firstCount = [&whole](double n) {
        std::vector<double> d = whole;
        d[2] = n;
        return List(d);
    };
    struct Case {
        const char* what;
        std::string data;
        bool ownerWithoutParent = false;
    };
    const std::vector<Case> cases = {
        {"empty", "[]"},
        {"only the leading values", "[7, 7]"},
        {"last value missing", List(std::vector<double>(whole.begin(), whole.end() - 1))},
        {"negative count before it", firstCount(-1)},
        {"count not a number", firstCount(std::numeric_limits<double>::quiet_NaN())},
        {"count beyond the array", firstCount(1e300)},
        {"line not among its owner's parent's lines", List(whole), true},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        ResetProcessStateForTests();
        base.NewSectionLine();  // replaced only when a line is extracted
        KVSWX_SectionLine* before = base.GetSectionLine();
        EXPECT_EQ(
            Extract(c.data, kIdentity, kIdentity, c.ownerWithoutParent ? R"(, "owner": "P")" : ""),
            before);
    }
    EXPECT_NE(Extract(List(whole)), nullptr);
}

}  // namespace
}  // namespace kvswx
