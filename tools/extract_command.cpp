// kvswx extract: plays the migration host. Loads every recording first (a bad
// one stops everything before anything is written), then calls the
// extraction once per drawing in this one process, so the process-wide
// tables accumulate across drawings as they do under the real host.
#include <filesystem>
#include <fstream>
#include <iostream>
#include <memory>
#include <string>
#include <vector>

#include "commands.h"
#include "entry/class_registry.h"
#include "entry/run_driver.h"
#include "platform/com.h"
#include "platform/text.h"
#include "recorded/recording.h"

namespace kvswx::cli {

namespace {

struct ExtractOptions {
    std::string out = ".";
    std::string log;
    bool notes = false;
    std::string journal;
    std::vector<std::string> recordings;
};

// Errors are one line: a message that spans lines is joined with spaces.
void PrintError(const std::string& message) {
    std::string line = message;
    for (char& c : line) {
        if (c == '\n' || c == '\r') c = ' ';
    }
    std::cerr << "kvswx: " << line << '\n';
}

// Takes ownership of a string the run handed back.
struct HostString {
    ComString text = nullptr;
    HostString() = default;
    HostString(const HostString&) = delete;
    HostString& operator=(const HostString&) = delete;
    ~HostString() { ComStringFree(text); }
};

void PrintList(const std::string& heading, const std::wstring& drawing, const ComString text) {
    std::cout << "# " << heading << " (" << ToUtf8(drawing) << ")\n" << ToUtf8(ComStringToWide(text));
}

int RunExtract(const ExtractOptions& options) {
    std::vector<std::shared_ptr<recorded::Recording>> recordings;
    for (const std::string& file : options.recordings) {
        try {
            recordings.push_back(recorded::LoadRecording(file));
        } catch (const std::exception& e) {
            PrintError(e.what());
            return kExitFailed;
        }
    }

    const std::filesystem::path out = options.out;
    std::error_code ec;
    std::filesystem::create_directories(out, ec);
    if (ec) {
        PrintError(options.out + ": cannot create the output folder: " + ec.message());
        return kExitFailed;
    }
    const std::wstring outFolder = FromUtf8(options.out);
    const std::wstring logPath = FromUtf8(options.log.empty() ? (out / "kvswx.log").string() : options.log);

    int status = kExitOk;
    const std::size_t total = recordings.size();
    for (std::size_t i = 0; i < total; ++i) {
        const recorded::Recording& recording = *recordings[i];
        const Ref<SourceApplication> application = recording.Application();
        const ScopedClassRegistration registration(kSourceApplicationProgId,
                                                   [application] { return application; });
        Ref<SourceDocument> document = recording.Document();
        HostString documents;
        HostString configurations;
        KV_SWX_ExtractRequest request{&document, outFolder.c_str(), logPath.c_str(), &documents.text,
                                      &configurations.text, options.notes ? 1 : 0};
        RunStats stats;
        const std::int32_t result = ExtractDrawingViewInfo(&request, &stats);

        std::cerr << (i + 1) << '/' << total << ' ';
        if (result == 0) {
            std::cerr << options.recordings[i]
                      << ": refused (the application is not reachable or the log cannot be opened)\n";
            status = kExitFailed;
            continue;
        }
        std::cerr << ToUtf8(stats.drawingName) << ": " << stats.viewsExtracted << " views extracted, "
                  << stats.viewsSkipped << " skipped";
        if (stats.interrupted) {
            std::cerr << " (stopped by an unexpected error, no XML file: see the log)";
        } else if (!stats.xmlWritten) {
            std::cerr << " (the XML file could not be written)";
        }
        std::cerr << '\n';
        PrintList("referenced documents", stats.drawingName, documents.text);
        PrintList("referenced configurations", stats.drawingName, configurations.text);
    }

    if (!options.journal.empty()) {
        std::ofstream journal(options.journal, std::ios::binary | std::ios::trunc);
        for (const auto& recording : recordings) recording->GetJournal().WriteJsonLines(journal);
        journal.flush();
        if (!journal) {
            PrintError(options.journal + ": cannot write the journal");
            return kExitFailed;
        }
    }
    return status;
}

}  // namespace

void AddExtractCommand(CLI::App& app, int& status) {
    auto options = std::make_shared<ExtractOptions>();
    CLI::App* extract = app.add_subcommand(
        "extract",
        "Extract each recorded drawing to <out>/<drawing base name>.xml, appending to the run log. The "
        "referenced model documents and configurations are printed after each drawing; they accumulate "
        "over the drawings of one invocation, as they do under the migration host.");
    extract->add_option("--out", options->out, "Folder that receives the XML files (created if missing)")
        ->default_str(".");
    extract->add_option("--log", options->log, "Run log to append to (default: <out>/kvswx.log)");
    extract->add_flag("--notes", options->notes, "Extract notes as well");
    extract->add_option("--journal", options->journal,
                        "Write the application calls that changed the drawing as JSON Lines, every "
                        "recording's in turn");
    extract->add_option("RECORDING", options->recordings, "Recorded drawings (JSON), extracted in order")
        ->required();
    extract->callback([options, &status] { status = RunExtract(*options); });
}

}  // namespace kvswx::cli
