#include "model/fixed_decimals.h"

#include <gtest/gtest.h>

#include <charconv>
#include <cmath>
#include <cstdint>
#include <cstring>
#include <limits>
#include <random>
#include <string>

namespace kvswx {
namespace {

std::string Fast(double v) {
    char buf[400];
    return std::string(buf, PutFixed16(buf, buf + sizeof buf, v));
}

std::string Reference(double v) {
    char buf[400];
    return std::string(buf, std::to_chars(buf, buf + sizeof buf, v, std::chars_format::fixed, 16).ptr);
}

double FromBits(std::uint64_t bits) {
    double v = 0;
    std::memcpy(&v, &bits, sizeof v);
    return v;
}

// The exact path against the general conversion: random values of every
// magnitude below and around 2^53, halfway cases at the sixteenth decimal
// (odd multiples of 2^-17, 2^-18 and so on give a remainder of exactly one
// half), and the edges.
TEST(FixedDecimals, MatchesTheGeneralConversion) {
    const double edges[] = {0.0,
                            -0.0,
                            1.0,
                            -1.0,
                            0.5e-16,
                            -0.4e-16,
                            0.9999999999999999,
                            0.99999999999999995,
                            9007199254740991.0,
                            9007199254740992.0,
                            -9007199254740993.0,
                            1e20,
                            std::numeric_limits<double>::denorm_min(),
                            -std::numeric_limits<double>::min(),
                            std::numeric_limits<double>::max(),
                            std::numeric_limits<double>::infinity(),
                            -std::numeric_limits<double>::infinity(),
                            std::numeric_limits<double>::quiet_NaN()};
    for (const double v : edges) EXPECT_EQ(Fast(v), Reference(v)) << v;

    for (int power = 17; power <= 70; ++power) {
        for (std::uint64_t k = 1; k < 4000; k += 2) {
            const double v = std::ldexp(static_cast<double>(k), -power);
            ASSERT_EQ(Fast(v), Reference(v)) << k << " / 2^" << power;
            ASSERT_EQ(Fast(-v), Reference(-v)) << "-" << k << " / 2^" << power;
        }
    }

    std::mt19937_64 random(7);
    for (int i = 0; i < 400000; ++i) {
        // Exponents from 2^-80 to 2^60, any mantissa and sign.
        const std::uint64_t biased = 1023 - 80 + random() % 141;
        const double v = FromBits((random() & 0x800FFFFFFFFFFFFFULL) | (biased << 52));
        ASSERT_EQ(Fast(v), Reference(v)) << v;
        const double small = std::ldexp(static_cast<double>(random() % 1000000), -20) - 0.47;
        ASSERT_EQ(Fast(small), Reference(small)) << small;
    }
}

TEST(FixedDecimals, ShortBufferTakesTheGeneralPath) {
    char buf[40];
    const double v = -1234.5678;
    EXPECT_EQ(std::string(buf, PutFixed16(buf, buf + sizeof buf, v)), Reference(v));
}

}  // namespace
}  // namespace kvswx
