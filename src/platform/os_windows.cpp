// The Windows side of platform/os.h: the wide file API, UTF-16 paths and
// command line, and the C runtime's own number reader.
#ifdef _WIN32

#include <windows.h>

#include <shellapi.h>

#include <cstdlib>
#include <memory>

#include "platform/os.h"
#include "platform/text.h"

namespace kvswx {

std::FILE* OpenFile(const std::wstring& path, const char* mode) noexcept {
    // Binary always: the bytes on disk are the bytes written, LF line ends
    // included, exactly as on Linux.
    std::wstring wideMode;
    for (const char* p = mode; *p != '\0'; ++p) {
        if (*p != 'b' && *p != 't') wideMode += static_cast<wchar_t>(*p);
    }
    wideMode += L'b';
    return _wfopen(path.c_str(), wideMode.c_str());
}

std::filesystem::path PathFromWide(std::wstring_view path) { return std::filesystem::path(std::wstring(path)); }

std::filesystem::path PathFromUtf8(std::string_view path) { return std::filesystem::path(FromUtf8(path)); }

std::string PathToUtf8(const std::filesystem::path& path) { return ToUtf8(path.native()); }

std::vector<std::string> CommandLineUtf8(int argc, char** argv) {
    int count = 0;
    const std::unique_ptr<LPWSTR, decltype(&LocalFree)> wide(CommandLineToArgvW(GetCommandLineW(), &count),
                                                              &LocalFree);
    if (!wide) return {argv, argv + argc};
    std::vector<std::string> out;
    out.reserve(static_cast<std::size_t>(count));
    for (int i = 0; i < count; ++i) out.push_back(ToUtf8(wide.get()[i]));
    return out;
}

// mingw-w64's strtod (gdtoa, linked into the binary) reads "C" locale
// numbers with the same rules as glibc, hexadecimal and "inf"/"nan"
// included; the library never changes the C runtime's locale.
double StrtodC(const char* text) noexcept { return __mingw_strtod(text, nullptr); }

void LowerCaseUnicode(std::wstring& text) {
    if (text.empty() || text.size() > static_cast<std::size_t>(INT_MAX)) return;
    // In place; the invariant locale maps by Unicode case data alone and
    // keeps surrogate pairs together.
    LCMapStringEx(LOCALE_NAME_INVARIANT, LCMAP_LOWERCASE, text.data(), static_cast<int>(text.size()), text.data(),
                  static_cast<int>(text.size()), nullptr, nullptr, 0);
}

}  // namespace kvswx

#endif  // _WIN32
