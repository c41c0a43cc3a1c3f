#include "extract/detail_envelope_extraction.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <string>
#include <vector>

#include "test_support.h"
#include "docprops/text_format.h"
#include "extract/view_recording.h"
#include "views/base_view.h"
#include "views/detail_envelope.h"
#include "views/sketch_segments.h"

namespace kvswx {
namespace {

using test::List;
using test::Number;

// One record of detail circle data: its 16 fixed values counting up from
// `base` (the arrow count at offset 15 replaced), then the arrow groups.
std::vector<double> Record(const std::vector<std::vector<double>>& arrows, double base) {
    std::vector<double> r;
    for (int i = 0; i < 15; ++i) r.push_back(base + i);
    r.push_back(static_cast<double>(arrows.size()));
    for (const auto& a : arrows) r.insert(r.end(), a.begin(), a.end());
    return r;
}
std::vector<double> Join(const std::vector<std::vector<double>>& records) {
    std::vector<double> all{5};  // the leading value
    for (const auto& r : records) all.insert(all.end(), r.begin(), r.end());
    return all;
}
std::vector<double> Arrow(double base, double style) {
    return {base, base + 1, base + 2, base + 3, base + 4, base + 5, base + 6, base + 7, style};
}

class DetailEnvelopeExtractionTest : public test::FreshProcessTest {
protected:
    // Parent "P" lists the circles "A" and "B" with `data`; the detail view
    // "V" shows `circle`, whose further keys are `circleKeys`.
    KVSWX_DetailEnvelope* Extract(const std::string& data, const std::string& circleKeys = "",
                                  const std::string& circle = "B") {
        recording = test::LoadViews(
            R"({"name": "P", "type": 7, "detailCircles": [{"name": "A"}, {"name": "B", "label": "B")" +
            circleKeys + R"(}], "detailCircleData": )" + data + R"(},
            {"name": "V", "type": 3, "parent": "P", "detailCircle": ")" +
            circle + R"("})");
        const Ref<SourceView> v = test::ViewNamed(*recording, L"V");
        ExtractDetailEnvelope(base, *v, *v->DetailCircle());
        return base.GetDetailEnvelope();
    }

    std::shared_ptr<recorded::Recording> recording;
    KVSWX_BaseView base;
};

// The first circle has two arrows, so the second starts at 1 + 18 + 16 = 35
// and its center is read from 36 to 38. No value is mapped.
TEST_F(DetailEnvelopeExtractionTest, SecondCircleStartsAt35) {
    const std::vector<double> data = Join({Record({Arrow(900, 1), Arrow(910, 2)}, 500),
                                           Record({Arrow(300, 10.9), Arrow(310, -3.5)}, 200)});
    ASSERT_EQ(data[35], 200);
    const KVSWX_DetailEnvelope* envelope =
        Extract(List(data), R"(, "displayKind": 2, "circleStyle": 4, "fullOutline": -1,
                             "textFormat": {"typeFaceName": "Arial"})");
    ASSERT_NE(envelope, nullptr);
    const DetailEnvelopeValues& v = envelope->Values();
    EXPECT_EQ(v.name, L"B");
    EXPECT_EQ(v.display, 2);
    EXPECT_EQ(v.detailCircleStyle, 4);
    EXPECT_EQ(v.centerPoint, (Point3{201, 202, 203}));
    EXPECT_EQ(v.lineType, 210);
    EXPECT_EQ(v.textHeight, 214);
    EXPECT_TRUE(base.Values().isFullOutline);  // any non-zero
    ASSERT_EQ(envelope->GetArrows().size(), 2u);
    const DetailCircleArrowValues& first = envelope->GetArrows()[0]->Values();
    EXPECT_EQ(first.component, (Point3{303, 304, 305}));
    EXPECT_EQ(first.height, 307);
    EXPECT_EQ(first.style, 10);
    EXPECT_EQ(envelope->GetArrows()[1]->Values().style, -3);
    EXPECT_EQ(envelope->GetTextFormat()->Values().typeFaceName, L"Arial");
    ASSERT_NE(envelope->GetSegments(), nullptr);
    EXPECT_TRUE(envelope->GetSegments()->IsEmpty());  // no profile
}

// An array shorter than its counts require is never read past: no envelope,
// and IsFullOutline is left alone.
TEST_F(DetailEnvelopeExtractionTest, NoEnvelopeWithoutWholeData) {
    const std::vector<double> whole = Join({Record({Arrow(0, 1)}, 0), Record({Arrow(0, 1)}, 0)});
    auto firstCount = [&whole](double n) {
        std::vector<double> d = whole;
        d[1 + 15] = n;
        return d;
    };
    struct Case {
        const char* what;
        std::vector<double> data;
        bool ownerWithoutParent = false;
    };
    const std::vector<Case> cases = {
        {"empty", {}},
        {"last value missing", std::vector<double>(whole.begin(), whole.end() - 1)},
        {"negative count before it", firstCount(-1)},
        {"count not a number", firstCount(std::numeric_limits<double>::quiet_NaN())},
        {"circle not among its owner's parent's circles", whole, true},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        ResetProcessStateForTests();
        EXPECT_EQ(Extract(List(c.data), std::string(R"(, "fullOutline": 1)") +
                                            (c.ownerWithoutParent ? R"(, "owner": "P")" : "")),
                  nullptr);
        EXPECT_FALSE(base.Values().isFullOutline);
    }
    EXPECT_NE(Extract(List(whole)), nullptr);
}

}  // namespace
}  // namespace kvswx
