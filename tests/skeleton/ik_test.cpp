#include "skeleton/ik.h"
#include "core/command_ids.h"

#include <gtest/gtest.h>

#include <cmath>
#include <vector>

#include "skeleton/fk.h"
#include "skeleton/skeleton_helpers.h"
#include "support/recording_ui.h"

namespace lw {
namespace {

using test::expectNear;
using test::RecordingUi;

float distance(Vector3 a, Vector3 b) { return vectorLength(a - b); }

// Base at (1, 0, 0) and three unit bones along X (exact rest frames): J1, J2, J3.
struct Chain {
  SceneDocument doc;
  RecordingUi ui;
  Joint* j1 = nullptr;
  Joint* j2 = nullptr;
  Joint* j3 = nullptr;
  Chain() {
    j3 = test::fixedChain(doc, ui, {{1, 0, 0}, {2, 0, 0}, {3, 0, 0}, {4, 0, 0}});
    j2 = j3->parent;
    j1 = j2->parent;
    evaluatePose(doc.skeleton);
  }
};

TEST(Ik, OneSweepTurnsEachAncestorBelowTheBase) {
  Chain c;
  const Vector3 target{2, 2, 0};
  ASSERT_EQ(ikSolve(*c.j3, target), kIkOk);
  // J2 turned first, then J1 pointed the whole end at the target.
  const Vector3 toEnd = c.j3->ikWorkPosition - c.j1->ikWorkPosition;
  const Vector3 toTarget = target - c.j1->ikWorkPosition;
  EXPECT_NEAR(angleBetween(toEnd, toTarget), 0.0, 1e-2);
  EXPECT_NEAR(distance(c.j2->ikWorkPosition, c.j1->ikWorkPosition), 1.0f, 1e-5f);
  EXPECT_NEAR(distance(c.j3->ikWorkPosition, c.j2->ikWorkPosition), 1.0f, 1e-5f);
  EXPECT_EQ(c.j1->ikWorkPosition, (Vector3{2, 0, 0}));  // the base never turns
  EXPECT_EQ(c.j1->ik_Flag, 1);
  EXPECT_EQ(c.j2->ik_Flag, 1);
  EXPECT_EQ(c.j3->ik_Flag, 1);
  EXPECT_EQ(baseJoint(c.doc.skeleton)->ik_Flag, 0);
  // Each bone's IK turn carries its rest bone onto its new bone.
  for (Joint* j : {c.j1, c.j2, c.j3}) {
    expectNear(rotateVector(j->ik_rotationJointQuaternion, j->initPoseBoneVector),
               j->ikWorkPosition - j->parent->ikWorkPosition, 1e-5f);
  }
}

TEST(Ik, AReachableTargetByTheFirstJointIsHitInOneStep) {
  Chain c;
  ASSERT_EQ(ikSolve(*c.j3, {3, 1, 0}), kIkOk);
  expectNear(c.j3->ikWorkPosition, {3, 1, 0});
  EXPECT_EQ(c.j2->ikWorkPosition, (Vector3{3, 0, 0}));
}

TEST(Ik, StopJointTurnsByZeroAndEndsTheSweep) {
  Chain c;
  c.j2->ik_stopFlg = 1;
  ASSERT_EQ(ikSolve(*c.j3, {2, 2, 0}), kIkOk);
  EXPECT_EQ(c.j3->ikWorkPosition, (Vector3{4, 0, 0}));
  EXPECT_EQ(c.j2->ikWorkPosition, (Vector3{3, 0, 0}));
  EXPECT_EQ(c.j2->ik_Flag, 1);
  EXPECT_EQ(c.j3->ik_Flag, 1);
  EXPECT_EQ(c.j1->ik_Flag, 0);
  // The bone pass still covers the joints above the stop joint.
  EXPECT_EQ(c.j1->ik_axisAngle, 0);
}

TEST(Ik, StopJointHigherUpLetsTheJointsBelowItTurn) {
  Chain c;
  c.j1->ik_stopFlg = 1;
  ASSERT_EQ(ikSolve(*c.j3, {3, 1, 0}), kIkOk);
  expectNear(c.j3->ikWorkPosition, {3, 1, 0});
  EXPECT_EQ(c.j1->ik_Flag, 1);
  EXPECT_EQ(c.j1->ikWorkPosition, (Vector3{2, 0, 0}));
}

TEST(Ik, DirectChildOfTheBaseMovesNothing) {
  Chain c;
  ASSERT_EQ(ikSolve(*c.j1, {0, 5, 0}), kIkOk);
  EXPECT_EQ(c.j1->ikWorkPosition, (Vector3{2, 0, 0}));
  EXPECT_EQ(c.j1->ik_Flag, 1);
  EXPECT_EQ(c.j1->ik_axisAngle, 0);
  // Dragging the base joint itself is left alone.
  Joint* base = baseJoint(c.doc.skeleton);
  ASSERT_EQ(ikSolve(*base, {0, 5, 0}), kIkOk);
  EXPECT_EQ(base->ik_Flag, 0);
}

TEST(Ik, TargetOnATurningJointIsAZeroDivision) {
  Chain c;
  EXPECT_EQ(ikSolve(*c.j3, c.j2->ikWorkPosition), kNoAngle);
  EXPECT_EQ(c.j3->ikWorkPosition, (Vector3{4, 0, 0}));
  EXPECT_EQ(c.j3->ik_Flag, 0);
  // Through the drag step the user sees the message.
  EXPECT_EQ(ikDragStep(c.doc.skeleton, c.j3->jointID, {3, 0, 0}, c.ui), kNoAngle);
  ASSERT_EQ(c.ui.messages.size(), 1u);
  EXPECT_EQ(c.ui.messages[0].text, kIkZeroDivisionMessage);
  EXPECT_EQ(c.ui.messages[0].title, "ゼロ除算発生");
  EXPECT_EQ(c.ui.redraws, 1);
  EXPECT_EQ(ikDragStep(c.doc.skeleton, c.j3->jointID, {3, 1, 0}, c.ui), kIkOk);
  EXPECT_EQ(c.ui.messages.size(), 1u);
}

TEST(Ik, ZeroBoneInTheChainFailsTheBoneStep) {
  SceneDocument doc;
  RecordingUi ui;
  Joint* tip = test::fixedChain(doc, ui, {{0, 0, 0}, {1, 0, 0}, {1, 0, 0}, {2, 0, 0}});
  evaluatePose(doc.skeleton);
  EXPECT_EQ(ikSolve(*tip, {1, 1, 0}), kNoAngle);
}

TEST(Ik, TargetStraightBehindTurnsAboutTheDiagonal) {
  SceneDocument doc;
  RecordingUi ui;
  Joint* tip = test::fixedChain(doc, ui, {{1, 0, 0}, {2, 0, 0}, {3, 0, 0}});
  evaluatePose(doc.skeleton);
  ASSERT_EQ(ikSolve(*tip, {-5, 0, 0}), kIkOk);
  // Half a turn of (1, 0, 0) about (-1, -1, -1)/sqrt(3).
  const float third = 1.0f / 3.0f;
  expectNear(tip->ikWorkPosition, {2 - third, 2 * third, 2 * third});
}

// Drags as the 3D window runs them: a sweep per mouse move, a draw between.
TEST(Ik, RepeatedStepsReachAReachableTarget) {
  const Vector3 targets[] = {{2.5f, 1.2f, 0.3f}, {1.2f, 0.5f, 1.1f}, {3.2f, -0.9f, -0.6f}};
  for (Vector3 target : targets) {
    Chain c;
    int steps = 0;
    while (steps < 200 && distance(c.j3->jointDrawPositionAfterPosEnter, target) > 1e-3f) {
      ASSERT_EQ(ikSolve(*c.j3, target), kIkOk);
      evaluatePose(c.doc.skeleton);
      ++steps;
    }
    EXPECT_LT(distance(c.j3->jointDrawPositionAfterPosEnter, target), 1e-3f);
    EXPECT_NEAR(distance(c.j2->jointDrawPositionAfterPosEnter,
                         c.j1->jointDrawPositionAfterPosEnter),
                1.0f, 1e-4f);
  }
}

// Positions of every joint after a draw.
std::vector<Vector3> drawnPositions(const JointSet& set) {
  std::vector<Vector3> out;
  for (const auto& j : set.jointOrder) out.push_back(j->jointDrawPositionAfterPosEnter);
  return out;
}

void expectSamePose(const std::vector<Vector3>& a, const std::vector<Vector3>& b) {
  ASSERT_EQ(a.size(), b.size());
  for (size_t i = 0; i < a.size(); ++i) expectNear(a[i], b[i], 1e-4f);
}

TEST(Ik, BakingIntoFkKeepsEveryBoneDirection) {
  Chain c;
  c.j3->axisVector = {0, 0, 1};
  c.j3->axisAngle = 20;  // an FK angle IK takes over
  evaluatePose(c.doc.skeleton);
  for (int i = 0; i < 5; ++i) {
    ASSERT_EQ(ikSolve(*c.j3, {2.2f, 1.5f, 0.4f}), kIkOk);
    evaluatePose(c.doc.skeleton);
  }
  const std::vector<Vector3> posed = drawnPositions(c.doc.skeleton);
  enterFkMode(c.doc, c.ui);
  for (Joint* j : {c.j1, c.j2, c.j3}) EXPECT_EQ(j->ik_Flag, 0);
  EXPECT_EQ(c.j3->axisAngle, 20);  // the FK angle stays; the bake turn makes up the rest
  evaluatePose(c.doc.skeleton);
  expectSamePose(drawnPositions(c.doc.skeleton), posed);
  // FK goes on from the baked pose.
  fkStep(*c.j3, false);
  evaluatePose(c.doc.skeleton);
  EXPECT_GT(distance(c.j3->jointDrawPositionAfterPosEnter, posed.back()), 1e-3f);
}

TEST(Ik, BakingTheWholePoseReproducesItAndClearsStopJoints) {
  SceneDocument doc;
  RecordingUi ui;
  Joint* tip = test::fixedChain(doc, ui, {{0, 1, 0}, {0.5f, 2, 0.2f}, {1, 2.5f, 0.4f},
                                          {1.5f, 2.2f, 1}, {2, 2, 1.3f}});
  // Joint0_0 gets a side branch so the bake crosses a fork.
  addChildJoint(doc, "Joint0_0", {0.2f, 2.8f, -0.5f}, kNoMirror, ui);
  ASSERT_EQ(fixJointPositions(doc.skeleton), kFixOk);
  Joint& shoulder = test::jointNamed(doc, "Joint0_0");
  shoulder.axisAngle = 35;
  tip->parent->axisAngle = 300;
  evaluatePose(doc.skeleton);
  tip->parent->parent->ik_stopFlg = 1;
  ASSERT_EQ(ikSolve(*tip, {2, 1.5f, 2}), kIkOk);
  evaluatePose(doc.skeleton);
  const std::vector<Vector3> posed = drawnPositions(doc.skeleton);

  bakePoseIntoFk(doc, ui);
  EXPECT_EQ(doc.editMode, RotateFk);
  EXPECT_TRUE(ui.isEnabled(IDM_EQUALISE_BONES));
  for (const auto& j : doc.skeleton.jointOrder) {
    EXPECT_EQ(j->ik_stopFlg, 0);
    EXPECT_EQ(j->ik_Flag, 0);
    EXPECT_EQ(j->axisAngle, 0);
  }
  evaluatePose(doc.skeleton);
  expectSamePose(drawnPositions(doc.skeleton), posed);
}

// Base at the origin, J1..J4 one unit apart along X, J1 turned 30 degrees
// about Z by FK; J2 marked as a stop joint.
TEST(Ik, FkEntryKeepsTheIkPoseAndTheStopJointsFkAngle) {
  struct Case {
    const char* what;
    int ikSteps;
    Vector3 j2;   // where J2 is drawn before and after
  };
  for (const Case& c : {Case{"stop joint never dragged", 0, {1.7320508f, 1, 0}},
                        Case{"IK below a stop joint", 5, {1.7320508f, 1, 0}}}) {
    SCOPED_TRACE(c.what);
    SceneDocument doc;
    RecordingUi ui;
    Joint* j4 = test::fixedChain(doc, ui, {{0, 0, 0}, {1, 0, 0}, {2, 0, 0}, {3, 0, 0}, {4, 0, 0}});
    Joint* j2 = j4->parent->parent;
    Joint* j1 = j2->parent;
    j1->axisVector = {0, 0, 1};
    j1->axisAngle = 30;
    j2->ik_stopFlg = 1;
    j1->ik_stopFlg = c.ikSteps == 0 ? 1 : 0;
    evaluatePose(doc.skeleton);
    for (int i = 0; i < c.ikSteps; ++i) {
      ASSERT_EQ(ikSolve(*j4, {2.5f, 2.5f, 1.2f}), kIkOk);
      evaluatePose(doc.skeleton);
    }
    const std::vector<Vector3> posed = drawnPositions(doc.skeleton);
    expectNear(j2->jointDrawPositionAfterPosEnter, c.j2);
    if (c.ikSteps == 0) expectNear(j4->jointDrawPositionAfterPosEnter, {3.4641016f, 2, 0});
    enterFkMode(doc, ui);
    evaluatePose(doc.skeleton);
    expectSamePose(drawnPositions(doc.skeleton), posed);
    EXPECT_EQ(j1->axisAngle, 30);
  }
}

TEST(Ik, KeyframeBakeLeavesTheAxisOfAnUnmovedBone) {
  SceneDocument doc;
  RecordingUi ui;
  Joint* j2 = test::fixedChain(doc, ui, {{0, 0, 0}, {1, 0, 0}, {2, 0, 0.5f}});
  Joint* j1 = j2->parent;
  j1->axisVector = {0, 0, 1};  // set with the axis tools, never turned
  j2->axisVector = {0, 1, 0};
  j2->axisAngle = 40;
  evaluatePose(doc.skeleton);
  bakePoseIntoFk(doc, ui);
  EXPECT_EQ(j1->axisVector, (Vector3{0, 0, 1}));
  // The turned bone takes the axis of its turn: the same line as before.
  expectNear(j2->axisVector, {0, 1, 0});
  // A later quarter turn of J1 keeps its bone in the XY plane.
  j1->axisAngle = 90;
  evaluatePose(doc.skeleton);
  expectNear(j1->drawBoneVector, {0, 1, 0});
}

}  // namespace
}  // namespace lw
