#include "io/project_text.h"

#include <gtest/gtest.h>

namespace lw {
namespace {

std::string number(double v) {
  std::string s;
  appendNumber(s, v);
  return s;
}

TEST(ProjectNumberText, FixedFormDropsTrailingZeros) {
  EXPECT_EQ(number(0), "0");
  EXPECT_EQ(number(1), "1");
  EXPECT_EQ(number(-0.5), "-0.5");
  EXPECT_EQ(number(1.0 / 3.0), "0.333333");
  EXPECT_EQ(number(123456), "123456");
  EXPECT_EQ(number(0.0001), "0.0001");
  EXPECT_EQ(number(2.5f), "2.5");
}

TEST(ProjectNumberText, ExponentHasSignAndThreeDigits) {
  EXPECT_EQ(number(0.00001), "1e-005");
  EXPECT_EQ(number(1.5e6), "1.5e+006");
  EXPECT_EQ(number(1234567), "1.23457e+006");
  EXPECT_EQ(number(-2.5e-7), "-2.5e-007");
  EXPECT_EQ(number(1e100), "1e+100");
  EXPECT_EQ(number(1e-300), "1e-300");
}

TEST(ProjectNumberText, FloatIsWrittenThroughItsDoubleValue) {
  // 0.1f is 0.100000001490116...; six digits give 0.1.
  EXPECT_EQ(number(0.1f), "0.1");
  EXPECT_EQ(number(999.0f), "999");
  EXPECT_EQ(number(-999.0f), "-999");
}

TEST(ProjectValueScanner, ScansLikeScanf) {
  ValueScanner s{"  1.5 -2e-005 +3 1e+006"};
  Vector3 v;
  float w = 0;
  s.scanVector(v);
  s.scanFloat(w);
  EXPECT_EQ(v, (Vector3{1.5f, -2e-5f, 3.0f}));
  EXPECT_EQ(w, 1e6f);
  EXPECT_FALSE(s.scanFloat(w));
}

TEST(ProjectValueScanner, StopsAtTheFirstFieldThatDoesNotScanAndKeepsTheRest) {
  ValueScanner s{" 7 x 9"};
  Vector3 v{1, 2, 3};
  s.scanVector(v);
  EXPECT_EQ(v, (Vector3{7, 2, 3}));
  int32_t n = 5;
  EXPECT_FALSE(s.scanInt(n));
  EXPECT_EQ(n, 5);
}

TEST(ProjectValueScanner, IntegersAndWords) {
  ValueScanner s{" -12 +4 name with spaces"};
  int32_t a = 0, b = 0;
  std::string word;
  EXPECT_TRUE(s.scanInt(a));
  EXPECT_TRUE(s.scanInt(b));
  EXPECT_TRUE(s.scanWord(word));
  EXPECT_EQ(a, -12);
  EXPECT_EQ(b, 4);
  EXPECT_EQ(word, "name");
  ValueScanner empty{"   "};
  EXPECT_FALSE(empty.scanWord(word));
  EXPECT_EQ(word, "name");
}

TEST(ProjectRestOfLine, ShortLinesGiveAnEmptyRest) {
  EXPECT_EQ(restAfter("jointName Joint0_1", 10), "Joint0_1");
  EXPECT_EQ(restAfter("jointName", 10), "");
  EXPECT_EQ(restAfter("", 13), "");
  EXPECT_EQ(restAfter("jointName ", 10), "");
}

}  // namespace
}  // namespace lw
