#include "skeleton/fixing.h"
#include "core/command_ids.h"

#include <gtest/gtest.h>

#include <random>

#include "skeleton/skeleton_helpers.h"
#include "support/recording_ui.h"

namespace lw {
namespace {

using test::expectNear;
using test::RecordingUi;
using namespace std::string_literals;

TEST(Fixing, BaseFrameIsMeasuredFromTheOrigin) {
  SceneDocument doc;
  RecordingUi ui;
  test::fixedChain(doc, ui, {{0, 2, 0}});
  const Joint& base = *baseJoint(doc.skeleton);
  EXPECT_EQ(base.position, (Vector3{0, 2, 0}));
  EXPECT_EQ(base.xVector, (Vector3{0, 2, 0}));
  EXPECT_EQ(base.parent_xVector, (Vector3{1, 0, 0}));
  EXPECT_EQ(base.parent_yVector, (Vector3{0, 1, 0}));
  EXPECT_EQ(base.axisVector, (Vector3{-1, 0, 0}));
  EXPECT_EQ(base.convertWorldToJointCoodQuaternion, base.pTOc_Quaternion);
  expectNear(base.initPoseBoneVector, {0, 2, 0});
}

TEST(Fixing, ChildFrameFollowsItsParent) {
  SceneDocument doc;
  RecordingUi ui;
  Joint* tip = test::fixedChain(doc, ui, {{1, 0, 0}, {1, 1, 0}});
  const Joint& base = *baseJoint(doc.skeleton);
  // The base bone lies along X: no turn at all.
  EXPECT_EQ(base.pTOc_Quaternion, kIdentityQuaternion);
  EXPECT_EQ(tip->position, base.initPoseBoneVector);
  EXPECT_EQ(tip->xVector, (Vector3{0, 1, 0}));
  EXPECT_EQ(tip->yVector, (Vector3{-1, 0, 0}));
  EXPECT_EQ(tip->axisVector, (Vector3{-1, 0, 0}));
  EXPECT_EQ(tip->parent_xVector, (Vector3{1, 0, 0}));
  // A quarter turn about Z carries the parent's X onto the bone.
  const Quaternion expected = axisAngleToQuaternion({0, 0, 1}, 90);
  EXPECT_NEAR(tip->pTOc_Quaternion.w, expected.w, 1e-6);
  EXPECT_NEAR(tip->pTOc_Quaternion.z, expected.z, 1e-6);
  expectNear(tip->initPoseBoneVector, {0, 1, 0});
}

TEST(Fixing, ZeroBoneHasNoAxisAndFixesWithoutAMessage) {
  SceneDocument doc;
  RecordingUi ui;
  placeChain(doc, ui, {{1, 0, 0}, {1, 1, 0}, {1, 1, 0}, {1, 2, 0}});
  ASSERT_EQ(fixJointPositionsCommand(doc, ui), kFixOk);
  EXPECT_TRUE(ui.messages.empty());
  const Joint& zero = test::jointNamed(doc, "Joint0_0_0");
  EXPECT_EQ(zero.xVector, (Vector3{0, 0, 0}));
  EXPECT_TRUE(isNoDirection(zero.axisVector));
  EXPECT_EQ(zero.initPoseBoneVector, (Vector3{0, 0, 0}));
  // The joint after the zero bone still gets its own bone.
  expectNear(test::jointNamed(doc, "Joint0_0_0_0").initPoseBoneVector, {0, 1, 0});
}

TEST(Fixing, BoneAlongTheParentXKeepsTheIdentityTurn) {
  SceneDocument doc;
  RecordingUi ui;
  // Unit bones along X match the parent's X exactly; the longer one is aligned
  // by a turn that comes out as the identity too.
  placeChain(doc, ui, {{1, 0, 0}, {2, 0, 0}, {4, 0, 0}});
  ASSERT_EQ(fixJointPositions(doc.skeleton), kFixOk);
  for (const auto& j : doc.skeleton.jointOrder) {
    EXPECT_EQ(j->pTOc_Quaternion, kIdentityQuaternion) << j->jointName;
    EXPECT_EQ(j->convertWorldToJointCoodQuaternion, kIdentityQuaternion) << j->jointName;
  }
  EXPECT_EQ(test::jointNamed(doc, "Joint0_0_0").initPoseBoneVector, (Vector3{2, 0, 0}));
}

TEST(Fixing, BoneAlongZHasNoAxisButKeepsItsBone) {
  SceneDocument doc;
  RecordingUi ui;
  Joint* tip = test::fixedChain(doc, ui, {{1, 0, 0}, {1, 0, 2}});
  EXPECT_TRUE(isNoDirection(tip->axisVector));
  expectNear(tip->initPoseBoneVector, {0, 0, 2});
}

// Any placement: the rest bone is the placed bone, and each joint's position is
// its parent's rest bone.
TEST(Fixing, RestBonesReproduceThePlacedBonesOnRandomTrees) {
  std::mt19937 rng(7);
  std::uniform_real_distribution<float> coord(-2.0f, 2.0f);
  for (int round = 0; round < 20; ++round) {
    SceneDocument doc;
    RecordingUi ui;
    placeBaseJoint(doc, {coord(rng), coord(rng), coord(rng)}, ui);
    for (int i = 0; i < 15; ++i) {
      const Joint& parent = *doc.skeleton.jointOrder[rng() % doc.skeleton.size()];
      addChildJoint(doc, parent.jointName, {coord(rng), coord(rng), coord(rng)}, kNoMirror, ui);
    }
    ASSERT_EQ(fixJointPositions(doc.skeleton), kFixOk);
    for (const auto& j : doc.skeleton.jointOrder) {
      expectNear(j->initPoseBoneVector, j->xVector, 1e-4f);
      if (j->parent) {
        EXPECT_EQ(j->position, j->parent->initPoseBoneVector);
      }
    }
  }
}

TEST(Fixing, CommandMovesTheDocumentIntoPosing) {
  SceneDocument doc;
  RecordingUi ui;
  placeChain(doc, ui, {{0, 1, 0}, {0, 2, 0}});
  ASSERT_EQ(fixJointPositionsCommand(doc, ui), kFixOk);
  EXPECT_EQ(doc.decitionJointPosition, 1);
  EXPECT_EQ(doc.keyFrames->keyframeBoneView, 1);
  for (int id : {IDM_FIX_POSITIONS, IDM_PLACE_CHILD, IDM_PLACE_CHILD_XY, IDM_PLACE_CHILD_YZ,
                 IDM_PLACE_CHILD_ZX, IDM_MOVE_CHILD, IDM_MIRROR_XY, IDM_MIRROR_YZ, IDM_MIRROR_ZX}) {
    EXPECT_TRUE(ui.isGreyed(id)) << id;
  }
  for (int id : {IDM_SHOW_JOINT_NUMBERS, IDM_SHOW_BONE_AXES, IDM_SHOW_FK_AXES, IDM_ROTATE_FK,
                 IDM_RESET_ROTATIONS, IDM_PLACE_WEIGHT_BOX, IDM_WEIGHT_BY_VERTEX, IDM_SKINNING_ON,
                 IDM_SKINNING_OFF, IDM_KEYFRAME_CREATE, IDM_EQUALISE_BONES, IDM_ROTATE_IK,
                 IDM_STOP_IK, IDM_SHADOW_ON, IDM_SHADOW_OFF, IDM_SHADOW_LIGHT, IDM_MOVE_ROOT_X,
                 IDM_MOVE_ROOT_Y, IDM_MOVE_ROOT_Z}) {
    EXPECT_TRUE(ui.isEnabled(id)) << id;
  }
  EXPECT_EQ(doc.saveFilter,
            "OBJファイル(*.OBJ)\0*.OBJ\0OJPファイル(*.OJP)\0*.OJP\0BMPファイル(*.bmp)\0*.bmp\0"
            "glTF (*.glb;*.gltf)\0*.glb;*.gltf\0\0"s);
  EXPECT_EQ(ui.redraws, 1);
  EXPECT_TRUE(ui.messages.empty());
}

}  // namespace
}  // namespace lw
