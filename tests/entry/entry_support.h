// Running the extraction on a recorded drawing inside the test process.
#pragma once

#include <filesystem>
#include <memory>
#include <optional>
#include <set>
#include <string>
#include <string_view>

#include "source/class_registry.h"
#include "entry/run_driver.h"
#include "platform/com.h"
#include "recorded/recording.h"

namespace kvswx::test {

struct RunOutcome {
    std::int32_t result = -1;
    RunStats stats;
    // nullopt: the run handed back a null string.
    std::optional<std::wstring> documents;
    std::optional<std::wstring> configurations;
};

inline std::optional<std::wstring> TakeString(ComString& s) {
    if (s == nullptr) return std::nullopt;
    std::wstring text = ComStringToWide(s);
    ComStringFree(s);
    s = nullptr;
    return text;
}

// A recording loaded from JSON text whose application is registered under
// "SldWorks.Application" while a run is made.
class RecordedDrawing {
public:
    explicit RecordedDrawing(std::string_view json, const std::string& name = "test.json")
        : recording_(recorded::LoadRecordingFromString(json, name)) {}

    recorded::Recording& Recording() const { return *recording_; }

    RunOutcome Run(const std::filesystem::path& outDir, const std::filesystem::path& logPath,
                   std::int32_t notes = 0) const {
        const Ref<SourceApplication> app = recording_->Application();
        const ScopedClassRegistration registration(kSourceApplicationProgId, [app] { return app; });
        Ref<SourceDocument> document = recording_->Document();
        const std::wstring out = outDir.wstring();
        const std::wstring log = logPath.wstring();
        ComString documents = nullptr;
        ComString configurations = nullptr;
        KV_SWX_ExtractRequest request{&document, out.c_str(), log.c_str(), &documents, &configurations, notes};
        RunOutcome outcome;
        outcome.result = ExtractDrawingViewInfo(&request, &outcome.stats);
        outcome.documents = TakeString(documents);
        outcome.configurations = TakeString(configurations);
        return outcome;
    }

private:
    std::shared_ptr<recorded::Recording> recording_;
};

// Regular files directly in `dir`, by name.
inline std::set<std::string> FilesIn(const std::filesystem::path& dir) {
    std::set<std::string> names;
    if (!std::filesystem::exists(dir)) return names;
    for (const auto& e : std::filesystem::directory_iterator(dir)) names.insert(e.path().filename().string());
    return names;
}

}  // namespace kvswx::test
