// Drawings with very many sheets or views: reading a file of many sheets and
// extracting many views of one sheet take time linear in the count (compare
// the time per item across the arguments).
//
//   build/default/kvswx_bench --benchmark_filter=Many
//
// Items are sheets read or views extracted.

#include <benchmark/benchmark.h>

#include <filesystem>
#include <string>

#include "containers/xml_wrapper.h"
#include "entry/run_driver.h"
#include "kvswx/extract_request.h"
#include "platform/com.h"
#include "recorded/recording.h"
#include "source/class_registry.h"
#include "views/base_view.h"

namespace kvswx {
namespace {

// A file of `count` sheets of one view each, every name distinct.
void ReadManySheets(benchmark::State& state) {
    KVSWX_XMLWrapper writer;
    KVSWX_Drawing& drawing = *writer.NewDrawing();
    for (std::int64_t i = 0; i < state.range(0); ++i) {
        const std::wstring n = std::to_wstring(i);
        KVSWX_DrawingSheet& sheet = *drawing.GetOrAddSheet(L"Sheet" + n);
        sheet.SetDxfName(L"Sheet" + n);
        sheet.GetOrAddView(L"Drawing View" + n, L"", L"")->GetBaseView()->SetType(7);
    }
    const std::string bytes = writer.ToBytes();
    for (auto _ : state) {
        KVSWX_XMLWrapper reader;
        reader.LoadFromString(bytes);
        benchmark::DoNotOptimize(reader.GetDrawing()->GetSheetCount());
    }
    state.SetItemsProcessed(state.iterations() * state.range(0));
    state.SetBytesProcessed(state.iterations() * static_cast<std::int64_t>(bytes.size()));
}
BENCHMARK(ReadManySheets)->Arg(2000)->Arg(4000)->Arg(8000)->Unit(benchmark::kMillisecond);

// A recording of one sheet holding `count` drawing views, extracted whole:
// classification, layers, selection, the XML file and the log.
void ExtractManyViews(benchmark::State& state) {
    std::string views = R"({"name": "Sheet1"})";
    for (std::int64_t i = 0; i < state.range(0); ++i)
        views += R"(, {"name": "Drawing View)" + std::to_string(i) +
                 R"(", "type": 7, "referencedModel": "m", "referencedDocumentPath": "C:\\P\\M.SLDPRT",
                    "position": [0.1, 0.2], "transform": [1, 0, 0, 0, 1, 0, 0, 0, 1, 0.1, 0.2, 0, 1, 0, 0, 0]})";
    const std::string json = R"({"format": "kvswx-recording/1",
        "application": {"modelDocuments": [{"id": "m", "path": "C:\\P\\M.SLDPRT"}]},
        "document": {"path": "C:\\D\\Many.SLDDRW",
        "drawing": {"sheets": [{"name": "Sheet1", "views": [)" + views + "]}]}}}";
    const std::filesystem::path dir = std::filesystem::temp_directory_path() / "kvswx_bench_many_views";
    std::filesystem::create_directories(dir);
    const std::wstring out = dir.wstring();
    const std::wstring log = (dir / "run.log").wstring();
    for (auto _ : state) {
        const auto recording = recorded::LoadRecordingFromString(json, "many.json");
        const Ref<SourceApplication> app = recording->Application();
        const ScopedClassRegistration registration(kSourceApplicationProgId, [app] { return app; });
        Ref<SourceDocument> document = recording->Document();
        ComString documents = nullptr;
        ComString configurations = nullptr;
        KV_SWX_ExtractRequest request{&document, out.c_str(), log.c_str(), &documents, &configurations, 0};
        RunStats stats;
        ExtractDrawingViewInfo(&request, &stats);
        ComStringFree(documents);
        ComStringFree(configurations);
        if (!stats.xmlWritten || stats.viewsExtracted != state.range(0))
            state.SkipWithError("not every view was extracted and written");
        std::filesystem::remove(dir / "run.log");
    }
    std::filesystem::remove_all(dir);
    state.SetItemsProcessed(state.iterations() * state.range(0));
}
BENCHMARK(ExtractManyViews)->Arg(5000)->Arg(10000)->Arg(20000)->Unit(benchmark::kMillisecond);

}  // namespace
}  // namespace kvswx
