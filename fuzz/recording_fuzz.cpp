// Fuzz target: the recording loader, then the whole extraction of whatever
// loads (classification, every record, the log and the XML file), as the
// command runs it. Inputs are recording texts.
#include <cstddef>
#include <cstdint>
#include <filesystem>
#include <string>
#include <string_view>

#include <unistd.h>

#include "entry/run_driver.h"
#include "kvswx/extract_request.h"
#include "model/process_state.h"
#include "platform/com.h"
#include "recorded/recording.h"
#include "source/class_registry.h"

namespace {

// One output folder per process, emptied after every input.
const std::filesystem::path& OutputFolder() {
    static const std::filesystem::path folder = [] {
        auto p = std::filesystem::temp_directory_path() / ("kvswx-fuzz-" + std::to_string(::getpid()));
        std::filesystem::create_directories(p);
        return p;
    }();
    return folder;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    using namespace kvswx;
    std::shared_ptr<recorded::Recording> recording;
    try {
        recording = recorded::LoadRecordingFromString(
            std::string_view(reinterpret_cast<const char*>(data), size), "fuzz.json");
    } catch (const recorded::RecordingError&) {
        return 0;
    }
    // Each input starts from the state of a freshly loaded library.
    ResetProcessStateForTests();
    const std::filesystem::path& folder = OutputFolder();
    const std::wstring out = folder.wstring();
    const std::wstring log = (folder / "run.log").wstring();
    {
        const Ref<SourceApplication> app = recording->Application();
        const ScopedClassRegistration registration(kSourceApplicationProgId, [app] { return app; });
        Ref<SourceDocument> document = recording->Document();
        ComString documents = nullptr;
        ComString configurations = nullptr;
        KV_SWX_ExtractRequest request{&document, out.c_str(), log.c_str(), &documents, &configurations, 1};
        ExtractDrawingViewInfo(&request);
        ComStringFree(documents);
        ComStringFree(configurations);
    }
    // Whatever the run wrote stays inside the folder and ends in ".xml"
    // (besides the log); anything else is a fault worth a crash report.
    for (const auto& entry : std::filesystem::directory_iterator(folder)) {
        const std::string name = entry.path().filename().string();
        if (name != "run.log" && !name.ends_with(".xml")) __builtin_trap();
    }
    std::error_code ec;
    for (const auto& entry : std::filesystem::directory_iterator(folder)) std::filesystem::remove(entry.path(), ec);
    return 0;
}
