#include "io/scan.h"

#include <charconv>
#include <cstdlib>
#include <cstring>

namespace lw {

namespace {

bool isDigit(char c) { return c >= '0' && c <= '9'; }
bool isHexDigit(char c) {
  return isDigit(c) || (c >= 'a' && c <= 'f') || (c >= 'A' && c <= 'F');
}
char lower(char c) { return (c >= 'A' && c <= 'Z') ? static_cast<char>(c - 'A' + 'a') : c; }

void skipSpace(const char*& p, const char* end) {
  while (p < end && isScanSpace(*p)) ++p;
}

// Consumes `word` (lower case) at p, ignoring case. False at the first mismatch.
bool consumeWord(const char*& p, const char* end, const char* word) {
  for (; *word; ++word, ++p) {
    if (p == end || lower(*p) != *word) return false;
  }
  return true;
}

// The C library's own conversion of a token, for the rare forms (hexadecimal,
// infinities, NaN, results out of float range) that std::from_chars does not
// cover the same way.
bool convertWithStrtof(const char* begin, const char* end, float& value) {
  char text[512];
  size_t length = static_cast<size_t>(end - begin);
  if (length >= sizeof text) length = sizeof text - 1;  // tokens live in 499-byte pieces
  std::memcpy(text, begin, length);
  text[length] = '\0';
  char* stop = nullptr;
  float result = std::strtof(text, &stop);
  if (stop == text) return false;
  value = result;
  return true;
}

}  // namespace

bool scanFloat(const char*& p, const char* end, float& value) {
  skipSpace(p, end);
  if (p == end) return false;
  const char* token = p;
  bool negative = false;
  if (*p == '-' || *p == '+') {
    negative = *p == '-';
    ++p;
    if (p == end) return false;
  }
  const char* digitsStart = p;
  // Plain decimal numbers followed by white space or the end, nearly every number
  // of a model file, read in one step; everything else takes the walk below,
  // which finds the end of the text the way the C library does.
  const bool hexPrefix = *p == '0' && p + 1 != end && lower(p[1]) == 'x';
  if ((isDigit(*p) || *p == '.') && !hexPrefix) {
    float result = 0;
    auto [stop, error] = std::from_chars(p, end, result, std::chars_format::general);
    if (error == std::errc{} && (stop == end || isScanSpace(*stop))) {
      value = negative ? -result : result;
      p = stop;
      return true;
    }
  }
  char first = lower(*p);
  if (first == 'n') {
    if (!consumeWord(p, end, "nan")) return false;
    return convertWithStrtof(token, p, value);
  }
  if (first == 'i') {
    if (!consumeWord(p, end, "inf")) return false;
    if (p != end && lower(*p) == 'i' && !consumeWord(p, end, "inity")) return false;
    return convertWithStrtof(token, p, value);
  }

  bool hex = false;
  bool gotDigit = false;
  if (*p == '0') {
    ++p;
    if (p != end && lower(*p) == 'x') {
      hex = true;
      ++p;
    } else {
      gotDigit = true;
    }
  }
  const char exponentChar = hex ? 'p' : 'e';
  bool gotDot = false;
  bool gotExponent = false;
  for (; p < end; ++p) {
    char c = *p;
    if (isDigit(c)) {
      gotDigit = true;
    } else if (!gotExponent && hex && isHexDigit(c)) {
      gotDigit = true;
    } else if (gotExponent && lower(p[-1]) == exponentChar && (c == '-' || c == '+')) {
      // the exponent's sign
    } else if (gotDigit && !gotExponent && lower(c) == exponentChar) {
      gotExponent = gotDot = true;
    } else if (!gotDot && c == '.') {
      gotDot = true;
    } else {
      break;
    }
  }
  // "0x" (with its sign) and nothing after it does not scan.
  if (hex && p - digitsStart == 2) return false;
  if (hex) return convertWithStrtof(token, p, value);

  float result = 0;
  auto [stop, error] = std::from_chars(digitsStart, p, result, std::chars_format::general);
  if (error == std::errc::invalid_argument || stop == digitsStart) return false;
  if (error == std::errc::result_out_of_range) return convertWithStrtof(token, p, value);
  value = negative ? -result : result;
  return true;
}

namespace {

// The digits of an integer in `base`, accumulated as strtol does: saturating at
// the 64-bit limits, then the low 32 bits stored. `hadZero` says that a leading
// '0' has been consumed already (it counts as a digit).
bool finishInteger(const char*& p, const char* end, int base, bool negative, bool hadZero,
                   int32_t& value) {
  constexpr uint64_t kMaxPositive = 0x7FFFFFFFFFFFFFFFull;
  constexpr uint64_t kNoOverflowBelow = uint64_t{1} << 58;  // x * 16 + 15 stays below 2^63
  const uint64_t limit = negative ? kMaxPositive + 1 : kMaxPositive;
  uint64_t magnitude = 0;
  bool overflow = false;
  bool gotDigit = hadZero;
  for (; p < end; ++p) {
    char c = lower(*p);
    int digit;
    if (isDigit(c)) {
      digit = c - '0';
    } else if (c >= 'a' && c <= 'f') {
      digit = c - 'a' + 10;
    } else {
      break;
    }
    if (digit >= base) break;
    gotDigit = true;
    if (magnitude < kNoOverflowBelow) {  // one more digit cannot pass the limit
      magnitude = magnitude * static_cast<uint64_t>(base) + static_cast<uint64_t>(digit);
      continue;
    }
    if (overflow) continue;
    if (magnitude > (limit - static_cast<uint64_t>(digit)) / static_cast<uint64_t>(base)) {
      overflow = true;
    } else {
      magnitude = magnitude * static_cast<uint64_t>(base) + static_cast<uint64_t>(digit);
    }
  }
  if (!gotDigit) return false;
  if (overflow) magnitude = limit;
  uint64_t bits = negative ? (~magnitude + 1) : magnitude;
  value = static_cast<int32_t>(static_cast<uint32_t>(bits));
  return true;
}

bool scanIntegerWithBase(const char*& p, const char* end, bool anyBase, int32_t& value) {
  skipSpace(p, end);
  if (p == end) return false;
  bool negative = false;
  if (*p == '-' || *p == '+') {
    negative = *p == '-';
    ++p;
  }
  int base = 10;
  bool hadZero = false;
  if (p < end && *p == '0') {
    hadZero = true;
    ++p;
    if (anyBase) {
      if (p < end && lower(*p) == 'x') {
        base = 16;
        ++p;
      } else {
        base = 8;
      }
    }
  }
  return finishInteger(p, end, base, negative, hadZero, value);
}

// Matches the ordinary text at the start of a format.
bool matchKey(const char*& p, const char* end, std::string_view key) {
  if (static_cast<size_t>(end - p) < key.size()) return false;
  if (std::memcmp(p, key.data(), key.size()) != 0) return false;
  p += key.size();
  return true;
}

}  // namespace

bool scanDecimal(const char*& p, const char* end, int32_t& value) {
  return scanIntegerWithBase(p, end, false, value);
}

bool scanInteger(const char*& p, const char* end, int32_t& value) {
  return scanIntegerWithBase(p, end, true, value);
}

bool scanWord(const char*& p, const char* end, std::string& word) {
  skipSpace(p, end);
  if (p == end) return false;
  const char* start = p;
  while (p < end && !isScanSpace(*p)) ++p;
  word.assign(start, p);
  return true;
}

int scanKeyFloats(std::string_view line, std::string_view key, float* values, int count) {
  const char* p = line.data();
  const char* end = p + line.size();
  if (!matchKey(p, end, key)) return 0;
  int stored = 0;
  while (stored < count && scanFloat(p, end, values[stored])) ++stored;
  return stored;
}

int scanKeyDecimal(std::string_view line, std::string_view key, int32_t& value) {
  const char* p = line.data();
  const char* end = p + line.size();
  if (!matchKey(p, end, key)) return 0;
  return scanDecimal(p, end, value) ? 1 : 0;
}

int scanKeyWord(std::string_view line, std::string_view key, std::string& word) {
  const char* p = line.data();
  const char* end = p + line.size();
  if (!matchKey(p, end, key)) return 0;
  return scanWord(p, end, word) ? 1 : 0;
}

int scanFaceLine(std::string_view line, int32_t values[9]) {
  const char* p = line.data();
  const char* end = p + line.size();
  if (!matchKey(p, end, "f")) return 0;
  for (int i = 0; i < 9; ++i) {
    if (i % 3 != 0) {
      // the '/' between a corner's numbers: an ordinary character, no white space before it
      if (p == end || *p != '/') return i;
      ++p;
    }
    if (!scanInteger(p, end, values[i])) return i;
  }
  return 9;
}

}  // namespace lw
