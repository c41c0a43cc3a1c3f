// Which notes are taken and how their text and leader are read. The example
// "assembly" pins every kind in context.
#include "extract/notes_extraction.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "test_support.h"
#include "extract/extract_view.h"
#include "extract/view_recording.h"
#include "model/process_state.h"
#include "views/base_view.h"
#include "views/note.h"

namespace kvswx {
namespace {

using NotesExtractionTest = test::FreshProcessTest;

// Plain notes, balloons with zero or other data, of one or two lines, of the
// second kind: the example "assembly" (with notes). Here what it does not
// hold.
TEST_F(NotesExtractionTest, WhichNotesAreTaken) {
    struct Case {
        const char* what;
        std::string note;
        bool taken;
        bool isBalloon;
    };
    const std::vector<Case> cases = {
        {"plain note, whatever its data", R"("balloonData": [1], "textLines": ["a", "b"])", true,
         false},
        {"balloon, no data, one line", R"("balloon": -1, "textLines": ["a"])", true, true},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        const auto recording = test::LoadViews(
            R"({"name": "V", "notes": [{"name": "N", "annotation": {}, )" + c.note + "}]}");
        KVSWX_BaseView base;
        base.SetLayer(L"1000");
        ExtractNotes(base, *test::ViewNamed(*recording, L"V"));
        ASSERT_EQ(base.GetNotes().size(), c.taken ? 1u : 0u);
        // Only a note taken moves to the view's layer.
        EXPECT_EQ(test::JournalLines(*recording).size(), c.taken ? 1u : 0u);
        if (c.taken) {
            EXPECT_EQ(base.GetNotes()[0]->Values().isBalloon, c.isBalloon);
        }
    }
}

TEST_F(NotesExtractionTest, TextLeaderAndPosition) {
    const auto recording = test::LoadViews(R"({"name": "V", "notes": [
        {"textLines": ["one", "two", "three"], "textPosition": [1, 2], "leaderPoints": [1, 2, 3, 4],
         "leaderData": [0, 0, 0, 10.8, 5]},
        {"textLines": ["only"], "textLineCount": 2000000000, "leaderData": [0, 0, 0]},
        {"textLines": ["x"], "textLineCount": 0}]})");
    KVSWX_BaseView base;
    ExtractNotes(base, *test::ViewNamed(*recording, L"V"));
    ASSERT_EQ(base.GetNotes().size(), 3u);
    const NoteValues& first = base.GetNotes()[0]->Values();
    EXPECT_EQ(first.textPoint, (Point3{1, 2, 0}));
    EXPECT_EQ(first.leaderPoints, (DoubleList{1, 2, 3, 4}));
    // A count beyond the lines the note has stops at the first missing one;
    // leader data without a fourth value keeps the default head style.
    EXPECT_EQ(base.GetNotes()[1]->Values().text, L"only");
    EXPECT_EQ(base.GetNotes()[1]->Values().leaderHeadStyle, 1);
    EXPECT_EQ(base.GetNotes()[2]->Values().text, L"");
    EXPECT_NE(base.GetNotes()[2]->GetTextFormat(), nullptr);
}

// Notes are extracted only with the notes switch at 1, and never for detail
// views.
TEST_F(NotesExtractionTest, SwitchAndDetailViews) {
    const std::string note = R"("notes": [{"textLines": ["a"]}])";
    struct Case {
        std::int32_t notesSwitch;
        const char* type;
        std::size_t notes;
    };
    for (const Case c : {Case{1, "7", 1}, Case{0, "7", 0}, Case{2, "7", 0}, Case{1, "3", 0}}) {
        SCOPED_TRACE(std::to_string(c.notesSwitch) + " " + c.type);
        ResetProcessStateForTests();
        const auto recording =
            test::LoadViews(std::string(R"({"name": "V", "referencedModel": "m", "type": )") +
                            c.type + ", " + note + "}");
        KVSWX_BaseView base;
        ExtractView(base, test::ViewNamed(*recording, L"V"), recording->Application(),
                    recording->Document()->Commands(), SourceRelease{L"2020", L"0"}, c.notesSwitch);
        EXPECT_EQ(base.GetNotes().size(), c.notes);
    }
}

}  // namespace
}  // namespace kvswx
