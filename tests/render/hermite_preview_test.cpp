#include "render/hermite_preview.h"

#include <gtest/gtest.h>

#include "gl_fixture.h"

namespace lw {
namespace {

class HermitePreviewTest : public test::GlTest {
 protected:
  static constexpr int kSide = kHeight;  // a square viewport in the corner of the frame

  // Window position of a point of the preview's square.
  double at(double v) const { return (v + 0.01) / 0.52 * kSide; }
  bool near(Vector2d p, test::Rgb want) const { return colourNear(at(p.x), at(p.y), want); }
};

TEST_F(HermitePreviewTest, DrawsTheSquareTheTangentsAndTheCurve) {
  const test::Rgb black{0, 0, 0}, white{255, 255, 255}, green{0, 255, 0};
  HermitePreview curve;
  hermitePreview(3.0, 0.2, curve);  // a steep start and a flat end
  glClearColor(0.3f, 0.5f, 0.7f, 1.0f);
  drawHermitePreview(curve, kSide, kSide);
  glFinish();
  dump("hermite");

  EXPECT_EQ(pixel(kWidth - 2, kHeight / 2), black) << "the whole frame is cleared to black";
  EXPECT_EQ(pixel(static_cast<int>(at(0.45)), static_cast<int>(at(0.05))), black);
  for (Vector2d edge :
       {Vector2d{0.25, 0}, Vector2d{0.5, 0.25}, Vector2d{0.25, 0.5}, Vector2d{0, 0.25}}) {
    EXPECT_TRUE(near(edge, white)) << edge.x << ", " << edge.y;
  }
  // Each tangent near its far end, where the curve has left it.
  const Vector2d start = curve.startTangentEnd, end = curve.endTangentEnd;
  EXPECT_TRUE(near({start.x * 0.9, start.y * 0.9}, green));
  EXPECT_TRUE(near({0.5 + (end.x - 0.5) * 0.9, 0.5 + (end.y - 0.5) * 0.9}, green));
  EXPECT_FALSE(near({0.9 * (0.5 - end.x), 0.9 * (0.5 - end.y)}, green))
      << "no tangent of the end's slope at the start";
  for (int k : {250, 500, 1000}) EXPECT_TRUE(near(curve.points[k], white)) << k;
}

}  // namespace
}  // namespace lw
