// Number text for the files the program writes: "%f" (fixed notation, six
// decimals) of a 32-bit float, byte for byte what printf("%f", value) gives for
// the value promoted to double, and "%d" of an int.
#pragma once

#include <cstdint>

namespace lw {

// Longest text formatFixed6 writes: sign, 39 integer digits, point, six decimals.
inline constexpr int kMaxFixed6Chars = 48;

// Writes the "%f" text of `value` at `out` (no terminating NUL) and returns the
// end of the text. `out` must have room for kMaxFixed6Chars bytes. Rounds the
// exact binary value to six decimals, ties to even; negative values that round to
// zero keep their sign ("-0.000000"); infinities and NaN read "inf", "-inf",
// "nan", "-nan".
char* formatFixed6(float value, char* out);

// The magnitude of `value` in millionths, rounded to nearest, ties to even: the
// digits formatFixed6 writes. False (nothing stored) for infinities, NaN and
// magnitudes of 2^32 and above.
bool fixed6Millionths(float value, uint64_t& millionths);

// Writes the "%d" text of `value` at `out` (at most 11 bytes) and returns its end.
char* formatDecimal(int32_t value, char* out);

}  // namespace lw
