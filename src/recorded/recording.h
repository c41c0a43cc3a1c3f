// The recorded-drawing provider: a drawing application played back from a
// JSON recording (format "kvswx-recording/1", see docs/recording-format.md).
//
// Loading builds the whole object model at once and either succeeds or
// throws RecordingError; nothing of a failed load survives. A loaded
// recording behaves like a live application: calls that change state
// (preferences, active sheet, layers, selection, visibility, numbered
// commands, opened documents) are visible to later calls and are appended to
// the journal; faults named in the recording make the named call throw
// ComError.
#pragma once

#include <filesystem>
#include <memory>
#include <optional>
#include <stdexcept>
#include <string>
#include <string_view>
#include <vector>

#include "source/source.h"
#include "recorded/journal.h"

namespace kvswx::recorded {

// A recording that cannot be loaded. The message names the file, the JSON
// location (a JSON pointer such as /document/drawing/sheets/0/views/2/type,
// or a line and column for syntax errors) and the problem.
class RecordingError : public std::runtime_error {
public:
    RecordingError(const std::string& source, const std::string& location,
                   const std::string& problem);
    const std::string& Source() const noexcept { return source_; }
    const std::string& Location() const noexcept { return location_; }
    const std::string& Problem() const noexcept { return problem_; }

private:
    std::string source_;
    std::string location_;
    std::string problem_;
};

class Store;

// A loaded recording. Every source object it hands out keeps the whole
// recording alive, so objects may outlive this handle.
class Recording {
public:
    explicit Recording(std::shared_ptr<Store> store);

    Ref<SourceApplication> Application() const;
    // The open document, as a host would pass it.
    Ref<SourceDocument> Document() const;
    // The document's recorded path, read as the host knows it: no call on
    // the source, so no injected fault fires and no fault schedule moves.
    std::optional<std::wstring> DocumentPath() const;

    const Journal& GetJournal() const;
    // The file name (or the name given for a string) used in messages.
    const std::string& SourceName() const;

    // State inspection, mainly for tests.
    std::optional<std::wstring> ActiveSheet() const;
    // The layer a view sits on, by view name; nullopt for no layer or no
    // such view.
    std::optional<std::wstring> ViewLayer(const std::wstring& viewName) const;
    // Names of the selected views, in selection order.
    std::vector<std::wstring> SelectedViews() const;
    // Current layer names, recorded ones first, then created ones.
    std::vector<std::wstring> LayerNames() const;
    // Value last set for an application integer preference.
    std::optional<std::int32_t> IntegerPreference(std::int32_t code) const;
    bool Finished() const;

private:
    std::shared_ptr<Store> store_;
};

// Files that stand in for linked OLE files are found beside the recording
// file; for a recording in memory, from the current directory.
std::shared_ptr<Recording> LoadRecording(const std::filesystem::path& path);
std::shared_ptr<Recording> LoadRecordingFromString(std::string_view text,
                                                   const std::string& nameForErrors);

}  // namespace kvswx::recorded
