#include "model/encodings.h"

#include <algorithm>
#include <bit>
#include <cctype>
#include <charconv>
#include <climits>
#include <cmath>
#include <cstdlib>
#include <cstring>
#include <cwctype>
#include <string>
#include <system_error>
#include <vector>

#if defined(__SSE2__)
#include <emmintrin.h>
#endif

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

// Powers of ten that a double holds exactly.
constexpr double kExactPowersOfTen[] = {1e0,  1e1,  1e2,  1e3,  1e4,  1e5,  1e6,  1e7,  1e8,  1e9,  1e10, 1e11,
                                        1e12, 1e13, 1e14, 1e15, 1e16, 1e17, 1e18, 1e19, 1e20, 1e21, 1e22};

enum class Plain { kNo, kYes };

// Whether the eight bytes of `word` (in memory order) are all ASCII digits.
bool AreEightDigits(std::uint64_t word) {
    return (((word + 0x4646464646464646ULL) | (word - 0x3030303030303030ULL)) & 0x8080808080808080ULL) == 0;
}

// The number eight ASCII digits spell, the first in memory the most
// significant (a little-endian word).
std::uint64_t EightDigitsValue(std::uint64_t word) {
    constexpr std::uint64_t kMask = 0x000000FF000000FFULL;
    constexpr std::uint64_t kMul1 = 100 + (1000000ULL << 32);
    constexpr std::uint64_t kMul2 = 1 + (10000ULL << 32);
    word -= 0x3030303030303030ULL;
    word = word * 10 + (word >> 8);
    return (((word & kMask) * kMul1) + (((word >> 16) & kMask) * kMul2)) >> 32;
}

template <class Ch>
bool IsDigit(Ch c) {
    return c >= Ch('0') && c <= Ch('9');
}

// The rest of ReadPlainDecimal, for the digits [first, last) that do not
// make an exact integer below 2^53 with the point at most 22 digits from
// the end as they stand: trailing zeros dropped, or std::from_chars.
template <class Ch>
Plain FinishPlainDecimal(const Ch* first, const Ch* last, bool negative, std::uint64_t mantissa,
                         std::size_t digits, std::size_t scale, double& out) {
    constexpr std::uint64_t kExactLimit = std::uint64_t{1} << 53;
    if (digits <= 19) {
        // Trailing zeros ("1.0000000000000000"), eight at a time first.
        while (scale >= 8 && mantissa % 100000000ULL == 0) {
            mantissa /= 100000000ULL;
            scale -= 8;
        }
        while (scale > 0 && mantissa % 10 == 0) {
            mantissa /= 10;
            --scale;
        }
        if (mantissa <= kExactLimit && scale <= 22) {
            const double v = static_cast<double>(mantissa) / kExactPowersOfTen[scale];
            out = negative ? -v : v;
            return Plain::kYes;
        }
    }
    if constexpr (sizeof(Ch) == 1) {
        double v = 0;
        const auto r = std::from_chars(first, last, v);
        if (r.ec == std::errc{} && r.ptr == last) {
            out = v;
            return Plain::kYes;
        }
    }
    return Plain::kNo;
}

// A plain decimal "[-]digits[.digits]" (at least one digit) at the start of
// `t`, read without the C conversion: what every number of ours looks like.
// `end` receives where the digits stop. kNo when the text starts otherwise,
// when what follows could make the number longer (an exponent, a
// hexadecimal prefix), or when the value is not exact this way; the caller
// then asks strtod. Up to nineteen digits make an exact integer; when it is
// at most 2^53 and the point stands at most 22 digits from the end, the
// value is that integer divided by an exact power of ten, and the division
// rounds correctly, as strtod does. Other narrow decimals go to
// std::from_chars, which rounds correctly too, over exactly those
// characters.
template <class Ch>
inline Plain ReadPlainDecimal(std::basic_string_view<Ch> t, double& out, std::size_t& end) {
    constexpr std::uint64_t kExactLimit = std::uint64_t{1} << 53;
    const Ch* const first = t.data();
    const Ch* const last = first + t.size();
    const Ch* p = first;
    const bool negative = p != last && *p == Ch('-');
    if (negative) ++p;
    if constexpr (sizeof(Ch) == 1 && std::endian::native == std::endian::little) {
        // "d.dddddddddddddddd", how we write a value below ten, read at once
        // when its integer is exact; what the general reading below gives.
        if (last - p >= 18 && IsDigit(p[0]) && p[1] == '.' && (last - p == 18 || !IsDigit(p[18]))) {
            std::uint64_t high;
            std::uint64_t low;
            std::memcpy(&high, p + 2, sizeof high);
            std::memcpy(&low, p + 10, sizeof low);
            const Ch next = last - p == 18 ? Ch(' ') : p[18];
            const bool longer = next == 'e' || next == 'E' || next == 'x' || next == 'X';
            if (AreEightDigits(high) && AreEightDigits(low) && !longer) {
                const std::uint64_t mantissa =
                    static_cast<std::uint64_t>(p[0] - '0') * 10000000000000000ULL +
                    EightDigitsValue(high) * 100000000ULL + EightDigitsValue(low);
                if (mantissa <= kExactLimit) {
                    const double v = static_cast<double>(mantissa) / 1e16;
                    out = negative ? -v : v;
                    end = static_cast<std::size_t>(p + 18 - first);
                    return Plain::kYes;
                }
            }
        }
    }
    // Beyond nineteen digits the integer wraps; `digits` tells.
    std::uint64_t mantissa = 0;
    const Ch* const integerStart = p;
    for (; p != last && IsDigit(*p); ++p) mantissa = mantissa * 10 + static_cast<std::uint64_t>(*p - Ch('0'));
    std::size_t digits = static_cast<std::size_t>(p - integerStart);
    std::size_t scale = 0;  // digits after the point
    if (p != last && *p == Ch('.')) {
        ++p;
        const Ch* const fractionStart = p;
        if constexpr (sizeof(Ch) == 1 && std::endian::native == std::endian::little) {
            // Eight digits at a time: the sixteen decimals we write.
            while (last - p >= 8) {
                std::uint64_t word;
                std::memcpy(&word, p, sizeof word);
                if (!AreEightDigits(word)) break;
                mantissa = mantissa * 100000000ULL + EightDigitsValue(word);
                p += 8;
            }
        }
        for (; p != last && IsDigit(*p); ++p) mantissa = mantissa * 10 + static_cast<std::uint64_t>(*p - Ch('0'));
        scale = static_cast<std::size_t>(p - fractionStart);
        digits += scale;
    }
    if (digits == 0) return Plain::kNo;
    if (p != last && (*p == Ch('e') || *p == Ch('E') || *p == Ch('x') || *p == Ch('X'))) return Plain::kNo;
    end = static_cast<std::size_t>(p - first);
    if (digits <= 19 && mantissa <= kExactLimit && scale <= 22) {
        const double v = static_cast<double>(mantissa) / kExactPowersOfTen[scale];
        out = negative ? -v : v;
        return Plain::kYes;
    }
    return FinishPlainDecimal(first, p, negative, mantissa, digits, scale, out);
}

template <class Ch>
double ParseDoubleOf(std::basic_string_view<Ch> text) {
    double v = 0;
    std::size_t end = 0;
    if (ReadPlainDecimal(text, v, end) == Plain::kYes) return v;
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
        // A plain decimal that fills the token is read in the same pass.
        const std::basic_string_view<Ch> rest = text.substr(i);
        double v = 0;
        std::size_t end = 0;
        if (ReadPlainDecimal(rest, v, end) == Plain::kYes && (end == rest.size() || rest[end] == Ch(' '))) {
            i += end;
            if (!f(v)) return;
            continue;
        }
        std::size_t j = i;
        while (j < text.size() && text[j] != Ch(' ')) ++j;
        if (!f(ParseDoubleOf(text.substr(i, j - i)))) return;
        i = j;
    }
}

template <class Ch>
DoubleList ParseDoubleListOf(std::basic_string_view<Ch> text) {
    // Gathered in a buffer kept from call to call, then copied once: the
    // list gets one allocation of its exact size. A buffer grown by an
    // unusually long list is not kept.
    thread_local DoubleList scratch;
    scratch.clear();
    ForEachDouble(text, [&](double v) {
        scratch.push_back(v);
        return true;
    });
    DoubleList out(scratch.begin(), scratch.end());
    if (scratch.capacity() > 4096) DoubleList().swap(scratch);
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

// ---- Plain numbers read in one pass ----------------------------------------

constexpr std::uint64_t kPowersOfTen64[] = {1ULL,
                                           10ULL,
                                           100ULL,
                                           1000ULL,
                                           10000ULL,
                                           100000ULL,
                                           1000000ULL,
                                           10000000ULL,
                                           100000000ULL,
                                           1000000000ULL,
                                           10000000000ULL,
                                           100000000000ULL,
                                           1000000000000ULL,
                                           10000000000000ULL,
                                           100000000000000ULL,
                                           1000000000000000ULL,
                                           10000000000000000ULL,
                                           100000000000000000ULL,
                                           1000000000000000000ULL,
                                           10000000000000000000ULL};

// An unsigned 128-bit integer, as much of one as the rounding below needs.
struct Wide {
    std::uint64_t high;
    std::uint64_t low;
    friend bool operator==(const Wide&, const Wide&) = default;
    friend bool operator<(const Wide& a, const Wide& b) {
        return a.high != b.high ? a.high < b.high : a.low < b.low;
    }
};

// a * b in full.
Wide Multiply(std::uint64_t a, std::uint64_t b) {
    const std::uint64_t aLow = a & 0xFFFFFFFFULL;
    const std::uint64_t aHigh = a >> 32;
    const std::uint64_t bLow = b & 0xFFFFFFFFULL;
    const std::uint64_t bHigh = b >> 32;
    const std::uint64_t lowLow = aLow * bLow;
    const std::uint64_t highLow = aHigh * bLow;
    const std::uint64_t lowHigh = aLow * bHigh;
    const std::uint64_t middle = (lowLow >> 32) + (highLow & 0xFFFFFFFFULL) + (lowHigh & 0xFFFFFFFFULL);
    return Wide{aHigh * bHigh + (highLow >> 32) + (lowHigh >> 32) + (middle >> 32),
                (middle << 32) | (lowLow & 0xFFFFFFFFULL)};
}

// a * 2^shift, shift in [0, 64].
Wide ShiftLeft(std::uint64_t a, int shift) {
    if (shift == 0) return Wide{0, a};
    if (shift == 64) return Wide{a, 0};
    return Wide{a >> (64 - shift), a << shift};
}

// m / 10^scale correctly rounded (to nearest, ties to even), for m above
// 2^53 and below 10^19 and scale at most 19; false when the quotient lies
// outside about [2^-10, 2^53) (the caller's other reading takes those). The
// quotient of the rounded m is within a unit or two in the last place of the
// exact one; it is moved to the double whose rounding interval holds the
// exact quotient, found by comparing that with the midpoints between
// neighbouring doubles in 128-bit integers: with d = M * 2^e
// (2^52 <= M < 2^53), m / 10^s against (2M + 1) * 2^(e-1) is m * 2^(1-e)
// against (2M + 1) * 10^s.
bool RoundedQuotient(std::uint64_t m, std::size_t scale, double& out) {
    constexpr std::uint64_t kHidden = std::uint64_t{1} << 52;
    double d = static_cast<double>(m) / kExactPowersOfTen[scale];
    const std::uint64_t power = kPowersOfTen64[scale];
    for (int step = 0; step < 4; ++step) {
        const auto bits = std::bit_cast<std::uint64_t>(d);
        const int e = static_cast<int>(bits >> 52) - 1075;
        const std::uint64_t M = (bits & (kHidden - 1)) | kHidden;
        const int shift = 1 - e;
        if (shift < 0 || shift > 63) return false;
        const Wide exact = ShiftLeft(m, shift);
        const Wide upper = Multiply(2 * M + 1, power);
        if (upper < exact || (exact == upper && (M & 1) != 0)) {
            d = std::bit_cast<double>(bits + 1);
            continue;
        }
        // Below the binade's first double the neighbour is half as far.
        const bool first = M == kHidden;
        const Wide lower = Multiply(first ? 4 * M - 1 : 2 * M - 1, power);
        const Wide scaled = first ? ShiftLeft(m, shift + 1) : exact;
        if (scaled < lower || (scaled == lower && (M & 1) != 0)) {
            d = std::bit_cast<double>(bits - 1);
            continue;
        }
        out = d;
        return true;
    }
    return false;
}

// Whether the sixteen bytes at p are ASCII digits, and the number they
// spell in `value`.
inline bool SixteenDigits(const char* p, std::uint64_t& value) {
#if defined(__SSE2__)
    // All sixteen at once: checked, then pairs, fours and eights of digits
    // summed by multiply-adds of 16-bit lanes (every partial sum fits).
    const __m128i digits = _mm_sub_epi8(_mm_loadu_si128(reinterpret_cast<const __m128i*>(p)), _mm_set1_epi8('0'));
    const __m128i nine = _mm_set1_epi8(9);
    if (_mm_movemask_epi8(_mm_cmpeq_epi8(_mm_max_epu8(digits, nine), nine)) != 0xFFFF) return false;
    const __m128i zero = _mm_setzero_si128();
    const __m128i tens = _mm_setr_epi16(10, 1, 10, 1, 10, 1, 10, 1);
    const __m128i pairs = _mm_packs_epi32(_mm_madd_epi16(_mm_unpacklo_epi8(digits, zero), tens),
                                          _mm_madd_epi16(_mm_unpackhi_epi8(digits, zero), tens));
    const __m128i fours = _mm_madd_epi16(pairs, _mm_setr_epi16(100, 1, 100, 1, 100, 1, 100, 1));
    const __m128i eights =
        _mm_madd_epi16(_mm_packs_epi32(fours, fours), _mm_setr_epi16(10000, 1, 10000, 1, 0, 0, 0, 0));
    const auto high = static_cast<std::uint32_t>(_mm_cvtsi128_si32(eights));
    const auto low = static_cast<std::uint32_t>(_mm_cvtsi128_si32(_mm_srli_si128(eights, 4)));
    value = std::uint64_t{high} * 100000000ULL + low;
    return true;
#else
    if constexpr (std::endian::native != std::endian::little) return false;
    std::uint64_t high;
    std::uint64_t low;
    std::memcpy(&high, p, sizeof high);
    std::memcpy(&low, p + 8, sizeof low);
    if (!AreEightDigits(high) || !AreEightDigits(low)) return false;
    value = EightDigitsValue(high) * 100000000ULL + EightDigitsValue(low);
    return true;
#endif
}

// "d.dddddddddddddddd" at p, ending a token: how we write a value below
// ten, read at once; its digits as an integer in `mantissa`.
inline bool ReadWrittenForm(const char* p, const char* end, std::uint64_t& mantissa) {
    if (end - p < 18 || !IsDigit(p[0]) || p[1] != '.' || (end - p > 18 && p[18] != ' ')) return false;
    std::uint64_t decimals;
    if (!SixteenDigits(p + 2, decimals)) return false;
    mantissa = static_cast<std::uint64_t>(p[0] - '0') * 10000000000000000ULL + decimals;
    return true;
}

// m / 10^scale as the same quotient with trailing zero decimals dropped
// (up to fifteen): "1.0000000000000000" becomes 1 / 10, which divides
// exactly where the full mantissa would not.
inline void DropTrailingZeros(std::uint64_t& m, std::size_t& scale) {
    if (scale >= 8 && m % 100000000 == 0) m /= 100000000, scale -= 8;
    if (scale >= 4 && m % 10000 == 0) m /= 10000, scale -= 4;
    if (scale >= 2 && m % 100 == 0) m /= 100, scale -= 2;
    if (scale >= 1 && m % 10 == 0) m /= 10, scale -= 1;
}

// One plain token at p (p < end, *p not a space), its value in `out`:
// returns where it ends (at `end` or a space), or null when the token is of
// another form.
inline const char* ReadPlainToken(const char* p, const char* const end, double& out) {
    constexpr std::uint64_t kExactLimit = std::uint64_t{1} << 53;
    const bool negative = *p == '-';
    if (negative) ++p;
    std::uint64_t mantissa = 0;
    std::size_t scale = 0;
    if (ReadWrittenForm(p, end, mantissa)) {
        scale = 16;
        p += 18;
    } else {
        const char* const integerStart = p;
        for (; p != end && IsDigit(*p); ++p) mantissa = mantissa * 10 + static_cast<std::uint64_t>(*p - '0');
        std::size_t digits = static_cast<std::size_t>(p - integerStart);
        if (digits == 0 || digits > 19) return nullptr;
        if (p != end && *p == '.') {
            ++p;
            const char* const fractionStart = p;
            while (std::endian::native == std::endian::little && end - p >= 8 &&
                   digits + static_cast<std::size_t>(p - fractionStart) + 8 <= 19) {
                std::uint64_t word;
                std::memcpy(&word, p, sizeof word);
                if (!AreEightDigits(word)) break;
                mantissa = mantissa * 100000000ULL + EightDigitsValue(word);
                p += 8;
            }
            for (; p != end && IsDigit(*p); ++p) {
                if (digits + static_cast<std::size_t>(p - fractionStart) == 19) return nullptr;
                mantissa = mantissa * 10 + static_cast<std::uint64_t>(*p - '0');
            }
            scale = static_cast<std::size_t>(p - fractionStart);
        }
        if (p != end && *p != ' ') return nullptr;
    }
    if (mantissa > kExactLimit) DropTrailingZeros(mantissa, scale);
    double v;
    if (mantissa <= kExactLimit) {
        // Both exact: the division rounds correctly.
        v = static_cast<double>(static_cast<std::int64_t>(mantissa)) / kExactPowersOfTen[scale];
    } else if (!RoundedQuotient(mantissa, scale, v)) {
        return nullptr;
    }
    out = negative ? -v : v;
    return p;
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

std::size_t ReadPlainTokens(std::string_view text, double* out, std::size_t n) {
    const char* p = text.data();
    const char* const end = p + text.size();
    std::size_t count = 0;
    // Tokens as we write them, one space apart, read by a loop of their
    // own; the first token of another form (or a value of seventeen
    // significant digits) and whatever follows it go to the general loop.
    for (;;) {
        if (count == n || p == end) break;
        const bool negative = *p == '-';
        const char* const q = p + (negative ? 1 : 0);
        std::uint64_t mantissa;
        if (!ReadWrittenForm(q, end, mantissa) || mantissa > (std::uint64_t{1} << 53)) break;
        const double v = static_cast<double>(static_cast<std::int64_t>(mantissa)) / 1e16;
        out[count++] = negative ? -v : v;
        p = q + 18;
        if (p == end) return count;
        ++p;  // the space ReadWrittenForm saw
    }
    while (p != end && *p == ' ') ++p;
    while (p != end) {
        if (count == n) return n + 1;
        p = ReadPlainToken(p, end, out[count]);
        if (p == nullptr) return n + 1;
        ++count;
        // A token ends at the end or at a space.
        while (p != end && *p == ' ') ++p;
    }
    return count;
}

const double* ReadPlainTokensKept(std::string_view text, std::size_t& count) {
    // A token and its separator take two bytes at least. The buffer grown
    // by an unusually long list is not kept past the next call.
    thread_local DoubleList kept;
    const std::size_t most = (text.size() + 1) / 2;
    if (kept.size() > 4096 && most <= 4096) DoubleList().swap(kept);
    if (kept.size() < most || kept.empty()) kept.resize(std::max<std::size_t>(most, 1));  // never null
    count = ReadPlainTokens(text, kept.data(), most);
    return count <= most ? kept.data() : nullptr;
}

std::size_t ParseDoublesInto(std::wstring_view text, double* out, std::size_t n) {
    return ParseIntoOf(text, out, n);
}
std::size_t ParseDoublesIntoAscii(std::string_view text, double* out, std::size_t n) {
    return ParseIntoOf(text, out, n);
}

}  // namespace kvswx
