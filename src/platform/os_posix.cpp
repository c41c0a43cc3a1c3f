// The POSIX side of platform/os.h (Linux, glibc).
#ifndef _WIN32

#include <clocale>
#include <cstdlib>
#include <cwctype>
#include <locale.h>

#include "platform/os.h"
#include "platform/text.h"

namespace kvswx {

std::FILE* OpenFile(const std::wstring& path, const char* mode) noexcept {
    try {
        return std::fopen(ToUtf8(path).c_str(), mode);
    } catch (...) {
        return nullptr;
    }
}

std::filesystem::path PathFromWide(std::wstring_view path) { return std::filesystem::path(ToUtf8(path)); }

std::filesystem::path PathFromUtf8(std::string_view path) { return std::filesystem::path(std::string(path)); }

std::string PathToUtf8(const std::filesystem::path& path) { return path.native(); }

std::vector<std::string> CommandLineUtf8(int argc, char** argv) { return {argv, argv + argc}; }

double StrtodC(const char* text) noexcept {
    static const locale_t cLocale = newlocale(LC_ALL_MASK, "C", static_cast<locale_t>(nullptr));
    return cLocale != static_cast<locale_t>(nullptr) ? strtod_l(text, nullptr, cLocale)
                                                       : std::strtod(text, nullptr);
}

// The C.UTF-8 character classes, built into the C library, give the same
// mapping whatever locale the host process runs in. Without them, only ASCII
// letters are mapped.
void LowerCaseUnicode(std::wstring& text) {
    static const locale_t locale = newlocale(LC_CTYPE_MASK, "C.UTF-8", static_cast<locale_t>(nullptr));
    for (wchar_t& c : text) {
        if (locale != static_cast<locale_t>(nullptr)) {
            c = static_cast<wchar_t>(towlower_l(static_cast<wint_t>(c), locale));
        } else if (c >= L'A' && c <= L'Z') {
            c = static_cast<wchar_t>(c - L'A' + L'a');
        }
    }
}

}  // namespace kvswx

#endif  // !_WIN32
