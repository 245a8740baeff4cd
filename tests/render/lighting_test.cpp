#include <gtest/gtest.h>

#include "render/lights.h"
#include "scene_fixture.h"

namespace lw {
namespace {

using test::Rgb;
using test::SceneTest;

// A horizontal square at height `y` above the floor, seen from above at an angle.
void horizontalModel(SceneDocument& doc, float y, float half) {
  test::loadModel(doc, test::squarePart(half, 0, 0, 0, true, y), test::plainMaterial(1, 1, 1));
}

TEST_F(SceneTest, ShadowDarkensTheFloorUnderTheModelByThirtyPercent) {
  horizontalModel(doc, 1.0f, 0.4f);
  test::addJoint(doc, "Joint0", 1, nullptr, {0, 0, 0});
  doc.viewElevation = 90;  // looking straight down, lit from above
  doc.viewDirection = cameraDirection(90, 0);
  doc.shadowMap = 1;
  doc.shadowLightPosition = {4, 5, 0};  // the shadow falls towards -x
  frame();
  dump("shadow");
  // A point of the model at (x, 1, z) falls on y = 0.01 at x - 0.8 * 0.99.
  const auto shadow = project(rs.camera, -0.792 - 0.3, 0, 0);
  const auto open = project(rs.camera, -2.5, 0, 0);
  const Rgb floor = pixel(open[0], open[1]);
  EXPECT_EQ(floor, background());
  const Rgb dark = pixel(shadow[0], shadow[1]);
  for (int c = 0; c < 3; ++c) EXPECT_NEAR(dark[c], floor[c] * 0.7, 1.5) << c;
  // The model itself is not darkened.
  const auto model = project(rs.camera, 0.3, 1, 0);
  EXPECT_GT(pixel(model[0], model[1])[0], 200);
  GLboolean blend = GL_TRUE, stencil = GL_TRUE;
  glGetBooleanv(GL_BLEND, &blend);
  glGetBooleanv(GL_STENCIL_TEST, &stencil);
  EXPECT_FALSE(blend);
  EXPECT_FALSE(stencil);
}

TEST_F(SceneTest, ShadowStopsAtTheFloorQuadAndIsLeftOutWithoutADirection) {
  horizontalModel(doc, 1.0f, 0.4f);
  test::addJoint(doc, "Joint0", 1, nullptr, {0, 0, 0});
  doc.viewElevation = 90;
  doc.cameraDistance = -12;
  doc.shadowMap = 1;
  doc.shadowLightPosition = {1, 0.2f, 0};  // a low light casts the shadow far out
  frame();
  // The model's x in -0.4..0.4 falls on x - 5 * 0.99: -5.35..-4.55, across the
  // quad's edge at -5.
  const auto outside = project(rs.camera, -5.2, 0, 0);
  EXPECT_EQ(pixel(outside[0], outside[1]), background());
  const auto inside = project(rs.camera, -4.75, 0, 0);
  EXPECT_NE(pixel(inside[0], inside[1]), background());
  // The light on the root joint itself: no shadow direction, the frame still draws.
  doc.shadowLightPosition = {0, 0, 0};
  EXPECT_EQ(frame(), 0);
  EXPECT_EQ(pixel(inside[0], inside[1]), background());
}

TEST(ShadowMatrix, ProjectsAlongTheDirectionOntoThePlane) {
  const Vector3 d = normalize(Vector3{4, 5, 0});
  const auto m = shadowMatrix(d, kShadowPlane);
  auto apply = [&](float x, float y, float z) {
    float out[4];
    for (int row = 0; row < 4; ++row) {
      out[row] = m[row] * x + m[4 + row] * y + m[8 + row] * z + m[12 + row];
    }
    return std::array<float, 3>{out[0] / out[3], out[1] / out[3], out[2] / out[3]};
  };
  const auto p = apply(0, 2, 0);
  EXPECT_NEAR(p[1], 0.01f, 1e-6);
  EXPECT_NEAR(p[0], -0.8f * 1.99f, 1e-5);
  const auto straight = shadowMatrix({0, 1, 0}, kShadowPlane);
  EXPECT_FLOAT_EQ(straight[0], 1.0f);
  EXPECT_FLOAT_EQ(straight[5], 0.0f);
  EXPECT_FLOAT_EQ(straight[13], 0.01f);
}

TEST_F(SceneTest, RightLightAddsAWhiteLightFromTheViewerShiftedAlongX) {
  Material grey = test::plainMaterial(0.5f, 0.5f, 0.5f);
  test::loadModel(doc, test::squarePart(1.0f, 0.0f), std::move(grey));
  frame();
  const auto centre = project(rs.camera, 0.3, -0.3, 0);
  const int headlightOnly = pixel(centre[0], centre[1])[0];
  EXPECT_NEAR(headlightOnly, 128, 2);
  doc.rightLightOn = 1;
  frame();
  // Light 1 comes from (1, 0, 1): cos 45 more of the diffuse 0.5.
  EXPECT_NEAR(pixel(centre[0], centre[1])[0], 255 * (0.5 + 0.5 * 0.70710678), 2);
  doc.lightColour[0] = {1, 0, 0, 1};
  frame();
  const Rgb tinted = pixel(centre[0], centre[1]);
  EXPECT_GT(tinted[0], tinted[1] + 60);
  GLboolean lighting = GL_TRUE;
  glGetBooleanv(GL_LIGHTING, &lighting);
  EXPECT_FALSE(lighting) << "lighting is off again after the frame";
}

TEST_F(SceneTest, TexturedPartShowsItsTexels) {
  Material material = test::plainMaterial(1, 1, 1);
  material.texture = std::make_unique<BmpTexture>();
  material.texture->width = 2;
  material.texture->height = 2;
  // Bottom row red, green; top row blue, white; blue-green-red bytes, rows of 8.
  material.texture->pixels = {0, 0, 255, 0, 255, 0, 0, 0, 255, 0, 0, 255, 255, 255, 0, 0};
  test::loadModel(doc, test::squarePart(1.0f, 0.0f), std::move(material));
  frame();
  dump("textured");
  const auto lowerLeft = project(rs.camera, -0.5, -0.6, 0);
  const auto lowerRight = project(rs.camera, 0.6, -0.5, 0);
  const auto upperLeft = project(rs.camera, -0.6, 0.5, 0);
  EXPECT_EQ(pixel(lowerLeft[0], lowerLeft[1]), (Rgb{255, 0, 0}));
  EXPECT_EQ(pixel(lowerRight[0], lowerRight[1]), (Rgb{0, 255, 0}));
  EXPECT_EQ(pixel(upperLeft[0], upperLeft[1]), (Rgb{0, 0, 255}));
  GLboolean texturing = GL_TRUE;
  glGetBooleanv(GL_TEXTURE_2D, &texturing);
  EXPECT_FALSE(texturing);
}

TEST_F(SceneTest, TextureWithTooFewPixelBytesIsDrawnUntextured) {
  Material material = test::plainMaterial(1, 1, 1);
  material.texture = std::make_unique<BmpTexture>();
  material.texture->width = 64;
  material.texture->height = 64;
  material.texture->pixels.assign(100, 0);
  BmpTexture* texture = material.texture.get();
  test::loadModel(doc, test::squarePart(1.0f, 0.0f), std::move(material));
  frame();
  EXPECT_EQ(texture->glTexture, 0u);
  const auto centre = project(rs.camera, 0.3, -0.3, 0);
  EXPECT_EQ(pixel(centre[0], centre[1]), (Rgb{255, 255, 255}));
}

TEST_F(SceneTest, PlaybackFrameDrawsAxesAndModelButNoJoints) {
  test::loadModel(doc, test::squarePart(0.5f, 0.0f, 1.5f, 0.0f), test::plainMaterial(1, 1, 1));
  Joint* root = test::addJoint(doc, "Joint0", 1, nullptr, {-1.5f, 1.0f, 0});
  root->validJoint = 1;
  doc.decitionJointPosition = 1;
  doc.keyFrames->keyframeBoneView = 1;
  doc.viewElevation = 20;
  preparePlaybackFrame(doc);
  setViewAndProjection(doc, false);
  drawPlaybackFrame(doc, rs);
  glFinish();
  dump("playback");
  CameraMatrices m;
  applyCamera(doc, m);  // the playback frame reads nothing back: take the same camera
  glPopMatrix();
  const auto axis = project(m, 2.5, 0, 0);
  EXPECT_TRUE(colourNear(axis[0], axis[1], {255, 0, 0})) << "world axes always drawn";
  const auto model = project(m, 1.5, 0, 0);
  EXPECT_NE(pixel(model[0], model[1]), background());
  const auto joint = project(m, -1.5, 1.0, 0);
  EXPECT_EQ(pixel(joint[0], joint[1]), background());
  GLint depth = 0;
  glGetIntegerv(GL_MODELVIEW_STACK_DEPTH, &depth);
  EXPECT_EQ(depth, 1);
}

TEST_F(SceneTest, AntiAliasingIsSwitchedOffAfterTheFrame) {
  test::loadModel(doc, test::squarePart(1.0f, 0.0f), test::plainMaterial(1, 1, 1));
  doc.antiAliasing = 1;
  doc.showWorldAxes = 1;
  EXPECT_EQ(frame(), 0);
  for (GLenum cap : {GL_BLEND, GL_LINE_SMOOTH, GL_POINT_SMOOTH, GL_POLYGON_SMOOTH}) {
    GLboolean on = GL_TRUE;
    glGetBooleanv(cap, &on);
    EXPECT_FALSE(on) << cap;
  }
}

}  // namespace
}  // namespace lw
