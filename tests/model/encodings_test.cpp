#include <gtest/gtest.h>

#include <bit>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <cwchar>
#include <limits>
#include <random>
#include <string>
#include <thread>
#include <vector>

#include "model/encodings.h"

namespace kvswx {
namespace {

std::wstring PrintfDouble(double v) {
    wchar_t buf[1024];
    std::swprintf(buf, 1024, L"%.16f", v);
    return buf;
}

// The fast formatter must give exactly the bytes of wide printf "%.16f".
TEST(FormatDouble, IdenticalToWidePrintfOverManyValues) {
    std::mt19937_64 rng(12345);
    std::uniform_real_distribution<double> uniform(-1e6, 1e6);
    std::uniform_int_distribution<int> exponent(-330, 308);
    std::vector<double> values = {0.0, -0.0, 1e20, 1e300, -1e300, 1e-300, 5e-324, 0.5e-16,
                                  0.05e-15, 2.5, 0.125, 1.0 / 3.0, std::numeric_limits<double>::max(),
                                  std::numeric_limits<double>::quiet_NaN(),
                                  -std::numeric_limits<double>::quiet_NaN(),
                                  std::numeric_limits<double>::infinity(),
                                  -std::numeric_limits<double>::infinity(),
                                  0.00000000000000005, 0.00000000000000015, 1.00000000000000005};
    for (int i = 0; i < 100000; ++i) values.push_back(uniform(rng));
    for (int i = 0; i < 100000; ++i) {
        const double mantissa = uniform(rng) / 1e6;
        values.push_back(mantissa * std::pow(10.0, exponent(rng)));
    }
    for (int i = 0; i < 20000; ++i) {
        // Exact binary ties at the 16th decimal.
        values.push_back(std::ldexp(static_cast<double>(rng() % 1000000), -(static_cast<int>(rng() % 60))));
    }
    for (double v : values) ASSERT_EQ(FormatDouble(v), PrintfDouble(v)) << "value " << v;
}

TEST(FormatInt, Examples) {
    EXPECT_EQ(FormatInt(-1), L"-1");
    EXPECT_EQ(FormatInt(-2147483647 - 1), L"-2147483648");
}

TEST(Booleans, OnlyOneIsTrueOnlyTrueReadsTrue) {
    EXPECT_EQ(FormatBool(1), L"true");
    EXPECT_EQ(FormatBool(0), L"false");
    EXPECT_EQ(FormatBool(2), L"false");
    EXPECT_EQ(FormatBool(255), L"false");
    EXPECT_EQ(ParseBool(L"true"), 1);
    for (const wchar_t* t : {L"True", L"1", L"TRUE", L"", L" true", L"true "}) EXPECT_EQ(ParseBool(t), 0) << t;
}

TEST(ParseNumbers, LenientPrefixes) {
    struct Case { const wchar_t* text; double d; std::int32_t i; };
    const Case cases[] = {
        {L"1.5", 1.5, 1}, {L"  -2.25abc", -2.25, -2}, {L"+3", 3.0, 3}, {L"abc", 0.0, 0},
        {L"", 0.0, 0}, {L"1e3", 1000.0, 1}, {L"1e", 1.0, 1}, {L".5", 0.5, 0}, {L"-", 0.0, 0},
        {L"\t7", 7.0, 7}, {L"99999999999", 99999999999.0, 2147483647},
        {L"-99999999999", -99999999999.0, -2147483647 - 1}, {L"1e999", HUGE_VAL, 1},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(ParseDouble(c.text), c.d) << "text " << std::wstring(c.text).size();
        EXPECT_EQ(ParseInt(c.text), c.i);
    }
}

// ParseDouble is strtod in the "C" locale: the longest prefix that forms a
// number, hexadecimal included, infinity or zero where the value leaves the
// range whatever the digits before the exponent look like.
TEST(ParseNumbers, DoublesReadAsTheCConversion) {
    const std::wstring zeros(400, L'0');
    struct Case { std::wstring text; double d; };
    const Case cases[] = {
        {L"0." + zeros + L"1", 0.0},
        {L"1" + zeros + L"e-5", HUGE_VAL},
        {L"-1" + zeros, -HUGE_VAL},
        {L"0." + zeros + L"1e450", 1e49},
        {L"0x10", 16.0},
        {L"-0X1.8p1", -3.0},
        {L"0x1p-1074", 4.9406564584124654e-324},
        {L"0x1p99999", HUGE_VAL},
        {L"0x", 0.0},
        {L"0xg", 0.0},
        {L"1e-400", 0.0},
        {L"2.5e-320x", 2.5e-320},
        {L"1.5e+2.5", 150.0},
        {L"1,5", 1.0},
        {L"+-1", 0.0},
        {L"-.5e1", -5.0},
        {L"infinityx", HUGE_VAL},
        {L" \n\t\v\f\r-INF", -HUGE_VAL},
        {L"1\u00B72", 1.0},
        // Plain decimals take a faster conversion: the same bits as strtod,
        // at rounding boundaries, subnormals and the range's edges too.
        {L"0.1000000000000000055511151231257827", 0.1},
        {L"9007199254740993", 9007199254740992.0},
        {L"2.2250738585072011e-308", 2.2250738585072011e-308},
        {L"4.9e-324", 4.9406564584124654e-324},
        {L"1.7976931348623158e308", 1.7976931348623157e308},
        {L"1.8e308", HUGE_VAL},
        {L"-0.0000000000000000", -0.0},
        {L"12.5abc", 12.5},
        {L"0.5x", 0.5},
        {L"7e", 7.0},
        // Around the exact reading: 2^53 and one past it, nineteen and
        // twenty digits, the point 22 and 23 digits from the end, eight
        // digits read at once with a stray character among them.
        {L"0.9007199254740992", 0.9007199254740992},
        {L"0.9007199254740993", 0.9007199254740993},
        {L"9007199254740993.0000", 9007199254740992.0},
        {L"1234567890.123456789", 1234567890.123456789},
        {L"1234.5678901234567891", 1234.5678901234567891},
        {L"0.0000000000000000000001", 1e-22},
        {L"0.00000000000000000000001", 1e-23},
        {L"1.0000000000000000000000000", 1.0},
        {L"0.12345678", 0.12345678},
        {L"-0.1234a678", -0.1234},
        {L"0.12345678.5", 0.12345678},
        {L"123.", 123.0},
        // The form we write below ten, and its near misses.
        {L"0.9007199254740992", 0.9007199254740992},
        {L"9.0071992547409921", 9.0071992547409921},
        {L"1.00000000000000001", 1.0},
        {L"1.0000000000000000e5", 100000.0},
        {L"-5.5000000000000000x", -5.5},
        {L"5.50000000a0000000", 5.5},
    };
    for (const auto& c : cases) {
        const std::string narrow(c.text.begin(), c.text.end());
        EXPECT_EQ(ParseDouble(c.text), c.d) << narrow.substr(0, 40);
        if (c.text.find(L'\u00B7') == std::wstring::npos) {
            const double expected = std::strtod(narrow.c_str(), nullptr);
            EXPECT_EQ(std::bit_cast<std::uint64_t>(ParseDouble(c.text)), std::bit_cast<std::uint64_t>(expected))
                << narrow.substr(0, 40);
            // The reading of ASCII text straight from the document's bytes.
            EXPECT_EQ(std::bit_cast<std::uint64_t>(ParseDoubleAscii(narrow)), std::bit_cast<std::uint64_t>(expected))
                << narrow.substr(0, 40);
        }
    }
    EXPECT_TRUE(std::isnan(ParseDouble(L"nan(123)")));
}

// The numbers we write, and digit strings of every length, read to the
// same bits as strtod, singly and in lists.
TEST(ParseNumbers, WrittenNumbersReadAsTheCConversion) {
    std::mt19937_64 random(15);
    std::uniform_real_distribution<double> unit(0.0, 1.0);
    std::string list;
    std::vector<double> expected;
    for (int i = 0; i < 20000; ++i) {
        char text[64];
        const double scale = std::pow(10.0, static_cast<int>(random() % 8) - 3);
        const double v = (random() % 2 == 0 ? -1 : 1) * unit(random) * scale;
        std::snprintf(text, sizeof text, "%.16f", v);
        if (i % 2 == 1) {
            // Random digits around a point, up to 24 of them.
            std::string digits;
            const int n = 1 + static_cast<int>(random() % 24);
            for (int k = 0; k < n; ++k) digits += static_cast<char>('0' + random() % 10);
            digits.insert(random() % (digits.size() + 1), ".");
            std::snprintf(text, sizeof text, "%s", digits.c_str());
        }
        const double want = std::strtod(text, nullptr);
        ASSERT_EQ(std::bit_cast<std::uint64_t>(ParseDoubleAscii(text)), std::bit_cast<std::uint64_t>(want)) << text;
        list += text;
        list += ' ';
        expected.push_back(want);
    }
    const DoubleList read = ParseDoubleListAscii(list);
    ASSERT_EQ(read.size(), expected.size());
    for (std::size_t i = 0; i < read.size(); ++i)
        ASSERT_EQ(std::bit_cast<std::uint64_t>(read[i]), std::bit_cast<std::uint64_t>(expected[i])) << i;
}

// The one-pass reading of numbers as we write them: the same bits as
// strtod where it takes the text, and false (output untouched) for every
// other form, which the general readings then take.
TEST(PlainNumbers, ReadAsTheCConversionOrDeclined) {
    struct Case { std::string text; bool plain; };
    const Case cases[] = {
        {"0.1804859615378153", true}, {"-0.0000000000000000", true}, {"9.9999999999999999", true},
        {"1.2825522079620100", true}, {"123.4567890123456789", true}, {"5.", true}, {"7", true},
        {"  0.5  ", true}, {"", true}, {"-0", true},
        // Above 2^53: the quotient's rounding is settled exactly, ties to even.
        {"9007199254740993", true}, {"9007199254740995", true}, {"4503599627370496.5", true},
        {"4503599627370497.5", true}, {"1.0000000000000001", true}, {"1.234567890123456789", true},
        {"0.999999999999999999", true}, {"999.9999999999999999", true}, {"-1.999999999999999999", true},
        // Other forms: declined.
        {"+1.5", false}, {".5", false}, {"1e5", false}, {"1.5e-3", false}, {"0x10", false}, {"-", false},
        {"1.5x", false}, {"1,5", false}, {"\t1.5", false}, {"1.5\n", false}, {"inf", false},
        {"12345678901234567890", false}, {"1.00000000000000000000", false}, {"00000000000000000001.5", false},
        {"0.9999999999999999999", false}, {"0.0009999999999999999", false},
        {"9999999999999999999", false},  // a quotient of 2^53 and above
        {"1.5\xC2\xB7", false}, {"\xC2\xA0" "1.5", false}, {"1.5 2.5", false},
    };
    for (const Case& c : cases) {
        double v = -42.0;
        EXPECT_EQ(ReadPlainDouble(c.text, v), c.plain) << c.text;
        if (!c.plain) {
            EXPECT_EQ(v, -42.0) << c.text;
            continue;
        }
        EXPECT_EQ(std::bit_cast<std::uint64_t>(v), std::bit_cast<std::uint64_t>(std::strtod(c.text.c_str(), nullptr)))
            << c.text;
    }
    // Lists and fixed sizes: every token plain, or nothing read.
    DoubleList list{9.0};
    EXPECT_TRUE(ReadPlainDoubleList(" 1.5  -2 0.2500000000000000 ", list));
    EXPECT_EQ(list, (DoubleList{1.5, -2.0, 0.25}));
    EXPECT_FALSE(ReadPlainDoubleList("1.5 2e1", list));
    EXPECT_FALSE(ReadPlainDoubleList("1.5\t2", list));
    EXPECT_EQ(list, (DoubleList{1.5, -2.0, 0.25}));
    EXPECT_TRUE(ReadPlainDoubleList("", list));
    EXPECT_TRUE(list.empty());
    bool emptyOnNewThread = false;  // before the thread has read any list
    std::thread([&] { emptyOnNewThread = ReadPlainDoubleList("", list); }).join();
    EXPECT_TRUE(emptyOnNewThread);
    Point3 p{7, 7, 7};
    EXPECT_TRUE(ReadPlainFixed("1 2", p));
    EXPECT_EQ(p, (Point3{1, 2, 0}));
    EXPECT_FALSE(ReadPlainFixed("1 2 3 4", p));
    EXPECT_EQ(p, (Point3{1, 2, 0}));
}

// Digit strings of up to nineteen digits around a point (some ending in
// zeros), and values near the midpoints between doubles, read to strtod's
// bits.
TEST(PlainNumbers, RandomDigitsReadAsTheCConversion) {
    std::mt19937_64 random(21);
    std::string list;
    std::vector<double> expected;
    for (int i = 0; i < 50000; ++i) {
        std::string t;
        if (i % 3 == 2) {
            // As we write values below ten, the digits read at once.
            char text[64];
            std::snprintf(text, sizeof text, "%.16f", std::ldexp(static_cast<double>(random() >> 11), -53) * 10.0);
            t = text;
        } else if (i % 3 == 0) {
            const int n = 1 + static_cast<int>(random() % 19);
            for (int k = 0; k < n; ++k) t += static_cast<char>('0' + random() % 10);
            if (random() % 4 != 0) t.insert(1 + random() % t.size(), ".");
            // Trailing zeros, which may make a long mantissa short.
            if (random() % 2 == 0) {
                std::size_t zeros = random() % 18;
                for (std::size_t k = t.size(); k-- > 0 && zeros > 0;) {
                    if (t[k] != '.') t[k] = '0', --zeros;
                }
            }
        } else {
            // (2M + 1) / 2^k: exactly halfway between two doubles, or a last
            // digit away from it.
            const std::uint64_t M = (std::uint64_t{1} << 52) | (random() & ((std::uint64_t{1} << 52) - 1));
            const int k = static_cast<int>(random() % 4);
            char text[64];
            std::snprintf(text, sizeof text, "%.*Lf", k, std::ldexp(static_cast<long double>(2 * M + 1), -k));
            t = text;
            if (random() % 3 == 0 && t.back() < '9') ++t.back();
        }
        if (random() % 3 == 0) t.insert(0, "-");
        const double want = std::strtod(t.c_str(), nullptr);
        double v = 0;
        if (!ReadPlainDouble(t, v)) {
            ASSERT_GE(std::fabs(want), 0x1p53) << t;  // the one range declined
            continue;
        }
        ASSERT_EQ(std::bit_cast<std::uint64_t>(v), std::bit_cast<std::uint64_t>(want)) << t;
        list += t;
        list += ' ';
        expected.push_back(want);
    }
    DoubleList read;
    ASSERT_TRUE(ReadPlainDoubleList(list, read));
    ASSERT_EQ(read.size(), expected.size());
    for (std::size_t i = 0; i < read.size(); ++i)
        ASSERT_EQ(std::bit_cast<std::uint64_t>(read[i]), std::bit_cast<std::uint64_t>(expected[i])) << i;
}

TEST(Lists, FormatAndParse) {
    EXPECT_EQ(FormatDoubleList({}), L"");
    EXPECT_EQ(FormatPoint3D(0, 0, 1), L"0.0000000000000000 0.0000000000000000 1.0000000000000000");
    EXPECT_EQ(ParseDoubleList(L"1.5  2.5"), (DoubleList{1.5, 2.5}));
    EXPECT_EQ(ParseDoubleList(L"  1 2  "), (DoubleList{1, 2}));
    EXPECT_TRUE(ParseDoubleList(L"   ").empty());
    // Only spaces separate: a tab or line feed ends the number before it.
    EXPECT_EQ(ParseDoubleList(L"1\t2 3\n4 5\r6"), (DoubleList{1, 3, 5}));
    // Fixed-size values fill from the tokens there are.
    EXPECT_EQ(ParseFixed<2>(L"1.5"), (Point2{1.5, 0}));
    EXPECT_EQ(ParseFixed<2>(L"1 2 3"), (Point2{1, 2}));
    EXPECT_EQ(ParseFixedAscii<3>("  1 2"), (Point3{1, 2, 0}));
    EXPECT_EQ(ParseDoubleListAscii("1\t2 3\n4 5\r6"), (DoubleList{1, 3, 5}));
    EXPECT_EQ(ParseIntAscii(" \t-2147483649x"), INT32_MIN);
}

}  // namespace
}  // namespace kvswx
