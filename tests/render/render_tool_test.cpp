#include <gtest/gtest.h>

#include <cstdio>
#include <string>
#include <vector>

#include "tools/lwtool/commands.h"

namespace lw::tool {
namespace {

const std::string kSample = std::string(LW_SAMPLES_DIR) + "character.ojp";

std::vector<unsigned char> readFile(const std::string& path) {
  std::vector<unsigned char> bytes;
  if (std::FILE* f = std::fopen(path.c_str(), "rb")) {
    int c;
    while ((c = std::fgetc(f)) != EOF) bytes.push_back(static_cast<unsigned char>(c));
    std::fclose(f);
  }
  return bytes;
}

uint32_t le32(const std::vector<unsigned char>& b, size_t at) {
  return b[at] | b[at + 1] << 8 | b[at + 2] << 16 | static_cast<uint32_t>(b[at + 3]) << 24;
}

// How many pixels of the picture differ from the grey background.
int drawnPixels(const std::vector<unsigned char>& bmp, int width, int height) {
  const int row = (width * 3 + 3) / 4 * 4;
  int drawn = 0;
  for (int y = 0; y < height; ++y) {
    for (int x = 0; x < width; ++x) {
      const unsigned char* p = &bmp[54 + y * row + x * 3];
      if (!(p[0] == 128 && p[1] == 128 && p[2] == 128)) ++drawn;
    }
  }
  return drawn;
}

TEST(LwtoolRender, WritesTheSampleInItsStoredPoseAndAtATime) {
  const std::string out = ::testing::TempDir() + "sample.bmp";
  std::string report, err;
  ASSERT_EQ(runRender({kSample, out, "--size", "203x150"}, report, err), 0) << err;
  EXPECT_EQ(report, "wrote " + out + "\n");
  const auto stored = readFile(out);
  ASSERT_EQ(stored.size(), 54u + 150 * 612);
  EXPECT_EQ(le32(stored, 18), 203u);
  EXPECT_EQ(le32(stored, 22), 150u);
  const int storedDrawn = drawnPixels(stored, 203, 150);
  EXPECT_GT(storedDrawn, 400) << "the character, its skeleton and the axes";

  ASSERT_EQ(runRender({kSample, out, "--time", "600", "--size", "203x150", "--view", "front"},
                      report, err),
            0)
      << err;
  const auto posed = readFile(out);
  ASSERT_EQ(posed.size(), stored.size());
  EXPECT_NE(posed, stored) << "a playback frame differs from the stored pose";
}

TEST(LwtoolRender, WrongOptionsAreUsageErrorsAndAMissingProjectIsRefused) {
  std::string report, err;
  EXPECT_EQ(runRender({kSample, "x.bmp", "--size", "0x10"}, report, err), 2);
  EXPECT_EQ(runRender({kSample, "x.bmp", "--view", "sideways"}, report, err), 2);
  EXPECT_EQ(runRender({kSample, "x.bmp", "--time"}, report, err), 2);
  EXPECT_EQ(runRender({kSample}, report, err), 2);
  err.clear();
  EXPECT_EQ(runRender({"/nonexistent/none.ojp", "x.bmp"}, report, err), 1);
  EXPECT_FALSE(err.empty());
  err.clear();
  EXPECT_EQ(runRender({kSample, "/nonexistent/dir/out.bmp", "--size", "8x8"}, report, err), 1);
  EXPECT_NE(err.find("/nonexistent/dir/out.bmp"), std::string::npos);
}

}  // namespace
}  // namespace lw::tool
