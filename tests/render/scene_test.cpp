#include <gtest/gtest.h>

#include <cmath>

#include <string>
#include <vector>

#include "render/primitives.h"
#include "scene_fixture.h"
#include "skin/deform.h"
#include "skin/weight_box.h"

namespace lw {
namespace {

using test::Rgb;
using test::SceneTest;

const Rgb kWhite{255, 255, 255};

// Records the joint numbers and where GL would put them.
class RecordingText : public TextDrawer {
 public:
  struct Entry {
    std::string text;
    float raster[4];
    float colour[4];
  };
  std::vector<Entry> drawn;
  bool fail = false;
  bool drawText(const std::string& text) override {
    if (fail) return false;
    Entry e{text, {}, {}};
    glGetFloatv(GL_CURRENT_RASTER_POSITION, e.raster);
    glGetFloatv(GL_CURRENT_RASTER_COLOR, e.colour);
    drawn.push_back(e);
    return true;
  }
};

TEST_F(SceneTest, FacesLinesAndPointsOfTheModel) {
  test::loadModel(doc, test::squarePart(1.0f, 0.0f), test::plainMaterial(1, 1, 1));
  frame();
  CameraMatrices m = rs.camera;
  const auto centre = project(m, 0.4, -0.4, 0);  // inside the lower-right triangle
  EXPECT_NE(pixel(centre[0], centre[1]), background()) << "faces fill the square";

  doc.drawMode = 3;
  frame();
  EXPECT_EQ(pixel(centre[0], centre[1]), background()) << "lines leave the inside empty";
  const auto edge = project(m, 1.0, 0.0, 0);  // the right edge is part of the strip
  EXPECT_FALSE(colourNear(edge[0], edge[1], background(), 0) && colourNear(edge[0] - 1, edge[1], background(), 0));
  // The strip joins the triangles: from (1,1) back to (-1,-1) along the diagonal.
  const auto diagonal = project(m, 0.0, 0.0, 0);
  EXPECT_TRUE(!colourNear(diagonal[0], diagonal[1], background(), 0) ||
              !colourNear(diagonal[0] + 1, diagonal[1], background(), 0));

  doc.drawMode = 0;
  frame();
  const auto corner = project(m, 1.0, 1.0, 0);
  EXPECT_NE(pixel(corner[0], corner[1]), background());
  EXPECT_NE(pixel(corner[0] - 2, corner[1] - 2), background()) << "points are 5 pixels wide";
  EXPECT_EQ(pixel(corner[0] - 4, corner[1] - 4), background());
  EXPECT_EQ(pixel(centre[0], centre[1]), background());
}

TEST_F(SceneTest, NoModelWithoutModelLoadedAndNoneInAPickingPass) {
  test::loadModel(doc, test::squarePart(1.0f, 0.0f), test::plainMaterial(1, 1, 1));
  doc.showWorldAxes = 1;
  doc.modelLoaded = 0;
  frame();
  EXPECT_EQ(pixel(kWidth / 2 + 5, kHeight / 2 + 5), background());
  doc.modelLoaded = 1;
  frame(true);
  for (int x = 0; x < kWidth; x += 7) {
    for (int y = 0; y < kHeight; y += 7) ASSERT_EQ(pixel(x, y), background()) << x << "," << y;
  }
}

TEST_F(SceneTest, PlacementJointsAreNamedByIdAndTheFirstDrawnWins) {
  Joint* root = test::addJoint(doc, "Joint0", 1, nullptr, {0, 0, 0});
  test::addJoint(doc, "Joint0_0", 2, root, {0, 1, 0});
  test::addJoint(doc, "Joint0_1", 3, root, {0, 1, -1});  // behind joint 2 on screen? no: lower
  frame();
  const auto j2 = project(rs.camera, 0, 1, 0);
  ASSERT_TRUE(pickAt(56, j2[0], j2[1]));
  EXPECT_EQ(doc.editMode, 57);
  EXPECT_EQ(doc.selectedJoint, 2);
  EXPECT_NEAR(input.pickDepth, j2[2], 2e-3) << "the marker's depth is kept";
  // A miss.
  pickAt(56, 5, 5);
  EXPECT_EQ(doc.editMode, 55);
  EXPECT_EQ(doc.selectedJoint, -1);
}

TEST_F(SceneTest, PlacementMarkerColoursFollowTheTreeAndTheAnchor) {
  Joint* root = test::addJoint(doc, "Joint0", 1, nullptr, {0, 0, 0});
  test::addJoint(doc, "Joint0_0", 2, root, {0.5f, 0.5f, 0});
  doc.treeSelectedJoint = 2;
  doc.cameraDistance = -2;  // markers a few pixels wide
  frame();
  dump("placement");
  // Sample beside the centres, across the bone, where no bone line runs.
  const auto j2 = project(rs.camera, 0.5, 0.5, 0);
  EXPECT_EQ(pixel(j2[0] + 1, j2[1] - 1), test::toRgb(1.0f, 0.2f, 1.0f));
  const auto j1 = project(rs.camera, 0, 0, 0);
  EXPECT_EQ(pixel(j1[0] - 1, j1[1] + 1), test::toRgb(0, 0, 1));
  EXPECT_TRUE(colourNear(j1[0] + 20, j1[1] + 20, {0, 255, 0})) << "a green bone";
  doc.editMode = 12;
  input.pressedPick = 1;
  frame();
  EXPECT_EQ(pixel(j1[0] - 1, j1[1] + 1), test::toRgb(1.0f, 0.2f, 0.2f));
  EXPECT_EQ(doc.parentJointName, "Joint0");
}

TEST_F(SceneTest, PosedJointsAndTheirFkAxisHandles) {
  Joint* root = test::addJoint(doc, "Joint0", 1, nullptr, {0, 0, 0});
  Joint* arm = test::addJoint(doc, "Joint0_0", 2, root, {0, 0.6f, 0});
  arm->axisVector = {0, 0, 1};
  arm->drawAxisVector = {1, 0, 0};
  doc.decitionJointPosition = 1;
  doc.keyFrames->keyframeBoneView = 1;
  doc.showFkAxes = 1;
  doc.cameraDistance = -2;
  frame();
  // The pose update ran: the axis is turned by the (zero) angle about itself.
  EXPECT_EQ(arm->drawAxisVector, (Vector3{0, 0, 1}));
  arm->axisVector = {0.6f, 0, 0};  // the handle then points along +X from the root
  frame();
  dump("posed");
  const auto tip = project(rs.camera, 0.6, 0, 0);
  EXPECT_EQ(pixel(tip[0] + 1, tip[1] + 1), test::toRgb(0, 1, 0)) << "handle tips are green";
  ASSERT_TRUE(pickAt(29, tip[0], tip[1]));
  EXPECT_EQ(doc.selectedJoint, 2 + 10000);
  EXPECT_EQ(doc.editMode, 30);
  const auto joint = project(rs.camera, 0, 0.6, 0);
  pickAt(19, joint[0], joint[1]);
  EXPECT_EQ(doc.selectedJoint, 2);
  EXPECT_EQ(doc.editMode, 18);
  frame();
  EXPECT_EQ(pixel(joint[0] + 1, joint[1] + 1), test::toRgb(1.0f, 0.5f, 0.5f)) << "picked in 18";
  const auto base = project(rs.camera, 0, 0, 0);
  EXPECT_EQ(pixel(base[0] - 1, base[1] - 1), test::toRgb(0.1f, 0.8f, 0.5f));
}

TEST_F(SceneTest, TheModelIsSkinnedFromThePoseTheFrameDraws) {
  Joint* root = test::addJoint(doc, "Joint0", 1, nullptr, {0, 0, 0});
  Joint* arm = test::addJoint(doc, "Joint0_0", 2, root, {0.5f, 0.25f, 0.125f});
  test::loadModel(doc, test::squarePart(0.2f, 0.1f, 0.4f, 0.3f), test::plainMaterial(1, 0, 0));
  for (WeightList& w : doc.skinBuffers->parts[0].skinWeights) w = {{"Joint0_0", 1.0f}};
  doc.decitionJointPosition = 1;
  doc.keyFrames->keyframeBoneView = 1;
  doc.do_skinning = 1;
  doc.editedJointName = "Joint0";
  arm->axisVector = {0, 0, 1};
  // Posed, then every turn reset at once (menu IDM_RESET_ROTATIONS): each single frame shows
  // the skin of its own pose.
  for (float angle : {90.0f, 0.0f}) {
    SCOPED_TRACE(angle);
    arm->axisAngle = angle;
    frame();
    const std::vector<Vector3> drawn = doc.skinBuffers->parts[0].skinPositions;
    deformPart(doc, 0, 6);
    EXPECT_EQ(doc.skinBuffers->parts[0].skinPositions, drawn);
  }
}

TEST_F(SceneTest, WeightBoxFacesPickTheNearestAndHighlightTheChosenFace) {
  test::loadModel(doc, test::squarePart(0.2f, 0.0f), test::plainMaterial(1, 1, 1));
  doc.weightBox = makeWeightBox(0, 0, 0);
  doc.weightBoxShown = 1;
  input.pressedPick = 0;
  doc.viewElevation = 10;
  doc.viewAzimuth = 15;
  frame();
  const auto centre = project(rs.camera, 0, 0, 0.5);
  pickAt(15, centre[0], centre[1]);
  EXPECT_EQ(doc.selectedJoint, 200) << "z+ faces the viewer; z- is drawn first";
  EXPECT_EQ(doc.editMode, 14);
  // A corner inside the box is marked, and the chosen face is drawn highlighted.
  const auto inner = project(rs.camera, 0.2, 0.2, 0);
  EXPECT_NE(pixel(inner[0], inner[1]), background());
}

TEST_F(SceneTest, VertexMarkersAreNamedByCornerAndThePickedOneIsRecorded) {
  test::loadModel(doc, test::squarePart(1.0f, 0.0f), test::plainMaterial(1, 1, 1));
  frame();
  const auto corner = project(rs.camera, 1, 1, 0);  // corner 2 (and 4) of the part
  pickAt(22, corner[0], corner[1]);
  EXPECT_EQ(doc.editMode, 23);
  EXPECT_EQ(doc.selectedJoint, 1002) << "the nearest of the two equal corners: the first";
  EXPECT_EQ(rs.clickedCorner.part, 0);
  EXPECT_EQ(rs.clickedCorner.corner, 2);
  EXPECT_EQ(rs.clickedCorner.position, (Vector3{1, 1, 0}));
  EXPECT_EQ(pixel(corner[0], corner[1]), test::toRgb(1.0f, 0.6f, 0.5f));
  // With a joint chosen in the tree, corners weighted to it are purple.
  Joint* root = test::addJoint(doc, "Joint0", 1, nullptr, {0, 0, 0});
  (void)root;
  doc.skinBuffers->parts[0].skinWeights[0] = WeightList{{"Joint0", 1.0f}};
  doc.treeSelectedJoint = 1;
  doc.editMode = 21;
  doc.decitionJointPosition = 1;  // keep the placement skeleton out of the picture
  frame();
  const auto first = project(rs.camera, -1, -1, 0);
  EXPECT_EQ(pixel(first[0], first[1]), test::toRgb(0.85f, 0.2f, 1.0f));
  EXPECT_EQ(pixel(corner[0], corner[1]), test::toRgb(0.0f, 1.0f, 0.5f));
  // Corners at one position show the first one's colour, as if each had been
  // drawn in turn under the depth test, whatever colour the later ones have.
  std::vector<WeightList>& weights = doc.skinBuffers->parts[0].skinWeights;
  weights[4] = WeightList{{"Joint0", 1.0f}};
  frame();
  EXPECT_EQ(pixel(corner[0], corner[1]), test::toRgb(0.0f, 1.0f, 0.5f));
  weights[2] = WeightList{{"Joint0", 1.0f}};
  frame();
  EXPECT_EQ(pixel(corner[0], corner[1]), test::toRgb(0.85f, 0.2f, 1.0f));
}

// A vertex shared by many triangles is one pick, not one hit record per corner
// (30 records would overflow the selection buffer and read as a miss).
TEST_F(SceneTest, AVertexSharedByManyTrianglesIsPickedOnce) {
  MeshPart fan;
  constexpr int kTriangles = 30;
  for (int k = 0; k < kTriangles; ++k) {
    const float a0 = 6.2831853f * k / kTriangles, a1 = 6.2831853f * (k + 1) / kTriangles;
    for (Vector3 p : {Vector3{0, 0, 0}, Vector3{std::cos(a0), std::sin(a0), 0},
                      Vector3{std::cos(a1), std::sin(a1), 0}}) {
      fan.positions.push_back(p);
      fan.normals.push_back({0, 0, 1});
      fan.texCoords.push_back({0, 0});
    }
  }
  fan.vertexCount = 3 * kTriangles;
  test::loadModel(doc, std::move(fan), test::plainMaterial(1, 1, 1));
  frame();
  const auto centre = project(rs.camera, 0, 0, 0);
  ASSERT_TRUE(pickAt(22, centre[0], centre[1]));
  EXPECT_EQ(doc.editMode, 23);
  EXPECT_EQ(doc.selectedJoint, 1000) << "the first of the coincident corners";
  EXPECT_EQ(rs.clickedCorner.corner, 0);
}

TEST_F(SceneTest, RootPlacementProbeFindsTheModelSurfaceUnderTheCursor) {
  test::loadModel(doc, test::squarePart(1.0f, -0.5f), test::plainMaterial(1, 1, 1));
  doc.editMode = PlaceRootJoint;
  frame();
  const auto on = project(rs.camera, 0.25, 0.25, -0.5);
  const int x = static_cast<int>(std::lround(on[0])), y = kHeight - static_cast<int>(std::lround(on[1]));
  setViewAndProjection(doc, false);
  const PickResult onModel = probeDepth(doc, rs, input, x, y);
  ASSERT_TRUE(onModel.drawOk);
  EXPECT_GT(onModel.hitCount, 0);
  EXPECT_EQ(doc.editMode, PlaceRootJoint);
  EXPECT_EQ(doc.showWorldAxes, 0) << "as it was";
  double point[3];
  setViewAndProjection(doc, false);
  frame();
  ASSERT_EQ(windowToWorld(doc, rs, onModel.meanDepth, x, y, point), 0);
  EXPECT_NEAR(point[2], -0.5, 1e-3) << "the joint goes onto the surface";
  EXPECT_NEAR(point[0], 0.25, 0.02);
  // Beside the model the probe finds nothing (the placement then uses its
  // fixed depth); the world axes, switched off for the probe, come back.
  doc.showWorldAxes = 1;
  const PickResult beside = probeDepth(doc, rs, input, 3, 3);
  EXPECT_TRUE(beside.drawOk);
  EXPECT_EQ(beside.hitCount, 0);
  EXPECT_EQ(doc.showWorldAxes, 1);
}

TEST_F(SceneTest, JointNumbersGoThroughTheTextDrawerAtTheJoints) {
  Joint* root = test::addJoint(doc, "Joint0", 1, nullptr, {0, 0, 0});
  Joint* hidden = test::addJoint(doc, "Joint0_0", 2, root, {0, 1, 0});
  hidden->validJoint = 0;
  test::addJoint(doc, "Joint0_1", 12, root, {1, 0, 0});
  RecordingText text;
  rs.textDrawer = &text;
  doc.showJointNumbers = 1;
  ASSERT_EQ(frame(), 0);
  ASSERT_EQ(text.drawn.size(), 2u);
  EXPECT_EQ(text.drawn[0].text, "1");
  EXPECT_EQ(text.drawn[1].text, "12");
  const auto at = project(rs.camera, 1, 0, 0);
  EXPECT_NEAR(text.drawn[1].raster[0], at[0], 1e-3);
  EXPECT_NEAR(text.drawn[1].raster[1], at[1], 1e-3);
  EXPECT_NEAR(text.drawn[1].colour[1], 0.7f, 1e-6);

  text.fail = true;
  GLint before = 0, after = 0;
  glGetIntegerv(GL_MODELVIEW_STACK_DEPTH, &before);
  EXPECT_EQ(frame(), kDrawSceneFailed);
  glGetIntegerv(GL_MODELVIEW_STACK_DEPTH, &after);
  EXPECT_EQ(after, before) << "the camera matrix is popped on failure";
}

TEST_F(SceneTest, BoneIsAWireDoublePyramidAndLeavesBlueCurrent) {
  doc.cameraDistance = -3;
  doc.viewElevation = 40;  // the ring's edges leave the centre line
  setViewAndProjection(doc, false);
  glClear(GL_COLOR_BUFFER_BIT);
  applyCamera(doc, rs.camera);
  glColor3f(1, 1, 1);
  drawBone({-1.5f, 0, 0}, {1.5f, 0, 0}, {1, 0, 0});
  GLfloat colour[4];
  glGetFloatv(GL_CURRENT_COLOR, colour);
  glPopMatrix();
  glFinish();
  dump("bone");
  EXPECT_EQ(colour[2], 1.0f);
  EXPECT_EQ(colour[0], 0.0f);
  // The base lies a third of the way along and spreads above and below the
  // centre line; beyond B nothing is drawn.
  const auto base = project(rs.camera, -0.5, 0, 0);
  bool above = false, below = false;
  for (int dy = 4; dy <= 12; ++dy) {
    above = above || colourNear(base[0], base[1] + dy, {255, 0, 0}, 0);
    below = below || colourNear(base[0], base[1] - dy, {255, 0, 0}, 0);
  }
  EXPECT_TRUE(above);
  EXPECT_TRUE(below);
  const auto beyond = project(rs.camera, 1.7, 0, 0);
  EXPECT_EQ(pixel(beyond[0], beyond[1]), background());
}

}  // namespace
}  // namespace lw
