// kvswx extract: plays the migration host. Loads every recording first (a bad
// one stops everything before anything is written), registers each
// recording's application in turn and calls the shared library's exported
// KV_SWX_ExtractDrawingViewInfo once per drawing in this one process, so the
// library's process-wide tables accumulate across drawings as they do under
// the real host.
#include <filesystem>
#include <fstream>
#include <iostream>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "commands.h"
#include "source/class_registry.h"
#include "model/naming.h"
#include "kvswx/extract_request.h"
#include "platform/com.h"
#include "platform/os.h"
#include "platform/text.h"
#include "recorded/recording.h"

namespace kvswx::cli {

namespace {

// Options as UTF-8 text (the command line is read as UTF-8 on every system);
// paths are made from them with PathFromUtf8.
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

// A name from a recording as stderr shows it: control characters (a NUL, a
// terminal escape) become "?".
std::string Printable(std::string text) {
    for (char& c : text) {
        if (static_cast<unsigned char>(c) < 0x20 || c == 0x7F) c = '?';
    }
    return text;
}

// Takes ownership of a string the run handed back.
struct HostString {
    ComString text = nullptr;
    HostString() = default;
    HostString(const HostString&) = delete;
    HostString& operator=(const HostString&) = delete;
    ~HostString() { ComStringFree(text); }
};

// What one run reported in its log: the host learns the outcome of each view
// from the lines the run appended.
struct RunReport {
    int viewsExtracted = 0;
    int viewsSkipped = 0;
    bool interrupted = false;
};

std::uintmax_t FileSize(const std::filesystem::path& p) {
    std::error_code ec;
    const auto size = std::filesystem::file_size(p, ec);
    return ec ? 0 : size;
}

// Last write time of a file, none when it does not exist.
std::optional<std::filesystem::file_time_type> WriteTime(const std::filesystem::path& p) {
    std::error_code ec;
    const auto t = std::filesystem::last_write_time(p, ec);
    if (ec) return std::nullopt;
    return t;
}

RunReport ReadReport(const std::filesystem::path& log, std::uintmax_t from) {
    RunReport report;
    std::ifstream in(log, std::ios::binary);
    in.seekg(static_cast<std::streamoff>(from));
    std::string line;
    while (std::getline(in, line)) {
        if (line.ends_with(" - succeeded")) ++report.viewsExtracted;
        else if (line.find(" - skipped due ") != std::string::npos) ++report.viewsSkipped;
        else if (line.starts_with("Unexpected exception when processing ")) report.interrupted = true;
    }
    return report;
}

void PrintList(const std::string& heading, const std::wstring& drawing, const ComString text) {
    std::cout << "# " << heading << " (" << ToUtf8(drawing) << ")\n" << ToUtf8(ComStringToWide(text));
}

int RunExtract(const ExtractOptions& options) {
    std::vector<std::shared_ptr<recorded::Recording>> recordings;
    for (const std::string& file : options.recordings) {
        try {
            recordings.push_back(recorded::LoadRecording(PathFromUtf8(file)));
        } catch (const std::exception& e) {
            PrintError(e.what());
            return kExitFailed;
        }
    }

    const std::filesystem::path out = PathFromUtf8(options.out);
    std::error_code ec;
    std::filesystem::create_directories(out, ec);
    if (ec) {
        PrintError(options.out + ": cannot create the output folder: " + ec.message());
        return kExitFailed;
    }
    const std::wstring outFolder = FromUtf8(options.out);
    const std::wstring logPath = FromUtf8(options.log.empty() ? PathToUtf8(out / "kvswx.log") : options.log);

    int status = kExitOk;
    const std::size_t total = recordings.size();
    for (std::size_t i = 0; i < total; ++i) {
        const recorded::Recording& recording = *recordings[i];
        const Ref<SourceApplication> application = recording.Application();
        const ScopedClassRegistration registration(kSourceApplicationProgId,
                                                   [application] { return application; });
        Ref<SourceDocument> document = recording.Document();
        // The host knows the path of the drawing it opened; asking the
        // document here would be a source call outside the library's
        // handlers, and would use up the faults the recording schedules.
        const std::wstring drawingPath = recording.DocumentPath().value_or(std::wstring());
        const std::wstring baseName = GetBaseFileName(drawingPath);
        const std::wstring drawingName = baseName + L".SLDDRW";
        // A name the library refuses to write under is never looked up
        // either: the file system would cut it and find another file.
        const char* nameProblem = OutputNameProblem(baseName);
        const auto xmlPath = out / PathFromWide(baseName + L".xml");
        const std::filesystem::path logFile = PathFromWide(logPath);
        const auto logStart = FileSize(logFile);
        const auto xmlBefore = nameProblem != nullptr ? std::nullopt : WriteTime(xmlPath);

        HostString documents;
        HostString configurations;
        KV_SWX_ExtractRequest request{&document, outFolder.c_str(), logPath.c_str(), &documents.text,
                                      &configurations.text, options.notes ? 1 : 0};
        const std::int32_t result = KV_SWX_ExtractDrawingViewInfo(&request);

        std::cerr << (i + 1) << '/' << total << ' ';
        if (result == 0) {
            std::cerr << options.recordings[i]
                      << ": refused (the application is not reachable or the log cannot be opened)\n";
            status = kExitFailed;
            continue;
        }
        const RunReport report = ReadReport(logFile, logStart);
        std::cerr << Printable(ToUtf8(drawingName)) << ": " << report.viewsExtracted << " views extracted, "
                  << report.viewsSkipped << " skipped";
        // The log says how each view went; whether the drawing's XML file
        // exists is told here, and a missing one fails the command.
        if (report.interrupted) {
            std::cerr << " (stopped by an unexpected error, no XML file: see the log)";
            status = kExitFailed;
        } else if (nameProblem != nullptr) {
            std::cerr << " (the XML file was not written: " << nameProblem << ")";
            status = kExitFailed;
        } else if (const auto written = WriteTime(xmlPath); !written || written == xmlBefore) {
            std::cerr << " (the XML file was not written)";
            status = kExitFailed;
        }
        std::cerr << '\n';
        PrintList("referenced documents", drawingName, documents.text);
        PrintList("referenced configurations", drawingName, configurations.text);
    }

    if (!options.journal.empty()) {
        std::ofstream journal(PathFromUtf8(options.journal), std::ios::binary | std::ios::trunc);
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
