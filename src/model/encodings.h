// Text forms of the model's values, as they stand in attributes and element
// text. Writers are exact ("%.16f" and "%i" byte for byte); readers are
// lenient (leading white space, longest numeric prefix, 0 when none).
#pragma once

#include <array>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace kvswx {

using Point2 = std::array<double, 2>;
using Point3 = std::array<double, 3>;
using Transform16 = std::array<double, 16>;
using DoubleList = std::vector<double>;

std::wstring FormatDouble(double v);
std::wstring FormatInt(std::int32_t v);
// "true" only for the byte value 1.
std::wstring FormatBool(unsigned char v);
std::wstring FormatPoint(double x, double y);
std::wstring FormatPoint3D(double x, double y, double z);
std::wstring FormatTransform(const Transform16& v);
std::wstring FormatDoubleList(const DoubleList& v);

// The same characters as FormatDouble, FormatInt and FormatDoubleList,
// appended to a narrow buffer (they are ASCII): what the writer places in
// the tree without a wide string in between.
void AppendDouble(std::string& out, double v);
void AppendInt(std::string& out, std::int32_t v);
void AppendDoubles(std::string& out, const double* values, std::size_t count);

// Exactly what strtod gives in the "C" locale: the longest prefix that
// forms a number, 0.0 when none does.
double ParseDouble(std::wstring_view text);
std::int32_t ParseInt(std::wstring_view text);
// 1 exactly when the text is "true".
unsigned char ParseBool(std::wstring_view text);
// Tokens separated by runs of spaces, each read with ParseDouble.
DoubleList ParseDoubleList(std::wstring_view text);

// The first n tokens of `text` (as ParseDoubleList reads them) stored in
// out[0..); returns how many were found, at most n.
std::size_t ParseDoublesInto(std::wstring_view text, double* out, std::size_t n);

// The same readings of text known to be ASCII (all the numbers of a
// document are): no wide string in between, the same values.
double ParseDoubleAscii(std::string_view text);
std::int32_t ParseIntAscii(std::string_view text);
DoubleList ParseDoubleListAscii(std::string_view text);
std::size_t ParseDoublesIntoAscii(std::string_view text, double* out, std::size_t n);

// Numbers in the form we write them, read in one pass over the document's
// bytes: tokens of an optional minus sign, digits, and optionally a point
// and more digits (at most nineteen digits in all), separated by spaces.
// They give the values the readings above give (strtod's, correctly
// rounded). Text of any other form (other white space, a plus sign, an
// exponent, longer digit strings, a byte outside ASCII, more tokens than
// asked for) gives false and leaves `out` as it was; the caller then reads
// it with the functions above.
// The tokens into out[0..n): how many there are, or n + 1 when one is of
// another form or there are more than n (out[0..n) then holds anything).
std::size_t ReadPlainTokens(std::string_view text, double* out, std::size_t n);
// One value; no token reads as 0.
inline bool ReadPlainDouble(std::string_view text, double& out) {
    double v = 0;
    if (ReadPlainTokens(text, &v, 1) > 1) return false;
    out = v;
    return true;
}
// Up to N values; the rest of them 0.
template <std::size_t N>
bool ReadPlainFixed(std::string_view text, std::array<double, N>& out) {
    std::array<double, N> in{};
    if (ReadPlainTokens(text, in.data(), N) > N) return false;
    out = in;
    return true;
}
// Any number of values, into a buffer the thread keeps: their count, or
// null when the text is of another form. Valid until the thread's next call.
const double* ReadPlainTokensKept(std::string_view text, std::size_t& count);
// Any number of values; `out` (a vector of doubles of any allocator)
// receives exactly those read, in one allocation of their size.
template <class List>
bool ReadPlainDoubleList(std::string_view text, List& out) {
    std::size_t count = 0;
    const double* values = ReadPlainTokensKept(text, count);
    if (values == nullptr) return false;
    out.assign(values, values + count);
    return true;
}

// A fixed-size value (point, 3D point, transform): zeros, then filled from
// the tokens in order; missing values stay 0, extra tokens are ignored.
template <std::size_t N>
std::array<double, N> ParseFixed(std::wstring_view text) {
    std::array<double, N> out{};
    ParseDoublesInto(text, out.data(), N);
    return out;
}
template <std::size_t N>
std::array<double, N> ParseFixedAscii(std::string_view text) {
    std::array<double, N> out{};
    ParseDoublesIntoAscii(text, out.data(), N);
    return out;
}

}  // namespace kvswx
