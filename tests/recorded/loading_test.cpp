// Loading recordings: what a bad recording reports, and what an absent
// value gives. The examples, comments and all, load in the golden runs.
#include <gtest/gtest.h>

#include <cmath>
#include <string>
#include <vector>

#include "recorded/recording.h"
#include "test_support.h"

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

// Views are read while the file is parsed; what a recording reports stays
// the first problem in reading order, wherever the views sit in the file.
TEST(RecordingLoad, ViewsReadDuringParsingReportProblemsInReadingOrder) {
    const BadRecording cases[] = {
        {"syntax error after a bad view",
         R"({"format": "kvswx-recording/1", "document": {"drawing": {"sheets": [{"views": [{"type": "x"}]}]}} x)",
         {"line 1, column 99: JSON syntax error"}},
        {"layers are read before the drawing they follow",
         R"({"format": "kvswx-recording/1", "document": {"drawing": {"sheets": [{"views": [{"type": "x"}]}]}, "layers": [1]}})",
         {"/document/layers/0: expected an object"}},
        {"format is checked first",
         R"({"document": {"drawing": {"sheets": [{"views": [{"type": "x"}]}]}}, "format": 1})",
         {"test.json: /format: unsupported format"}},
        {"first bad view of two",
         WithViews(R"({"name": "V", "type": "x"}, {"name": "V", "scale": 1})"),
         {"/views/0/type: expected an integer"}},
        {"references resolve in reading order",
         WithViews(R"({"name": "A", "parent": "X"}, {"name": "B", "sectionLine": "Y"})"),
         {"/views/0/parent: no view has the id \"X\""}},
        {"a problem deep in a view keeps its place",
         WithViews(
             R"({"name": "A"}, {"name": "B", "sketch": {"segments": [{}, {"curve": {"lineData": [1, "y"]}}]}})"),
         {"test.json: /document/drawing/sheets/0/views/1/sketch/segments/1/curve/lineData/1: "
          "expected a number"}},
    };
    for (const BadRecording& c : cases) {
        SCOPED_TRACE(c.what);
        const std::string message = LoadError(c.text);
        for (const std::string& part : c.expected)
            EXPECT_NE(message.find(part), std::string::npos) << message;
    }
    // A view refers to views, section lines and detail circles defined after it.
    const auto recording = Load(WithViews(
        R"({"name": "A", "parent": "B", "sectionLine": "S"}, {"name": "B", "sectionLines": [{"name": "S"}]})"));
    const auto first = recording->Document()->QueryDrawing()->FirstView();
    ASSERT_TRUE(first);
    EXPECT_EQ(first->ParentView()->Name(), std::wstring(L"B"));
    EXPECT_EQ(first->SectionLine()->OwnerView()->Name(), std::wstring(L"A"));
    EXPECT_EQ(first->NextView()->Name(), std::wstring(L"B"));

    // A segment without an id takes its view's target, also when the view's
    // name follows its sketch in the file; faults on that target find it.
    const auto faulty = Load(WithViews(
        R"({"sketch": {"segments": [{"kind": 0, "start": [0, 0, 0], "curve": {"bspline": {}}},
                                    {"id": "S", "kind": 1}]}, "name": "V"})",
        R"("faults": [{"op": "Point.X", "target": "V", "hresult": "0x80004005"},
                      {"op": "BSplineData.Order", "target": "V", "hresult": "0x80004005"},
                      {"op": "Segment.Kind", "target": "S", "hresult": "0x80004005"}], )"));
    const auto segments = faulty->Document()->QueryDrawing()->FirstView()->Sketch()->Segments();
    ASSERT_TRUE(segments && segments->size() == 2);
    const auto& plain = (*segments)[0];
    EXPECT_EQ(plain->Kind(), 0);
    EXPECT_THROW(plain->QueryLine()->StartPoint()->X(), ComError);
    EXPECT_THROW(plain->Curve()->BSplineData(0, 0, 0, 0)->Order(), ComError);
    EXPECT_THROW((*segments)[1]->Kind(), ComError);
}

// Locations are spelled out only when a problem is reported, from the keys
// and indices of the readers that reached it, and references keep theirs
// until they are resolved: every reader and every kind of step, in views
// read during parsing and in the rest of the document, names its place exactly.
TEST(RecordingLoad, ProblemsNameTheirExactLocation) {
    const std::string view = "test.json: /document/drawing/sheets/0/views/";
    const struct {
        const char* what;
        std::string text;
        std::string message;
    } cases[] = {
        {"reference in a view's sketch",
         WithViews(R"({"name": "V", "sketch": {"blockInstances": [{"definition": "Nope"}]}})"),
         view + R"(0/sketch/blockInstances/0/definition: no block definition has the id "Nope")"},
        {"view of a later sheet",
         R"({"format": "kvswx-recording/1", "document": {"drawing": {"sheets": [{"views": [{}]},
             {"views": [{"name": "A"}, {"name": "B"}, {"name": "C", "parent": "Z"}]}]}}})",
         R"(test.json: /document/drawing/sheets/1/views/2/parent: no view has the id "Z")"},
        {"section line owner",
         WithViews(R"({"name": "V", "sectionLines": [{"name": "S", "owner": "W"}]})"),
         view + R"(0/sectionLines/0/owner: no view has the id "W")"},
        {"detail circle owner in a later view",
         WithViews(
             R"({"name": "A"}, {"name": "B", "detailCircles": [{"name": "D", "owner": "X"}]})"),
         view + R"(1/detailCircles/0/owner: no view has the id "X")"},
        {"detail circle reference", WithViews(R"({"name": "V", "detailCircle": "D"})"),
         view + R"(0/detailCircle: no detail circle has the id "D")"},
        {"reference of another type", WithViews(R"({"sectionLine": 5})"),
         view + "0/sectionLine: expected a section line id (a string), found an integer"},
        {"segment of a detail circle's profile",
         WithViews(
             R"({"detailCircles": [{"name": "D", "profile": {"segments": [{"kind": "x"}]}}]})"),
         view + "0/detailCircles/0/profile/segments/0/kind: expected an integer, found a string"},
        {"segment of a center line sketch",
         WithViews(R"({"centerLineSketch": {"segments": [{}, {"start": [1, 2]}]}})"),
         view + "0/centerLineSketch/segments/1/start: expected an array of 3 numbers [x, y, z]"},
        {"picture of a broken-out section",
         WithViews(R"({"brokenOutSections": [{"feature": {"picture": {"feature": "F"}}}]})"),
         view + R"(0/brokenOutSections/0/feature/picture/feature: no feature has the id "F")"},
        {"text line of a note", WithViews(R"({"notes": [{"textLines": ["a", 3]}]})"),
         view + "0/notes/0/textLines/1: expected a string, found an integer"},
        {"packed transform", WithViews(R"({"transform": {"values": [1, "x"]}})"),
         view +
             R"(0/transform/values/1: expected a number (or "nan", "inf", "-inf"), found a string)"},
        {"unknown key of a placement",
         WithViews(R"({"sketch": {"placement": {"values": [], "lowerBound": 1, "x": 2}}})"),
         view + R"(0/sketch/placement/x: unknown key "x")"},
        {"escaped key", WithViews(R"({"a/b~c": 1})"), view + R"(0/a~1b~0c: unknown key "a/b~c")"},
        {"duplicate section line",
         WithViews(
             R"({"name": "A", "sectionLines": [{"name": "S"}]}, {"name": "B", "sectionLines": [{"name": "S"}]})"),
         view + R"(1/sectionLines/0/name: duplicate section line id "S")"},
        {"duplicate view id", WithViews(R"({"id": "A"}, {"id": "A"})"),
         view + R"(1/id: duplicate view id "A")"},
        {"feature owner",
         R"({"format": "kvswx-recording/1", "document": {"features": [{"name": "A"}, {"name": "B", "owner": "Q"}]}})",
         R"(test.json: /document/features/1/owner: no feature has the id "Q")"},
        {"picture size",
         R"({"format": "kvswx-recording/1", "document": {"features": [{"name": "F", "specific": {"picture": {"size": [1, "x"]}}}]}})",
         "test.json: /document/features/0/specific/picture/size/1: expected an integer, found a "
         "string"},
        {"model document preference key",
         R"({"format": "kvswx-recording/1", "application": {"modelDocuments": [{"path": "p", "preferences": {"integer": {"x/y": 1}}}]}})",
         R"(test.json: /application/modelDocuments/0/preferences/integer/x~1y: preference key "x/y" is not an integer identifier)"},
        {"linked file stand-in",
         R"({"format": "kvswx-recording/1", "document": {"drawing": {"sheets": [{"oleObjects": [{"fileName": "f", "linkedFile": {"path": ""}}]}]}}})",
         "test.json: /document/drawing/sheets/0/oleObjects/0/linkedFile/path: expected the name of "
         "a file beside the recording"},
        {"second fault",
         WithViews(
             R"({"name": "V"})",
             R"("faults": [{"op": "View.Name", "hresult": 1}, {"op": "View.Name", "hresult": "zz"}], )"),
         R"(test.json: /faults/1/hresult: "zz" is not a 32-bit hexadecimal HRESULT such as "0x800706BA")"},
        {"fault on a sketch no view has",
         WithViews(R"({"name": "V", "sketch": {}})",
                   R"("faults": [{"op": "Sketch.Segments", "target": "W", "hresult": 1}], )"),
         R"(test.json: /faults/0/target: no Sketch in the recording has the target "W")"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        EXPECT_EQ(LoadError(c.text), c.message);
    }
    // The sketch of view "V" has the view's target.
    EXPECT_NO_THROW(
        Load(WithViews(R"({"name": "V", "sketch": {}})",
                       R"("faults": [{"op": "Sketch.Segments", "target": "V", "hresult": 1}], )")));
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

// A file is read a block at a time: the line and column of a syntax error
// count the lines of the blocks already dropped, and the file's own content
// decides wherever a block ends.
TEST(RecordingLoad, SyntaxErrorsFarIntoAFileKeepTheirLineAndColumn) {
    const auto dir = test::ScratchDir();
    const std::string head = R"({"format": "kvswx-recording/1",)";
    const struct {
        std::string text;
        std::string where;
    } cases[] = {
        {head + std::string(300000, '\n') + R"( "document": {"path": tru }})",
         "line 300001, column 26"},
        {head + std::string(256 * 1024 - head.size(), ' ') + "x", "line 1, column 262145"},
        {head + std::string(256 * 1024 - head.size() - 1, ' ') + "\nx", "line 2, column 1"},
    };
    for (const auto& c : cases) {
        test::WriteFile(dir / "r.json", c.text);
        try {
            LoadRecording(dir / "r.json");
            ADD_FAILURE() << "loaded";
        } catch (const RecordingError& e) {
            EXPECT_EQ(e.Location(), c.where);
        }
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

std::string Repeat(const std::string& piece, std::size_t n) {
    std::string out;
    out.reserve(piece.size() * n);
    for (std::size_t i = 0; i < n; ++i) out += piece;
    return out;
}

// Hostile recordings: nesting beyond any walk's depth, numbers beyond a
// double, and huge strings all end in the usual one-line error, short and
// located, without crashing the process or exhausting its stack.
TEST(RecordingLoad, HostileRecordingsGiveShortLocatedErrors) {
    const std::string huge(1 << 20, 'k');
    const std::size_t deep = 10000;
    const BadRecording cases[] = {
        {"component tree nested 10,000 deep",
         WithViews(R"({"name": "V", "rootComponent": )" + Repeat(R"({"children": [)", deep) +
                   "{}" + Repeat("]}", deep) + "}"),
         {"/views/0/rootComponent/children/0/children/0/", "nest deeper than 1024 levels"}},
        {"format nested 100,000 arrays deep",
         R"({"format": )" + Repeat("[", 100000) + Repeat("]", 100000) + "}",
         {"test.json: /format/0/0/", "nest deeper than"}},
        {"format of another type", R"({"format": [1, 2]})", {"/format: unsupported format an array"}},
        {"number beyond a double",
         WithViews(R"({"name": "V", "angle": 1e999})"),
         {"test.json: /document/drawing/sheets/0/views/0/angle: number overflow parsing '1e999'"}},
        {"number beyond a double in an array",
         WithViews(R"({"name": "V", "scale": [1, -1e400]})"),
         {"/views/0/scale/1: number overflow"}},
        {"huge unknown key", WithViews(R"({")" + huge + R"(": 1})"), {"unknown key \"kkkk", "(1048576 bytes)\""}},
        {"huge duplicate key", WithViews(R"({")" + huge + R"(": 1, ")" + huge + R"(": 2})"),
         {"/views/0: duplicate key \"kkk", "(1048576 bytes)"}},
        {"huge dangling id", WithViews(R"({"name": "V", "parent": ")" + huge + R"("})"),
         {"/views/0/parent: no view has the id \"kkk"}},
        {"huge invalid literal", R"({"format": t)" + huge + "}", {"line 1, column 13: JSON syntax error"}},
    };
    for (const BadRecording& c : cases) {
        SCOPED_TRACE(c.what);
        const std::string message = LoadError(c.text);
        EXPECT_LT(message.size(), 2500u);
        for (const std::string& part : c.expected)
            EXPECT_NE(message.find(part), std::string::npos) << message.substr(0, 400);
    }
}

// Chains of references are not nested in the JSON, so their length has no
// bound there: checking them for cycles must neither recurse nor take time
// that grows with the square of their length.
TEST(RecordingLoad, LongReferenceChainsLoad) {
    const std::size_t n = 20000;
    std::string definitions;
    std::string features;
    for (std::size_t i = 0; i < n; ++i) {
        const std::string next = std::to_string(i + 1 == n ? 0 : i + 1);
        if (i != 0) definitions += ",", features += ",";
        definitions += R"({"id": ")" + std::to_string(i) + R"(")" +
                       (i + 1 == n ? std::string() : R"(, "sketch": {"blockInstances": [{"definition": ")" + next + R"("}]})") + "}";
        features += R"({"name": ")" + std::to_string(i) + R"(")" + (i + 1 == n ? std::string() : R"(, "owner": ")" + next + R"(")") + "}";
    }
    const std::string text = R"({"format": "kvswx-recording/1", "document": {"blockDefinitions": [)" + definitions +
                             R"(], "features": [)" + features + "]}}";
    EXPECT_NO_THROW(Load(text));
    // Closing the chains into rings is found, and named at the first member.
    std::string ring = text;
    ring.replace(ring.find(R"({"id": ")" + std::to_string(n - 1) + R"("})"), std::string::npos,
                 R"({"id": ")" + std::to_string(n - 1) + R"(", "sketch": {"blockInstances": [{"definition": "0"}]}}]}})");
    EXPECT_NE(LoadError(ring).find("/document/blockDefinitions/0: block definitions contain each other"),
              std::string::npos);
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
