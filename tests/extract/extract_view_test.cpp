#include <gtest/gtest.h>

#include <functional>
#include <string>
#include <vector>

#include "test_support.h"
#include "extract/extract_view.h"
#include "extract/view_properties.h"
#include "extract/view_recording.h"
#include "model/process_state.h"
#include "views/base_view.h"

namespace kvswx {
namespace {

class ExtractViewTest : public test::FreshProcessTest {
protected:
    // Extracts the view "V" of `views` into `base` with the layer "1000".
    void Extract(KVSWX_BaseView& base, const std::string& views) {
        const auto recording = test::LoadViews(views);
        base.SetLayer(L"1000");
        const ViewWarningSet warnings =
            ExtractView(base, test::ViewNamed(*recording, L"V"), recording->Application(),
                        recording->Document()->Commands(), SourceRelease{L"2020", L"0"}, 1);
        EXPECT_TRUE(warnings.empty());
    }
};

// The view "V" of the model "m"; `members` may set its type.
std::string ModelView(const std::string& members) {
    const bool typed = members.find("\"type\"") != std::string::npos;
    return std::string(R"({"name": "V", "referencedModel": "m")") + (typed ? "" : R"(, "type": 7)") +
           (members.empty() ? "" : ", " + members) + "}";
}

// Each row: the members of one view and a check of the record it gives. The
// golden examples pin plain copies (and visibility 2, broken 2, a
// configuration made file-name safe); these are the edges.
TEST_F(ExtractViewTest, PropertiesFromTheSource) {
    struct Case {
        const char* what;
        std::string members;
        std::function<void(const BaseViewValues&)> check;
    };
    Transform16 rising{};
    for (std::size_t i = 0; i < rising.size(); ++i) rising[i] = static_cast<double>(i + 1);
    const std::vector<Case> cases = {
        {"visibility not recorded: preset 1", "", [](const auto& v) { EXPECT_TRUE(v.isVisible); }},
        {"visibility -1", R"("visible": -1)", [](const auto& v) { EXPECT_FALSE(v.isVisible); }},
        {"cropped 2", R"("cropped": 2)", [](const auto& v) { EXPECT_FALSE(v.isCropped); }},
        {"scale empty", R"("scale": [])", [](const auto& v) { EXPECT_EQ(v.scale, (Point2{0, 0})); }},
        {"position short", R"("position": [5])", [](const auto& v) { EXPECT_EQ(v.position, (Point2{5, 0})); }},
        {"position long", R"("position": [1, 2, 3])", [](const auto& v) { EXPECT_EQ(v.position, (Point2{1, 2})); }},
        {"transform empty", R"("transform": [])", [](const auto& v) { EXPECT_EQ(v.modelToViewTransform, Transform16{}); }},
        {"transform long", R"("transform": [1,2,3,4,5,6,7,8,9,10,11,12,13,14,15,16,17])",
         [&rising](const auto& v) { EXPECT_EQ(v.modelToViewTransform, rising); }},
        {"transform short", R"("transform": [1, 2])",
         [](const auto& v) {
             EXPECT_EQ(v.modelToViewTransform[1], 2);
             EXPECT_EQ(v.modelToViewTransform[2], 0);
         }},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        ResetProcessStateForTests();
        KVSWX_BaseView base;
        Extract(base, ModelView(c.members));
        c.check(base.Values());
    }
}

TEST_F(ExtractViewTest, ArrayWithLowerBoundOtherThanZeroIsRejected) {
    for (const char* member : {R"("position": {"values": [1, 2], "lowerBound": 1})",
                               R"("scale": {"values": [1, 2], "lowerBound": -1})",
                               R"("transform": {"values": [1, 2], "lowerBound": 1})"}) {
        SCOPED_TRACE(member);
        KVSWX_BaseView base;
        try {
            Extract(base, ModelView(member));
            ADD_FAILURE() << "accepted";
        } catch (const ComError& e) {
            EXPECT_EQ(e.Code(), kE_INVALIDARG);
        }
    }
}

// Views of the same model in a run share an entry when document and raw
// configuration are equal, character for character.
TEST_F(ExtractViewTest, ReferencedDocumentIndices) {
    struct Step {
        const char* configuration;
        std::int32_t index;
        const wchar_t* stored;
    };
    const std::vector<Step> steps = {
        {"Default", 0, L"Default"}, {"Default", 0, L"Default"}, {"Other", 1, L"Other"},
        {"default", 2, L"default"}, {"A*B", 3, L"A_B"},         {"A_B", 4, L"A_B"},
        {"A*B", 3, L"A_B"},
    };
    for (const Step& s : steps) {
        SCOPED_TRACE(s.configuration);
        KVSWX_BaseView base;
        Extract(base, ModelView(std::string(R"("referencedDocumentPath": "C:\\M.SLDPRT", "referencedConfiguration": ")") +
                                s.configuration + "\""));
        EXPECT_EQ(base.Values().refDocIndex, s.index);
        EXPECT_EQ(base.Values().referencedConfiguration, s.stored);
    }
    const ReferencedDocumentTable& table = Process().referencedDocuments;
    ASSERT_EQ(table.size(), 5u);
    EXPECT_EQ(table[3], (std::pair<std::wstring, std::wstring>{L"C:\\M.SLDPRT", L"A*B"}));
    // Another document under a known configuration is a new entry; missing
    // names count as empty.
    EXPECT_EQ(ReferencedDocumentIndex(L"C:\\N.SLDPRT", L"Default"), 5);
    KVSWX_BaseView bare;
    Extract(bare, ModelView(""));
    EXPECT_EQ(bare.Values().refDocIndex, 6);
    EXPECT_EQ(ReferencedDocumentIndex(L"", L""), 6);
}

// A section view's parent is shown while its section line is read only when
// its visibility is exactly 0, and hidden again afterwards.
TEST_F(ExtractViewTest, SectionParentIsShownOnlyWhenHidden) {
    for (const int visible : {0, 1, 2, -1}) {
        SCOPED_TRACE(visible);
        const auto recording = test::LoadViews(
            R"({"name": "P", "type": 7, "visible": )" + std::to_string(visible) +
            R"(, "sectionLines": [{"id": "A", "name": "A", "owner": "V"}]}, )" +
            ModelView(R"("type": 2, "parent": "P", "sectionLine": "A")"));
        KVSWX_BaseView base;
        base.SetLayer(L"1000");
        ExtractView(base, test::ViewNamed(*recording, L"V"), recording->Application(),
                    recording->Document()->Commands(), SourceRelease{L"2020", L"0"}, 1);
        std::vector<std::string> shown;
        for (const std::string& line : test::JournalLines(*recording)) {
            if (line.starts_with("View.SetVisible")) shown.push_back(line);
        }
        const std::vector<std::string> expected =
            visible == 0 ? std::vector<std::string>{"View.SetVisible P [1,0]", "View.SetVisible P [0,0]"}
                         : std::vector<std::string>{};
        EXPECT_EQ(shown, expected);
    }
}

// A cropped view's crop profile is pinned by the golden example "geometry";
// "cropped" other than 1 gives none, whatever the recording holds.
TEST_F(ExtractViewTest, OnlyCroppedOneGetsACropProfile) {
    KVSWX_BaseView uncropped;
    Extract(uncropped, ModelView(R"("cropped": 2, "cropSegments": [{"kind": 0}], "sketch": {})"));
    EXPECT_EQ(uncropped.GetCropProfile(), nullptr);
}

}  // namespace
}  // namespace kvswx
