// The fixed form of a double with sixteen decimals, the digits "%.16f"
// prints (and std::to_chars with std::chars_format::fixed and precision 16):
// the exact binary value rounded half to even at the sixteenth decimal.
#pragma once

namespace kvswx {

// Writes the form into [first, last) and returns its end. Values of the size
// drawings hold (below 2^53 in magnitude) take an exact integer path; any
// other value goes through std::to_chars. [first, last) must hold the
// result: 400 characters hold any double.
char* PutFixed16(char* first, char* last, double v);

}  // namespace kvswx
