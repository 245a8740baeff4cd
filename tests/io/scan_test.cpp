// The scanner against the C library's sscanf: the same inputs must store the
// same values, stop at the same place and report the same number of values.
#include "io/scan.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cstdio>
#include <cstring>
#include <random>
#include <string>

namespace lw {
namespace {

#ifdef __GLIBC__
constexpr bool kReferenceLibrary = true;
#else
constexpr bool kReferenceLibrary = false;  // the rules followed are the GNU C library's
#endif

bool sameFloat(float a, float b) {
  if (std::isnan(a) || std::isnan(b)) return std::isnan(a) && std::isnan(b) && std::signbit(a) == std::signbit(b);
  uint32_t x, y;
  std::memcpy(&x, &a, 4);
  std::memcpy(&y, &b, 4);
  return x == y;
}

// sscanf's verdict on one directive: stored or not, the value, characters used.
template <typename T>
struct Reference {
  bool stored;
  T value;
  int consumed;
};

Reference<float> referenceFloat(const std::string& s) {
  float value = -777.0f;
  int consumed = -1;
  int r = std::sscanf(s.c_str(), "%f%n", &value, &consumed);
  return {r == 1, value, consumed};
}

Reference<int32_t> referenceInt(const std::string& s, const char* format) {
  int value = -777;
  int consumed = -1;
  int r = std::sscanf(s.c_str(), format, &value, &consumed);
  return {r == 1, value, consumed};
}

void expectFloatLikeSscanf(const std::string& s) {
  Reference<float> ref = referenceFloat(s);
  float value = -777.0f;
  const char* p = s.data();
  bool stored = scanFloat(p, s.data() + s.size(), value);
  ASSERT_EQ(stored, ref.stored) << "input [" << s << "]";
  EXPECT_TRUE(sameFloat(value, ref.value)) << "input [" << s << "] " << value << " vs " << ref.value;
  if (stored) {
    EXPECT_EQ(p - s.data(), ref.consumed) << "input [" << s << "]";
  }
}

void expectIntLikeSscanf(const std::string& s, bool anyBase) {
  Reference<int32_t> ref = referenceInt(s, anyBase ? "%i%n" : "%d%n");
  int32_t value = -777;
  const char* p = s.data();
  bool stored = anyBase ? scanInteger(p, s.data() + s.size(), value)
                        : scanDecimal(p, s.data() + s.size(), value);
  ASSERT_EQ(stored, ref.stored) << "input [" << s << "]";
  EXPECT_EQ(value, ref.value) << "input [" << s << "]";
  if (stored) {
    EXPECT_EQ(p - s.data(), ref.consumed) << "input [" << s << "]";
  }
}

const char* const kTrickyFloats[] = {
    "1", "-1", "+1", "  \t\v\f\r\n7", "1.", ".5", "+.5", ".", "-", "+", "-.", "-.e1", "1e", "1e+",
    "1e-", "1ex", "1e+x", "1e--3", "1e5.3", "1..2", "1,5", "00.1e2", "0e", "0", "-0", "0x", "-0x",
    "0x1p", "0x1p3", "0X1P-2", "0x.8", "0x.p1", "0x1.", "0x+1", "0xp3", "0xg", "0x1.8p+1x",
    "0x1p+-3", "0xAbC.dEp-4", "0x123456789abcdef1p-60", "inf", "-inf", "+inf", "INF", "infinity",
    "INFINITY", "infinit", "infx", "in", "i", "nan", "-nan", "NaN", "nan(123)", "nanx", "n", "na",
    "1e400", "-1e400", "1e-50", "1e-40", "1e-45", "3.4028235e38", "3.4028236e38", "1e39",
    "0.000000000000000000000000000000000000000000001401298464324817",
    "1.00000005960464477539062500000000001", "1.000000059604644775390625",
    "12345678901234567890123456789012345678901234567890", "1e99999999999999999999",
    "0x1p99999999999999999999", "0x1p-99999999999999999999", "0.123456", "-1.234567",
    "2.000000", "1.5/2", "7\n", "", "   "};

TEST(ScanFloat, AcceptsExactlyWhatSscanfAccepts) {
  if (!kReferenceLibrary) GTEST_SKIP() << "reference behaviour is the GNU C library's";
  for (const char* s : kTrickyFloats) expectFloatLikeSscanf(s);
}

// Random strings over the characters that matter to a number.
TEST(ScanFloat, RandomNumberLikeTextMatchesSscanf) {
  if (!kReferenceLibrary) GTEST_SKIP() << "reference behaviour is the GNU C library's";
  std::mt19937 random(12345);
  const std::string alphabet = "0123456789.eEpPxX+-infatyINFATY \tabcdf/";
  for (int i = 0; i < 200000; ++i) {
    std::string s;
    int length = static_cast<int>(random() % 12);
    for (int k = 0; k < length; ++k) s += alphabet[random() % alphabet.size()];
    expectFloatLikeSscanf(s);
    if (HasFatalFailure()) return;
  }
}

TEST(ScanFloat, RandomDecimalsRoundLikeSscanf) {
  if (!kReferenceLibrary) GTEST_SKIP() << "reference behaviour is the GNU C library's";
  std::mt19937 random(777);
  char text[64];
  for (int i = 0; i < 100000; ++i) {
    uint32_t bits = static_cast<uint32_t>(random());
    float f;
    std::memcpy(&f, &bits, 4);
    if (!std::isfinite(f)) continue;
    // Nine significant digits, and the shorter six-decimal form the files hold.
    std::snprintf(text, sizeof text, "%.9g", static_cast<double>(f));
    expectFloatLikeSscanf(text);
    std::snprintf(text, sizeof text, "%f", static_cast<double>(f));
    expectFloatLikeSscanf(text);
    if (HasFatalFailure()) return;
  }
}

const char* const kTrickyInts[] = {
    "0", "1", "-1", "+1", "+", "-", "- 1", "08", "09", "0777", "-07", "0_", "0x", "0X", "0xx", "-0x",
    "+0x", "0x-1", "0x1g", "0X1A", "0x1A", "0x7fffffff", "0x80000000", "-0x80000000", "0xffffffff",
    "0x10000000000000000", "0xFFFFFFFFFFFFFFFF", "-0xFFFFFFFFFFFFFFFF", "2147483647",
    "2147483648", "-2147483648", "-2147483649", "4294967296", "99999999999",
    "99999999999999999999999", "9223372036854775807", "-9223372036854775808",
    "-9223372036854775809", "18446744073709551616", "00000000000000000000000000000000001", "0b1",
    "1/2", "  \t12", "", " "};

TEST(ScanInteger, DecimalAndAnyBaseMatchSscanf) {
  if (!kReferenceLibrary) GTEST_SKIP() << "reference behaviour is the GNU C library's";
  for (const char* s : kTrickyInts) {
    expectIntLikeSscanf(s, false);
    expectIntLikeSscanf(s, true);
  }
  std::mt19937 random(99);
  const std::string alphabet = "0123456789abcdefxX+- /";
  for (int i = 0; i < 100000; ++i) {
    std::string s;
    int length = static_cast<int>(random() % 10);
    for (int k = 0; k < length; ++k) s += alphabet[random() % alphabet.size()];
    expectIntLikeSscanf(s, false);
    expectIntLikeSscanf(s, true);
    if (HasFatalFailure()) return;
  }
}

TEST(ScanFaceLine, MatchesSscanfFormatOnRandomLines) {
  if (!kReferenceLibrary) GTEST_SKIP() << "reference behaviour is the GNU C library's";
  std::mt19937 random(4242);
  const std::string alphabet = "0123456789/ x-+\t";
  const char* fixed[] = {"f 1/2/3 4/5/6 7/8/9", "f 0x/2/3 4/5/6 7/8/9", "f1/2/3 4/ 5/6 7/8/ 9",
                         "f 1 /2/3 4/5/6 7/8/9", "f 1//3 4//6 7//9", "f 010/0x1A/3 4/5/6 7/8/9",
                         "f 1/2/3 4/5/6", "f", "fx", "f 1/2/3\n4/5/6 7/8/9"};
  auto check = [](const std::string& line) {
    int ref[9];
    std::fill(ref, ref + 9, -7);
    int r = std::sscanf(line.c_str(), "f %i/%i/%i %i/%i/%i %i/%i/%i", ref, ref + 1, ref + 2, ref + 3,
                        ref + 4, ref + 5, ref + 6, ref + 7, ref + 8);
    int32_t got[9];
    std::fill(got, got + 9, -7);
    int n = scanFaceLine(line, got);
    EXPECT_EQ(n, r < 0 ? 0 : r) << "line [" << line << "]";
    for (int i = 0; i < 9; ++i) EXPECT_EQ(got[i], ref[i]) << "line [" << line << "] value " << i;
  };
  for (const char* line : fixed) check(line);
  for (int i = 0; i < 50000; ++i) {
    std::string line = "f ";
    int length = static_cast<int>(random() % 24);
    for (int k = 0; k < length; ++k) line += alphabet[random() % alphabet.size()];
    check(line);
    if (HasFailure()) return;
  }
}

TEST(ScanKey, ValuesThatDoNotScanKeepTheirContent) {
  float values[3] = {7, 8, 9};
  EXPECT_EQ(scanKeyFloats("v 1.5 x 3", "v", values, 3), 1);
  EXPECT_EQ(values[0], 1.5f);
  EXPECT_EQ(values[1], 8);
  EXPECT_EQ(values[2], 9);
  EXPECT_EQ(scanKeyFloats("vx 1 2 3", "v", values, 3), 0);  // "x" stops the first value
  EXPECT_EQ(values[0], 1.5f);
  EXPECT_EQ(scanKeyFloats("v1 2 3", "v", values, 3), 3);  // no space needed after the key
  EXPECT_EQ(values[2], 3);
  EXPECT_EQ(scanKeyFloats("K", "Ka", values, 3), 0);  // shorter than the key
}

TEST(ScanKey, WordStopsAtWhiteSpaceAndKeepsHighBytes) {
  std::string word = "old";
  EXPECT_EQ(scanKeyWord("usemtl", "usemtl", word), 0);
  EXPECT_EQ(word, "old");
  EXPECT_EQ(scanKeyWord("usemtl \r\n", "usemtl", word), 0);
  EXPECT_EQ(word, "old");
  EXPECT_EQ(scanKeyWord("usemtlabc def", "usemtl", word), 1);
  EXPECT_EQ(word, "abc");
  EXPECT_EQ(scanKeyWord("usemtl \x8e\x40\x82\xa0 tail\n", "usemtl", word), 1);
  EXPECT_EQ(word, "\x8e\x40\x82\xa0");
  int32_t n = 5;
  EXPECT_EQ(scanKeyDecimal("men_num  -12x", "men_num", n), 1);
  EXPECT_EQ(n, -12);
  EXPECT_EQ(scanKeyDecimal("men_num", "men_num", n), 0);
  EXPECT_EQ(n, -12);
}

}  // namespace
}  // namespace lw
