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

int drawStandIn(SceneDocument& doc, RenderState& rs, const ViewInputState&, bool pickingPass) {
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
  // The picking pass at the window centre.
  PickResult pickAtCentre(PickChoice choice = PickChoice::First) {
    return pickPassWith(doc, rs, input, kWidth / 2, kHeight / 2, choice, drawStandIn);
  }
  // What the 3D window's repaint does in a picking value: the pass with the
  // family's choice, the state machine's answer, then the normal frame.
  void repaintInMode(int32_t mode) {
    doc.editMode = mode;
    const PickFamily* family = pickFamilyFor(mode);
    ASSERT_NE(family, nullptr);
    input.hoverX = kWidth / 2;
    input.hoverY = kHeight / 2;
    applyPickResult(doc, input, pickAtCentre(family->choice));
    setViewAndProjection(doc, false);
    drawStandIn(doc, rs, input, false);
  }
  GLint projectionDepth() {
    GLint depth = 0;
    glGetIntegerv(GL_PROJECTION_STACK_DEPTH, &depth);
    return depth;
  }
  RenderState rs;
  ViewInputState input;
};

TEST(HitRecords, FirstTakesTheFirstRecordAndNearestTheSmallestMinimumDepth) {
  const uint32_t buffer[] = {1, 3000, 5000, 7,  //
                             1, 1000, 9000, 8,  //
                             1, 1000, 2000, 9};
  const ChosenHit first = chooseHit(buffer, 12, 3, PickChoice::First);
  EXPECT_TRUE(first.found);
  EXPECT_EQ(first.name, 7u);
  EXPECT_FLOAT_EQ(first.meanDepth, 4000 * 2.3283064365386963e-10f);
  const ChosenHit nearest = chooseHit(buffer, 12, 3, PickChoice::Nearest);
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
  EXPECT_FALSE(chooseHit(buffer, 9, 0, PickChoice::First).found);
  EXPECT_FALSE(chooseHit(buffer, 9, -1, PickChoice::Nearest).found);
  EXPECT_FALSE(chooseHit(buffer, 3, 1, PickChoice::First).found) << "record cut off";
  // A record with two names is walked over by its own length; a third record
  // claimed by the count but missing from the buffer is ignored.
  const ChosenHit hit = chooseHit(buffer, 9, 3, PickChoice::Nearest);
  EXPECT_EQ(hit.name, 5u);
  const uint32_t nameless[] = {0, 100, 300};
  const ChosenHit probe = chooseHit(nameless, 3, 1, PickChoice::First);
  EXPECT_TRUE(probe.found);
  EXPECT_FALSE(probe.named);
}

TEST_F(PickingTest, FirstHitIsTheFirstDrawnNotTheNearest) {
  gScene.squares = {{5, -1.0f}, {6, 1.0f}};  // 6 is nearer the camera
  doc.selectedJoint = 77;
  doc.editMode = 19;
  const PickResult result = pickAtCentre();
  EXPECT_TRUE(result.drawOk);
  EXPECT_EQ(result.hitCount, 2);
  EXPECT_EQ(result.name, 5);
  EXPECT_EQ(gScene.pickingDraws, 1);
  EXPECT_EQ(gScene.normalDraws, 0) << "the pass draws no normal frame";
  GLint mode = 0;
  glGetIntegerv(GL_RENDER_MODE, &mode);
  EXPECT_EQ(projectionDepth(), 1);
  EXPECT_EQ(mode, GL_RENDER);
  EXPECT_EQ(doc.selectedJoint, 77) << "the pass itself chooses nothing";
  EXPECT_EQ(doc.editMode, 19);
}

TEST_F(PickingTest, NearestHitAndTheEqualDepthTieGoesToTheEarlierName) {
  gScene.squares = {{1100, -1.0f}, {1101, 1.0f}, {1102, 0.0f}};
  EXPECT_EQ(pickAtCentre(PickChoice::Nearest).name, 1101);
  gScene.squares = {{300, 0.5f}, {400, 0.5f}};
  EXPECT_EQ(pickAtCentre(PickChoice::Nearest).name, 300);
}

TEST_F(PickingTest, ReportedDepthIsWhereTheHitProjects) {
  gScene.squares = {{3, 0.0f}};
  const PickResult result = pickAtCentre();
  setViewAndProjection(doc, false);
  drawStandIn(doc, rs, input, false);
  const auto w = project(rs.camera, 0, 0, 0);
  EXPECT_NEAR(result.meanDepth, w[2], 1e-5);
}

TEST_F(PickingTest, MissReportsNoHitAndNoName) {
  gScene.squares = {{3, 0.0f, 2.0f, 0.0f, 0.2f}};  // off to the side
  const PickResult result = pickAtCentre();
  EXPECT_TRUE(result.drawOk);
  EXPECT_EQ(result.hitCount, 0);
  EXPECT_EQ(result.name, -1);
}

TEST_F(PickingTest, MoreHitsThanTheBufferHoldsReportANegativeCount) {
  for (uint32_t name = 1; name <= 30; ++name) gScene.squares.push_back({name, 0.0f});
  const PickResult result = pickAtCentre();
  EXPECT_LT(result.hitCount, 0);
  EXPECT_EQ(result.name, -1);
  EXPECT_EQ(projectionDepth(), 1);
}

TEST_F(PickingTest, AFailedPickingDrawReportsItAndLeavesGlAsItWas) {
  gScene.squares = {{5, 0.0f}};
  gScene.result = -1;
  const PickResult result = pickAtCentre();
  EXPECT_FALSE(result.drawOk);
  EXPECT_EQ(result.name, -1);
  GLint mode = 0;
  glGetIntegerv(GL_RENDER_MODE, &mode);
  EXPECT_EQ(mode, GL_RENDER);
  EXPECT_EQ(projectionDepth(), 1);
}

// The pass together with the input state machine, as the 3D window's repaint runs them.
TEST_F(PickingTest, RepaintTakesTheFamilysHitAndKeepsDepthOnlyWhereItShould) {
  gScene.squares = {{5, -1.0f}, {6, 1.0f}};
  input.pickDepth = 0.25f;
  repaintInMode(19);  // FK: first hit, depth not kept
  EXPECT_EQ(doc.editMode, 18);
  EXPECT_EQ(doc.selectedJoint, 5);
  EXPECT_EQ(input.pickDepth, 0.25f);
  repaintInMode(33);  // IK: first hit, depth kept
  EXPECT_EQ(doc.editMode, 34);
  EXPECT_NEAR(input.pickDepth, project(rs.camera, 0, 0, -1)[2], 1e-5);
  gScene.squares = {{3, 0.0f, 2.0f, 0.0f, 0.2f}};
  repaintInMode(33);
  EXPECT_EQ(doc.editMode, 32);
  EXPECT_EQ(doc.selectedJoint, -1);
}

TEST_F(PickingTest, RepaintDuringABoxDragTakesOnlyTheNearestFace) {
  input.dragActive = 1;
  input.pressedPick = 0;
  doc.selectedJoint = -1;
  gScene.squares = {{12, 1.0f}, {250, 0.0f}};  // a joint in front of a face
  repaintInMode(15);
  EXPECT_EQ(doc.editMode, 15) << "nearest is the joint, not a face";
  EXPECT_EQ(doc.selectedJoint, -1);
  gScene.squares = {{200, 0.0f}};
  repaintInMode(15);
  EXPECT_EQ(doc.editMode, 16);
  EXPECT_EQ(doc.selectedJoint, 200);
  EXPECT_EQ(input.prevX, kWidth / 2);
  EXPECT_EQ(input.prevY, kHeight / 2);
}

TEST_F(PickingTest, ProbeOnEmptySpaceFindsNothingAndRestoresModeAndAxes) {
  doc.editMode = PlaceRootJoint;
  for (int i = 0; i < 3; ++i) {  // repeated probes keep the projection stack balanced
    const PickResult result = probeDepthWith(doc, rs, input, 10, 10, drawStandIn);
    EXPECT_TRUE(result.drawOk);
    EXPECT_EQ(result.hitCount, 0);
  }
  EXPECT_EQ(doc.editMode, PlaceRootJoint);
  EXPECT_EQ(doc.showWorldAxes, 1);
  EXPECT_EQ(projectionDepth(), 1);
}

TEST_F(PickingTest, ProbeDrawsTheWholeSceneInTheProbeSubStateWithoutWorldAxes) {
  struct Seen {
    int32_t mode = 0;
    int32_t axes = -1;
    bool pickingPass = true;
  };
  static Seen seen;
  seen = Seen{};
  auto spy = [](SceneDocument& d, RenderState& r, const ViewInputState& in, bool picking) {
    seen = {d.editMode, d.showWorldAxes, picking};
    return drawStandIn(d, r, in, picking);
  };
  doc.editMode = kModeChildPlacing;
  probeDepthWith(doc, rs, input, 10, 10, spy);
  EXPECT_EQ(seen.mode, kModeDepthProbe);
  EXPECT_EQ(seen.axes, 0);
  EXPECT_FALSE(seen.pickingPass);
  EXPECT_EQ(doc.editMode, kModeChildPlacing);
}

TEST_F(PickingTest, ProbeOnASurfaceReportsItsDepth) {
  gScene.squares = {{9, -0.5f}};
  const PickResult result = probeDepthWith(doc, rs, input, kWidth / 2, kHeight / 2, drawStandIn);
  setViewAndProjection(doc, false);
  drawStandIn(doc, rs, input, false);
  const auto w = project(rs.camera, 0, 0, -0.5);
  EXPECT_EQ(result.hitCount, 1);
  EXPECT_NEAR(result.meanDepth, w[2], 1e-5);
  EXPECT_EQ(result.name, 9);
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
