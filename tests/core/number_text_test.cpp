#include "core/number_text.h"

#include <gtest/gtest.h>

namespace lw {
namespace {

TEST(NumberText, ANumberMayHaveBlanksASignAndTrailingTextButLettersFirstHoldNone) {
  const struct {
    const char* text;
    bool decimal;
    bool integer;
  } cases[] = {
      {"", false, false},   {"   ", false, false}, {"abc", false, false}, {"-", false, false},
      {"+.", false, false}, {"x1", false, false},  {".5", true, false},   {"-0.25", true, true},
      {" +7", true, true},  {"3kg", true, true},   {"1e3", true, true},   {"0", true, true},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(holdsDecimal(c.text), c.decimal) << '"' << c.text << '"';
    EXPECT_EQ(holdsInteger(c.text), c.integer) << '"' << c.text << '"';
  }
  EXPECT_EQ(notANumberMessage("緑(G)"), "「緑(G)」に数値を入力してください。");
}

}  // namespace
}  // namespace lw
