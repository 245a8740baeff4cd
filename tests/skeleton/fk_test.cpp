#include "skeleton/fk.h"
#include "core/command_ids.h"

#include <gtest/gtest.h>

#include <random>

#include "skeleton/skeleton_helpers.h"
#include "support/recording_ui.h"

namespace lw {
namespace {

using test::expectNear;
using test::RecordingUi;

TEST(Fk, AllAnglesZeroReproduceTheRestPoseOnRandomTrees) {
  std::mt19937 rng(11);
  std::uniform_real_distribution<float> coord(-3.0f, 3.0f);
  for (int round = 0; round < 20; ++round) {
    SceneDocument doc;
    RecordingUi ui;
    placeBaseJoint(doc, {coord(rng), coord(rng), coord(rng)}, ui);
    for (int i = 0; i < 20; ++i) {
      const Joint& parent = *doc.skeleton.jointOrder[rng() % doc.skeleton.size()];
      addChildJoint(doc, parent.jointName, {coord(rng), coord(rng), coord(rng)}, kNoMirror, ui);
    }
    ASSERT_EQ(fixJointPositions(doc.skeleton), kFixOk);
    evaluatePose(doc.skeleton);
    for (const auto& j : doc.skeleton.jointOrder) {
      expectNear(j->jointDrawPositionAfterPosEnter, j->jointWorldPosition, 1e-4f);
      EXPECT_EQ(j->ikWorkPosition, j->jointDrawPositionAfterPosEnter);
      EXPECT_EQ(j->ik_jointDrawPosition, j->jointDrawPositionAfterPosEnter);
      if (j->parent) {
        EXPECT_EQ(j->drawBoneVector, j->initPoseBoneVector) << j->jointName;
      }
    }
  }
}

TEST(Fk, TurningAJointSwingsItsBoneAndCarriesItsChildren) {
  SceneDocument doc;
  RecordingUi ui;
  Joint* tip = test::fixedChain(doc, ui, {{0, 0, 0}, {1, 0, 0}, {2, 0, 0}});
  Joint* mid = tip->parent;
  mid->axisVector = {0, 0, 1};
  mid->axisAngle = 90;
  evaluatePose(doc.skeleton);
  expectNear(mid->drawBoneVector, {0, 1, 0});
  expectNear(mid->jointDrawPositionAfterPosEnter, {0, 1, 0});
  expectNear(tip->drawBoneVector, {0, 1, 0});
  expectNear(tip->jointDrawPositionAfterPosEnter, {0, 2, 0});
  EXPECT_EQ(tip->accumulatedRotation,
            quaternionMultiply(tip->rotationJointQuaternion, mid->accumulatedRotation));
  // The child's own turn comes on top, about its own (turned) axis.
  tip->axisVector = {0, 0, 1};
  tip->axisAngle = 90;
  evaluatePose(doc.skeleton);
  expectNear(tip->drawBoneVector, {-1, 0, 0});
  expectNear(tip->jointDrawPositionAfterPosEnter, {-1, 1, 0});
  expectNear(tip->drawAxisVector, {0, 0, 1});
}

TEST(Fk, BaseRotationComesFromItsStoredQuaternion) {
  SceneDocument doc;
  RecordingUi ui;
  Joint* tip = test::fixedChain(doc, ui, {{0, 1, 0}, {1, 1, 0}});
  Joint* base = tip->parent;
  base->rotationJointQuaternion = axisAngleToQuaternion({0, 0, 1}, 90);
  evaluatePose(doc.skeleton);
  EXPECT_EQ(base->accumulatedRotation, base->rotationJointQuaternion);
  expectNear(tip->drawBoneVector, {0, 1, 0});
  // The base itself stays at its rest bone.
  EXPECT_EQ(base->jointDrawPositionAfterPosEnter, base->initPoseBoneVector);
}

TEST(Fk, AxisWithoutDirectionTurnsAboutTheDiagonal) {
  SceneDocument doc;
  RecordingUi ui;
  Joint* tip = test::fixedChain(doc, ui, {{1, 0, 0}, {2, 0, 0}});
  tip->axisVector = kNoDirectionVector;
  tip->axisAngle = 120;
  evaluatePose(doc.skeleton);
  // A third of a turn about -(1, 1, 1) carries X onto Z.
  expectNear(tip->drawBoneVector, {0, 0, 1});
}

TEST(Fk, StepsWrapIntoZeroTo360) {
  Joint j;
  j.axisAngle = 359;
  fkStep(j, false);
  EXPECT_EQ(j.axisAngle, 360);
  fkStep(j, false);
  EXPECT_EQ(j.axisAngle, 1);
  fkStep(j, true);
  EXPECT_EQ(j.axisAngle, 0);
  fkStep(j, true);
  EXPECT_EQ(j.axisAngle, 359);
  j.axisAngle = 0;
  for (int i = 0; i < 400; ++i) fkStep(j, false);
  EXPECT_EQ(j.axisAngle, 40);
}

TEST(Fk, IkOwnedJointsKeepTheirTurnAndDrawFromTheIkBone) {
  SceneDocument doc;
  RecordingUi ui;
  Joint* tip = test::fixedChain(doc, ui, {{0, 0, 0}, {1, 0, 0}, {2, 0, 0}});
  Joint* mid = tip->parent;
  evaluatePose(doc.skeleton);
  const Quaternion before = mid->drawRotationJointQuaternion;
  mid->ik_Flag = 1;
  mid->axisAngle = 45;
  mid->ik_rotationJointQuaternion = axisAngleToQuaternion({0, 0, 1}, 90);
  evaluatePose(doc.skeleton);
  EXPECT_EQ(mid->drawRotationJointQuaternion, before);
  expectNear(mid->ik_jointDrawPosition, {0, 1, 0});
  EXPECT_EQ(mid->jointDrawPositionAfterPosEnter, mid->ik_jointDrawPosition);
  EXPECT_EQ(mid->ikWorkPosition, mid->ik_jointDrawPosition);
  // A free child hangs its own bone from the IK position.
  expectNear(tip->jointDrawPositionAfterPosEnter, {1, 1, 0});
}

TEST(Fk, ResetClearsAnglesAndIkTurnsButKeepsAxesAndBones) {
  SceneDocument doc;
  RecordingUi ui;
  Joint* tip = test::fixedChain(doc, ui, {{0, 0, 0}, {1, 0, 0}, {2, 0, 0}});
  tip->axisVector = {0, 1, 0};
  tip->axisAngle = 30;
  tip->parent->ik_Flag = 1;
  tip->parent->convertIKtoFK_rotationJointQuaternion = axisAngleToQuaternion({0, 0, 1}, 10);
  const Vector3 bone = tip->initPoseBoneVector;
  resetAllRotations(doc.skeleton, ui);
  EXPECT_EQ(tip->axisAngle, 0);
  EXPECT_EQ(tip->parent->ik_Flag, 0);
  EXPECT_EQ(tip->parent->convertIKtoFK_rotationJointQuaternion, kIdentityQuaternion);
  EXPECT_EQ(tip->axisVector, (Vector3{0, 1, 0}));
  EXPECT_EQ(tip->initPoseBoneVector, bone);
  EXPECT_EQ(ui.redraws, 1);
  evaluatePose(doc.skeleton);
  expectNear(tip->jointDrawPositionAfterPosEnter, {2, 0, 0});
}

TEST(Fk, EnteringFkModeBakesAndArmsTheFkDrag) {
  SceneDocument doc;
  RecordingUi ui;
  Joint* tip = test::fixedChain(doc, ui, {{0, 0, 0}, {1, 0, 0}, {2, 0, 0}});
  evaluatePose(doc.skeleton);
  doc.pointPickView = 1;
  tip->ik_Flag = 1;
  enterFkMode(doc, ui);
  EXPECT_EQ(doc.editMode, RotateFk);
  EXPECT_EQ(doc.pointPickView, 0);
  EXPECT_EQ(tip->ik_Flag, 0);
  EXPECT_TRUE(ui.isEnabled(IDM_EQUALISE_BONES));
  EXPECT_EQ(ui.redraws, 1);
}

}  // namespace
}  // namespace lw
