#include <gtest/gtest.h>

#include <cmath>
#include <string>
#include <vector>

#include "model/run_log.h"
#include "extract/classify_view.h"
#include "extract/extract_view.h"
#include "extract/view_recording.h"
#include "model/process_state.h"
#include "test_support.h"

namespace kvswx {
namespace {

using ClassifyViewTest = test::FreshProcessTest;

// A view of the model "m" with the given extra JSON members.
std::string View(const std::string& name, const std::string& members) {
    return R"({"name": ")" + name + R"(", "referencedModel": "m")" +
           (members.empty() ? "" : ", " + members) + "}";
}

// A parent view (type 7) drawing the section line "A-A" and the detail circle
// "B", both owned by the view "V", and the view "V" itself.
std::string WithParent(const std::string& parentMembers, const std::string& viewMembers) {
    return View("P", R"("type": 7, "transform": [1,0,0, 0,1,0, 0,0,1, 0,0,0, 1,0,0,0],
                     "sectionLines": [{"id": "AA", "name": "A-A", "owner": "V"}],
                     "detailCircles": [{"id": "B", "name": "B", "owner": "V"}])" +
                           (parentMembers.empty() ? "" : ", " + parentMembers)) +
           ", " + View("V", R"("parent": "P", )" + viewMembers);
}

// The view "V" whose own parent "Q" draws nothing; its annotations are drawn
// by "P" and owned by "O", a child of "P".
std::string OwnedElsewhere(const std::string& viewMembers) {
    return View("P", R"("type": 7, "sectionLines": [{"id": "AA", "name": "A-A", "owner": "O"}],
                     "detailCircles": [{"id": "B", "name": "B", "owner": "O"}])") +
           ", " + View("O", R"("type": 7, "parent": "P")") + ", " + View("Q", R"("type": 7)") + ", " +
           View("V", R"("parent": "Q", "transform": [1,0,0, 0,0,1, 0,-1,0], )" + viewMembers);
}

// A section view "V" cut from "P" whose rotation is the given rows.
std::string SectionWithRotation(const std::string& rows) {
    return WithParent("", R"("type": 2, "sectionLine": "AA", "transform": [)" + rows + ", 0,0,0, 1,0,0,0]");
}

std::int32_t ClassifyV(const std::string& views) {
    const auto recording = test::LoadViews(views);
    return ClassifyView(test::ViewNamed(*recording, L"V"));
}

// The order of the checks, the first that fires wins, and the edges of each;
// every code on its own is pinned by the golden example "outcomes".
TEST_F(ClassifyViewTest, OutcomeCodesInOrderOfChecks) {
    struct Case {
        const char* what;
        std::string views;
        std::int32_t code;
    };
    const std::vector<Case> cases = {
        {"no model, projected without parent", R"({"name": "V", "type": 4})", 8},
        {"no model, hidden edges, exploded", R"({"name": "V", "type": 10, "hiddenEdgeCount": 2, "explodedState": 1})",
         8},
        {"hidden edges before exploded", View("V", R"("type": 7, "hiddenEdgeCount": 1, "explodedState": 1)"), 9},
        {"hidden edges count negative", View("V", R"("type": 7, "hiddenEdgeCount": -1)"), 9},
        {"exploded state other than 1", View("V", R"("type": 7, "explodedState": -1)"), 0},
        {"projected without parent, no arrow", View("V", R"("type": 4)"), 1},
        {"projected from model view", WithParent("", R"("type": 4)"), 0},
        {"auxiliary without parent", View("V", R"("type": 5, "projectionArrow": {"name": "A"})"), 3},
        {"section line named otherwise in the parent", WithParent("", R"("type": 2, "sectionLine": "X")") +
             R"(, {"name": "Q", "type": 7, "sectionLines": [{"id": "X", "name": "a-a", "owner": "V"}]})", 5},
        {"section line whose owner has no parent",
         View("V", R"("type": 2, "sectionLines": [{"id": "AA", "name": "A-A", "owner": "V"}], "sectionLine": "AA")"),
         5},
        {"section perpendicular to parent", SectionWithRotation("1,0,0, 0,0,1, 0,-1,0"), 0},
        {"detail circle not in the parent", View("V", R"("type": 3, "detailCircles": [{"id": "B", "name": "B"}],
                                                     "detailCircle": "B")"),
         7},
        {"detail found", WithParent("", R"("type": 3, "detailCircle": "B")"), 0},
        // The annotation is looked up in the parent of the view that owns it,
        // not in the classified view's own parent.
        {"section line found through its owner's parent", OwnedElsewhere(R"("type": 2, "sectionLine": "AA")"), 0},
        {"detail circle found through its owner's parent", OwnedElsewhere(R"("type": 3, "detailCircle": "B")"), 0},
        {"unnamed type", View("V", R"("type": 42)"), 0},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        EXPECT_EQ(ClassifyV(c.views), c.code);
    }
}

TEST_F(ClassifyViewTest, IsometricBoundIsInclusive) {
    // With the parent's rotation the identity, the corner element is the
    // view's own (3,3) entry.
    const double atBound = kIsometricSectionBound;
    const double above = std::nextafter(atBound, 1.0);
    for (const auto& [corner, code] : {std::pair{atBound, 0}, {-atBound, 0}, {above, 6}, {-above, 6}}) {
        EXPECT_EQ(ClassifyV(SectionWithRotation("1,0,0, 0,0,1, 0,-1," + test::Number(corner))), code) << corner;
    }
}

// The corner of adj(P)*V for hand-computed cases that an inverse or a
// non-transposed cofactor matrix would get wrong.
TEST_F(ClassifyViewTest, AdjugateProductCorner) {
    struct Case {
        const char* what;
        Matrix3 p;
        Matrix3 v;
        double corner;
    };
    const Matrix3 identity{1, 0, 0, 0, 1, 0, 0, 0, 1};
    const Matrix3 sheared{1, 0, 0, 0, 1, 0, 2, 0, 1};  // adj row 3: (-2, 0, 1)
    const std::vector<Case> cases = {
        {"identity parent", identity, {1, 2, 3, 4, 5, 6, 7, 8, 9}, 9},
        {"scaled parent: not divided by the determinant", {2, 0, 0, 0, 2, 0, 0, 0, 2}, {0, 0, 3, 0, 0, 0, 0, 0, 0.5}, 2},
        {"sheared parent, terms cancel", sheared, {0, 0, 0.5, 0, 0, 7, 0, 0, 1}, 0},
        {"sheared parent, first column", sheared, {0, 0, 0.5, 0, 0, 0, 0, 0, 0}, -1},
        {"missing transform", Matrix3{}, identity, 0},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        EXPECT_EQ(AdjugateProductCorner(c.p, c.v), c.corner);
    }
}

TEST_F(ClassifyViewTest, ShortOrMissingTransformsReadAsZeros) {
    EXPECT_EQ(ClassifyV(WithParent("", R"("type": 2, "sectionLine": "AA", "transform": [0, 0])")), 0);
    EXPECT_EQ(ClassifyV(WithParent("", R"("type": 2, "sectionLine": "AA")")), 0);
    const auto recording = test::LoadViews(WithParent("", R"("type": 2, "sectionLine": "AA",
        "transform": {"values": [1,0,0, 0,0,1, 0,-1,0], "lowerBound": 1})"));
    try {
        ClassifyView(test::ViewNamed(*recording, L"V"));
        ADD_FAILURE() << "a lower bound of 1 is accepted";
    } catch (const ComError& e) {
        EXPECT_EQ(e.Code(), kE_INVALIDARG);
    }
}

// A hidden parent is shown and hidden again; a visible one is left alone.
TEST_F(ClassifyViewTest, SectionParentVisibilityIsRestored) {
    struct Case {
        int visible;
        std::vector<std::string> journal;
    };
    const std::vector<Case> cases = {
        {0, {"View.SetVisible P [1,0]", "View.SetVisible P [0,0]"}},
        {1, {}},
        {2, {}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.visible);
        const auto recording = test::LoadViews(
            WithParent(R"("visible": )" + std::to_string(c.visible),
                       R"("type": 2, "sectionLine": "AA", "transform": [1,0,0, 0,0,1, 0,-1,0])"));
        EXPECT_EQ(ClassifyView(test::ViewNamed(*recording, L"V")), 0);
        EXPECT_EQ(test::JournalLines(*recording), c.journal);
        EXPECT_EQ(test::ViewNamed(*recording, L"P")->Visible(), c.visible);
    }
}

const std::string kSegment = R"({"kind": 0, "start": [0,0,0], "end": [1,0,0]})";

// One condition at a time; all three in order: see the golden example "outcomes".
TEST_F(ClassifyViewTest, DetailViewWarnsOfEachConditionAlone) {
    struct Case {
        const char* what;
        std::string members;
        const char* needle;  // nullptr: no line
    };
    const std::vector<Case> cases = {
        {"one note is the label", R"(, "notes": [{"name": "label"}])", nullptr},
        {"two notes", R"(, "notes": [{"name": "a"}, {"name": "b"}])", "contains notes"},
        {"empty sketches", R"(, "sketch": {"segments": []}, "centerLineSketch": {})", nullptr},
        {"center-line segment only", R"(, "centerLineSketch": {"segments": [)" + kSegment + "]}", "center lines"},
        {"sketch segment only", R"(, "sketch": {"segments": [)" + kSegment + "]}", "manual geometry"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        const auto path = test::ScratchDir() / "run.log";
        {
            RunLog log;
            ASSERT_TRUE(log.Open(path.wstring(), kRunLogMode));
            const ActiveLogScope scope(log);
            EXPECT_EQ(ClassifyV(WithParent("", R"("type": 3, "detailCircle": "B")" + c.members)), 0);
        }
        const std::string lines = test::ReadFile(path);
        EXPECT_EQ(std::count(lines.begin(), lines.end(), '\n'), c.needle == nullptr ? 0 : 1) << lines;
        if (c.needle != nullptr) {
            EXPECT_NE(lines.find(c.needle), std::string::npos) << lines;
        }
    }
    // Without an active log nothing is written, and nothing fails.
    ASSERT_EQ(Process().activeLog, nullptr);
    EXPECT_EQ(ClassifyV(WithParent("", R"("type": 3, "detailCircle": "B", "notes": [{}, {}])")), 0);
}

}  // namespace
}  // namespace kvswx
