// Text helpers shared by the platform layer: wide <-> UTF-8 conversion with
// XML-safe replacement, the name comparison used for attribute order, and
// the file-name parts of Windows or POSIX paths.
#pragma once

#include <string>
#include <string_view>

namespace kvswx {

// Replacement for characters that cannot be written as legal XML 1.0.
inline constexpr wchar_t kReplacementChar = 0xFFFD;

// Wide text to UTF-8. Code points XML 1.0 cannot carry (controls other than
// tab, LF and CR; unpaired surrogates; U+FFFE, U+FFFF; anything above
// U+10FFFF) become U+FFFD. A wide string holding a UTF-16 surrogate pair
// (as text from a Windows source may) is combined into one code point.
std::string ToUtf8Xml(std::wstring_view text);
// The same, appended to `out` (whose capacity a caller can reuse).
void AppendUtf8Xml(std::string& out, std::wstring_view text);
// Plain wide to UTF-8 (invalid code points replaced by U+FFFD, controls kept).
std::string ToUtf8(std::wstring_view text);
// UTF-8 to wide (a surrogate pair above U+FFFF where wide text is UTF-16);
// malformed sequences become U+FFFD.
std::wstring FromUtf8(std::string_view text);

// Linguistic name comparison for attribute order: alphabetical ignoring
// letter case first, then lower case before upper case as the tie-break,
// then by code point. Returns <0, 0 or >0.
int CompareNames(std::wstring_view a, std::wstring_view b);
struct NameLess {
    bool operator()(const std::wstring& a, const std::wstring& b) const {
        return CompareNames(a, b) < 0;
    }
};

// File-name part of a path: everything after the last "\", "/" or drive ":".
std::wstring PathFileName(std::wstring_view path);
// Extension of a file name: from its last "." on, or empty.
std::wstring PathExtension(std::wstring_view fileName);

}  // namespace kvswx
