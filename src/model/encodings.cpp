#include "model/encodings.h"

#include <cctype>
#include <charconv>
#include <climits>
#include <cmath>
#include <cstdlib>
#include <cwctype>
#include <string>
#include <system_error>

#include "model/fixed_decimals.h"
#include "platform/os.h"

namespace kvswx {

namespace {

std::wstring Widen(const char* first, const char* last) { return std::wstring(first, last); }

// The run that could form a number, narrowed for the C conversion: leading
// white space, then letters, digits, signs and periods (no number goes on
// past any other character). Its length is the number's, not the text's, so
// reading the numbers of a list takes time linear in the list. Written into
// `buf` when it fits (what every number of ours does), else into `big`;
// returns the NUL-terminated run.
template <class Ch>
const char* NarrowPrefix(std::basic_string_view<Ch> t, char (&buf)[64], std::string& big) {
    std::size_t n = 0;
    auto put = [&](char c) {
        if (n + 1 < sizeof buf) {
            buf[n++] = c;
            return;
        }
        if (big.empty()) big.assign(buf, n);
        big += c;
    };
    auto ascii = [](Ch c) { return c > 0 && static_cast<std::uint32_t>(c) < 0x7F; };
    std::size_t i = 0;
    for (; i < t.size() && ascii(t[i]) && std::isspace(static_cast<int>(t[i])); ++i) put(static_cast<char>(t[i]));
    for (; i < t.size() && ascii(t[i]); ++i) {
        const char c = static_cast<char>(t[i]);
        if (!std::isalnum(static_cast<unsigned char>(c)) && c != '+' && c != '-' && c != '.') break;
        put(c);
    }
    if (!big.empty()) return big.c_str();
    buf[n] = '\0';
    return buf;
}

// strtod's answer for `run` (the NUL-terminated numeric run). A plain
// decimal, optionally negative, goes through std::from_chars, which rounds
// correctly as strtod does and gives the same value; white space, a plus
// sign, hexadecimal, infinities, NaNs and values out of range go to strtod.
double StrtodRun(const char* run) {
    const char* p = run;
    if (*p == '-') ++p;
    if ((*p >= '0' && *p <= '9') || *p == '.') {
        double v = 0;
        const char* end = run + std::char_traits<char>::length(run);
        const auto r = std::from_chars(run, end, v);
        if (r.ec == std::errc{} && *r.ptr != 'x' && *r.ptr != 'X') return v;
    }
    return StrtodC(run);
}

template <class Ch>
double ParseDoubleOf(std::basic_string_view<Ch> text) {
    char buf[64];
    std::string big;
    return StrtodRun(NarrowPrefix(text, buf, big));
}

template <class Ch>
bool IsSpace(Ch c) {
    if constexpr (sizeof(Ch) == 1) {
        return std::isspace(static_cast<unsigned char>(c)) != 0;
    } else {
        return std::iswspace(static_cast<wint_t>(c)) != 0;
    }
}

template <class Ch>
std::int32_t ParseIntOf(std::basic_string_view<Ch> text) {
    std::size_t i = 0;
    while (i < text.size() && IsSpace(text[i])) ++i;
    bool negative = false;
    if (i < text.size() && (text[i] == Ch('+') || text[i] == Ch('-'))) negative = text[i++] == Ch('-');
    long long v = 0;
    bool overflow = false;
    for (; i < text.size() && text[i] >= Ch('0') && text[i] <= Ch('9'); ++i) {
        if (!overflow) {
            v = v * 10 + (text[i] - Ch('0'));
            if (v > static_cast<long long>(INT_MAX) + 1) overflow = true;
        }
    }
    if (negative) v = -v;
    if (overflow || v > INT_MAX) return negative ? INT_MIN : INT_MAX;
    if (v < INT_MIN) return INT_MIN;
    return static_cast<std::int32_t>(v);
}

// Calls f(value) for each token separated by runs of spaces; stops early
// when f returns false.
template <class Ch, class F>
void ForEachDouble(std::basic_string_view<Ch> text, F&& f) {
    std::size_t i = 0;
    while (i < text.size()) {
        while (i < text.size() && text[i] == Ch(' ')) ++i;
        if (i == text.size()) break;
        std::size_t j = i;
        while (j < text.size() && text[j] != Ch(' ')) ++j;
        if (!f(ParseDoubleOf(text.substr(i, j - i)))) return;
        i = j;
    }
}

template <class Ch>
DoubleList ParseDoubleListOf(std::basic_string_view<Ch> text) {
    DoubleList out;
    ForEachDouble(text, [&](double v) {
        out.push_back(v);
        return true;
    });
    return out;
}

template <class Ch>
std::size_t ParseIntoOf(std::basic_string_view<Ch> text, double* out, std::size_t n) {
    std::size_t k = 0;
    if (n == 0) return 0;
    ForEachDouble(text, [&](double v) {
        out[k++] = v;
        return k < n;
    });
    return k;
}

// Large enough for 1.8e308 with sixteen decimals.
constexpr std::size_t kDoubleChars = 400;

// The fixed form with sixteen decimals ("%.16f") into [buf, last); returns
// its end.
char* PutDouble(char* buf, char* last, double v) { return PutFixed16(buf, last, v); }

}  // namespace

std::wstring FormatDouble(double v) {
    char buf[kDoubleChars];
    return Widen(buf, PutDouble(buf, buf + sizeof buf, v));
}

std::wstring FormatInt(std::int32_t v) {
    char buf[16];
    const auto r = std::to_chars(buf, buf + sizeof buf, v);
    return Widen(buf, r.ptr);
}

void AppendDouble(std::string& out, double v) {
    // Through a small buffer when the value is of ordinary size (what
    // drawings hold); through one of the largest size otherwise.
    if (std::isfinite(v) && std::fabs(v) < 1e20) {
        char ordinary[48];  // sign, 20 digits, point, 16 decimals
        out.append(ordinary, PutDouble(ordinary, ordinary + sizeof ordinary, v));
        return;
    }
    char buf[kDoubleChars];
    out.append(buf, PutDouble(buf, buf + sizeof buf, v));
}

void AppendInt(std::string& out, std::int32_t v) {
    char buf[16];
    out.append(buf, std::to_chars(buf, buf + sizeof buf, v).ptr);
}

void AppendDoubles(std::string& out, const double* values, std::size_t count) {
    // Values of ordinary size (all of them, in drawings) are written in
    // place, each into a slot of the longest such form and its separator.
    constexpr std::size_t kSlot = 48;
    bool ordinary = true;
    for (std::size_t i = 0; i < count && ordinary; ++i) {
        ordinary = std::isfinite(values[i]) && std::fabs(values[i]) < 1e20;
    }
    if (ordinary) {
        const std::size_t start = out.size();
        out.resize(start + count * kSlot);
        char* const first = out.data() + start;
        char* p = first;
        for (std::size_t i = 0; i < count; ++i) {
            if (i != 0) *p++ = ' ';
            p = PutDouble(p, p + kSlot - 1, values[i]);
        }
        out.resize(start + static_cast<std::size_t>(p - first));
        return;
    }
    for (std::size_t i = 0; i < count; ++i) {
        if (i != 0) out += ' ';
        AppendDouble(out, values[i]);
    }
}

std::wstring FormatBool(unsigned char v) { return v == 1 ? L"true" : L"false"; }

std::wstring FormatPoint(double x, double y) { return FormatDouble(x) + L' ' + FormatDouble(y); }

std::wstring FormatPoint3D(double x, double y, double z) {
    return FormatDouble(x) + L' ' + FormatDouble(y) + L' ' + FormatDouble(z);
}

std::wstring FormatTransform(const Transform16& v) {
    return FormatDoubleList(DoubleList(v.begin(), v.end()));
}

std::wstring FormatDoubleList(const DoubleList& v) {
    std::wstring out;
    for (std::size_t i = 0; i < v.size(); ++i) {
        if (i != 0) out += L' ';
        out += FormatDouble(v[i]);
    }
    return out;
}

double ParseDouble(std::wstring_view text) { return ParseDoubleOf(text); }
double ParseDoubleAscii(std::string_view text) { return ParseDoubleOf(text); }

std::int32_t ParseInt(std::wstring_view text) { return ParseIntOf(text); }
std::int32_t ParseIntAscii(std::string_view text) { return ParseIntOf(text); }

unsigned char ParseBool(std::wstring_view text) { return text == L"true" ? 1 : 0; }

DoubleList ParseDoubleList(std::wstring_view text) { return ParseDoubleListOf(text); }
DoubleList ParseDoubleListAscii(std::string_view text) { return ParseDoubleListOf(text); }

std::size_t ParseDoublesInto(std::wstring_view text, double* out, std::size_t n) {
    return ParseIntoOf(text, out, n);
}
std::size_t ParseDoublesIntoAscii(std::string_view text, double* out, std::size_t n) {
    return ParseIntoOf(text, out, n);
}

}  // namespace kvswx
