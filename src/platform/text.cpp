#include "platform/text.h"

#include <cwctype>

namespace kvswx {

namespace {

void AppendUtf8(std::string& out, char32_t cp) {
    if (cp < 0x80) {
        out += static_cast<char>(cp);
    } else if (cp < 0x800) {
        out += static_cast<char>(0xC0 | (cp >> 6));
        out += static_cast<char>(0x80 | (cp & 0x3F));
    } else if (cp < 0x10000) {
        out += static_cast<char>(0xE0 | (cp >> 12));
        out += static_cast<char>(0x80 | ((cp >> 6) & 0x3F));
        out += static_cast<char>(0x80 | (cp & 0x3F));
    } else {
        out += static_cast<char>(0xF0 | (cp >> 18));
        out += static_cast<char>(0x80 | ((cp >> 12) & 0x3F));
        out += static_cast<char>(0x80 | ((cp >> 6) & 0x3F));
        out += static_cast<char>(0x80 | (cp & 0x3F));
    }
}

// One code point to wide text: itself where wchar_t holds 32 bits, a
// surrogate pair above U+FFFF where it holds UTF-16 (Windows).
// `cp` as one wide character, or two UTF-16 units where wchar_t has 16
// bits; returns how many were put at `out`.
std::size_t PutWide(wchar_t* out, char32_t cp) {
    if constexpr (sizeof(wchar_t) == 2) {
        if (cp >= 0x10000) {
            cp -= 0x10000;
            out[0] = static_cast<wchar_t>(0xD800 + (cp >> 10));
            out[1] = static_cast<wchar_t>(0xDC00 + (cp & 0x3FF));
            return 2;
        }
    }
    out[0] = static_cast<wchar_t>(cp);
    return 1;
}

bool IsHighSurrogate(char32_t c) { return c >= 0xD800 && c <= 0xDBFF; }
bool IsLowSurrogate(char32_t c) { return c >= 0xDC00 && c <= 0xDFFF; }

bool IsXmlChar(char32_t c) {
    if (c == 0x9 || c == 0xA || c == 0xD) return true;
    if (c < 0x20) return false;
    if (c >= 0xD800 && c <= 0xDFFF) return false;
    if (c == 0xFFFE || c == 0xFFFF) return false;
    return c <= 0x10FFFF;
}

template <bool Xml>
void EncodeInto(std::string& out, std::wstring_view text) {
    // Printable ASCII, tab, LF and CR, the bulk of what is written, are one
    // byte each whatever the mode.
    std::size_t i = 0;
    const std::size_t start = out.size();
    out.resize(start + text.size());
    char* p = out.data() + start;
    for (; i < text.size(); ++i) {
        const wchar_t c = text[i];
        if ((c < 0x20 && c != 0x9 && c != 0xA && c != 0xD) || c > 0x7E) break;
        p[i] = static_cast<char>(c);
    }
    out.resize(start + i);
    if (i == text.size()) return;
    out.reserve(start + text.size() + (text.size() - i) * 3);
    for (; i < text.size(); ++i) {
        auto c = static_cast<char32_t>(text[i]);
        if (IsHighSurrogate(c) && i + 1 < text.size() &&
            IsLowSurrogate(static_cast<char32_t>(text[i + 1]))) {
            c = 0x10000 + ((c - 0xD800) << 10) + (static_cast<char32_t>(text[i + 1]) - 0xDC00);
            ++i;
        }
        const bool ok = Xml ? IsXmlChar(c) : (c <= 0x10FFFF && !(c >= 0xD800 && c <= 0xDFFF));
        AppendUtf8(out, ok ? c : static_cast<char32_t>(kReplacementChar));
    }
}

template <bool Xml>
std::string Encode(std::wstring_view text) {
    std::string out;
    EncodeInto<Xml>(out, text);
    return out;
}

}  // namespace

std::string ToUtf8Xml(std::wstring_view text) { return Encode<true>(text); }
void AppendUtf8Xml(std::string& out, std::wstring_view text) { EncodeInto<true>(out, text); }
std::string ToUtf8(std::wstring_view text) { return Encode<false>(text); }

std::wstring FromUtf8(std::string_view text) {
    // Never more characters than bytes (a four-byte sequence makes at most
    // two UTF-16 units): the string is sized once and cut to what was made.
    std::wstring out(text.size(), L'\0');
    wchar_t* const o = out.data();
    std::size_t n = 0;
    std::size_t i = 0;
    while (i < text.size()) {
        const auto b0 = static_cast<unsigned char>(text[i]);
        if (b0 < 0x80) {
            o[n++] = static_cast<wchar_t>(b0);
            ++i;
            continue;
        }
        int extra = 0;
        char32_t cp = 0;
        char32_t min = 0;
        if ((b0 & 0xE0) == 0xC0) {
            extra = 1, cp = b0 & 0x1F, min = 0x80;
        } else if ((b0 & 0xF0) == 0xE0) {
            extra = 2, cp = b0 & 0x0F, min = 0x800;
        } else if ((b0 & 0xF8) == 0xF0) {
            extra = 3, cp = b0 & 0x07, min = 0x10000;
        } else {
            o[n++] = kReplacementChar;
            ++i;
            continue;
        }
        bool bad = i + static_cast<std::size_t>(extra) >= text.size();
        for (int k = 1; !bad && k <= extra; ++k) {
            const auto b = static_cast<unsigned char>(text[i + k]);
            if ((b & 0xC0) != 0x80)
                bad = true;
            else
                cp = (cp << 6) | (b & 0x3F);
        }
        if (bad || cp < min || cp > 0x10FFFF || (cp >= 0xD800 && cp <= 0xDFFF)) {
            o[n++] = kReplacementChar;
            ++i;
            continue;
        }
        n += PutWide(o + n, cp);
        i += static_cast<std::size_t>(extra) + 1;
    }
    out.resize(n);
    return out;
}

int CompareNames(std::wstring_view a, std::wstring_view b) {
    const std::size_t n = a.size() < b.size() ? a.size() : b.size();
    for (std::size_t i = 0; i < n; ++i) {
        const auto la = std::towlower(static_cast<wint_t>(a[i]));
        const auto lb = std::towlower(static_cast<wint_t>(b[i]));
        if (la != lb) return la < lb ? -1 : 1;
    }
    if (a.size() != b.size()) return a.size() < b.size() ? -1 : 1;
    // Same letters: lower case sorts before upper case at the first difference.
    for (std::size_t i = 0; i < n; ++i) {
        if (a[i] == b[i]) continue;
        const bool aLower = std::iswlower(static_cast<wint_t>(a[i])) != 0;
        const bool bLower = std::iswlower(static_cast<wint_t>(b[i])) != 0;
        if (aLower != bLower) return aLower ? -1 : 1;
        return a[i] < b[i] ? -1 : 1;
    }
    return 0;
}

std::wstring PathFileName(std::wstring_view path) {
    const auto pos = path.find_last_of(L"\\/:");
    return std::wstring(pos == std::wstring_view::npos ? path : path.substr(pos + 1));
}

std::wstring PathExtension(std::wstring_view fileName) {
    const auto pos = fileName.rfind(L'.');
    return pos == std::wstring_view::npos ? std::wstring() : std::wstring(fileName.substr(pos));
}

}  // namespace kvswx
