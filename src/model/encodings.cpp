#include "model/encodings.h"

#include <cctype>
#include <charconv>
#include <climits>
#include <cmath>
#include <cstdlib>
#include <cwctype>
#include <string>
#include <system_error>

#include "platform/os.h"

namespace kvswx {

namespace {

std::wstring Widen(const char* first, const char* last) { return std::wstring(first, last); }

std::size_t SkipSpace(std::wstring_view t) {
    std::size_t i = 0;
    while (i < t.size() && std::iswspace(static_cast<wint_t>(t[i]))) ++i;
    return i;
}

// The run that could form a number, narrowed for the C conversion: leading
// white space, then letters, digits, signs and periods (no number goes on
// past any other character). Its length is the number's, not the text's, so
// reading the numbers of a list takes time linear in the list.
std::string NarrowPrefix(std::wstring_view t, std::size_t from) {
    std::string s;
    std::size_t i = from;
    for (; i < t.size() && t[i] > 0 && t[i] < 0x7F && std::isspace(static_cast<int>(t[i])); ++i)
        s += static_cast<char>(t[i]);
    for (; i < t.size() && t[i] > 0 && t[i] < 0x7F; ++i) {
        const char c = static_cast<char>(t[i]);
        if (!std::isalnum(static_cast<unsigned char>(c)) && c != '+' && c != '-' && c != '.') break;
        s += c;
    }
    return s;
}

// Large enough for 1.8e308 with sixteen decimals.
constexpr std::size_t kDoubleChars = 400;

// The fixed form with sixteen decimals ("%.16f") into [buf, last); returns
// its end.
char* PutDouble(char* buf, char* last, double v) {
    return std::to_chars(buf, last, v, std::chars_format::fixed, 16).ptr;
}

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
    // Written in place when the value is of ordinary size (what drawings
    // hold); through a buffer of the largest size otherwise.
    if (std::isfinite(v) && std::fabs(v) < 1e20) {
        const std::size_t start = out.size();
        constexpr std::size_t kOrdinary = 40;  // sign, 20 digits, point, 16 decimals
        out.resize(start + kOrdinary);
        char* end = PutDouble(out.data() + start, out.data() + start + kOrdinary, v);
        out.resize(static_cast<std::size_t>(end - out.data()));
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

double ParseDouble(std::wstring_view text) {
    // The C library's own conversion, always in the "C" locale (a period as
    // the decimal separator whatever the host set): leading white space,
    // the longest prefix that forms a number (decimal, hexadecimal with
    // "0x", "inf", "nan"), infinity on overflow and the nearest subnormal or
    // zero on underflow, 0.0 when no number starts the text. Characters
    // outside ASCII end the number, so only the ASCII run is handed over.
    return StrtodC(NarrowPrefix(text, 0).c_str());
}

std::int32_t ParseInt(std::wstring_view text) {
    std::size_t i = SkipSpace(text);
    bool negative = false;
    if (i < text.size() && (text[i] == L'+' || text[i] == L'-')) negative = text[i++] == L'-';
    long long v = 0;
    bool overflow = false;
    for (; i < text.size() && text[i] >= L'0' && text[i] <= L'9'; ++i) {
        if (!overflow) {
            v = v * 10 + (text[i] - L'0');
            if (v > static_cast<long long>(INT_MAX) + 1) overflow = true;
        }
    }
    if (negative) v = -v;
    if (overflow || v > INT_MAX) return negative ? INT_MIN : INT_MAX;
    if (v < INT_MIN) return INT_MIN;
    return static_cast<std::int32_t>(v);
}

unsigned char ParseBool(std::wstring_view text) { return text == L"true" ? 1 : 0; }

DoubleList ParseDoubleList(std::wstring_view text) {
    DoubleList out;
    std::size_t i = 0;
    while (i < text.size()) {
        while (i < text.size() && text[i] == L' ') ++i;
        if (i == text.size()) break;
        std::size_t j = i;
        while (j < text.size() && text[j] != L' ') ++j;
        out.push_back(ParseDouble(text.substr(i, j - i)));
        i = j;
    }
    return out;
}

}  // namespace kvswx
