// Number text of the project file. Numbers are written as a C++ stream writes
// them by default (printf "%g" with 6 significant digits: fixed form unless the
// decimal exponent is below -4 or at least 6, trailing zeros and a trailing point
// dropped) with the exponent as a sign and at least three digits: 0, -0.5,
// 0.333333, 1e-005, 1.5e+006. Numbers are read as "%f"/"%lf"/"%d" read them.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

#include "core/math.h"

namespace lw {

// Longest text appendNumber writes for one number.
inline constexpr int kMaxNumberChars = 32;

// Appends the text of `value` to `out`. A float is written through its exact
// double value, as a stream does.
void appendNumber(std::string& out, double value);
void appendInt(std::string& out, int64_t value);

// Appends " x y z" (" w x y z"): a space before every number.
void appendVector(std::string& out, Vector3 v);
void appendQuaternion(std::string& out, Quaternion q);

// A cursor over one line's values, scanning like sscanf: white space is skipped
// before each number, a number that does not scan stops the scan, and the value
// of a field that was not scanned is left as it was.
struct ValueScanner {
  std::string_view rest;
  bool ok = true;  // false once a field failed; later fields are not scanned

  bool scanFloat(float& value);
  bool scanDouble(double& value);
  bool scanInt(int32_t& value);
  void scanVector(Vector3& v);
  void scanQuaternion(Quaternion& q);
  // The next word: up to the next white space ("%s"); false at the line end.
  bool scanWord(std::string& word);
};

// The text of `line` after its first `count` characters; empty when the line is
// shorter (never reads outside the line).
std::string_view restAfter(std::string_view line, size_t count);

// True when `line` starts with `key` (compared over the key's own length).
inline bool hasPrefix(std::string_view line, std::string_view key) {
  return line.size() >= key.size() && line.compare(0, key.size(), key) == 0;
}

}  // namespace lw
