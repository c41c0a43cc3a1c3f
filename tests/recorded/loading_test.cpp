// Loading recordings: what a bad recording reports, and what an absent
// value gives. The examples, comments and all, load in the golden runs.
#include <gtest/gtest.h>

#include <cmath>
#include <string>
#include <vector>

#include "recorded/recording.h"

namespace kvswx::recorded {
namespace {

std::shared_ptr<Recording> Load(const std::string& text) {
    return LoadRecordingFromString(text, "test.json");
}

// The error a recording raises; fails the test when it loads.
std::string LoadError(const std::string& text) {
    try {
        Load(text);
    } catch (const RecordingError& e) {
        return e.what();
    }
    ADD_FAILURE() << "the recording loaded:\n" << text;
    return {};
}

// A recording with one sheet whose views are `views` (a JSON array body).
std::string WithViews(const std::string& views, const std::string& extra = "") {
    return R"({"format": "kvswx-recording/1", )" + extra +
           R"("document": {"drawing": {"sheets": [{"name": "Sheet1", "views": [)" + views +
           "]}]}}}";
}

struct BadRecording {
    const char* what;
    std::string text;
    std::vector<std::string> expected;  // substrings of the message
};

TEST(RecordingLoad, BadRecordingsNameFileLocationAndProblem) {
    const BadRecording cases[] = {
        {"syntax error",
         "{\n  \"format\": \"kvswx-recording/1\",\n  \"document\": {\"path\": tru }\n}",
         // The literal starts in column 24; the reader gives up after "tru".
         {"test.json: line 3, column 27", "JSON syntax error"}},
        {"syntax error on the first line", "", {"test.json: line 1, column 1", "JSON syntax error"}},
        {"missing format", R"({"document": {}})", {"test.json: /format: missing"}},
        {"other format", R"({"format": "kvswx-recording/2"})", {"/format: unsupported format"}},
        {"wrong type",
         WithViews(R"({"name": "S"}, {"name": "V", "type": "7"})"),
         {"test.json: /document/drawing/sheets/0/views/1/type: expected an integer, found a "
          "string"}},
        {"integer out of 32 bits",
         WithViews(R"({"name": "V", "type": 4294967296})"),
         {"/views/0/type: integer 4294967296 is out of range"}},
        {"boolean out of 16 bits",
         WithViews(R"({"name": "V", "cropped": 40000})"),
         {"/views/0/cropped: integer 40000 is out of range"}},
        {"unknown key",
         WithViews(R"({"nmae": "V"})"),
         {"/document/drawing/sheets/0/views/0/nmae: unknown key \"nmae\""}},
        {"duplicate key",
         WithViews(R"({"name": "V", "type": 1, "type": 2})"),
         {"/document/drawing/sheets/0/views/0: duplicate key \"type\""}},
        {"dangling view id",
         WithViews(R"({"name": "V", "parent": "Nope"})"),
         {"/views/0/parent: no view has the id \"Nope\""}},
        {"duplicate view name",
         WithViews(R"({"name": "V"}, {"name": "V"})"),
         {"/views/1/name: duplicate view id \"V\""}},
        {"array expected",
         WithViews(R"({"name": "V", "position": 3})"),
         {"/views/0/position: expected an array"}},
        {"bad array element",
         WithViews(R"({"name": "V", "scale": [1, "x"]})"),
         {"/views/0/scale/1: expected a number"}},
        {"point needs three numbers",
         WithViews(R"({"name": "V", "sketch": {"segments": [{"start": [1, 2]}]}})"),
         {"/segments/0/start: expected an array of 3 numbers"}},
        {"byte out of range",
         R"({"format": "kvswx-recording/1", "document": {"drawing": {"sheets": [{"oleObjects": [{"data": [1, 256]}]}]}}})",
         {"/oleObjects/0/data/1: integer 256 is out of range"}},
        {"unknown active sheet",
         R"({"format": "kvswx-recording/1", "document": {"drawing": {"activeSheet": "X", "sheets": [{"name": "A"}]}}})",
         {"/document/drawing/activeSheet: no sheet is named \"X\""}},
        {"bad preference key",
         R"({"format": "kvswx-recording/1", "document": {"preferences": {"integer": {"60;301": 1}}}})",
         {"/document/preferences/integer/60;301: preference key"}},
        {"unknown fault operation",
         WithViews(R"({"name": "V"})", R"("faults": [{"op": "View.GetNmae", "hresult": 1}], )"),
         {"/faults/0/op: unknown operation \"View.GetNmae\""}},
        {"fault target names nothing",
         WithViews(R"({"name": "V"})",
                   R"("faults": [{"op": "View.Name", "target": "W", "hresult": "0x80004005"}], )"),
         {"/faults/0/target: no View in the recording has the target \"W\""}},
        {"bad fault hresult",
         WithViews(R"({"name": "V"})", R"("faults": [{"op": "View.Name", "hresult": "0x8G"}], )"),
         {"/faults/0/hresult: \"0x8G\" is not a 32-bit hexadecimal HRESULT"}},
        {"block definitions in a cycle",
         R"({"format": "kvswx-recording/1", "document": {"blockDefinitions": [
              {"id": "A", "sketch": {"blockInstances": [{"definition": "B"}]}},
              {"id": "B", "sketch": {"blockInstances": [{"definition": "A"}]}}]}})",
         {"/document/blockDefinitions/0: block definitions contain each other in a cycle"}},
        {"feature owners in a cycle",
         R"({"format": "kvswx-recording/1", "document": {"features": [
              {"name": "A", "owner": "B"}, {"name": "B", "owner": "A"}]}})",
         {"/document/features/0/owner: the chain of feature owners forms a cycle"}},
    };
    for (const BadRecording& c : cases) {
        SCOPED_TRACE(c.what);
        const std::string message = LoadError(c.text);
        for (const std::string& part : c.expected)
            EXPECT_NE(message.find(part), std::string::npos) << message;
    }
}

TEST(RecordingLoad, MissingFileIsNamed) {
    try {
        LoadRecording("/nonexistent/dir/recording.json");
        FAIL();
    } catch (const RecordingError& e) {
        EXPECT_NE(
            std::string(e.what()).find("/nonexistent/dir/recording.json: cannot open the file"),
            std::string::npos);
    }
}

// Absent objects (parent, model, transform, sketch, arrow...) show in the
// classification and extraction tests; here the absent plain values.
TEST(RecordingLoad, AbsentValuesGiveWhatAnAbsentSourceValueGives) {
    const auto recording = Load(WithViews(R"({"name": "V"})"));
    const auto view = recording->Document()->QueryDrawing()->FirstView();
    ASSERT_TRUE(view);
    EXPECT_EQ(view->Type(), 0);
    EXPECT_EQ(view->Visible(), 1);  // the value extraction presets
    EXPECT_EQ(view->Cropped(), 0);
    EXPECT_EQ(view->Angle(), 0.0);
    EXPECT_TRUE(view->Position().values.empty());
    EXPECT_TRUE(view->SectionLines().empty());
    EXPECT_FALSE(view->FirstCenterMark());
    EXPECT_EQ(view->BreakLineCount(), 0);

    const auto doc = recording->Document();
    EXPECT_FALSE(doc->PathName().has_value());
    EXPECT_EQ(doc->ReadDocumentInteger(60, 301), 0);
    EXPECT_FALSE(doc->ReadDocumentString(96, 0).has_value());
}

TEST(RecordingLoad, ListsDistinguishNoneFromEmpty) {
    const auto noSheets = Load(R"({"format": "kvswx-recording/1", "document": {"drawing": {}}})");
    EXPECT_FALSE(noSheets->Document()->QueryDrawing()->SheetNames().has_value());

    const auto emptySheets =
        Load(R"({"format": "kvswx-recording/1", "document": {"drawing": {"sheets": []}}})");
    const auto names = emptySheets->Document()->QueryDrawing()->SheetNames();
    ASSERT_TRUE(names.has_value());
    EXPECT_TRUE(names->empty());

    const auto sketches =
        Load(WithViews(R"({"name": "V", "sketch": {}, "centerLineSketch": {"segments": []}})"));
    const auto view = sketches->Document()->QueryDrawing()->FirstView();
    EXPECT_FALSE(view->Sketch()->Segments().has_value());
    ASSERT_TRUE(view->CenterLineSketch()->Segments().has_value());
    EXPECT_TRUE(view->CenterLineSketch()->Segments()->empty());
}

TEST(RecordingLoad, DerivedDefaults) {
    const auto recording = Load(WithViews(R"(
        {"name": "Parent", "sectionLines": [{"name": "A"}], "detailCircles": [{"name": "B", "owner": "Parent"}]},
        {"name": "Child", "sectionLine": "A", "detailCircle": "B",
         "breakLines": [{"positions": [1.5, 2.5]}, {}],
         "notes": [{"textLines": ["one", "two", null]}]})"));
    const auto parent = recording->Document()->QueryDrawing()->FirstView();
    const auto child = parent->NextView();
    // An annotation's owner is the view that refers to it (the view it
    // creates), unless "owner" says otherwise.
    EXPECT_EQ(child->SectionLine()->OwnerView(), child);
    EXPECT_EQ(child->DetailCircle()->OwnerView(), parent);
    EXPECT_EQ(child->SectionLine(), parent->SectionLines().at(0));
    // Counts default to the number of recorded items.
    EXPECT_EQ(child->BreakLineCount(), 2);
    EXPECT_EQ(child->BreakLines()[0]->Position(1), 2.5);
    EXPECT_EQ(child->BreakLines()[0]->Position(2), 0.0);  // beyond the recorded positions
    const auto note = child->Notes().at(0);
    EXPECT_EQ(note->TextLineCount(), 3);
    EXPECT_EQ(note->TextLine(1), L"one");
    EXPECT_FALSE(note->TextLine(3).has_value());
    EXPECT_FALSE(note->TextLine(0).has_value());
}

TEST(RecordingLoad, ValuesKeepTheirRawForm) {
    const auto recording = Load(WithViews(R"(
        {"name": "V", "visible": true, "cropped": 2, "broken": -1, "angle": "nan",
         "scale": {"values": [1, 2], "lowerBound": 0}, "referencedConfiguration": "Défaut 東"})"));
    const auto view = recording->Document()->QueryDrawing()->FirstView();
    EXPECT_EQ(view->Visible(), 1);  // true is recorded as 1
    EXPECT_EQ(view->Cropped(), 2);
    EXPECT_EQ(view->Broken(), -1);
    EXPECT_TRUE(std::isnan(view->Angle()));
    EXPECT_EQ(view->Scale().values, (std::vector<double>{1, 2}));
    EXPECT_EQ(view->ReferencedConfiguration(), L"D\u00e9faut \u6771");
}

// A component tree nested beyond the bound is refused, not read until the
// stack runs out; one at the bound loads.
TEST(RecordingLoad, ComponentNestingIsBounded) {
    auto nested = [](int depth) {
        std::string tree = "{}";
        for (int i = 0; i < depth; ++i) tree = R"({"children": [)" + tree + "]}";
        return WithViews(R"({"name": "V", "rootComponent": )" + tree + "}");
    };
    EXPECT_NO_THROW(Load(nested(255)));
    EXPECT_NE(LoadError(nested(256)).find("drawing components nested deeper than 256 levels"), std::string::npos);
}

}  // namespace
}  // namespace kvswx::recorded
