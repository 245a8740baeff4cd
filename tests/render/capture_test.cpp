#include <gtest/gtest.h>

#include <cstdio>
#include <filesystem>
#include <vector>

#include <unistd.h>

#include "gl_fixture.h"
#include "render/capture.h"

namespace lw {
namespace {

class CaptureTest : public test::GlTest {
 protected:
  void paint(int x, int y, uint8_t r, uint8_t g, uint8_t b) {
    glEnable(GL_SCISSOR_TEST);
    glScissor(x, y, 1, 1);
    glClearColor(r / 255.0f, g / 255.0f, b / 255.0f, 1);
    glClear(GL_COLOR_BUFFER_BIT);
    glDisable(GL_SCISSOR_TEST);
  }
  // Paints a 2-row picture: bottom row red, green, blue, white...; top row (10, 20, 30).
  void paintPicture(int width) {
    const uint8_t bottom[4][3] = {{255, 0, 0}, {0, 255, 0}, {0, 0, 255}, {255, 255, 255}};
    for (int x = 0; x < width; ++x) {
      paint(x, 0, bottom[x][0], bottom[x][1], bottom[x][2]);
      paint(x, 1, 10, 20, 30);
    }
  }
};

uint32_t le32(const std::vector<uint8_t>& b, size_t at) {
  return b[at] | b[at + 1] << 8 | b[at + 2] << 16 | static_cast<uint32_t>(b[at + 3]) << 24;
}

std::vector<uint8_t> captureToBytes(int height, int width) {
  char path[] = "/tmp/lw_capture_XXXXXX";
  const int fd = mkstemp(path);
  EXPECT_GE(fd, 0);
  close(fd);  // the capture replaces the empty file
  EXPECT_EQ(writeFrameBmp(height, width, path), 0);
  std::vector<uint8_t> bytes;
  if (std::FILE* in = std::fopen(path, "rb")) {
    int c;
    while ((c = std::fgetc(in)) != EOF) bytes.push_back(static_cast<uint8_t>(c));
    std::fclose(in);
  }
  std::remove(path);
  return bytes;
}

TEST_F(CaptureTest, WidthThreePadsEachRowWithThreeZeroBytes) {
  paintPicture(3);
  const std::vector<uint8_t> b = captureToBytes(2, 3);
  ASSERT_EQ(b.size(), 54u + 2 * 12);
  EXPECT_EQ(b[0], 'B');
  EXPECT_EQ(b[1], 'M');
  EXPECT_EQ(le32(b, 2), 54u + 12 * 2);
  EXPECT_EQ(le32(b, 6), 0u);
  EXPECT_EQ(le32(b, 10), 54u);
  EXPECT_EQ(le32(b, 14), 40u);
  EXPECT_EQ(le32(b, 18), 3u);
  EXPECT_EQ(le32(b, 22), 2u);
  EXPECT_EQ(b[26] | b[27] << 8, 1);
  EXPECT_EQ(b[28] | b[29] << 8, 24);
  for (size_t at = 30; at < 54; at += 4) EXPECT_EQ(le32(b, at), 0u) << at;
  const std::vector<uint8_t> pixels(b.begin() + 54, b.end());
  const std::vector<uint8_t> want = {
      0, 0, 255, 0, 255, 0, 255, 0, 0, 0, 0, 0,          // bottom row: red, green, blue + pad
      30, 20, 10, 30, 20, 10, 30, 20, 10, 0, 0, 0};      // top row + pad
  EXPECT_EQ(pixels, want);
}

TEST_F(CaptureTest, WidthFourNeedsNoPadding) {
  paintPicture(4);
  const std::vector<uint8_t> b = captureToBytes(2, 4);
  ASSERT_EQ(b.size(), 54u + 3 * 4 * 2);
  EXPECT_EQ(le32(b, 2), 54u + 24);
  EXPECT_EQ(le32(b, 18), 4u);
  const std::vector<uint8_t> bottom(b.begin() + 54, b.begin() + 66);
  EXPECT_EQ(bottom, (std::vector<uint8_t>{0, 0, 255, 0, 255, 0, 255, 0, 0, 255, 255, 255}));
  EXPECT_EQ(b[66], 30);
  EXPECT_EQ(b.back(), 10);
}

TEST_F(CaptureTest, PackAlignmentIsRestoredAndAnUnwritablePathWritesNothing) {
  glPixelStorei(GL_PACK_ALIGNMENT, 8);
  captureToBytes(2, 3);
  GLint alignment = 0;
  glGetIntegerv(GL_PACK_ALIGNMENT, &alignment);
  EXPECT_EQ(alignment, 8);
  EXPECT_EQ(writeFrameBmp(2, 3, "/tmp/lw_capture_absent_folder/f.bmp"), 1);
  EXPECT_FALSE(std::filesystem::exists("/tmp/lw_capture_absent_folder"));
}

TEST(CaptureHeader, SizesFollowTheRowPadding) {
  EXPECT_EQ(bmpRowSize(1), 4);
  EXPECT_EQ(bmpRowSize(3), 12);
  EXPECT_EQ(bmpRowSize(4), 12);
  EXPECT_EQ(bmpRowSize(5), 16);
  const auto h = bmpHeader(1024, 768);
  EXPECT_EQ(h[2] | h[3] << 8 | h[4] << 16 | h[5] << 24, 54 + 768 * 3072);
}

}  // namespace
}  // namespace lw
