// The GUI tests run with the present mode named by the environment variable
// LW_PRESENT_MODE: "direct", "composited", or unset/"automatic" for the choice
// the program makes itself (composited under Wine, direct on Windows). CTest
// registers the suite once per mode, so every test runs with both.
#include <gtest/gtest.h>

#include <cstdlib>
#include <string>

#include "app/gl_presenter.h"
#include "app/program.h"
#include "gui_harness.h"

namespace lw {
namespace {

// False for a value that names no mode.
bool parsePresentMode(const char* text, PresentMode& mode) {
  const std::string value = text == nullptr ? "" : text;
  if (value.empty() || value == "automatic") {
    mode = PresentMode::Automatic;
  } else if (value == "direct") {
    mode = PresentMode::Direct;
  } else if (value == "composited") {
    mode = PresentMode::Composited;
  } else {
    return false;
  }
  return true;
}

class PresentModeEnvironment : public ::testing::Environment {
 public:
  void SetUp() override {
    const char* value = std::getenv("LW_PRESENT_MODE");
    PresentMode mode = PresentMode::Automatic;
    // A misspelt mode would silently test the automatic choice twice.
    if (!parsePresentMode(value, mode)) {
      FAIL() << "LW_PRESENT_MODE=" << value
             << " names no present mode (direct, composited or automatic)";
    }
    setPresentMode(mode);
  }
};

[[maybe_unused]] ::testing::Environment* const gEnvironment =
    ::testing::AddGlobalTestEnvironment(new PresentModeEnvironment);

TEST(PresentModeEnvironment, TheProgramPresentsInTheModeTheRunAskedFor) {
  PresentMode asked = PresentMode::Automatic;
  ASSERT_TRUE(parsePresentMode(std::getenv("LW_PRESENT_MODE"), asked));
  EXPECT_EQ(presentMode(), asked);
  ASSERT_TRUE(test::startProgram());
  const bool composited =
      asked == PresentMode::Composited || (asked == PresentMode::Automatic && isRunningUnderWine());
  EXPECT_NE(program().presenter.context, nullptr);
  EXPECT_EQ(program().presenter.composited, composited);
  // Composited, the context belongs to a hidden popup; direct, to the 3D window.
  EXPECT_EQ(program().presenter.contextWindow != nullptr, composited);
  test::endProgram();
}

TEST(PresentModeEnvironment, OnlyTheThreeModeNamesAreAccepted) {
  PresentMode mode = PresentMode::Direct;
  EXPECT_TRUE(parsePresentMode(nullptr, mode));
  EXPECT_EQ(mode, PresentMode::Automatic);
  EXPECT_TRUE(parsePresentMode("composited", mode));
  EXPECT_EQ(mode, PresentMode::Composited);
  EXPECT_TRUE(parsePresentMode("direct", mode));
  EXPECT_EQ(mode, PresentMode::Direct);
  for (const char* wrong : {"Direct", "composite", "1", " direct"}) {
    EXPECT_FALSE(parsePresentMode(wrong, mode)) << wrong;
  }
}

}  // namespace
}  // namespace lw
