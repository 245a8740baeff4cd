// The operations the 3D window's clicks and drags run on a real skeleton.
#include <gtest/gtest.h>

#include <cstdint>
#include <memory>
#include <utility>
#include <vector>

#include "core/command_ids.h"
#include "edit/view_input.h"
#include "edit/view_input_fake.h"
#include "skeleton/axes.h"
#include "skeleton/fk.h"
#include "skeleton/placement.h"
#include "skeleton/skeleton_helpers.h"

namespace lw {
namespace {

using test::expectNear;
using test::jointNamed;
using test::ViewRig;

// Base (1, 0, 0) and unit bones along X: ids 1, 2, 3, 4; fixed and posed.
void fixedLine(ViewRig& r) {
  test::fixedChain(r.doc, r.ui, {{1, 0, 0}, {2, 0, 0}, {3, 0, 0}, {4, 0, 0}});
  evaluatePose(r.doc.skeleton);
}

TEST(ViewInputOps, HoverOverNothingInFkModeAndAPressDoesNothing) {
  ViewRig r;
  fixedLine(r);
  r.doc.editMode = RotateFk;
  r.move(10, 10);
  r.paintMiss();
  EXPECT_EQ(r.doc.editMode, RotateFk);
  EXPECT_EQ(r.doc.selectedJoint, -1);
  r.down(10, 10);
  EXPECT_EQ(r.doc.editMode, RotateFk);
  EXPECT_EQ(r.state.dragActive, 0);
  EXPECT_EQ(r.host.captures, 0);
  EXPECT_EQ(r.state.pressedPick, -1);
}

TEST(ViewInputOps, FkDragOf400PixelsRightTurnsForty) {
  ViewRig r;
  fixedLine(r);
  r.doc.editMode = RotateFk;
  r.hover(100, 50, 3);
  r.down(100, 50);
  EXPECT_EQ(r.doc.editMode, 20);
  EXPECT_EQ(r.doc.editedJointName, "Joint0_0_0");
  EXPECT_EQ(r.state.pressedPick, 3);
  EXPECT_EQ(r.host.captures, 1);
  Joint& joint = jointNamed(r.doc, "Joint0_0_0");
  for (int16_t x = 101; x <= 500; ++x) {
    r.move(x, 50);
    if (x == 460) {
      EXPECT_EQ(joint.axisAngle, 360.0f);  // 360 itself stays
    }
  }
  EXPECT_EQ(joint.axisAngle, 40.0f);
  r.move(500, 90);  // unchanged x counts as rightward
  EXPECT_EQ(joint.axisAngle, 41.0f);
  r.move(499, 90);
  EXPECT_EQ(joint.axisAngle, 40.0f);
  r.up();
  EXPECT_EQ(r.doc.editMode, RotateFk);
  EXPECT_EQ(r.host.releases, 1);
  r.move(400, 90);  // after the release a move only arms the next pick
  EXPECT_EQ(joint.axisAngle, 40.0f);
  EXPECT_EQ(r.doc.editMode, 19);
}

TEST(ViewInputOps, BaseJointGoesToTheProbedDepthOrTo0888OverEmptySpace) {
  ViewRig r;
  r.doc.editMode = PlaceRootJoint;
  r.host.nextProbe = PickResult{true, 0, -1, 0};
  r.down(120, 80);
  ASSERT_EQ(r.host.probes.size(), 1u);
  Joint& base = jointNamed(r.doc, "Joint0");
  EXPECT_FLOAT_EQ(base.jointWorldPosition.z, 0.888f);
  EXPECT_FLOAT_EQ(base.jointWorldPosition.x, 1.2f);
  EXPECT_FLOAT_EQ(base.jointWorldPosition.y, 0.8f);
  EXPECT_EQ(r.doc.editMode, PlaceRootJoint);

  r.host.nextProbe = PickResult{true, 1, -1, 0.25f};  // a surface under the cursor
  r.down(120, 80);
  EXPECT_FLOAT_EQ(base.jointWorldPosition.z, 0.25f);
  r.host.nextProbe = PickResult{true, -1, -1, 0.5f};  // overflow keeps the depth
  r.down(120, 80);
  EXPECT_FLOAT_EQ(base.jointWorldPosition.z, 0.25f);
  EXPECT_EQ(r.doc.skeleton.size(), 1u);
}

TEST(ViewInputOps, FailedPlacementPointPlacesNothingAndSaysWhy) {
  ViewRig r;
  r.doc.editMode = PlaceRootJoint;
  r.host.worldFails = true;
  r.down(1, 1);
  EXPECT_TRUE(r.doc.skeleton.empty());
  ASSERT_EQ(r.ui.messages.size(), 1u);
  EXPECT_EQ(r.ui.messages[0].text, "ウインドウ座標をワールド座標変換できません");
  EXPECT_EQ(r.ui.messages[0].title, "エラー");
  EXPECT_TRUE(r.doc.ErrorText.empty());

  ViewRig d;  // a probe that cannot draw closes the window
  d.doc.editMode = PlaceRootJoint;
  d.host.nextProbe.drawOk = false;
  d.down(1, 1);
  EXPECT_TRUE(d.doc.skeleton.empty());
  EXPECT_EQ(d.host.closes, 1);
  EXPECT_TRUE(d.host.worldDepths.empty());
}

TEST(ViewInputOps, ChildPlacementTakesTheClickedParentThenTheProbedPoint) {
  ViewRig r;
  placeBaseJoint(r.doc, {0, 0, 0}, r.ui);
  r.doc.mirrorPlane = kMirrorYZ;
  r.doc.editMode = PlaceChildJoint;
  r.hover(5, 5, 1);
  EXPECT_EQ(r.doc.editMode, 11);
  r.down(5, 5);
  EXPECT_EQ(r.doc.editMode, 12);
  EXPECT_EQ(r.doc.parentJointName, "Joint0");
  r.host.nextProbe = PickResult{true, 0, -1, 0};
  r.down(100, 200);
  EXPECT_EQ(r.doc.editMode, PlaceChildJoint);
  expectNear(jointNamed(r.doc, "Joint0_0").jointWorldPosition, {1, 2, 0.888f});
  expectNear(jointNamed(r.doc, "Joint0_1").jointWorldPosition, {-1, 2, 0.888f});
}

TEST(ViewInputOps, MovingAJointFollowsTheCursorAtItsPickedDepth) {
  ViewRig r;
  placeBaseJoint(r.doc, {0, 0, 0}, r.ui);
  addChildJoint(r.doc, "Joint0", {1, 1, 1}, kNoMirror, r.ui);
  r.doc.editMode = MoveChildJoint;
  r.down(10, 10);
  r.paintHit(2, 0.3f);
  r.move(250, 50);
  expectNear(jointNamed(r.doc, "Joint0_0").jointWorldPosition, {2.5f, 0.5f, 0.3f});
  r.up();
  EXPECT_EQ(r.doc.editMode, MoveChildJoint);
}

TEST(ViewInputOps, IkDragSolvesTowardsTheCursorAndReportsZeroDivision) {
  ViewRig r;
  fixedLine(r);
  r.doc.editMode = RotateIk;
  r.hover(0, 0, 4, 0.0f);
  EXPECT_EQ(r.doc.editMode, 34);
  r.down(0, 0);
  EXPECT_EQ(r.doc.editMode, 35);
  EXPECT_EQ(r.state.dragTarget, kNoDirectionVector);
  EXPECT_EQ(r.doc.editedJointName, "Joint0_0_0_0");
  r.move(300, 100);  // world point (3, 1, 0)
  Joint& end = jointNamed(r.doc, "Joint0_0_0_0");
  expectNear(end.ikWorkPosition, {3, 1, 0});
  EXPECT_EQ(end.ik_Flag, 1);
  EXPECT_TRUE(r.ui.messages.empty());

  ViewRig z;
  fixedLine(z);
  z.doc.editMode = RotateIk;
  z.hover(0, 0, 4, 0.0f);
  z.down(0, 0);
  z.move(300, 0);  // onto the end joint's parent
  ASSERT_EQ(z.ui.messages.size(), 1u);
  EXPECT_EQ(z.ui.messages[0].text, "IK計算中にゼロ除算が発生しました　エラーコード：ERRCODE_BUNBO");
  EXPECT_EQ(z.ui.messages[0].title, "ゼロ除算発生");
}

TEST(ViewInputOps, AxisDragReducesTheHandleNameAndAppliesThePreset) {
  ViewRig r;
  fixedLine(r);
  r.doc.axisPreset = kAxisAlongY;
  r.doc.editMode = EditFkAxis;
  r.doc.axisReversed = 1;
  Joint& joint = jointNamed(r.doc, "Joint0_0");
  joint.axisAngle = 30;
  r.hover(0, 0, 10002, 0.6f);
  EXPECT_FLOAT_EQ(r.state.pickDepth, 0.6f);
  r.down(0, 0);
  EXPECT_EQ(r.doc.editMode, 31);
  EXPECT_EQ(r.state.pressedPick, 2);
  r.move(7, 7);
  EXPECT_EQ(joint.axisVector, (Vector3{0, -1, 0}));
  EXPECT_EQ(joint.axisAngle, 0.0f);
  EXPECT_FLOAT_EQ(r.state.dragTarget.z, 0.6f);
}

TEST(ViewInputOps, EqualisingIgnoresTheSameJointAndCopiesTheLength) {
  ViewRig r;
  test::fixedChain(r.doc, r.ui, {{1, 0, 0}, {4, 4, 0}, {5, 4, 0}});
  r.doc.editMode = EqualiseBoneLengths;
  r.hover(0, 0, 2);
  r.down(0, 0);
  EXPECT_EQ(r.doc.editMode, 42);
  EXPECT_EQ(r.state.pressedPick, 2);
  EXPECT_EQ(r.host.captures, 1);
  r.up();
  EXPECT_EQ(r.host.releases, 1);
  const Vector3 before = jointNamed(r.doc, "Joint0_0_0").initPoseBoneVector;
  r.hover(0, 0, 2);  // the same joint again: nothing
  EXPECT_EQ(r.doc.editMode, 44);
  r.down(0, 0);
  EXPECT_EQ(r.doc.editMode, 44);
  EXPECT_EQ(jointNamed(r.doc, "Joint0_0").initPoseBoneVector, (Vector3{3, 4, 0}));
  r.hover(0, 0, 3);
  r.down(0, 0);
  EXPECT_EQ(r.doc.editMode, EqualiseBoneLengths);
  const Vector3 after = jointNamed(r.doc, "Joint0_0_0").initPoseBoneVector;
  EXPECT_NEAR(vectorLength(after), 5.0f, 1e-5f);
  expectNear(after, {before.x * 5, before.y * 5, before.z * 5});
}

TEST(ViewInputOps, MirroringTakesTheFirstJointAsTheSource) {
  ViewRig r;
  placeBaseJoint(r.doc, {0, 0, 0}, r.ui);
  addChildJoint(r.doc, "Joint0", {1, 2, 3}, kNoMirror, r.ui);
  addChildJoint(r.doc, "Joint0", {5, 5, 5}, kNoMirror, r.ui);
  r.doc.editMode = MirrorJoint;
  r.doc.mirrorPlane = kMirrorYZ;
  r.hover(0, 0, 2);
  r.down(0, 0);
  EXPECT_EQ(r.doc.editMode, 73);
  EXPECT_EQ(r.state.pressedPick, 2);
  EXPECT_EQ(r.doc.selectedJoint, -1);
  r.hover(0, 0, 3);
  r.down(0, 0);
  EXPECT_EQ(jointNamed(r.doc, "Joint0_1").jointWorldPosition, (Vector3{-1, 2, 3}));
  EXPECT_EQ(r.doc.editMode, MirrorJoint);
  EXPECT_EQ(r.doc.selectedJoint, -1);
}

TEST(ViewInputOps, DeletingAndNamingActOnThePickedJoint) {
  ViewRig r;
  placeBaseJoint(r.doc, {0, 0, 0}, r.ui);
  addChildJoint(r.doc, "Joint0", {1, 0, 0}, kNoMirror, r.ui);
  addChildJoint(r.doc, "Joint0", {2, 0, 0}, kNoMirror, r.ui);
  r.doc.editMode = NameJoint;
  r.host.nameTyped = "右腕";
  r.hover(0, 0, 3);
  r.down(0, 0);
  EXPECT_EQ(r.doc.editedJointName, "Joint0_1");
  EXPECT_EQ(jointNamed(r.doc, "Joint0_1").TreeName, "右腕");
  EXPECT_EQ(r.doc.editMode, NameJoint);
  const int deletes = r.ui.treeDeletes;
  r.host.acceptName = false;
  r.hover(0, 0, 2);
  r.down(0, 0);
  EXPECT_EQ(jointNamed(r.doc, "Joint0_0").TreeName, "Joint0_0");
  EXPECT_EQ(r.ui.treeDeletes, deletes);  // Cancel leaves the tree alone

  r.doc.editMode = DeleteChildJoint;
  r.hover(0, 0, 2);
  r.down(0, 0);
  EXPECT_EQ(findJoint(r.doc.skeleton, "Joint0_0"), nullptr);
  EXPECT_EQ(r.doc.editMode, DeleteChildJoint);
  EXPECT_EQ(r.doc.selectedJoint, -1);
  EXPECT_EQ(r.state.pressedPick, -1);
}

TEST(ViewInputOps, StopJointDialogOpensForThePickedJoint) {
  ViewRig r;
  fixedLine(r);
  r.doc.editMode = StopIk;
  r.hover(0, 0, 3);
  r.down(0, 0);
  EXPECT_EQ(r.host.ikStopDialogs, 1);
  EXPECT_EQ(r.doc.editedJointName, "Joint0_0_0");
  EXPECT_EQ(r.doc.editMode, 48);
}

TEST(ViewInputOps, RootMoveNudgesTheBaseBySignOfTheMove) {
  ViewRig r;
  fixedLine(r);
  r.doc.editMode = MoveRootJoint;
  r.doc.rootMoveAxis = 1;
  r.hover(50, 0, 1);
  r.state.prevX = 300;  // where an earlier drag ended; the press starts afresh
  r.down(50, 0);
  EXPECT_EQ(r.doc.editMode, 663);
  r.move(60, 0);
  r.move(60, 0);
  r.move(40, 0);
  Joint& base = jointNamed(r.doc, "Joint0");
  EXPECT_FLOAT_EQ(base.initPoseBoneVector.y, 0.02f);
  EXPECT_FLOAT_EQ(r.doc.rootMoveOffset.y, 0.02f);
  EXPECT_EQ(r.doc.backupBasicBoneVec, (Vector3{1, 0, 0}));
  r.up();
  EXPECT_EQ(r.doc.editMode, MoveRootJoint);
}

TEST(ViewInputOps, WeightingBoxPlacementFaceDragAndVertexPicks) {
  ViewRig r;
  r.doc.editMode = PlaceWeightBox;
  r.doc.selectedJoint = 0;
  r.host.nextProbe = PickResult{true, 0, -1, 0};
  r.down(100, 300);
  const auto& c = r.doc.weightBox.corners;  // the cube around (1, 3, 0.888), corner 0 x+ y+ z-
  EXPECT_DOUBLE_EQ(c[0][0], 1.5);
  EXPECT_DOUBLE_EQ(c[0][1], 3.5);
  EXPECT_NEAR(c[0][2], 0.888 - 0.5, 1e-6);
  EXPECT_EQ(r.doc.weightBoxShown, 1);
  EXPECT_TRUE(r.ui.isChecked(IDM_SHOW_WEIGHT_BOX));
  EXPECT_EQ(r.doc.editMode, PlaceWeightBox);
  EXPECT_EQ(r.state.pressedPick, 0);  // the faces are named 100 ... 600

  r.doc.editMode = MoveWeightBoxFace;
  r.down(20, 0);
  r.paintHit(boxFacePickName(0, kBoxFaceXPlus));
  std::vector<double> xs;  // x of the x+ face after each step
  for (int16_t x : {25, 15, 20}) {
    r.move(x, 0);
    xs.push_back(c[5][0]);
  }
  // Each step is measured from where the drag began, not from the last move.
  EXPECT_NEAR(xs[0], 1.52, 1e-12);
  EXPECT_NEAR(xs[1], 1.50, 1e-12);
  EXPECT_NEAR(xs[2], 1.52, 1e-12);
  EXPECT_DOUBLE_EQ(c[1][0], 0.5);  // the x- face stays
  r.up();
  EXPECT_EQ(r.doc.editMode, MoveWeightBoxFace);

  r.doc.skinBuffers = std::make_unique<SkinBuffers>();
  r.doc.skinBuffers->parts.resize(2);
  r.doc.skinBuffers->parts[0].skinPositions.resize(6);
  r.doc.skinBuffers->parts[1].skinPositions.resize(3);
  r.doc.editMode = WeightByVertex;
  r.hover(0, 0, 1007);
  r.down(0, 0);
  EXPECT_EQ(r.doc.vertexSelection, (VertexSelection{{1, 1}}));
}

TEST(ViewInputOps, BoxFaceNamesAndDragSteps) {
  constexpr int32_t kBase = 7;
  EXPECT_EQ(boxFacePickName(kBase, kBoxFaceZMinus), kBase + 100);
  EXPECT_EQ(boxFacePickName(kBase, kBoxFaceYMinus), kBase + 600);
  // A face drag starts on any name 100 ... 600 above the base, bounds included.
  for (const auto& [name, isFace] : {std::pair{kBase + 99, false},
                                     {kBase + 100, true},
                                     {kBase + 150, true},
                                     {kBase + 600, true},
                                     {kBase + 601, false},
                                     {kBase - 100, false}}) {
    EXPECT_EQ(isBoxFacePickName(name, kBase), isFace) << name;
  }
  EXPECT_FALSE(isBoxFacePickName(INT32_MIN, INT32_MAX));  // no overflow in the offset
  EXPECT_FALSE(isBoxFacePickName(INT32_MAX, INT32_MIN));
  EXPECT_EQ(boxFaceDragStep(10, 9), 0.02);
  EXPECT_EQ(boxFaceDragStep(10, 10), 0.02);
  EXPECT_EQ(boxFaceDragStep(9, 10), -0.02);
}

}  // namespace
}  // namespace lw
