#include "io/project_text.h"

#include <algorithm>
#include <charconv>
#include <cstddef>
#include <cstdlib>
#include <cstring>

namespace lw {

namespace {

bool isSpace(char c) { return c == ' ' || c == '\t' || c == '\n' || c == '\r' || c == '\v' || c == '\f'; }

void skipSpace(std::string_view& s) {
  size_t i = 0;
  while (i < s.size() && isSpace(s[i])) ++i;
  s.remove_prefix(i);
}

// Parses a floating number the way strtod does at the start of `s` (an optional
// sign, then decimal, exponent, inf or nan forms). Returns the characters used,
// 0 when nothing scans.
template <typename T>
size_t parseReal(std::string_view s, T& value) {
  size_t signLength = (!s.empty() && (s[0] == '+' || s[0] == '-')) ? 1 : 0;
  const char* first = s.data() + signLength;
  const char* last = s.data() + s.size();
  if (first < last && (*first == '+' || *first == '-')) return 0;
  T magnitude{};
  auto [ptr, ec] = std::from_chars(first, last, magnitude, std::chars_format::general);
  if (ptr == first) return 0;
  if (ec == std::errc::result_out_of_range) {
    // Too large or too small for T: let the C library round it as scanf would.
    char buffer[512];
    size_t n = std::min<size_t>(static_cast<size_t>(ptr - first), sizeof buffer - 1);
    std::memcpy(buffer, first, n);
    buffer[n] = '\0';
    magnitude = static_cast<T>(std::strtod(buffer, nullptr));
  }
  value = (signLength && s[0] == '-') ? -magnitude : magnitude;
  return static_cast<size_t>(ptr - s.data());
}

}  // namespace

void appendNumber(std::string& out, double value) {
  char buffer[kMaxNumberChars];
  auto [end, ec] = std::to_chars(buffer, buffer + sizeof buffer, value, std::chars_format::general, 6);
  // to_chars writes at least two exponent digits; the file has at least three.
  char* e = static_cast<char*>(std::memchr(buffer, 'e', static_cast<size_t>(end - buffer)));
  if (e == nullptr) {
    out.append(buffer, end);
    return;
  }
  const char* digits = e + 2;  // after 'e' and the sign
  out.append(buffer, static_cast<size_t>(digits - buffer));
  for (std::ptrdiff_t n = end - digits; n < 3; ++n) out.push_back('0');
  out.append(digits, static_cast<size_t>(end - digits));
}

void appendInt(std::string& out, int64_t value) {
  char buffer[24];
  auto [end, ec] = std::to_chars(buffer, buffer + sizeof buffer, value);
  out.append(buffer, end);
}

void appendVector(std::string& out, Vector3 v) {
  for (float c : {v.x, v.y, v.z}) {
    out.push_back(' ');
    appendNumber(out, c);
  }
}

void appendQuaternion(std::string& out, Quaternion q) {
  for (float c : {q.w, q.x, q.y, q.z}) {
    out.push_back(' ');
    appendNumber(out, c);
  }
}

bool ValueScanner::scanFloat(float& value) {
  if (!ok) return false;
  skipSpace(rest);
  size_t used = parseReal(rest, value);
  rest.remove_prefix(used);
  return ok = used != 0;
}

bool ValueScanner::scanDouble(double& value) {
  if (!ok) return false;
  skipSpace(rest);
  size_t used = parseReal(rest, value);
  rest.remove_prefix(used);
  return ok = used != 0;
}

bool ValueScanner::scanInt(int32_t& value) {
  if (!ok) return false;
  skipSpace(rest);
  size_t signLength = (!rest.empty() && (rest[0] == '+' || rest[0] == '-')) ? 1 : 0;
  const char* first = rest.data() + signLength;
  const char* last = rest.data() + rest.size();
  int64_t magnitude = 0;
  auto [ptr, ec] = std::from_chars(first, last, magnitude);
  if (ptr == first || (first < last && (*first == '+' || *first == '-'))) return ok = false;
  if (ec == std::errc::result_out_of_range) magnitude = INT64_MAX;
  int64_t v = (signLength && rest[0] == '-') ? -magnitude : magnitude;
  // Out-of-range text wraps to 32 bits as the C library's conversion does.
  value = static_cast<int32_t>(static_cast<uint32_t>(static_cast<uint64_t>(v)));
  rest.remove_prefix(static_cast<size_t>(ptr - rest.data()));
  return true;
}

void ValueScanner::scanVector(Vector3& v) {
  scanFloat(v.x) && scanFloat(v.y) && scanFloat(v.z);
}

void ValueScanner::scanQuaternion(Quaternion& q) {
  scanFloat(q.w) && scanFloat(q.x) && scanFloat(q.y) && scanFloat(q.z);
}

bool ValueScanner::scanWord(std::string& word) {
  if (!ok) return false;
  skipSpace(rest);
  size_t n = 0;
  while (n < rest.size() && !isSpace(rest[n])) ++n;
  if (n == 0) return ok = false;
  word.assign(rest.data(), n);
  rest.remove_prefix(n);
  return true;
}

std::string_view restAfter(std::string_view line, size_t count) {
  return count < line.size() ? line.substr(count) : std::string_view{};
}

}  // namespace lw
