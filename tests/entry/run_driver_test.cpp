#include <gtest/gtest.h>

#include <filesystem>
#include <functional>

#include "entry/run_driver.h"
#include "model/run_log.h"
#include "entry_support.h"
#include "model/process_state.h"
#include "containers/xml_wrapper.h"
#include "docprops/document_properties.h"
#include "test_support.h"
#include "views/base_view.h"

namespace kvswx {
namespace {

using test::RecordedDrawing;

// Four sheets: two whose names differ only in invalid characters, one named
// "Model", one without views. Views: plain ones, one with an apostrophe and
// a percent sign, two section views of the same name cut by different lines
// (one line's name holding an apostrophe),
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
         "sectionLines": [{"name": "A", "owner": "sec-a"}, {"id": "B", "name": "B'", "owner": "sec-b"}]},
        {"id": "sec-a", "name": "Section", "type": 2, "parent": "Front", "sectionLine": "A",
         "referencedModel": "part", "referencedDocumentPath": "C:\\Models\\Bracket.SLDPRT",
         "referencedConfiguration": "Default"},
        {"id": "sec-b", "name": "Section", "type": 2, "parent": "Front", "sectionLine": "B",
         "referencedModel": "part", "referencedDocumentPath": "C:\\Models\\Bracket.SLDPRT",
         "referencedConfiguration": "Default"},
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

    // The log, the preferences, layer "0" renamed and the per-view steps are
    // pinned by the golden example runs; here what they do not hold: views of
    // one name told apart by their section line, a sheet without views.
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
    ASSERT_EQ(model.GetSheetCount(), 4u);  // their DXF names: the example "bracket"
    EXPECT_EQ(model.GetSheet(3)->GetDxfName(), L"a_b_c");
    ASSERT_EQ(model.GetSheet(0)->GetViewCount(), 4u);
    // The section line's name is cleaned of apostrophes like the view's own.
    EXPECT_EQ(model.GetSheet(0)->GetView(2)->GetName(), L"Section_B_");
    EXPECT_EQ(model.GetSheet(0)->GetView(2)->GetBaseView()->GetLayer(), L"1002");
    EXPECT_EQ(model.GetSheet(0)->GetView(3)->GetBaseView()->GetLayer(), L"1003");
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
    const test::RunOutcome run = drawing.Run(dir, dir / "run.log", 1);
    EXPECT_EQ(run.result, 1);
    EXPECT_EQ(run.documents, std::nullopt);  // the lists are not handed over
    EXPECT_EQ(run.configurations, std::nullopt);
    EXPECT_TRUE(run.stats.interrupted);
    EXPECT_FALSE(run.stats.xmlWritten);
    EXPECT_EQ(test::FilesIn(dir), std::set<std::string>{"run.log"});

    const std::string text = test::ReadFile(dir / "run.log");
    const std::string last = "View \"It's 100%\" - succeeded\n"
                             "Unexpected exception when processing C:\\Drawings\\Part.Drawing.slddrw\n";
    ASSERT_GE(text.size(), last.size());
    EXPECT_EQ(text.substr(text.size() - last.size()), last);
    EXPECT_EQ(ActiveLog(), nullptr);
    // The run stopped before the views went onto their layers and before the
    // document was finished.
    EXPECT_FALSE(drawing.Recording().ViewLayer(L"Front").has_value());
    EXPECT_FALSE(drawing.Recording().Finished());
}

// A document without layer "0", options warnings or referenced models: no
// "KVLayer", nothing between the log's two headings, null lists. Filled
// ones: the golden examples ("drafting_options" for the warnings and the
// layer's new name) and cli_test (the lists of several drawings).
TEST(RunDriver, AnEmptyDocument) {
    ResetProcessStateForTests();
    const auto dir = test::ScratchDir();
    const RecordedDrawing drawing(R"({"format": "kvswx-recording/1", "document": {
        "path": "C:\\D\\P.SLDDRW", "layers": [], "drawing": {"sheets": [{"name": "S"}]}}})");
    const test::RunOutcome run = drawing.Run(dir, dir / "run.log");
    ASSERT_EQ(run.result, 1);
    EXPECT_EQ(run.documents, std::nullopt);
    EXPECT_EQ(run.configurations, std::nullopt);
    EXPECT_EQ(test::ReadFile(dir / "run.log"), "### Preprocessing C:\\D\\P.SLDDRW\n### Processing C:\\D\\P.SLDDRW\n");
    KVSWX_XMLWrapper saved;
    saved.Load(Wide(dir / "P.xml"));
    const KVSWX_DocumentProperties* properties = saved.GetDrawing()->GetDocumentProperties();
    ASSERT_NE(properties, nullptr);
    EXPECT_FALSE(properties->GetLayerName().has_value());
    EXPECT_EQ(properties->GetDimensionStyles()->GetStyles().size(), 0u);
}

}  // namespace
}  // namespace kvswx
