// A test fixture with an offscreen GL context the size of the document's client
// area, and helpers that read what a user would see.
#pragma once

#include <gtest/gtest.h>

#include <array>
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string>

#include "core/document.h"
#include "render/camera.h"
#include "render/capture.h"
#include "render/gl_headers.h"
#include "render/offscreen_context.h"

namespace lw::test {

using Rgb = std::array<int, 3>;

inline Rgb toRgb(float r, float g, float b) {
  return {static_cast<int>(std::lround(r * 255)), static_cast<int>(std::lround(g * 255)),
          static_cast<int>(std::lround(b * 255))};
}

class GlTest : public ::testing::Test {
 protected:
  static constexpr int kWidth = 160;
  static constexpr int kHeight = 120;

  void SetUp() override {
    context = createOffscreenContext(kWidth, kHeight);
    ASSERT_TRUE(context) << "no offscreen GL context";
    doc.clientWidth = kWidth;
    doc.clientHeight = kHeight;
  }

  // The pixel at window position (x, y), y counted from the bottom as GL does.
  Rgb pixel(int x, int y) const {
    uint8_t p[4] = {0, 0, 0, 0};
    glPixelStorei(GL_PACK_ALIGNMENT, 1);
    glReadPixels(x, y, 1, 1, GL_RGBA, GL_UNSIGNED_BYTE, p);
    return {p[0], p[1], p[2]};
  }

  // True when a pixel within `radius` of (x, y) has colour `want` (each channel
  // within 2), for thin lines that rasterise next to their exact position.
  bool colourNear(double x, double y, Rgb want, int radius = 1) const {
    const int cx = static_cast<int>(std::floor(x)), cy = static_cast<int>(std::floor(y));
    for (int dy = -radius; dy <= radius; ++dy) {
      for (int dx = -radius; dx <= radius; ++dx) {
        const Rgb got = pixel(cx + dx, cy + dy);
        if (std::abs(got[0] - want[0]) <= 2 && std::abs(got[1] - want[1]) <= 2 &&
            std::abs(got[2] - want[2]) <= 2) {
          return true;
        }
      }
    }
    return false;
  }

  // Window position (x, y from the bottom, depth) of a world point under the
  // matrices that the last applyCamera read back.
  std::array<double, 3> project(const CameraMatrices& m, double x, double y, double z) const {
    GLint viewport[4];
    glGetIntegerv(GL_VIEWPORT, viewport);
    std::array<double, 3> w{};
    gluProject(x, y, z, m.modelView, m.projection, viewport, &w[0], &w[1], &w[2]);
    return w;
  }

  // With LW_TEST_DUMP set, writes the frame to that folder as NAME.bmp, to look at.
  void dump(const char* name) const {
    const char* folder = std::getenv("LW_TEST_DUMP");
    if (!folder) return;
    writeFrameBmp(kHeight, kWidth, std::string(folder) + "/" + name + ".bmp");
  }

  SceneDocument doc;
  OffscreenContextPtr context;
};

}  // namespace lw::test
