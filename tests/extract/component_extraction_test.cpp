// Components, bodies, center marks and hatches of a view. The example
// "assembly" pins a full view of each kind; these are the rules at their
// edges.
#include "extract/component_extraction.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "test_support.h"
#include "extract/view_recording.h"
#include "model/process_state.h"
#include "views/base_view.h"
#include "views/center_mark.h"
#include "views/component.h"
#include "views/hatch.h"

namespace kvswx {
namespace {

class ComponentExtractionTest : public test::FreshProcessTest {
protected:
    // The view "V" (of the model "m") with `members`.
    Ref<SourceView> View(const std::string& members) {
        recording_ =
            test::LoadViews(R"({"name": "V", "type": 7, "referencedModel": "m", )" + members + "}");
        return test::ViewNamed(*recording_, L"V");
    }

    std::shared_ptr<recorded::Recording> recording_;
};

std::vector<std::wstring> Names(const KVSWX_AssemblyComponent& component) {
    std::vector<std::wstring> names;
    for (const auto& body : component.GetBodyComponents()) names.push_back(body->GetName());
    return names;
}

// Four parts, two parts, naming value 0 and no '<': see the example
// "assembly".
TEST(BodyName, SplitAtLessThan) {
    struct Case {
        std::wstring raw;
        std::int32_t naming;
        std::wstring expected;
    };
    const std::vector<Case> cases = {
        {L"p0<p1<p2<p3>", -4, L"p0<p1<p2<p3>"},
        {L"p0<p1<", 1, L""},
        {L"<", 1, L"<"},
        {L"", 1, L""},
        {L"a<<b", 1, L""},
        {L"a<b<cd<ef<gh", 5, L"cd<ef<g"},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(BodyName(c.raw, c.naming), c.expected)
            << std::string(c.raw.begin(), c.raw.end()) << " " << c.naming;
    }
}

// Release years up to 2013 use the older body query, later ones the newer.
TEST_F(ComponentExtractionTest, ReleaseGateChoosesTheBodyQuery) {
    const std::string members = R"("rootComponent": {"children": [{"component": {"name": "C",
        "bodies": [{"name": "new"}], "legacyBodies": [{"name": "old"}]}}]})";
    for (const auto& [year, body] : {std::pair{L"2013", L"old"}, std::pair{L"2014", L"new"}}) {
        KVSWX_BaseView base;
        ExtractComponents(base, *View(members), SourceRelease{year, L"0"});
        ASSERT_EQ(base.GetAssemblyComponents().size(), 1u);
        EXPECT_EQ(Names(*base.GetAssemblyComponents()[0]), std::vector<std::wstring>{body});
    }
}

// Pre-order, children in source order; a node without model component is
// passed through; hidden components match name and configuration exactly;
// repeated raw names are skipped within one component only.
TEST_F(ComponentExtractionTest, WalkHideAndBodies) {
    KVSWX_BaseView base;
    ExtractComponents(base, *View(R"(
        "rootComponent": {"children": [
            {"component": {"name": "A", "referencedConfiguration": "X", "visibility": 1,
                           "bodies": [{"name": "b"}, {"name": "b"}, {}, {"name": "c"}]},
             "children": [{"component": {"name": "A1", "referencedConfiguration": "X", "visibility": 1}}]},
            {"name": "folder", "children": [
                {"component": {"name": "B", "referencedConfiguration": "X", "visibility": 1, "bodies": [{"name": "b"}]}}]},
            {"component": {"name": "A", "referencedConfiguration": "Y", "visibility": 1}},
            {"component": {"name": "A", "referencedConfiguration": "Y", "visibility": 1}},
            {"component": {"name": "Off", "visibility": 0}}]},
        "hiddenComponents": [{"name": "A", "referencedConfiguration": "Y"}, {"name": "a1", "referencedConfiguration": "X"},
                             {"name": "B", "referencedConfiguration": "x"}])"),
                      SourceRelease{L"2020", L"0"});
    const auto& components = base.GetAssemblyComponents();
    ASSERT_EQ(components.size(), 6u);
    const std::vector<std::pair<std::wstring, bool>> expected = {
        {L"A", true}, {L"A1", true}, {L"B", true}, {L"A", false}, {L"A", true}, {L"Off", false}};
    for (std::size_t i = 0; i < expected.size(); ++i) {
        EXPECT_EQ(components[i]->GetName(), expected[i].first) << i;
        EXPECT_EQ(components[i]->GetVisible(), expected[i].second) << i;
    }
    EXPECT_EQ(Names(*components[0]), (std::vector<std::wstring>{L"b", L"c"}));
    EXPECT_EQ(Names(*components[2]), std::vector<std::wstring>{L"b"});
    EXPECT_EQ(components[3]->GetReferencedConfiguration(), L"Y");
    EXPECT_TRUE(base.GetBodyComponents().empty());
}

// Plain copies are pinned by the example; here the chain, booleans other
// than 1, and annotation positions too long, too short or missing.
TEST_F(ComponentExtractionTest, CenterMarksFollowTheChain) {
    KVSWX_BaseView base;
    ExtractCenterMarks(base, *View(R"("centerMarks": [
        {"useDocumentDefaults": -1, "annotation": {"layer": "L", "position": [1, 2, 3, 4]}},
        {"extendedLines": 2, "annotation": {"position": [5]}},
        {"centerlineFont": 1}])"));
    const auto& marks = base.GetCenterMarks();
    ASSERT_EQ(marks.size(), 3u);
    EXPECT_TRUE(marks[0]->Values().useDocumentDefaults);
    EXPECT_EQ(marks[0]->Values().position, (Point3{1, 2, 3}));
    EXPECT_TRUE(marks[1]->Values().extendedLines);
    EXPECT_EQ(marks[1]->Values().position, (Point3{5, 0, 0}));
    EXPECT_EQ(marks[2]->Values().cmLayer, L"");
}

TEST_F(ComponentExtractionTest, FaceHatchesDeduplicateAndWarnOnce) {
    struct Case {
        const char* what;
        std::string hatches;
        std::size_t taken;
        bool warned;
    };
    const std::vector<Case> cases = {
        {"none", "[]", 0, false},
        {"empty entries only", "[null, null]", 0, false},
        // Pattern ids 5, 7, 5 and a repeated definition: the example "assembly".
        {"the same id throughout",
         R"([{"definition": "a", "patternId": 2}, {"definition": "b", "patternId": 2}])", 2, false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        KVSWX_BaseView base;
        ViewWarningSet warnings;
        EXPECT_EQ(ExtractFaceHatches(base, *View(R"("faceHatches": )" + c.hatches), warnings),
                  c.taken > 0);
        EXPECT_EQ(base.GetFaceHatches().size(), c.taken);
        EXPECT_EQ(warnings, c.warned ? ViewWarningSet{0} : ViewWarningSet{});
    }
}

// The material hatch comes from the model opened by the view's path; a
// model that does not open, or a view without path, leaves the defaults.
TEST_F(ComponentExtractionTest, MaterialHatch) {
    const std::string models =
        R"({"format": "kvswx-recording/1", "application": {"modelDocuments": [
        {"path": "C:\\M.SLDPRT", "preferences": {"string": {"13": "ANSI33"}, "integer": {"268": 3},
                                                 "double": {"40": 1.5, "41": 0.25}}},
        {"path": "C:\\Closed.SLDPRT", "opens": false, "preferences": {"string": {"13": "X"}}}]},
        "document": {"drawing": {"sheets": [{"views": [{"name": "S"},)";
    struct Case {
        const char* path;
        bool opened;
    };
    for (const Case c : {Case{R"("c:\\m.sldprt")", true}, Case{R"("C:\\Closed.SLDPRT")", false},
                         Case{"null", false}}) {
        SCOPED_TRACE(c.path);
        const auto recording = recorded::LoadRecordingFromString(
            models + R"({"name": "V", "referencedDocumentPath": )" + c.path + "}]}]}}}", "m.json");
        KVSWX_BaseView base;
        ExtractMaterialHatch(base, *test::ViewNamed(*recording, L"V"),
                             recording->Application().get());
        ASSERT_EQ(base.GetFaceHatches().size(), 1u);
        const FaceHatchValues& v = base.GetFaceHatches()[0]->Values();
        EXPECT_EQ(v.useMaterialHatch, c.opened);
        EXPECT_EQ(v.pattern, c.opened ? L"ANSI33" : L"");
        EXPECT_EQ(v.solidFill, c.opened);
        EXPECT_EQ(v.scale, c.opened ? 1.5 : 0.0);
        EXPECT_EQ(v.angle, c.opened ? 0.25 : 0.0);
        EXPECT_EQ(v.color, 0);
        EXPECT_EQ(recording->GetJournal().Entries().size(),
                  std::string(c.path) == "null" ? 0u : 1u);
    }
}

}  // namespace
}  // namespace kvswx
