#include "io/text_format.h"

#include <charconv>
#include <cstring>

namespace lw {

namespace {

// Writes `value` (below 10^10) without leading zeros.
char* writeUnsigned(uint64_t value, char* out) {
  char digits[20];
  int n = 0;
  do {
    digits[n++] = static_cast<char>('0' + value % 10);
    value /= 10;
  } while (value != 0);
  while (n > 0) *out++ = digits[--n];
  return out;
}

}  // namespace

bool fixed6Millionths(float value, uint64_t& millionths) {
  uint32_t bits;
  std::memcpy(&bits, &value, sizeof bits);
  const int exponentBits = static_cast<int>((bits >> 23) & 0xFF);
  const uint32_t fraction = bits & 0x7FFFFF;
  // value = mantissa * 2^shift exactly.
  const uint64_t mantissa = exponentBits ? (fraction | 0x800000u) : fraction;
  const int shift = (exponentBits ? exponentBits : 1) - 150;
  if (exponentBits == 0xFF || shift > 8) return false;
  const uint64_t scaled = mantissa * 1000000u;  // below 2^44
  if (shift >= 0) {
    millionths = scaled << shift;
  } else if (-shift >= 64) {
    millionths = 0;  // far below half a millionth
  } else {
    const int right = -shift;
    millionths = scaled >> right;
    const uint64_t remainder = scaled & ((uint64_t{1} << right) - 1);
    const uint64_t half = uint64_t{1} << (right - 1);
    if (remainder > half || (remainder == half && (millionths & 1))) ++millionths;
  }
  return true;
}

char* formatFixed6(float value, char* out) {
  uint32_t bits;
  std::memcpy(&bits, &value, sizeof bits);
  const bool negative = (bits >> 31) != 0;
  const int exponentBits = static_cast<int>((bits >> 23) & 0xFF);
  if (exponentBits == 0xFF) {
    if (negative) *out++ = '-';
    const char* word = (bits & 0x7FFFFF) ? "nan" : "inf";
    std::memcpy(out, word, 3);
    return out + 3;
  }
  uint64_t millionths;
  if (!fixed6Millionths(value, millionths)) {
    // 2^32 and above: rare in models; the library's exact formatting takes it.
    auto result = std::to_chars(out, out + kMaxFixed6Chars, static_cast<double>(value),
                                std::chars_format::fixed, 6);
    return result.ptr;
  }
  if (negative) *out++ = '-';
  out = writeUnsigned(millionths / 1000000u, out);
  *out++ = '.';
  uint32_t decimals = static_cast<uint32_t>(millionths % 1000000u);
  for (int i = 5; i >= 0; --i) {
    out[i] = static_cast<char>('0' + decimals % 10);
    decimals /= 10;
  }
  return out + 6;
}

char* formatDecimal(int32_t value, char* out) {
  return std::to_chars(out, out + 11, value).ptr;
}

}  // namespace lw
