#include "model/fixed_decimals.h"

#include <charconv>
#include <cstdint>
#include <cstddef>
#include <cstring>
#include <string_view>

namespace kvswx {

namespace {

#ifdef __SIZEOF_INT128__
__extension__ typedef unsigned __int128 U128;  // GCC and Clang's 128-bit integer
#endif

constexpr std::uint64_t kScale = 10'000'000'000'000'000ULL;  // 10^16

constexpr char kPairs[] =
    "00010203040506070809101112131415161718192021222324252627282930313233343536373839"
    "40414243444546474849505152535455565758596061626364656667686970717273747576777879"
    "8081828384858687888990919293949596979899";

// Eight digits of `v` (below 10^8), leading zeros included.
char* PutEight(char* p, std::uint32_t v) {
    const std::uint32_t hi = v / 10000;
    const std::uint32_t lo = v % 10000;
    std::memcpy(p, kPairs + 2 * (hi / 100), 2);
    std::memcpy(p + 2, kPairs + 2 * (hi % 100), 2);
    std::memcpy(p + 4, kPairs + 2 * (lo / 100), 2);
    std::memcpy(p + 6, kPairs + 2 * (lo % 100), 2);
    return p + 8;
}

}  // namespace

char* PutFixed16(char* first, char* last, double v) {
    std::uint64_t bits = 0;
    std::memcpy(&bits, &v, sizeof bits);
    // Zero, the most frequent value of all (the z of flat geometry).
    constexpr std::string_view kZero = "0.0000000000000000";
    if (bits == 0 && last - first >= static_cast<std::ptrdiff_t>(kZero.size())) {
        std::memcpy(first, kZero.data(), kZero.size());
        return first + kZero.size();
    }
#ifdef __SIZEOF_INT128__
    const bool negative = (bits >> 63) != 0;
    const int biased = static_cast<int>((bits >> 52) & 0x7FF);
    std::uint64_t mantissa = bits & ((std::uint64_t{1} << 52) - 1);
    int exponent = -1074;  // v = mantissa * 2^exponent
    if (biased != 0) {
        mantissa |= std::uint64_t{1} << 52;
        exponent = biased - 1075;
    }
    // Infinities, NaN and values of 2^53 or more (and a buffer shorter than
    // the longest form below, 34 characters) take the general conversion.
    if (biased != 0x7FF && exponent <= 0 && last - first >= 34) {
        // v * 10^16 = mantissa * 10^16 / 2^shift, below 2^107: rounded half
        // to even to an integer, exactly.
        const U128 scaled = static_cast<U128>(mantissa) * kScale;
        const int shift = -exponent;
        U128 q = 0;
        if (shift == 0) {
            q = scaled;
        } else if (shift < 128) {
            q = scaled >> shift;
            const U128 rest = scaled - (q << shift);
            const U128 half = U128{1} << (shift - 1);
            if (rest > half || (rest == half && (q & 1) != 0)) ++q;
        }  // else below half of 10^-16: zero
        std::uint64_t whole = 0;
        std::uint64_t fraction = 0;
        if ((q >> 64) == 0) {
            const auto small = static_cast<std::uint64_t>(q);
            whole = small / kScale;
            fraction = small % kScale;
        } else {
            whole = static_cast<std::uint64_t>(q / kScale);
            fraction = static_cast<std::uint64_t>(q % kScale);
        }
        char* p = first;
        if (negative) *p++ = '-';
        if (whole < 10) {
            *p++ = static_cast<char>('0' + whole);
        } else {
            p = std::to_chars(p, last, whole).ptr;
        }
        *p++ = '.';
        p = PutEight(p, static_cast<std::uint32_t>(fraction / 100'000'000));
        return PutEight(p, static_cast<std::uint32_t>(fraction % 100'000'000));
    }
#endif
    return std::to_chars(first, last, v, std::chars_format::fixed, 16).ptr;
}

}  // namespace kvswx
