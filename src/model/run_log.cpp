#include "model/run_log.h"

#include <charconv>
#include <string>

#include "model/process_state.h"
#include "platform/os.h"
#include "platform/text.h"

namespace kvswx {

namespace {

// The narrow fopen mode for a runtime mode such as "a,ccs=UTF-8"; empty when
// the mode is not understood. Text and binary streams write the same bytes
// (the file is opened binary on every system, so a line ends with LF on
// Windows too), and the only encoding offered is UTF-8.
std::string NarrowMode(std::wstring_view mode) {
    const auto comma = mode.find(L',');
    const std::wstring_view base = mode.substr(0, comma);
    if (comma != std::wstring_view::npos) {
        std::wstring_view option = mode.substr(comma + 1);
        while (!option.empty() && option.front() == L' ') option.remove_prefix(1);
        if (option != L"ccs=UTF-8" && option != L"ccs=utf-8") return {};
    }
    if (base.empty() || (base[0] != L'r' && base[0] != L'w' && base[0] != L'a')) return {};
    std::string out(1, static_cast<char>(base[0]));
    for (const wchar_t c : base.substr(1)) {
        if (c == L'+' || c == L'b') {
            out += static_cast<char>(c);
        } else if (c != L't') {
            return {};
        }
    }
    return out;
}

// Fills a line from a printf-like format: %s, %d and %i take the next
// argument, %% is a percent sign, anything else is copied. Each piece goes
// to `sink`, which may refuse it (false) to stop the line there.
template <class Sink>
bool FormatLine(std::wstring_view format, std::initializer_list<LogArg> args, Sink& sink) {
    auto next = args.begin();
    for (std::size_t i = 0; i < format.size(); ++i) {
        const wchar_t c = format[i];
        if (c != L'%' || i + 1 == format.size()) {
            if (!sink.Char(c)) return false;
            continue;
        }
        const wchar_t spec = format[i + 1];
        if (spec == L'%') {
            if (!sink.Char(L'%')) return false;
            ++i;
            continue;
        }
        if ((spec != L's' && spec != L'd' && spec != L'i') || next == args.end()) {
            if (!sink.Char(c)) return false;
            continue;
        }
        const LogArg& arg = *next++;
        if (const auto* text = std::get_if<std::wstring_view>(&arg)) {
            if (!sink.Text(*text)) return false;
        } else {
            char digits[24];
            const auto end = std::to_chars(digits, digits + sizeof digits, std::get<std::int64_t>(arg)).ptr;
            sink.Digits(std::string_view(digits, static_cast<std::size_t>(end - digits)));
        }
        ++i;
    }
    return sink.Char(L'\n');
}

// The line as UTF-8 straight away, as long as it is ASCII (as nearly every
// line is).
struct AsciiSink {
    std::string& out;
    bool Char(wchar_t c) {
        if (static_cast<std::uint32_t>(c) >= 0x80) return false;
        out += static_cast<char>(c);
        return true;
    }
    bool Text(std::wstring_view text) {
        const std::size_t at = out.size();
        out.resize(at + text.size());
        for (std::size_t i = 0; i < text.size(); ++i) {
            if (static_cast<std::uint32_t>(text[i]) >= 0x80) return false;
            out[at + i] = static_cast<char>(text[i]);
        }
        return true;
    }
    void Digits(std::string_view digits) { out += digits; }
};

// The wide line, converted whole afterwards.
struct WideSink {
    std::wstring out;
    bool Char(wchar_t c) {
        out += c;
        return true;
    }
    bool Text(std::wstring_view text) {
        out += text;
        return true;
    }
    void Digits(std::string_view digits) { out.append(digits.begin(), digits.end()); }
};

}  // namespace

RunLog::~RunLog() { Close(); }

bool RunLog::Open(const std::wstring& path, const std::wstring& mode) noexcept {
    Close();
    try {
        const std::string narrowMode = NarrowMode(mode);
        if (narrowMode.empty() || path.empty()) return false;
        file_ = OpenFile(path, narrowMode.c_str());
    } catch (...) {
        file_ = nullptr;
    }
    return file_ != nullptr;
}

void RunLog::Close() noexcept {
    if (file_ != nullptr) {
        std::fclose(file_);
        file_ = nullptr;
    }
}

void RunLog::PrintArgs(std::wstring_view format, std::initializer_list<LogArg> args) noexcept {
    if (file_ == nullptr) return;
    try {
        line_.clear();
        AsciiSink ascii{line_};
        if (!FormatLine(format, args, ascii)) {
            WideSink wide;
            wide.out.reserve(format.size() + 64);
            FormatLine(format, args, wide);
            line_ = ToUtf8(wide.out);
        }
        std::fwrite(line_.data(), 1, line_.size(), file_);
        // Each line reaches the file at once, so a run that dies in the
        // application still leaves its log behind.
        std::fflush(file_);
    } catch (...) {
        // A log line is never worth failing the run for.
    }
}

ActiveLogScope::ActiveLogScope(RunLog& log) : previous_(Process().activeLog) { Process().activeLog = &log; }

ActiveLogScope::~ActiveLogScope() { Process().activeLog = previous_; }

RunLog* ActiveLog() noexcept { return Process().activeLog; }

}  // namespace kvswx
