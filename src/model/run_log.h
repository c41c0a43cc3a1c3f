// The run log: plain UTF-8 lines appended to the file whose path the host
// passes in the request, one formatted message per line, and the complete
// list of messages the library writes.
#pragma once

#include <cstdint>
#include <cstdio>
#include <initializer_list>
#include <memory>
#include <string>
#include <string_view>
#include <type_traits>
#include <variant>

namespace kvswx {

// The mode the run driver opens the log with: create if missing, keep what
// is there, append UTF-8 text.
inline constexpr const wchar_t* kRunLogMode = L"a,ccs=UTF-8";

// Every line the library writes. "%s" takes a wide string (a drawing path or
// a view name, always passed as an argument, never pasted into the format).
namespace logmsg {
inline constexpr const wchar_t* kPreprocessing = L"### Preprocessing %s";
inline constexpr const wchar_t* kDetailCircleThicknessLost =
    L"Warning: The value of detail circle thickness will be lost for all detail views due to SolidWorks API "
    L"restrictions";
inline constexpr const wchar_t* kViewPlaneStyleLost =
    L"Warning: The line style and thickness of view plane will be lost for all auxiliary views due to "
    L"SolidWorks API restrictions";
inline constexpr const wchar_t* kProcessing = L"### Processing %s";
inline constexpr const wchar_t* kOrthoNoParent = L"Ortho view \"%s\" - has no parent";
inline constexpr const wchar_t* kOrthoFromSection =
    L"Ortho view \"%s\" - skipped due ortho views from section one are not supported";
inline constexpr const wchar_t* kAuxiliaryNoParent = L"Auxiliary view \"%s\" - has no parent";
inline constexpr const wchar_t* kAuxiliaryNoArrow =
    L"Auxiliary view \"%s\" - skipped due no projection arrow found";
inline constexpr const wchar_t* kSectionNoLine = L"Section view \"%s\" - skipped due no section line found";
inline constexpr const wchar_t* kSectionIsometric =
    L"Section view \"%s\" - skipped due isometric section views are not supported";
inline constexpr const wchar_t* kDetailNoCircle = L"Detailed view \"%s\" - skipped due no detail circle found";
inline constexpr const wchar_t* kNoReferencedDocument =
    L"View \"%s\" - skipped due no referenced document or configuration found";
inline constexpr const wchar_t* kHiddenEdges =
    L"This view %s contains edges that were interactively hidden by the user, These edges will be displayed in "
    L"Korvane";
inline constexpr const wchar_t* kAlternatePosition =
    L"View \"%s\" - skipped due alternate position views are not supported in Korvane";
inline constexpr const wchar_t* kExploded = L"View \"%s\" - skipped due exploded views are not supported in Korvane";
inline constexpr const wchar_t* kDetailManualGeometry =
    L"Warning: Detail view \"%s\" contains manual geometry that will not be associated after migration";
inline constexpr const wchar_t* kDetailCenterLines =
    L"Warning: Detail view \"%s\" contains center lines that will not be associated after migration";
inline constexpr const wchar_t* kDetailNotes =
    L"Warning: Detail view \"%s\" contains notes that will not be associated after migration";
inline constexpr const wchar_t* kMixedHatchStyles =
    L"Warning: View \"%s\" contains hatches of different styles -- only the last hatch style will be applied to "
    L"all hatches given view in Korvane";
inline constexpr const wchar_t* kViewSucceeded = L"View \"%s\" - succeeded";
inline constexpr const wchar_t* kMissingOleFile =
    L"Warning: The following file referenced by a linked OLE object is missing: %s";
inline constexpr const wchar_t* kUnexpectedException = L"Unexpected exception when processing %s";
}  // namespace logmsg

// One argument of a log message: "%s" takes text, "%d" or "%i" a number.
using LogArg = std::variant<std::wstring_view, std::int64_t>;

class RunLog {
public:
    RunLog() = default;
    ~RunLog();
    RunLog(const RunLog&) = delete;
    RunLog& operator=(const RunLog&) = delete;

    // Closes the current stream, if any, then opens `path` with `mode`. The
    // mode is the runtime's: "r", "w" or "a" with an optional "+", "b" or
    // "t", and an optional ",ccs=UTF-8" (text is always written as UTF-8
    // without a byte-order mark). True when a stream is open afterwards.
    bool Open(const std::wstring& path, const std::wstring& mode) noexcept;
    bool IsOpen() const noexcept { return file_ != nullptr; }

    // Writes `format` with its placeholders filled, then a line feed.
    // Placeholders: "%s" (text), "%d"/"%i" (number), "%%" (a percent sign);
    // any other "%" sequence and placeholders without an argument are written
    // as they stand. Never throws; write failures are swallowed.
    template <class... Args>
    void Print(std::wstring_view format, const Args&... args) noexcept {
        PrintArgs(format, {ToLogArg(args)...});
    }

    void Close() noexcept;

private:
    static LogArg ToLogArg(std::wstring_view text) { return text; }
    static LogArg ToLogArg(const std::wstring& text) { return std::wstring_view(text); }
    static LogArg ToLogArg(const wchar_t* text) { return std::wstring_view(text == nullptr ? L"" : text); }
    template <class Int>
        requires std::is_integral_v<Int>
    static LogArg ToLogArg(Int value) {
        return static_cast<std::int64_t>(value);
    }

    void PrintArgs(std::wstring_view format, std::initializer_list<LogArg> args) noexcept;

    std::FILE* file_ = nullptr;
    std::string line_;  // the line being written, its room kept from line to line
};

// Makes `log` the active run log (Process().activeLog) for the lifetime of
// the scope, then restores the previous one.
class ActiveLogScope {
public:
    explicit ActiveLogScope(RunLog& log);
    ~ActiveLogScope();
    ActiveLogScope(const ActiveLogScope&) = delete;
    ActiveLogScope& operator=(const ActiveLogScope&) = delete;

private:
    RunLog* previous_;
};

// The active run log, or null when no run is active. Writers outside the run
// driver (classification, sheet-level objects) print through it.
RunLog* ActiveLog() noexcept;

}  // namespace kvswx
