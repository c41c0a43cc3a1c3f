#include <gtest/gtest.h>

#include <filesystem>
#include <functional>

#include "entry/run_driver.h"
#include "entry/run_log.h"
#include "entry_support.h"
#include "model/process_state.h"
#include "model/xml_wrapper.h"
#include "test_support.h"
#include "views/base_view.h"

namespace kvswx {
namespace {

using test::RecordedDrawing;

// Four sheets: two whose names differ only in invalid characters, one named
// "Model", one without views. Views: plain ones, one with an apostrophe and
// a percent sign, two section views of the same name cut by different lines,
// one with user-hidden edges (reported, still extracted) and one without
// referenced model (skipped).
constexpr const char* kDrawing = R"({
  "format": "kvswx-recording/1",
  "application": {
    "revision": "30.1.0",
    "modelDocuments": [
      {"id": "part", "path": "C:\\Models\\Bracket.SLDPRT"},
      {"id": "asm", "path": "C:\\Models\\Frame.SLDASM"}
    ]
  },
  "document": {
    "path": "C:\\Drawings\\Part.Drawing.slddrw",
    "layers": ["0", "KV_0"],
    "drawing": {"sheets": [
      {"name": "A:1", "views": [
        {"name": "A:1", "type": 1},
        {"name": "Front", "type": 7, "visible": 1, "referencedModel": "part",
         "referencedDocumentPath": "C:\\Models\\Bracket.SLDPRT", "referencedConfiguration": "Default",
         "transform": [1, 0, 0, 0, 1, 0, 0, 0, 1, 0, 0, 0, 1, 0, 0, 0],
         "sectionLines": [{"name": "A", "owner": "sec-a"}, {"name": "B", "owner": "sec-b"}]},
        {"id": "sec-a", "name": "Section", "type": 2, "parent": "Front", "sectionLine": "A",
         "referencedModel": "part", "referencedDocumentPath": "C:\\Models\\Bracket.SLDPRT",
         "referencedConfiguration": "Default",
         "transform": [0, 0, 1, 0, 1, 0, -1, 0, 0, 0, 0, 0, 1, 0, 0, 0]},
        {"id": "sec-b", "name": "Section", "type": 2, "parent": "Front", "sectionLine": "B",
         "referencedModel": "part", "referencedDocumentPath": "C:\\Models\\Bracket.SLDPRT",
         "referencedConfiguration": "Default",
         "transform": [0, 0, 1, 0, 1, 0, -1, 0, 0, 0, 0, 0, 1, 0, 0, 0]},
        {"name": "It's 100%", "type": 7, "referencedModel": "part",
         "referencedDocumentPath": "C:\\Models\\Bracket.SLDPRT", "referencedConfiguration": "Rev*B"}
      ]},
      {"name": "A/1", "views": [
        {"name": "A/1", "type": 1},
        {"name": "Side", "type": 6, "referencedModel": "asm", "hiddenEdgeCount": 2,
         "referencedDocumentPath": "C:\\Models\\Frame.SLDASM", "referencedConfiguration": "Default"},
        {"name": "Loose", "type": 7}
      ]},
      {"name": "Model", "views": [{"name": "Model", "type": 1}]},
      {"name": "a=b,c"}
    ]}
  }
})";

const std::set<std::string> kDriverOps = {
    "Application.SetIntegerPreference", "Application.SetTogglePreference", "Layer.SetName",
    "Drawing.ActivateSheet", "Drawing.CreateLayer", "Drawing.ActivateView", "Commands.SelectById",
    "Drawing.MoveSelectionToLayer", "Document.ClearSelection", "Document.Finish"};

std::wstring Wide(const std::filesystem::path& p) { return p.wstring(); }

TEST(RunDriver, ExtractsEverySheetAndPutsEachViewOnItsOwnLayer) {
    ResetProcessStateForTests();
    const auto dir = test::ScratchDir();
    const RecordedDrawing drawing(kDrawing);
    const test::RunOutcome run = drawing.Run(dir, dir / "run.log");

    ASSERT_EQ(run.result, 1);
    EXPECT_EQ(test::FilesIn(dir), (std::set<std::string>{"Part.Drawing.xml", "run.log"}));
    EXPECT_EQ(run.stats.drawingName, L"Part.Drawing.SLDDRW");
    EXPECT_EQ(run.stats.viewsExtracted, 5);
    EXPECT_EQ(run.stats.viewsSkipped, 1);
    EXPECT_FALSE(run.stats.interrupted);
    EXPECT_TRUE(run.stats.xmlWritten);

    EXPECT_EQ(test::ReadFile(dir / "run.log"),
              "### Preprocessing C:\\Drawings\\Part.Drawing.slddrw\n"
              "### Processing C:\\Drawings\\Part.Drawing.slddrw\n"
              "View \"Front\" - succeeded\n"
              "View \"Section\" - succeeded\n"
              "View \"Section\" - succeeded\n"
              "View \"It's 100%\" - succeeded\n"
              "This view Side contains edges that were interactively hidden by the user, These edges will be "
              "displayed in Korvane\n"
              "View \"Side\" - succeeded\n"
              "View \"Loose\" - skipped due no referenced document or configuration found\n");

    const auto Sheet = [](const std::string& name) {
        return R"({"op":"Drawing.ActivateSheet","target":"","args":[")" + name + R"("]})";
    };
    // Step by step: activate the view, select it, move it, clear the selection.
    const auto OnLayer = [](const std::string& view, const std::string& layer) {
        return R"({"op":"Drawing.ActivateView","target":"","args":[")" + view + R"("]})"
               "\n" R"({"op":"Commands.SelectById","target":"","args":[")" + view +
               R"(","DRAWINGVIEW",0.0,0.0,0.0,-1,0,null,0]})"
               "\n" R"({"op":"Drawing.MoveSelectionToLayer","target":"","args":[")" + layer + R"(",0]})"
               "\n" R"({"op":"Document.ClearSelection","target":"","args":[-1]})";
    };
    const std::vector<std::string> expected = {
        R"({"op":"Application.SetIntegerPreference","target":"","args":[136,0]})",
        R"({"op":"Application.SetIntegerPreference","target":"","args":[1,1]})",
        R"({"op":"Application.SetTogglePreference","target":"","args":[358,1]})",
        R"({"op":"Application.SetIntegerPreference","target":"","args":[2,2]})",
        R"({"op":"Application.SetTogglePreference","target":"","args":[484,1]})",
        R"({"op":"Layer.SetName","target":"0","args":["KV_1"]})",
        Sheet("A:1"),
        R"({"op":"Drawing.CreateLayer","target":"","args":["1000","Front",0,0,1,-1]})",
        R"({"op":"Drawing.CreateLayer","target":"","args":["1001","Section",0,0,1,-1]})",
        R"({"op":"Drawing.CreateLayer","target":"","args":["1002","Section_B",0,0,1,-1]})",
        R"({"op":"Drawing.CreateLayer","target":"","args":["1003","It_s 100%",0,0,1,-1]})",
        Sheet("A/1"),
        R"({"op":"Drawing.CreateLayer","target":"","args":["1004","Side",0,0,1,-1]})",
        Sheet("Model"),
        Sheet("a=b,c"),
        Sheet("A:1"), OnLayer("Front", "1000"), OnLayer("Section", "1001"), OnLayer("Section_B", "1002"),
        OnLayer("It_s 100%", "1003"), Sheet("A/1"), OnLayer("Side", "1004"), Sheet("Model"), Sheet("a=b,c"),
        R"({"op":"Document.Finish","target":"","args":[]})",
    };
    std::string journal;
    for (const auto& line : drawing.Journal(kDriverOps)) journal += line + "\n";
    std::string want;
    for (const auto& line : expected) want += line + "\n";
    EXPECT_EQ(journal, want);
    EXPECT_EQ(drawing.Recording().ViewLayer(L"Side"), L"1004");
    EXPECT_EQ(drawing.Recording().ActiveSheet(), L"a=b,c");
    EXPECT_EQ(Process().nextLayerNumber, 1005);

    // The host's lists: one line per referenced pair, documents lower-cased,
    // configurations made safe for file names.
    EXPECT_EQ(run.documents, L"c:\\models\\bracket.sldprt\nc:\\models\\bracket.sldprt\nc:\\models\\frame.sldasm\n");
    EXPECT_EQ(run.configurations, L"Default\nRev_B\nDefault\n");

    KVSWX_XMLWrapper saved;
    saved.Load(Wide(dir / "Part.Drawing.xml"));
    const KVSWX_Drawing& model = *saved.GetDrawing();
    EXPECT_EQ(model.GetName(), L"Part.Drawing.SLDDRW");
    ASSERT_EQ(model.GetSheetCount(), 4u);
    const std::pair<std::wstring, std::wstring> sheets[] = {
        {L"A:1", L"A_1"}, {L"A/1", L"SW_A_1_1"}, {L"Model", L"SW_Model_2"}, {L"a=b,c", L"a_b_c"}};
    for (std::size_t i = 0; i < 4; ++i) {
        EXPECT_EQ(model.GetSheet(i)->GetName(), sheets[i].first);
        EXPECT_EQ(model.GetSheet(i)->GetDxfName(), sheets[i].second);
    }
    ASSERT_EQ(model.GetSheet(0)->GetViewCount(), 4u);
    EXPECT_EQ(model.GetSheet(0)->GetView(2)->GetName(), L"Section_B");
    EXPECT_EQ(model.GetSheet(0)->GetView(3)->GetBaseView()->GetLayer(), L"1003");
    EXPECT_EQ(model.GetSheet(1)->GetViewCount(), 1u);
}

TEST(RunDriver, RefusalsWriteAndLogNothing) {
    const auto dir = test::ScratchDir();
    const RecordedDrawing drawing(kDrawing);
    const Ref<SourceApplication> app = drawing.Recording().Application();
    Ref<SourceDocument> document = drawing.Recording().Document();
    Ref<SourceDocument> none;
    const std::wstring out = Wide(dir);
    const std::wstring log = Wide(dir / "run.log");
    const std::wstring badLog = Wide(dir / "no-such-folder" / "run.log");

    enum class Registered { kApplication, kNothing, kNoObject };
    struct Case {
        const char* what;
        std::function<void(KV_SWX_ExtractRequest&)> change;
        Registered registered = Registered::kApplication;
    };
    const Case cases[] = {
        {"document null", [](auto& r) { r.document = nullptr; }},
        {"document empty", [&](auto& r) { r.document = &none; }},
        {"output folder null", [](auto& r) { r.outputFolder = nullptr; }},
        {"log path null", [](auto& r) { r.logPath = nullptr; }},
        {"documents out null", [](auto& r) { r.referencedDocuments = nullptr; }},
        {"configurations out null", [](auto& r) { r.referencedConfigurations = nullptr; }},
        {"no application registered", [](auto&) {}, Registered::kNothing},
        {"application object not available", [](auto&) {}, Registered::kNoObject},
        {"log cannot be opened", [&](auto& r) { r.logPath = badLog.c_str(); }},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        const std::size_t journalBefore = drawing.Recording().GetJournal().Entries().size();
        ApplicationFactory factory;
        if (c.registered == Registered::kApplication) factory = [app] { return app; };
        if (c.registered == Registered::kNoObject) factory = [] { return Ref<SourceApplication>(); };
        const ScopedClassRegistration registration(kSourceApplicationProgId, factory);

        ComString documents = ComStringAlloc(L"untouched");
        ComString configurations = ComStringAlloc(L"untouched");
        const ComString documentsBefore = documents;
        const ComString configurationsBefore = configurations;
        KV_SWX_ExtractRequest request{&document, out.c_str(), log.c_str(), &documents, &configurations, 0};
        c.change(request);
        RunStats stats;
        EXPECT_EQ(ExtractDrawingViewInfo(&request, &stats), 0);
        EXPECT_EQ(documents, documentsBefore);
        EXPECT_EQ(configurations, configurationsBefore);
        ComStringFree(documents);
        ComStringFree(configurations);
        EXPECT_TRUE(test::FilesIn(dir).empty());
        // Nothing past the connection reaches the application.
        for (std::size_t i = journalBefore; i < drawing.Recording().GetJournal().Entries().size(); ++i) {
            EXPECT_EQ(drawing.Recording().GetJournal().Entries()[i].op.rfind("Application.Set", 0), 0u);
        }
    }
    EXPECT_EQ(ExtractDrawingViewInfo(nullptr), 0);
}

TEST(RunDriver, AFailingSourceCallEndsTheRunWithoutXml) {
    ResetProcessStateForTests();
    const auto dir = test::ScratchDir();
    std::string json = kDrawing;
    json.insert(json.rfind('}'), R"(, "faults": [{"op": "View.Name", "target": "Side", "hresult": "0x800706BA"}])");
    const RecordedDrawing drawing(json);

    const Ref<SourceApplication> app = drawing.Recording().Application();
    const ScopedClassRegistration registration(kSourceApplicationProgId, [app] { return app; });
    Ref<SourceDocument> document = drawing.Recording().Document();
    const std::wstring out = Wide(dir);
    const std::wstring log = Wide(dir / "run.log");
    ComString documents = ComStringAlloc(L"untouched");
    ComString configurations = nullptr;
    const ComString documentsBefore = documents;
    KV_SWX_ExtractRequest request{&document, out.c_str(), log.c_str(), &documents, &configurations, 1};
    RunStats stats;
    EXPECT_EQ(ExtractDrawingViewInfo(&request, &stats), 1);
    EXPECT_EQ(documents, documentsBefore);
    EXPECT_EQ(configurations, nullptr);
    ComStringFree(documents);
    EXPECT_TRUE(stats.interrupted);
    EXPECT_FALSE(stats.xmlWritten);
    EXPECT_EQ(test::FilesIn(dir), std::set<std::string>{"run.log"});

    const std::string text = test::ReadFile(dir / "run.log");
    const std::string last = "View \"It's 100%\" - succeeded\n"
                             "Unexpected exception when processing C:\\Drawings\\Part.Drawing.slddrw\n";
    ASSERT_GE(text.size(), last.size());
    EXPECT_EQ(text.substr(text.size() - last.size()), last);
    EXPECT_EQ(ActiveLog(), nullptr);
    // The run stopped before the views went onto their layers and before the
    // document was finished.
    EXPECT_TRUE(drawing.Journal({"Drawing.MoveSelectionToLayer", "Document.Finish"}).empty());
}

TEST(RunDriver, ListsAreNullWhenNothingIsReferenced) {
    ResetProcessStateForTests();
    const auto dir = test::ScratchDir();
    const RecordedDrawing drawing(R"({"format": "kvswx-recording/1",
        "document": {"path": "C:\\D\\Empty.SLDDRW", "drawing": {"sheets": [{"name": "Sheet1"}]}}})");
    const test::RunOutcome run = drawing.Run(dir, dir / "run.log");
    EXPECT_EQ(run.result, 1);
    EXPECT_EQ(run.documents, std::nullopt);
    EXPECT_EQ(run.configurations, std::nullopt);
    EXPECT_TRUE(std::filesystem::exists(dir / "Empty.xml"));
}

TEST(RunDriver, ListsCoverEveryPairOfTheProcess) {
    ResetProcessStateForTests();
    Process().referencedDocuments = {{L"C:\\OLD\\\u00c4hre.SLDPRT", L"A*B"}, {L"C:\\OLD\\P.SLDPRT", L"x:y"}};
    const auto dir = test::ScratchDir();
    const RecordedDrawing drawing(
        R"({"format": "kvswx-recording/1", "document": {"path": "C:\\D\\Empty.SLDDRW", "drawing": {}}})");
    const test::RunOutcome run = drawing.Run(dir, dir / "run.log");
    EXPECT_EQ(run.result, 1);
    EXPECT_EQ(run.documents, L"c:\\old\\\u00e4hre.sldprt\nc:\\old\\p.sldprt\n");
    EXPECT_EQ(run.configurations, L"A_B\nx_y\n");
}

TEST(RunDriver, ViewCodes) {
    // Codes 1, 3 and 9 only report; the others with a line skip the view.
    for (std::int32_t code = -1; code <= 12; ++code) {
        SCOPED_TRACE(code);
        const ViewCodeOutcome outcome = DescribeViewCode(code);
        const bool hasLine = code >= 1 && code <= 11;
        EXPECT_EQ(outcome.message != nullptr, hasLine);
        EXPECT_EQ(outcome.skipped, hasLine && code != 1 && code != 3 && code != 9);
    }
    EXPECT_STREQ(DescribeViewCode(4).message, logmsg::kAuxiliaryNoArrow);
    EXPECT_STREQ(DescribeViewCode(7).message, logmsg::kDetailNoCircle);
}

}  // namespace
}  // namespace kvswx
