#include "skeleton/axes.h"

#include <gtest/gtest.h>

#include <cmath>

#include "skeleton/fk.h"
#include "skeleton/skeleton_helpers.h"
#include "support/recording_ui.h"

namespace lw {
namespace {

using test::expectNear;
using test::RecordingUi;

struct AxisRig {
  SceneDocument doc;
  RecordingUi ui;
  Joint* tip = nullptr;
  AxisRig() {
    tip = test::fixedChain(doc, ui, {{0, 0, 0}, {1, 0, 0}, {2, 0, 0}});
    evaluatePose(doc.skeleton);
    tip->axisAngle = 50;
  }
};

TEST(Axes, PresetsSnapTheAxisAndCancelTheAngle) {
  AxisRig r;
  r.doc.axisPreset = kAxisAlongY;
  r.doc.axisReversed = 1;
  Vector3 target{7, -3, 2};
  // The handle's pick name carries the joint ID plus 10000.
  ASSERT_TRUE(axisDragStep(r.doc, r.tip->jointID + 10000, target, r.ui));
  EXPECT_EQ(r.tip->axisVector, (Vector3{0, -1, 0}));
  EXPECT_EQ(r.tip->axisAngle, 0);
  EXPECT_EQ(target, (Vector3{7, -3, 2}));
  EXPECT_EQ(r.ui.redraws, 1);

  r.doc.axisReversed = 0;
  r.doc.axisPreset = kAxisAlongX;
  axisDragStep(r.doc, r.tip->jointID, target, r.ui);
  EXPECT_EQ(r.tip->axisVector, (Vector3{1, 0, 0}));
  r.doc.axisPreset = kAxisAlongZ;
  axisDragStep(r.doc, r.tip->jointID, target, r.ui);
  EXPECT_EQ(r.tip->axisVector, (Vector3{0, 0, 1}));
}

TEST(Axes, FreeDragPointsTheAxisAtTheCursor) {
  AxisRig r;
  r.doc.axisPreset = kAxisFree;
  r.tip->axisVector = {0, 2, 0};
  const Vector3 at = r.tip->jointDrawPositionAfterPosEnter;
  Vector3 target = at + Vector3{0, 0, 5};
  ASSERT_TRUE(axisDragStep(r.doc, r.tip->jointID, target, r.ui));
  EXPECT_EQ(target, (Vector3{0, 0, 5}));  // the drag keeps the offset from the joint
  expectNear(r.tip->axisVector, {0, 0, 2});
  EXPECT_EQ(r.tip->axisAngle, 0);
}

TEST(Axes, FreeDragAlongOrOntoTheJointLeavesTheAxis) {
  AxisRig r;
  r.doc.axisPreset = kAxisFree;
  r.tip->axisVector = {0, 1, 0};
  const Vector3 at = r.tip->jointDrawPositionAfterPosEnter;
  Vector3 along = at + Vector3{0, 3, 0};
  axisDragStep(r.doc, r.tip->jointID, along, r.ui);
  EXPECT_EQ(r.tip->axisVector, (Vector3{0, 1, 0}));
  Vector3 onto = at;
  r.tip->axisAngle = 10;
  ASSERT_TRUE(axisDragStep(r.doc, r.tip->jointID, onto, r.ui));
  EXPECT_EQ(r.tip->axisVector, (Vector3{0, 1, 0}));
  EXPECT_EQ(r.tip->axisAngle, 0);
}

TEST(Axes, UnknownHandleChangesNothing) {
  AxisRig r;
  Vector3 target{1, 1, 1};
  EXPECT_FALSE(axisDragStep(r.doc, 10099, target, r.ui));
  EXPECT_EQ(r.tip->axisAngle, 50);
  EXPECT_EQ(r.ui.redraws, 0);
}

TEST(Axes, EqualisingGivesTheTargetTheSourceLengthInItsOwnDirection) {
  SceneDocument doc;
  RecordingUi ui;
  // Source bone (3, 4, 0) from (1, 0, 0); target bone along (0, 1, 1).
  Joint* source = test::fixedChain(doc, ui, {{1, 0, 0}, {4, 4, 0}});
  Joint* target = addChildJoint(doc, "Joint0", {1, 1, 1}, kNoMirror, ui);
  Joint* after = addChildJoint(doc, target->jointName, {1, 2, 2}, kNoMirror, ui);
  ASSERT_EQ(fixJointPositions(doc.skeleton), kFixOk);
  ASSERT_TRUE(equaliseBoneLength(doc, source->jointID, target->jointID, ui));
  const float h = 5.0f / std::sqrt(2.0f);
  expectNear(target->initPoseBoneVector, {0, h, h}, 1e-5f);
  EXPECT_EQ(doc.editMode, EqualiseBoneLengths);
  EXPECT_EQ(ui.redraws, 1);
  // The target's children ride along at the next evaluation.
  evaluatePose(doc.skeleton);
  expectNear(after->jointDrawPositionAfterPosEnter, Vector3{1, h + 1, h + 1}, 1e-5f);
  // The same joint twice, or an unknown one, is refused.
  const Vector3 bone = target->initPoseBoneVector;
  EXPECT_FALSE(equaliseBoneLength(doc, target->jointID, target->jointID, ui));
  EXPECT_FALSE(equaliseBoneLength(doc, 99, target->jointID, ui));
  EXPECT_EQ(target->initPoseBoneVector, bone);
}

}  // namespace
}  // namespace lw
