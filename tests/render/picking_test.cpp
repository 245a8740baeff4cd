#include <gtest/gtest.h>

#include <vector>

#include "gl_fixture.h"
#include "render/picking.h"

namespace lw {
namespace {

// A square facing the camera with its own selection name, drawn by the scene
// stand-in below in list order.
struct NamedSquare {
  uint32_t name;
  float z;
  float cx = 0, cy = 0, half = 0.5f;
};

struct StandInScene {
  std::vector<NamedSquare> squares;
  int pickingDraws = 0;
  int normalDraws = 0;
  int result = 0;
};
StandInScene gScene;

int drawStandIn(SceneDocument& doc, RenderState& rs, ViewInput&, bool pickingPass) {
  (pickingPass ? gScene.pickingDraws : gScene.normalDraws)++;
  glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
  applyCamera(doc, rs.camera);
  glPushName(0);
  for (const NamedSquare& s : gScene.squares) {
    glLoadName(s.name);
    glBegin(GL_QUADS);
    glVertex3f(s.cx - s.half, s.cy - s.half, s.z);
    glVertex3f(s.cx + s.half, s.cy - s.half, s.z);
    glVertex3f(s.cx + s.half, s.cy + s.half, s.z);
    glVertex3f(s.cx - s.half, s.cy + s.half, s.z);
    glEnd();
  }
  glPopMatrix();
  return gScene.result;
}

class PickingTest : public test::GlTest {
 protected:
  void SetUp() override {
    GlTest::SetUp();
    gScene = StandInScene{};
    setViewAndProjection(doc, false);
  }
  // Picks at the window centre in `mode`.
  int pickAtCentre(int32_t mode) {
    doc.editMode = mode;
    return pickPassWith(doc, rs, input, kWidth / 2, kHeight / 2, drawStandIn);
  }
  RenderState rs;
  ViewInput input;
};

TEST(HitRecords, FirstTakesTheFirstRecordAndNearestTheSmallestMinimumDepth) {
  const uint32_t buffer[] = {1, 3000, 5000, 7,  //
                             1, 1000, 9000, 8,  //
                             1, 1000, 2000, 9};
  const ChosenHit first = chooseHit(buffer, 12, 3, HitChoice::First);
  EXPECT_TRUE(first.found);
  EXPECT_EQ(first.name, 7u);
  EXPECT_FLOAT_EQ(first.meanDepth, 4000 * 2.3283064365386963e-10f);
  const ChosenHit nearest = chooseHit(buffer, 12, 3, HitChoice::Nearest);
  EXPECT_EQ(nearest.name, 8u) << "an equal minimum depth later on does not replace it";
  EXPECT_FLOAT_EQ(nearest.meanDepth, 5000 * 2.3283064365386963e-10f);
}

TEST(HitRecords, DepthWordsAreUnsignedFractionsOfTwoToThe32) {
  EXPECT_EQ(hitDepth(0), 0.0f);
  EXPECT_FLOAT_EQ(hitDepth(0x80000000u), 0.5f);
  EXPECT_LT(hitDepth(0xFFFFFFFFu), 1.0f + 1e-7f);
  EXPECT_GT(hitDepth(0xFFFFFFFFu), 0.99f);
}

TEST(HitRecords, MissOverflowAndTruncatedRecordsFindNothing) {
  const uint32_t buffer[] = {1, 10, 20, 5, 2, 30, 40, 6, 7};
  EXPECT_FALSE(chooseHit(buffer, 9, 0, HitChoice::First).found);
  EXPECT_FALSE(chooseHit(buffer, 9, -1, HitChoice::Nearest).found);
  EXPECT_FALSE(chooseHit(buffer, 3, 1, HitChoice::First).found) << "record cut off";
  // A record with two names is walked over by its own length; a third record
  // claimed by the count but missing from the buffer is ignored.
  const ChosenHit hit = chooseHit(buffer, 9, 3, HitChoice::Nearest);
  EXPECT_EQ(hit.name, 5u);
  const uint32_t nameless[] = {0, 100, 300};
  const ChosenHit probe = chooseHit(nameless, 3, 1, HitChoice::First);
  EXPECT_TRUE(probe.found);
  EXPECT_EQ(probe.name, 0u);
}

TEST(HitRecords, PickingTableRows) {
  ASSERT_NE(pickingRule(22), nullptr);
  EXPECT_EQ(pickingRule(22)->choice, HitChoice::Nearest);
  EXPECT_EQ(pickingRule(22)->hitState, 23);
  EXPECT_EQ(pickingRule(24)->missState, 26);
  EXPECT_TRUE(pickingRule(661)->keepDepth);
  EXPECT_FALSE(pickingRule(19)->keepDepth);
  EXPECT_FALSE(isPickingSubState(17));
  EXPECT_FALSE(isPickingSubState(113));
}

TEST_F(PickingTest, FirstHitIsTheFirstDrawnNotTheNearest) {
  gScene.squares = {{5, -1.0f}, {6, 1.0f}};  // 6 is nearer the camera
  EXPECT_EQ(pickAtCentre(19), 0);
  EXPECT_EQ(doc.selectedJoint, 5);
  EXPECT_EQ(doc.editMode, 18);
  EXPECT_EQ(gScene.pickingDraws, 1);
  EXPECT_EQ(gScene.normalDraws, 1);
  GLint depth = 0, mode = 0;
  glGetIntegerv(GL_PROJECTION_STACK_DEPTH, &depth);
  glGetIntegerv(GL_RENDER_MODE, &mode);
  EXPECT_EQ(depth, 1);
  EXPECT_EQ(mode, GL_RENDER);
}

TEST_F(PickingTest, NearestHitAndTheEqualDepthTieGoesToTheEarlierName) {
  gScene.squares = {{1100, -1.0f}, {1101, 1.0f}, {1102, 0.0f}};
  pickAtCentre(22);
  EXPECT_EQ(doc.selectedJoint, 1101);
  EXPECT_EQ(doc.editMode, 23);
  gScene.squares = {{300, 0.5f}, {400, 0.5f}};
  pickAtCentre(15);
  EXPECT_EQ(doc.selectedJoint, 300);
  EXPECT_EQ(doc.editMode, 14);
}

TEST_F(PickingTest, DepthIsKeptOnlyWhereTheTableSaysSo) {
  gScene.squares = {{3, 0.0f}};
  input.pickDepth = 0.25f;
  pickAtCentre(19);
  EXPECT_EQ(input.pickDepth, 0.25f);
  pickAtCentre(29);
  EXPECT_EQ(doc.editMode, 30);
  // The kept depth is where the square projects.
  const auto w = project(rs.camera, 0, 0, 0);
  EXPECT_NEAR(input.pickDepth, w[2], 1e-5);
}

TEST_F(PickingTest, MissClearsTheSelectionAndTakesTheMissState) {
  gScene.squares = {{3, 0.0f, 2.0f, 0.0f, 0.2f}};  // off to the side
  doc.selectedJoint = 3;
  pickAtCentre(33);
  EXPECT_EQ(doc.selectedJoint, -1);
  EXPECT_EQ(doc.editMode, 32);
}

TEST_F(PickingTest, RootMoveHitZeroesTheDragAccumulators) {
  gScene.squares = {{1, 0.0f}};
  doc.dragStarted = 1;
  doc.dragCounter = 9;
  doc.dragVector = {1, 2, 3};
  pickAtCentre(661);
  EXPECT_EQ(doc.editMode, 662);
  EXPECT_EQ(doc.dragCounter, 0);
  EXPECT_EQ(doc.dragStarted, 0);
  EXPECT_EQ(doc.dragVector, Vector3{});
}

TEST_F(PickingTest, DragPicksMoveJointAndBoxFacesOnly) {
  input.dragActive = 1;
  gScene.squares = {{7, 0.0f}, {8, 1.0f}};
  pickAtCentre(3);
  EXPECT_EQ(doc.editMode, 4);
  EXPECT_EQ(doc.selectedJoint, 7);
  EXPECT_GT(input.pickDepth, 0.0f);

  gScene.squares = {{12, 1.0f}, {250, 0.0f}};  // a joint in front of a face
  doc.selectedJoint = -1;
  pickAtCentre(15);
  EXPECT_EQ(doc.editMode, 15) << "nearest is the joint, not a face";
  EXPECT_EQ(doc.selectedJoint, -1);
  gScene.squares = {{250, 0.0f}};
  pickAtCentre(15);
  EXPECT_EQ(doc.editMode, 16);
  EXPECT_EQ(doc.selectedJoint, 250);
  EXPECT_EQ(input.prevX, kWidth / 2);
  EXPECT_EQ(input.prevY, kHeight / 2);

  gScene.squares = {{5, 0.0f}};
  pickAtCentre(19);
  EXPECT_EQ(doc.editMode, 19) << "other sub-states wait for the drag to end";
}

TEST_F(PickingTest, AFailedPickingDrawChoosesNothingAndDrawsNoFrame) {
  gScene.squares = {{5, 0.0f}};
  gScene.result = -1;
  EXPECT_EQ(pickAtCentre(19), -1);
  EXPECT_EQ(doc.editMode, 19);
  EXPECT_EQ(gScene.normalDraws, 0);
  GLint depth = 0;
  glGetIntegerv(GL_PROJECTION_STACK_DEPTH, &depth);
  EXPECT_EQ(depth, 1);
}

TEST_F(PickingTest, ProbeOnEmptySpaceUsesDepth0888AndRestoresTheAxes) {
  doc.editMode = PlaceRootJoint;
  input.pickDepth = 0.1f;
  for (int i = 0; i < 3; ++i) {  // repeated probes keep the projection stack balanced
    EXPECT_EQ(probeDepthWith(doc, rs, input, 10, 10, drawStandIn), 0);
  }
  EXPECT_EQ(input.pickDepth, 0.888f);
  EXPECT_EQ(doc.editMode, PlaceRootJoint);
  EXPECT_EQ(doc.showWorldAxes, 1);
  GLint depth = 0;
  glGetIntegerv(GL_PROJECTION_STACK_DEPTH, &depth);
  EXPECT_EQ(depth, 1);
}

TEST_F(PickingTest, ProbeOnASurfaceKeepsItsDepth) {
  gScene.squares = {{9, -0.5f}};
  probeDepthWith(doc, rs, input, kWidth / 2, kHeight / 2, drawStandIn);
  setViewAndProjection(doc, false);
  drawStandIn(doc, rs, input, false);
  const auto w = project(rs.camera, 0, 0, -0.5);
  EXPECT_NEAR(input.pickDepth, w[2], 1e-5);
  EXPECT_EQ(doc.selectedJoint, 9);
}

TEST_F(PickingTest, WindowToWorldInvertsTheProjectionAtAKnownDepth) {
  doc.viewElevation = 20;
  doc.viewAzimuth = 40;
  drawStandIn(doc, rs, input, false);
  const auto w = project(rs.camera, 0.3, -0.7, 1.1);
  // Window y runs downwards for the caller.
  double point[3] = {0, 0, 0};
  ASSERT_EQ(windowToWorld(doc, rs, static_cast<float>(w[2]), static_cast<int>(w[0]),
                          kHeight - static_cast<int>(w[1]), point),
            0);
  // Whole pixels shift the point by less than a pixel's footprint.
  EXPECT_NEAR(point[0], 0.3, 0.06);
  EXPECT_NEAR(point[1], -0.7, 0.06);
  EXPECT_NEAR(point[2], 1.1, 0.06);
  // At an exact pixel position the conversion is exact.
  const auto p = project(rs.camera, 0, 0, 0);
  GLint viewport[4];
  glGetIntegerv(GL_VIEWPORT, viewport);
  ASSERT_EQ(windowToWorld(doc, rs, static_cast<float>(p[2]), kWidth / 2, kHeight / 2, point), 0);
  EXPECT_NEAR(point[0], 0, 1e-4);
  EXPECT_NEAR(point[1], 0, 1e-4);
  EXPECT_NEAR(point[2], 0, 1e-3);
}

TEST_F(PickingTest, WindowToWorldReportsASingularCamera) {
  for (double& v : rs.camera.modelView) v = 0;
  double point[3] = {1, 2, 3};
  EXPECT_EQ(windowToWorld(doc, rs, 0.5f, 10, 10, point), 1);
  EXPECT_EQ(doc.ErrorText, "ウインドウ座標をワールド座標変換できません");
  EXPECT_EQ(point[0], 1.0);
}

}  // namespace
}  // namespace lw
