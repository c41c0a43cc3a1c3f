// The whole path against its baselines, in one process, on the same
// generated drawings of 1,000 views (10 sheets of 100) with 10^4, 10^5 and
// 10^6 sketch segments:
//
//   Load/N                 loading the recording    vs  Baseline_NlohmannParse/N (file read and
//   parsed) ExtractSave/N          extraction + saving XML  vs  Baseline_PugixmlBuildSave/N (same
//   tree built and saved) ReadBack/N             reading the XML back     vs
//   Baseline_PugixmlParse/N (same file parsed) WholeRun/N             load + extract + save, with
//   peak heap / XML size
//
//   build/default/kvswx_bench --benchmark_filter='^(Load|ExtractSave|ReadBack|WholeRun|Baseline_)'
//
// scripts/performance-table.py runs these and writes the table of ratios in
// docs/performance.md. Every benchmark reports `peak_heap` (bytes of heap in
// use at the worst moment of an iteration, above what was in use before it)
// and `xml_bytes`; items are segments.

#include <benchmark/benchmark.h>
#include <malloc.h>
#include <unistd.h>

#include <atomic>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <map>
#include <new>
#include <nlohmann/json.hpp>
#include <pugixml.hpp>
#include <sstream>
#include <string>

#include "containers/xml_wrapper.h"
#include "entry/run_driver.h"
#include "kvswx/extract_request.h"
#include "platform/com.h"
#include "platform/text.h"
#include "recorded/recording.h"
#include "source/class_registry.h"
#include "synthetic_recording.h"

// ---- heap accounting -------------------------------------------------------
// Every allocation of the process goes through these (pugixml's too, set in
// the registration below), so a benchmark can tell its peak.

namespace {

std::atomic<std::size_t> g_inUse{0};
std::atomic<std::size_t> g_peak{0};

void* Counted(std::size_t size) {
    void* p = std::malloc(size == 0 ? 1 : size);
    if (p == nullptr) return nullptr;
    const std::size_t bytes = malloc_usable_size(p);
    const std::size_t now = g_inUse.fetch_add(bytes) + bytes;
    std::size_t peak = g_peak.load(std::memory_order_relaxed);
    while (now > peak && !g_peak.compare_exchange_weak(peak, now)) {
    }
    return p;
}

void Uncounted(void* p) noexcept {
    if (p == nullptr) return;
    g_inUse.fetch_sub(malloc_usable_size(p));
    std::free(p);
}

}  // namespace

void* operator new(std::size_t size) {
    if (void* p = Counted(size)) return p;
    throw std::bad_alloc();
}
void* operator new[](std::size_t size) {
    if (void* p = Counted(size)) return p;
    throw std::bad_alloc();
}
void* operator new(std::size_t size, const std::nothrow_t&) noexcept { return Counted(size); }
void* operator new[](std::size_t size, const std::nothrow_t&) noexcept { return Counted(size); }
void operator delete(void* p) noexcept { Uncounted(p); }
void operator delete[](void* p) noexcept { Uncounted(p); }
void operator delete(void* p, std::size_t) noexcept { Uncounted(p); }
void operator delete[](void* p, std::size_t) noexcept { Uncounted(p); }

namespace kvswx {
namespace {

// Peak heap above the level at construction, over the object's life.
class PeakScope {
public:
    PeakScope() : base_(g_inUse.load()) { g_peak.store(base_); }
    std::size_t Peak() const { return g_peak.load() - base_; }

private:
    std::size_t base_;
};

constexpr std::int64_t kSheets = 10;
constexpr std::int64_t kViewsPerSheet = 100;

// A scratch folder for the generated files, removed at exit.
struct ScratchFolder {
    std::filesystem::path path;
    ScratchFolder()
        : path(std::filesystem::temp_directory_path() /
               ("kvswx-bench-" + std::to_string(getpid()))) {
        std::filesystem::create_directories(path);
    }
    ~ScratchFolder() {
        std::error_code ec;
        std::filesystem::remove_all(path, ec);
    }
    ScratchFolder(const ScratchFolder&) = delete;
    ScratchFolder& operator=(const ScratchFolder&) = delete;
};

const std::filesystem::path& WorkDir() {
    static const ScratchFolder folder;
    return folder.path;
}

struct Inputs {
    std::filesystem::path recording;  // the generated recording
    std::filesystem::path xml;        // what extracting it writes
    std::int64_t xmlBytes = 0;
};

std::string ReadAll(const std::filesystem::path& p) {
    std::ifstream in(p, std::ios::binary);
    std::string s;
    in.seekg(0, std::ios::end);
    s.resize(static_cast<std::size_t>(in.tellg()));
    in.seekg(0);
    in.read(s.data(), static_cast<std::streamsize>(s.size()));
    return s;
}

// One extraction run of `recording` into `out`, as the kvswx command does it.
bool Extract(const recorded::Recording& recording, const std::filesystem::path& out) {
    const Ref<SourceApplication> application = recording.Application();
    const ScopedClassRegistration registration(kSourceApplicationProgId,
                                               [application] { return application; });
    Ref<SourceDocument> document = recording.Document();
    const std::wstring folder = FromUtf8(out.string());
    const std::wstring log = FromUtf8((out / "kvswx.log").string());
    ComString documents = nullptr;
    ComString configurations = nullptr;
    KV_SWX_ExtractRequest request{&document,  folder.c_str(),  log.c_str(),
                                  &documents, &configurations, 0};
    RunStats stats;
    const bool ran = ExtractDrawingViewInfo(&request, &stats) == 1 && stats.xmlWritten;
    ComStringFree(documents);
    ComStringFree(configurations);
    std::error_code ec;
    std::filesystem::remove(out / "kvswx.log", ec);
    return ran;
}

// The generated recording and its XML for `segments` segments, made once.
const Inputs& InputsFor(std::int64_t segments) {
    static std::map<std::int64_t, Inputs> cache;
    auto it = cache.find(segments);
    if (it != cache.end()) return it->second;
    Inputs in;
    const auto dir = WorkDir() / std::to_string(segments);
    std::filesystem::create_directories(dir);
    in.recording = dir / "Synthetic.json";
    cli::SyntheticShape shape;
    shape.sheets = kSheets;
    shape.viewsPerSheet = kViewsPerSheet;
    shape.segmentsPerView = segments / (kSheets * kViewsPerSheet);
    {
        std::ofstream out(in.recording, std::ios::binary);
        cli::WriteSyntheticRecording(out, shape);
    }
    if (!Extract(*recorded::LoadRecording(in.recording), dir)) {
        std::fprintf(stderr, "kvswx_bench: extracting the generated drawing failed\n");
        std::exit(1);
    }
    in.xml = dir / "Synthetic.xml";
    in.xmlBytes = static_cast<std::int64_t>(std::filesystem::file_size(in.xml));
    return cache.emplace(segments, std::move(in)).first->second;
}

void Report(benchmark::State& state, const Inputs& in, std::size_t peak) {
    state.SetItemsProcessed(state.iterations() * state.range(0));
    state.counters["xml_bytes"] = static_cast<double>(in.xmlBytes);
    state.counters["peak_heap"] = static_cast<double>(peak);
    state.counters["peak_per_xml_byte"] =
        static_cast<double>(peak) / static_cast<double>(in.xmlBytes);
}

// ---- loading the recording ---------------------------------------------------

void Load(benchmark::State& state) {
    const Inputs& in = InputsFor(state.range(0));
    std::size_t peak = 0;
    for (auto _ : state) {
        PeakScope scope;
        auto recording = recorded::LoadRecording(in.recording);
        benchmark::DoNotOptimize(recording.get());
        peak = std::max(peak, scope.Peak());
    }
    Report(state, in, peak);
}

void Baseline_NlohmannParse(benchmark::State& state) {
    const Inputs& in = InputsFor(state.range(0));
    std::size_t peak = 0;
    for (auto _ : state) {
        PeakScope scope;
        const nlohmann::json json = nlohmann::json::parse(ReadAll(in.recording));
        benchmark::DoNotOptimize(&json);
        peak = std::max(peak, scope.Peak());
    }
    Report(state, in, peak);
}

// ---- extraction and saving -----------------------------------------------------

void ExtractSave(benchmark::State& state) {
    const Inputs& in = InputsFor(state.range(0));
    const auto out = WorkDir() / ("run-" + std::to_string(state.range(0)));
    std::filesystem::create_directories(out);
    std::size_t peak = 0;
    for (auto _ : state) {
        state.PauseTiming();
        auto recording = recorded::LoadRecording(in.recording);
        state.ResumeTiming();
        PeakScope scope;
        if (!Extract(*recording, out)) state.SkipWithError("extraction failed");
        peak = std::max(peak, scope.Peak());
        state.PauseTiming();
        recording.reset();
        state.ResumeTiming();
    }
    Report(state, in, peak);
}

// Appends a copy of `from`'s children under `to`, node by node.
void CopyChildren(const pugi::xml_node& from, pugi::xml_node to) {
    for (const pugi::xml_node& child : from.children()) {
        pugi::xml_node made = to.append_child(child.type());
        if (child.type() == pugi::node_element) {
            made.set_name(child.name());
            for (const pugi::xml_attribute& a : child.attributes()) {
                made.append_attribute(a.name()).set_value(a.value());
            }
            CopyChildren(child, made);
        } else {
            if (child.type() == pugi::node_pi) made.set_name(child.name());
            made.set_value(child.value());
        }
    }
}

void Baseline_PugixmlBuildSave(benchmark::State& state) {
    const Inputs& in = InputsFor(state.range(0));
    pugi::xml_document source;
    // Our files open with a processing instruction named "xml", which a
    // parser takes for the declaration, and a line feed outside the root,
    // which it drops: parsed without them, and made again the way the
    // writer makes them.
    if (!source.load_file(in.xml.c_str(), pugi::parse_default | pugi::parse_ws_pcdata)) {
        state.SkipWithError("cannot parse the XML");
        return;
    }
    const auto out = WorkDir() / ("baseline-" + std::to_string(state.range(0)) + ".xml");
    std::size_t peak = 0;
    for (auto _ : state) {
        PeakScope scope;
        pugi::xml_document doc;
        pugi::xml_node pi = doc.append_child(pugi::node_pi);
        pi.set_name("xml");
        pi.set_value("version='1.0' encoding='UTF-8'");
        doc.append_child(pugi::node_pcdata)
            .set_value("\n");  // dropped by the parser outside the root
        CopyChildren(source, doc);
        if (!doc.save_file(out.c_str(), "", pugi::format_raw | pugi::format_no_declaration)) {
            state.SkipWithError("cannot save");
        }
        peak = std::max(peak, scope.Peak());
    }
    if (static_cast<std::int64_t>(std::filesystem::file_size(out)) != in.xmlBytes) {
        state.SkipWithError("the baseline did not write the same number of bytes");
    }
    Report(state, in, peak);
}

// ---- reading the XML back --------------------------------------------------------

void ReadBack(benchmark::State& state) {
    const Inputs& in = InputsFor(state.range(0));
    const std::wstring path = FromUtf8(in.xml.string());
    std::size_t peak = 0;
    for (auto _ : state) {
        PeakScope scope;
        KVSWX_XMLWrapper wrapper;
        wrapper.Load(path);
        benchmark::DoNotOptimize(wrapper.GetDrawing());
        peak = std::max(peak, scope.Peak());
    }
    Report(state, in, peak);
}

void Baseline_PugixmlParse(benchmark::State& state) {
    const Inputs& in = InputsFor(state.range(0));
    std::size_t peak = 0;
    for (auto _ : state) {
        PeakScope scope;
        pugi::xml_document doc;
        if (!doc.load_file(in.xml.c_str())) state.SkipWithError("cannot parse the XML");
        benchmark::DoNotOptimize(doc.first_child());
        peak = std::max(peak, scope.Peak());
    }
    Report(state, in, peak);
}

// ---- the whole run --------------------------------------------------------------------

void WholeRun(benchmark::State& state) {
    const Inputs& in = InputsFor(state.range(0));
    const auto out = WorkDir() / ("whole-" + std::to_string(state.range(0)));
    std::filesystem::create_directories(out);
    std::size_t peak = 0;
    for (auto _ : state) {
        PeakScope scope;
        if (!Extract(*recorded::LoadRecording(in.recording), out))
            state.SkipWithError("extraction failed");
        peak = std::max(peak, scope.Peak());
    }
    Report(state, in, peak);
}

void Sizes(benchmark::internal::Benchmark* b) {
    b->Arg(10'000)->Arg(100'000)->Arg(1'000'000)->Unit(benchmark::kMillisecond);
}

BENCHMARK(Load)->Apply(Sizes);
BENCHMARK(Baseline_NlohmannParse)->Apply(Sizes);
BENCHMARK(ExtractSave)->Apply(Sizes);
BENCHMARK(Baseline_PugixmlBuildSave)->Apply(Sizes);
BENCHMARK(ReadBack)->Apply(Sizes);
BENCHMARK(Baseline_PugixmlParse)->Apply(Sizes);
BENCHMARK(WholeRun)->Apply(Sizes);

// pugixml allocates through the same accounting.
[[maybe_unused]] const bool kPugiCounted = [] {
    pugi::set_memory_management_functions([](std::size_t size) { return Counted(size); },
                                          Uncounted);
    return true;
}();

}  // namespace
}  // namespace kvswx
