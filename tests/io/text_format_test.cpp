// "%f" text of floats written by the program must equal printf's byte for byte.
#include "io/text_format.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cstdio>
#include <cstring>
#include <limits>
#include <random>
#include <string>

namespace lw {
namespace {

std::string fixed6(float f) {
  char text[kMaxFixed6Chars];
  return std::string(text, formatFixed6(f, text));
}

std::string printfFixed(float f) {
  char text[128];
  std::snprintf(text, sizeof text, "%f", static_cast<double>(f));
  return text;
}

float fromBits(uint32_t bits) {
  float f;
  std::memcpy(&f, &bits, 4);
  return f;
}

TEST(FormatFixed6, MatchesPrintfOnRandomBitPatterns) {
#ifndef __GLIBC__
  GTEST_SKIP() << "reference printf is the GNU C library's";
#endif
  std::mt19937 random(2024);
  for (int i = 0; i < 500000; ++i) {
    const uint32_t bits = static_cast<uint32_t>(random());
    ASSERT_EQ(fixed6(fromBits(bits)), printfFixed(fromBits(bits))) << "bits " << std::hex << bits;
  }
}

TEST(FormatFixed6, MatchesPrintfOnModelSizedValues) {
#ifndef __GLIBC__
  GTEST_SKIP() << "reference printf is the GNU C library's";
#endif
  std::mt19937 random(7);
  std::uniform_real_distribution<float> coordinate(-1000.0f, 1000.0f);
  for (int i = 0; i < 300000; ++i) {
    float f = coordinate(random);
    ASSERT_EQ(fixed6(f), printfFixed(f));
  }
}

TEST(FormatFixed6, RoundsTiesToEvenAndKeepsTheSignOfZero) {
  EXPECT_EQ(fixed6(0.0078125f), "0.007812");   // 2^-7: exactly half a millionth above 7812
  EXPECT_EQ(fixed6(0.0234375f), "0.023438");   // 3 * 2^-7: tie rounds up to even
  EXPECT_EQ(fixed6(0.0f), "0.000000");
  EXPECT_EQ(fixed6(-0.0f), "-0.000000");
  EXPECT_EQ(fixed6(-1e-10f), "-0.000000");
  EXPECT_EQ(fixed6(1.0f), "1.000000");
  EXPECT_EQ(fixed6(0.1f), "0.100000");
  EXPECT_EQ(fixed6(4294967296.0f), "4294967296.000000");
  EXPECT_EQ(fixed6(std::numeric_limits<float>::max()),
            "340282346638528859811704183484516925440.000000");
  EXPECT_EQ(fixed6(std::numeric_limits<float>::denorm_min()), "0.000000");
  EXPECT_EQ(fixed6(std::numeric_limits<float>::infinity()), "inf");
  EXPECT_EQ(fixed6(-std::numeric_limits<float>::infinity()), "-inf");
  EXPECT_EQ(fixed6(std::numeric_limits<float>::quiet_NaN()), "nan");
  EXPECT_EQ(fixed6(-std::numeric_limits<float>::quiet_NaN()), "-nan");
  // Every float below 2^32 takes the fast path; check its edges against printf.
  for (uint32_t bits : {0x4F7FFFFFu, 0x4F800000u, 0x00000001u, 0x007FFFFFu, 0x00800000u, 0x358637BDu}) {
    EXPECT_EQ(fixed6(fromBits(bits)), printfFixed(fromBits(bits)));
  }
}

TEST(FormatDecimal, WritesPlainIntegers) {
  char text[12];
  EXPECT_EQ(std::string(text, formatDecimal(-2147483647 - 1, text)), "-2147483648");
  EXPECT_EQ(std::string(text, formatDecimal(0, text)), "0");
}

}  // namespace
}  // namespace lw
