// Value scanning for the model file readers. Each function accepts exactly what
// the C library's sscanf accepts for the matching directive (the GNU C library's
// rules in the "C" locale) and stores what it stores, so files read the same on
// every platform:
//  - "%f": white space skipped; optional sign; "inf", "infinity", "nan" (any
//    case); hexadecimal "0x" mantissas with a "p" exponent; decimal digits with
//    one point and an "e" exponent. An "e" or "p" and its sign are consumed even
//    when no exponent digit follows ("1e+x" scans 1 and stops before "x").
//  - "%d": optional sign and decimal digits; "%i" also takes "0x" hexadecimal
//    (the "0x" is consumed even without a digit after it) and leading-0 octal.
//    Values beyond 64 bits saturate, then the low 32 bits are stored.
//  - "%s": white space skipped, then the bytes up to the next white space.
// White space is ' ', '\t', '\n', '\v', '\f' and '\r'.
//
// A conversion that fails leaves its value untouched: a reader that does not test
// the result keeps the stale value of an earlier line, as the program always has.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

namespace lw {

inline bool isScanSpace(char c) {
  return c == ' ' || (c >= '\t' && c <= '\r');
}

// One directive at the cursor `p` (before `end`). On success stores the value,
// moves `p` past what the directive consumed and returns true. On failure returns
// false and leaves the value as it was; `p` is then unspecified (the scan stops).
bool scanFloat(const char*& p, const char* end, float& value);    // "%f"
bool scanDecimal(const char*& p, const char* end, int32_t& value);  // "%d"
bool scanInteger(const char*& p, const char* end, int32_t& value);  // "%i"
bool scanWord(const char*& p, const char* end, std::string& word);  // "%s"

// Whole-line scans with the formats the readers use. `key` is the ordinary text
// at the start of the format (it must match the line's first characters); the
// directives follow it, separated by spaces. Each returns how many values were
// stored; the rest keep their previous values.

// "<key> %f %f ..." with `count` floats.
int scanKeyFloats(std::string_view line, std::string_view key, float* values, int count);
// "<key> %d".
int scanKeyDecimal(std::string_view line, std::string_view key, int32_t& value);
// "<key> %s".
int scanKeyWord(std::string_view line, std::string_view key, std::string& word);
// "f %i/%i/%i %i/%i/%i %i/%i/%i": values in the order of the line.
int scanFaceLine(std::string_view line, int32_t values[9]);

}  // namespace lw
