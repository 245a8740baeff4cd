#include <gtest/gtest.h>

#include "gl_fixture.h"
#include "render/camera.h"
#include "support/recording_ui.h"

namespace lw {
namespace {

using test::GlTest;
using test::Rgb;

const Rgb kRed{255, 0, 0}, kGreen{0, 255, 0}, kBlue{0, 0, 255}, kWhite{255, 255, 255};

class CameraTest : public GlTest {
 protected:
  // Draws the world axes under the document's camera and returns the matrices.
  CameraMatrices drawAxesFrame() {
    setViewAndProjection(doc, false);
    glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
    CameraMatrices m;
    applyCamera(doc, m);
    drawWorldAxes();
    glPopMatrix();
    glFinish();
    return m;
  }
  bool seen(const CameraMatrices& m, double x, double y, double z, Rgb colour) {
    const auto w = project(m, x, y, z);
    return colourNear(w[0], w[1], colour);
  }
};

TEST_F(CameraTest, WorldAxesShowTheirColoursWhereTheyProject) {
  doc.viewElevation = 30;
  doc.viewAzimuth = -35;
  doc.cameraDistance = -14;  // the whole floor in view
  const CameraMatrices m = drawAxesFrame();
  EXPECT_TRUE(seen(m, 2.5, 0, 0, kRed));
  EXPECT_TRUE(seen(m, 0, 2.5, 0, kGreen));
  EXPECT_TRUE(seen(m, 0, 0, 2.5, kBlue));
  // The grid lines on the negative halves of the axes and the boundary square.
  EXPECT_TRUE(seen(m, -2.5, 0, 0, kWhite));
  EXPECT_TRUE(seen(m, 0, 0, -2.5, kWhite));
  EXPECT_TRUE(seen(m, 4, 0, 1.25, kWhite));
  EXPECT_TRUE(seen(m, 1.25, 0, 3.5, kWhite));
  // Between grid lines the background shows.
  const Rgb grey = test::toRgb(0.5f, 0.5f, 0.5f);
  EXPECT_TRUE(seen(m, 1.25, 0, 1.25, grey));
  // The blue axis ends at 4: beyond the square there is nothing.
  const auto beyond = project(m, 0, 0, 4.6);
  ASSERT_GT(beyond[1], 1.0);
  EXPECT_TRUE(colourNear(beyond[0], beyond[1], grey));
  GLfloat colour[4];
  glGetFloatv(GL_CURRENT_COLOR, colour);
  EXPECT_EQ(colour[0] + colour[1] + colour[2], 3.0f) << "white is left current";
}

TEST_F(CameraTest, BackgroundColourClearsTheFrame) {
  doc.backgroundColour = {0.2f, 0.4f, 0.6f, 1.0f};
  doc.showWorldAxes = 0;
  drawAxesFrame();  // sets the clear colour first, then clears
  EXPECT_EQ(pixel(3, 3), test::toRgb(0.2f, 0.4f, 0.6f));
}

TEST_F(CameraTest, ApplyCameraTranslatesThenRotatesAndReadsBackBothMatrices) {
  doc.cameraPanX = 0.5f;
  doc.cameraPanY = -0.25f;
  doc.viewElevation = 90;
  setViewAndProjection(doc, false);
  GLint depthBefore = 0, depthAfter = 0;
  glGetIntegerv(GL_MODELVIEW_STACK_DEPTH, &depthBefore);
  CameraMatrices m;
  applyCamera(doc, m);
  glGetIntegerv(GL_MODELVIEW_STACK_DEPTH, &depthAfter);
  EXPECT_EQ(depthAfter, depthBefore + 1);
  glPopMatrix();

  auto eye = [&](double x, double y, double z) {
    const double* a = m.modelView;
    return std::array<double, 3>{a[0] * x + a[4] * y + a[8] * z + a[12],
                                 a[1] * x + a[5] * y + a[9] * z + a[13],
                                 a[2] * x + a[6] * y + a[10] * z + a[14]};
  };
  const auto p = eye(1, 0, 0);
  EXPECT_NEAR(p[0], 1.5, 1e-6);
  EXPECT_NEAR(p[1], -0.25, 1e-6);
  EXPECT_NEAR(p[2], -7.0, 1e-6);
  const auto q = eye(0, 0, 1);  // the top view turns +Z towards screen-down
  EXPECT_NEAR(q[0], 0.5, 1e-6);
  EXPECT_NEAR(q[1], -1.25, 1e-6);
  EXPECT_NEAR(q[2], -7.0, 1e-6);
  // The projection read back is the 50-degree perspective for 160 x 120.
  const double f = 1.0 / std::tan(25.0 * kPi / 180.0);
  EXPECT_NEAR(m.projection[5], f, 1e-6);
  EXPECT_NEAR(m.projection[0], f / (160.0 / 120.0), 1e-6);
  EXPECT_NEAR(m.projection[10], -(30.0 + 1.0) / (30.0 - 1.0), 1e-6);
}

TEST_F(CameraTest, PickingPassKeepsTheProjectionAndMultipliesThePerspectiveOnto) {
  glMatrixMode(GL_PROJECTION);
  glLoadIdentity();
  glScaled(2.0, 2.0, 1.0);  // stands in for a pick matrix
  setViewAndProjection(doc, true);
  double kept[16];
  glGetDoublev(GL_PROJECTION_MATRIX, kept);
  setViewAndProjection(doc, false);
  double plain[16];
  glGetDoublev(GL_PROJECTION_MATRIX, plain);
  EXPECT_NEAR(kept[5], 2 * plain[5], 1e-9);
  EXPECT_NEAR(kept[0], 2 * plain[0], 1e-9);
  EXPECT_NEAR(kept[10], plain[10], 1e-9);
  GLint mode = 0, viewport[4];
  glGetIntegerv(GL_MATRIX_MODE, &mode);
  glGetIntegerv(GL_VIEWPORT, viewport);
  EXPECT_EQ(mode, GL_MODELVIEW);
  EXPECT_EQ(viewport[2], kWidth);
  EXPECT_EQ(viewport[3], kHeight);
}

TEST_F(CameraTest, ZeroClientHeightStillGivesAFiniteProjection) {
  doc.clientHeight = 0;
  setViewAndProjection(doc, false);
  double p[16];
  glGetDoublev(GL_PROJECTION_MATRIX, p);
  for (double v : p) EXPECT_TRUE(std::isfinite(v));
}

TEST(CameraCommands, RotateDragAddsScaledPixelsWithoutWrapping) {
  SceneDocument doc;
  test::RecordingUi ui;
  doc.viewElevation = 355;
  dragCamera(doc, ui, 10, 20);
  EXPECT_EQ(doc.viewElevation, 355 + 20 * 360.0 / 568.0);
  EXPECT_EQ(doc.viewAzimuth, 10 * 360.0 / 824.0);
  const Vector3 d = cameraDirection(doc.viewElevation, doc.viewAzimuth);
  EXPECT_EQ(doc.viewDirection, d);
  EXPECT_EQ(ui.redraws, 1);
}

TEST(CameraCommands, PanAndZoomDragsCountOnlyTheSign) {
  SceneDocument doc;
  test::RecordingUi ui;
  doc.cameraDrag = 1;
  dragCamera(doc, ui, -50, 7);
  EXPECT_FLOAT_EQ(doc.cameraPanX, -0.01f);
  dragCamera(doc, ui, 0, 0);  // no movement counts as positive
  dragCamera(doc, ui, 1, 0);
  EXPECT_FLOAT_EQ(doc.cameraPanX, 0.01f);
  EXPECT_EQ(doc.cameraPanY, 0.0f);

  doc.cameraDrag = 2;
  dragCamera(doc, ui, 40, 3);  // mouse down moves the camera down
  EXPECT_FLOAT_EQ(doc.cameraPanY, -0.01f);
  dragCamera(doc, ui, 0, 0);
  dragCamera(doc, ui, 0, -9);
  EXPECT_FLOAT_EQ(doc.cameraPanY, 0.01f);

  doc.cameraDrag = 3;
  dragCamera(doc, ui, -1, 100);
  EXPECT_FLOAT_EQ(doc.cameraDistance, -7.04f);
  dragCamera(doc, ui, 0, -100);
  EXPECT_FLOAT_EQ(doc.cameraDistance, -7.0f);
  EXPECT_EQ(doc.viewElevation, 0.0);
  EXPECT_EQ(ui.redraws, 8);
}

}  // namespace
}  // namespace lw
