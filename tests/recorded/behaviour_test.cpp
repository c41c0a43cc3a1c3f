// A loaded recording at work: state that calls change, the journal, injected
// faults, the crop command, object identity and the class registry. The text
// of journal entries is pinned by the golden example runs.
#include <gtest/gtest.h>

#include <filesystem>
#include <functional>
#include <string>
#include <vector>

#include "source/class_registry.h"
#include "recorded/recording.h"
#include "test_support.h"

namespace kvswx::recorded {
namespace {

constexpr const char* kTwoSheets = R"({
  "format": "kvswx-recording/1",
  "application": {"revision": "20.5.1",
                  "modelDocuments": [{"id": "part", "path": "C:\\Parts\\Bracket.SLDPRT",
                                      "preferences": {"string": {"13": "ANSI31"}, "double": {"40": 2.5}}}]},
  "document": {
    "path": "C:\\Drawings\\Bracket.SLDDRW",
    "layers": ["0", "KV_0"],
    "drawing": {"sheets": [
      {"name": "Sheet1", "views": [
        {"name": "Sheet1", "type": 1},
        {"name": "Drawing View1", "type": 7, "visible": 1, "cropped": 1,
         "sketch": {"segments": [{"id": "old", "kind": 0}]},
         "cropSegments": [{"id": "crop-line", "kind": 0}, {"id": "crop-arc", "kind": 1}]},
        {"name": "Drawing View2", "type": 4, "parent": "Drawing View1"}]},
      {"name": "Sheet2", "views": [{"name": "Sheet2", "type": 1}, {"name": "Drawing View3", "type": 7}]}
    ]}
  }
})";

std::shared_ptr<Recording> Load(const std::string& text) {
    return LoadRecordingFromString(text, "test.json");
}

std::vector<std::string> Ops(const Recording& recording) {
    std::vector<std::string> ops;
    for (const JournalEntry& entry : recording.GetJournal().Entries()) ops.push_back(entry.op);
    return ops;
}

VBool Select(const Recording& recording, const wchar_t* view, VBool append = kVariantTrue,
             const wchar_t* type = L"DRAWINGVIEW") {
    return recording.Document()->Commands()->SelectById(view, type, 0, 0, 0, append, 0, nullptr, 0);
}

TEST(RecordingBehaviour, RunStateIsVisibleToLaterCallsAndJournaled) {
    const auto recording = Load(kTwoSheets);
    const auto app = recording->Application();
    const auto doc = recording->Document();
    const auto drawing = doc->QueryDrawing();

    app->SetIntegerPreference(136, 0);
    EXPECT_EQ(recording->IntegerPreference(136), 0);
    // Layer "0" renamed: the old name no longer finds it, the new one finds
    // the same object.
    const auto layers = doc->LayerManager();
    const auto zero = layers->GetLayer(L"0");
    ASSERT_TRUE(zero);
    zero->SetName(L"KV_1");
    EXPECT_FALSE(layers->GetLayer(L"0"));
    EXPECT_EQ(layers->GetLayer(L"KV_1"), zero);
    EXPECT_EQ(drawing->CreateLayer(L"1000", L"Drawing View1", 0, 0, 1, -1), kVariantTrue);
    EXPECT_EQ(drawing->CreateLayer(L"1000", L"again", 0, 0, 1, -1), kVariantFalse);

    EXPECT_EQ(drawing->ActivateSheet(L"Sheet2"), kVariantTrue);
    EXPECT_EQ(drawing->FirstView()->NextView()->Name(), L"Drawing View3");
    EXPECT_EQ(drawing->ActivateSheet(L"Sheet9"), kVariantFalse);
    EXPECT_EQ(recording->ActiveSheet(), L"Sheet2");
    drawing->ActivateSheet(L"Sheet1");

    // Selection: appended or replacing, of known views only; moving it to a
    // layer that does not exist changes nothing.
    EXPECT_EQ(Select(*recording, L"Drawing View1"), kVariantTrue);
    EXPECT_EQ(Select(*recording, L"Nothing"), kVariantFalse);
    EXPECT_EQ(Select(*recording, L"Drawing View2", kVariantTrue, L"EDGE"), kVariantFalse);
    EXPECT_EQ(drawing->MoveSelectionToLayer(L"nope", 0), kVariantFalse);
    EXPECT_EQ(drawing->MoveSelectionToLayer(L"1000", 0), kVariantTrue);
    EXPECT_EQ(recording->ViewLayer(L"Drawing View1"), L"1000");
    EXPECT_FALSE(recording->ViewLayer(L"Drawing View2").has_value());
    Select(*recording, L"Drawing View2");
    EXPECT_EQ(recording->SelectedViews().size(), 2u);
    Select(*recording, L"Drawing View3", kVariantFalse);
    EXPECT_EQ(recording->SelectedViews(), std::vector<std::wstring>{L"Drawing View3"});
    doc->ClearSelection(-1);
    EXPECT_TRUE(recording->SelectedViews().empty());

    EXPECT_EQ(app->OpenModelDocument(L"c:\\parts\\bracket.sldprt", 1, 1, L"")->ReadStringPreference(13),
              L"ANSI31");
    EXPECT_FALSE(app->OpenModelDocument(L"C:\\Parts\\Missing.SLDPRT", 1, 1, L""));
    doc->Finish();
    EXPECT_TRUE(recording->Finished());

    // Reads are not journaled; every state-changing call is, in call order.
    EXPECT_EQ(Ops(*recording),
              (std::vector<std::string>{
                  "Application.SetIntegerPreference", "Layer.SetName", "Drawing.CreateLayer",
                  "Drawing.CreateLayer", "Drawing.ActivateSheet", "Drawing.ActivateSheet",
                  "Drawing.ActivateSheet", "Commands.SelectById", "Commands.SelectById",
                  "Commands.SelectById", "Drawing.MoveSelectionToLayer", "Drawing.MoveSelectionToLayer",
                  "Commands.SelectById", "Commands.SelectById", "Document.ClearSelection",
                  "Application.OpenModelDocument", "Application.OpenModelDocument", "Document.Finish"}));
}

TEST(RecordingBehaviour, CropCommandAppendsCropSegmentsKeepingIdentity) {
    const auto recording = Load(kTwoSheets);
    const auto commands = recording->Document()->Commands();
    const auto view = recording->Document()->QueryDrawing()->FirstView()->NextView();
    const auto before = view->Sketch()->Segments().value();
    ASSERT_EQ(before.size(), 1u);

    // Without a selection the command does nothing.
    commands->RunCommand(1388, std::nullopt);
    EXPECT_EQ(view->Sketch()->Segments()->size(), 1u);

    Select(*recording, L"Drawing View1");
    commands->RunCommand(1388, std::nullopt);
    const auto after = view->Sketch()->Segments().value();
    ASSERT_EQ(after.size(), 3u);
    EXPECT_EQ(after[0], before[0]);  // the same object, not an equal copy
    EXPECT_EQ(after[1]->Kind(), 0);
    EXPECT_EQ(after[2]->Kind(), 1);
    EXPECT_EQ(after[2]->Sketch(), view->Sketch());

    // Later reads return the same objects; running the command again adds nothing.
    commands->RunCommand(1388, std::nullopt);
    EXPECT_EQ(view->Sketch()->Segments().value(), after);
}

// That typed queries give one object per segment shows in the crop profile
// (sketch_geometry_test), which tells new segments by identity.

struct FaultCase {
    const char* what;
    const char* faults;
    std::function<void(SourceView&)> call;
    HRESULT expected;  // 0: the call succeeds
};

// Extraction asks for a sketch's arc data once per arc: each answer is a
// call (a fault after one skipped call hits the second), but the values are
// shared, not copied per answer.
TEST(RecordingBehaviour, ArcDataIsSharedBetweenAnswersAndEachAnswerIsACall) {
    const auto recording = Load(R"({"format": "kvswx-recording/1",
        "faults": [{"op": "Sketch.ArcData", "hresult": "0x80004005", "skip": 2}],
        "document": {"drawing": {"sheets": [{"name": "Sheet1", "views": [{"name": "Sheet1", "type": 1,
          "sketch": {"arcData": {"values": [1, 2, 3], "lowerBound": 0}}}]}]}}})");
    const auto sketch = recording->Document()->QueryDrawing()->FirstView()->Sketch();
    const SharedSourceDoubleArray first = sketch->ArcData();
    const SharedSourceDoubleArray second = sketch->ArcData();
    EXPECT_THROW(sketch->ArcData(), ComError);
    ASSERT_NE(first.values, nullptr);
    EXPECT_EQ(first.values, second.values);
    EXPECT_EQ(CheckedValues(first), (std::vector<double>{1, 2, 3}));
}

TEST(RecordingBehaviour, InjectedFaultsHitOnlyTheNamedCall) {
    const auto name = [](SourceView& v) { v.Name(); };
    const FaultCase cases[] = {
        {"named view", R"([{"op": "View.Name", "target": "A", "hresult": "0x800706BA"}])", name,
         static_cast<HRESULT>(0x800706BAu)},
        {"other view", R"([{"op": "View.Name", "target": "B", "hresult": "0x800706BA"}])", name, 0},
        {"other operation", R"([{"op": "View.Type", "target": "A", "hresult": "0x800706BA"}])",
         name, 0},
        {"any view", R"([{"op": "View.Name", "hresult": -2147467259}])", name, kE_FAIL},
        {"after skipped calls", R"([{"op": "View.Type", "hresult": "0x80004005", "skip": 1}])",
         [](SourceView& v) { v.Type(); v.Type(); }, kE_FAIL},
        {"only so many times", R"([{"op": "View.Type", "hresult": "0x80004005", "times": 1}])",
         [](SourceView& v) {
             EXPECT_THROW(v.Type(), ComError);
             v.Type();
         },
         0},
        {"state-changing call",
         R"([{"op": "View.SetVisible", "target": "A", "hresult": "0x80010108"}])",
         [](SourceView& v) { v.SetVisible(1, 0); }, static_cast<HRESULT>(0x80010108u)},
        {"deep object", R"([{"op": "Segment.Curve", "target": "s1", "hresult": "0x80004005"}])",
         [](SourceView& v) { v.Sketch()->Segments().value().at(0)->Curve(); }, kE_FAIL},
        {"math object", R"([{"op": "MathPoint.MultiplyTransform", "hresult": "0x80004005"}])",
         [](SourceView& v) { v.Transform()->Inverse(); }, 0},
    };
    for (const FaultCase& c : cases) {
        SCOPED_TRACE(c.what);
        const auto recording =
            Load(std::string(R"({"format": "kvswx-recording/1", "faults": )") + c.faults +
                 R"(, "document": {"drawing": {"sheets": [{"views": [
                {"name": "A", "transform": [1,0,0,0,1,0,0,0,1,0,0,0,1,0,0,0],
                 "sketch": {"segments": [{"id": "s1", "curve": {}}]}}, {"name": "B"}]}]}}})");
        const auto view = recording->Document()->QueryDrawing()->FirstView();
        HRESULT got = 0;
        try {
            c.call(*view);
        } catch (const ComError& e) {
            got = e.Code();
        }
        EXPECT_EQ(got, c.expected);
    }
}

TEST(RecordingBehaviour, FailedCallsAreNotJournaled) {
    const auto recording = Load(R"({"format": "kvswx-recording/1",
        "faults": [{"op": "Drawing.ActivateSheet", "hresult": "0x800706BA", "times": 1}],
        "document": {"drawing": {"sheets": [{"name": "S"}]}}})");
    const auto drawing = recording->Document()->QueryDrawing();
    EXPECT_THROW(drawing->ActivateSheet(L"S"), ComError);
    drawing->ActivateSheet(L"S");
    EXPECT_EQ(recording->GetJournal().Entries().size(), 1u);
}

TEST(RecordingBehaviour, RegisteredApplicationIsReachableByProgIdWhileInScope) {
    const auto recording = Load(kTwoSheets);
    {
        ScopedClassRegistration registration(kSourceApplicationProgId,
                                             [&] { return recording->Application(); });
        const ApplicationFactory factory = ClassRegistry::Lookup(kSourceApplicationProgId);
        ASSERT_TRUE(factory);
        EXPECT_EQ(factory(), recording->Application());
        EXPECT_FALSE(ClassRegistry::Lookup(L"Other.Application"));
    }
    EXPECT_FALSE(ClassRegistry::Lookup(kSourceApplicationProgId));
}

TEST(RecordingBehaviour, ObjectsOutliveTheRecordingHandle) {
    Ref<SourceView> view;
    {
        const auto recording = Load(kTwoSheets);
        view = recording->Document()->QueryDrawing()->FirstView();
    }
    EXPECT_EQ(view->NextView()->Name(), L"Drawing View1");
}

constexpr const char* kAnnotated = R"({
  "format": "kvswx-recording/1",
  "document": {
    "preferences": {"integer": {"60,301": 2}, "toggle": {"552,0": -1}, "string": {"96,0": "IOQ"},
                    "textFormat": {"3,301": {"typeFaceName": "Arial", "charHeight": 0.005, "isBold": 1}}},
    "features": [
      {"name": "Sheet1", "typeName": "DrSheet"},
      {"name": "Picture1", "owner": "Sheet1", "specific": {"picture": {"pixels": [-1, 300], "size": [2, 1]}}}
    ],
    "drawing": {"sheets": [
      {"name": "S1", "oleObjects": [{"fileName": "C:\\a.xls", "data": [0, 255]}, null], "views": [
        {"name": "P",
         "sectionLines": [{"name": "A"}],
         "detailCircles": [{"name": "B", "profile": {"segments": [{"kind": 1}]}}],
         "breakLines": [{"name": "Break1"}],
         "notes": [{"name": "Note1", "annotation": {"layer": "L0"}}],
         "brokenOutSections": [{"name": "BOS1", "feature": {"brokenOutSection": {"depth": 0.01,
                                "sketch": {"segments": [{"kind": 0}]}}}},
                               {"name": "BOS2", "feature": {}}, {"name": "BOS3"}]}]},
      {"name": "S2"}
    ]}
  }
})";

TEST(RecordingBehaviour, AnnotationLayerChangesAreJournaledUnderTheirTargets) {
    const auto recording = Load(kAnnotated);
    const auto view = recording->Document()->QueryDrawing()->FirstView();
    view->BreakLines().at(0)->SetLayer(L"1002");
    const auto annotation = view->Notes().at(0)->Annotation();
    EXPECT_EQ(annotation->Layer(), L"L0");
    annotation->SetLayer(L"1003");
    EXPECT_EQ(annotation->Layer(), L"1003");
    std::vector<std::string> lines;
    for (const JournalEntry& e : recording->GetJournal().Entries()) lines.push_back(e.target + " " + e.args.dump());
    EXPECT_EQ(lines, (std::vector<std::string>{R"(Break1 ["1002"])", R"(Note1 ["1003"])"}));
}

TEST(RecordingBehaviour, BrokenOutSectionSegmentsAreReadableOnlyWhileEditing) {
    const auto recording = Load(kAnnotated);
    const auto entries = recording->Document()->QueryDrawing()->FirstView()->BrokenOutSections();
    ASSERT_EQ(entries.size(), 3u);
    EXPECT_EQ(entries[0].name, L"BOS1");
    EXPECT_FALSE(entries[1].feature->QueryBrokenOutSection());  // a feature of another kind
    EXPECT_FALSE(entries[2].feature);                           // no feature at all
    const auto section = entries[0].feature->QueryBrokenOutSection();
    ASSERT_TRUE(section);
    EXPECT_EQ(section->Depth(), 0.01);
    EXPECT_TRUE(section->SketchSegments().empty());
    section->SetSketchEditing(kVariantTrue);
    EXPECT_EQ(section->SketchSegments().size(), 1u);
    section->SetSketchEditing(kVariantFalse);
    EXPECT_TRUE(section->SketchSegments().empty());
}

TEST(RecordingBehaviour, DocumentLevelObjects) {
    const auto recording = Load(kAnnotated);
    const auto doc = recording->Document();
    EXPECT_EQ(doc->ReadDocumentInteger(60, 301), 2);
    EXPECT_EQ(doc->ReadDocumentInteger(60, 0), 0);  // the option number is part of the key
    EXPECT_EQ(doc->ReadDocumentToggle(552, 0), -1);
    EXPECT_EQ(doc->ReadDocumentString(96, 0), L"IOQ");
    const auto font = doc->ReadDocumentTextFormat(3, 301);
    ASSERT_TRUE(font);
    EXPECT_EQ(font->TypeFaceName(), L"Arial");
    EXPECT_EQ(font->WidthFactor(), 0.0);

    // Profile segments belong to the profile sketch.
    const auto circle = doc->QueryDrawing()->FirstView()->DetailCircles().at(0);
    const auto profile = circle->ProfileSegments();
    ASSERT_EQ(profile.size(), 1u);
    EXPECT_EQ(profile[0]->Sketch()->Segments()->at(0), profile[0]);

    // Pictures lead back to the feature that holds them, and up its owners.
    const auto features = doc->FeatureList()->Features(0);
    ASSERT_EQ(features.size(), 2u);
    const auto picture = features[1]->SpecificFeature()->QuerySketchPicture();
    ASSERT_TRUE(picture);
    EXPECT_EQ(picture->PictureFeature()->Owner()->TypeName(), L"DrSheet");
    EXPECT_EQ(picture->PixelData().values, (std::vector<std::int16_t>{-1, 300}));
    EXPECT_EQ(picture->Size().width, 2);

    // OLE objects are those of the active sheet.
    const auto commands = doc->Commands();
    const auto objects = commands->OleObjects(1);
    ASSERT_EQ(objects.size(), 2u);
    EXPECT_EQ(objects[0]->Data().values, (std::vector<std::uint8_t>{0, 255}));
    EXPECT_FALSE(objects[1]);
    doc->QueryDrawing()->ActivateSheet(L"S2");
    EXPECT_TRUE(commands->OleObjects(1).empty());
    EXPECT_EQ(doc->QueryDrawing()->ActivateView(L"P"), kVariantFalse);  // P is on S1
}

TEST(RecordingBehaviour, JournalIsWrittenAsJsonLinesFile) {
    const auto recording = Load(kAnnotated);
    recording->Document()->Finish();
    recording->Document()->ClearSelection(-1);
    const auto path = test::ScratchDir() / "journal.jsonl";
    recording->GetJournal().WriteJsonLines(path);
    EXPECT_EQ(test::ReadFile(path),
              "{\"op\":\"Document.Finish\",\"target\":\"\",\"args\":[]}\n"
              "{\"op\":\"Document.ClearSelection\",\"target\":\"\",\"args\":[-1]}\n");
    EXPECT_THROW(recording->GetJournal().WriteJsonLines(path / "not-a-folder" / "j.jsonl"),
                 std::runtime_error);
}

}  // namespace
}  // namespace kvswx::recorded
