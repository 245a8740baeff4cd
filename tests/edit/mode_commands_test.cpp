#include "edit/mode_commands.h"
#include "core/command_ids.h"

#include <gtest/gtest.h>

#include "skeleton/axes.h"
#include "skeleton/placement.h"
#include "support/recording_ui.h"

namespace lw {
namespace {

using test::RecordingUi;

TEST(ModeCommands, PlacementCommandsSetMenusAndModes) {
  SceneDocument doc;
  RecordingUi ui;
  beginBaseJointPlacement(doc, ui);
  EXPECT_EQ(doc.editMode, PlaceRootJoint);
  EXPECT_TRUE(ui.isEnabled(IDM_PLACE_CHILD) && ui.isEnabled(IDM_PLACE_CHILD_XY) &&
              ui.isEnabled(IDM_PLACE_CHILD_YZ) && ui.isEnabled(IDM_PLACE_CHILD_ZX));
  beginChildJointPlacement(doc, kMirrorZX, ui);
  EXPECT_EQ(doc.editMode, PlaceChildJoint);
  EXPECT_EQ(doc.mirrorPlane, kMirrorZX);
  EXPECT_TRUE(ui.isGreyed(IDM_PLACE_ROOT));
  for (int id : {IDM_MOVE_CHILD, IDM_MIRROR_XY, IDM_MIRROR_YZ, IDM_MIRROR_ZX, IDM_DELETE_CHILD,
                 IDM_NAME_JOINT, IDM_FIX_POSITIONS})
    EXPECT_TRUE(ui.isEnabled(id)) << id;
  EXPECT_EQ(ui.redraws, 0);
}

TEST(ModeCommands, MoveAndMirrorForgetThePickedJointAndBaseMoveKeepsItsAxis) {
  SceneDocument doc;
  RecordingUi ui;
  doc.selectedJoint = 4;
  beginChildJointMove(doc);
  EXPECT_EQ(doc.editMode, MoveChildJoint);
  EXPECT_EQ(doc.selectedJoint, kNoJointPicked);
  doc.selectedJoint = 4;
  beginJointMirroring(doc, kMirrorYZ);
  EXPECT_EQ(doc.editMode, MirrorJoint);
  EXPECT_EQ(doc.mirrorPlane, kMirrorYZ);
  EXPECT_EQ(doc.selectedJoint, kNoJointPicked);
  doc.selectedJoint = 4;
  beginBaseJointMove(doc, ui, 2);
  EXPECT_EQ(doc.editMode, MoveRootJoint);
  EXPECT_EQ(doc.rootMoveAxis, 2);
  EXPECT_EQ(doc.selectedJoint, 4);
  EXPECT_EQ(ui.redraws, 1);
}

TEST(ModeCommands, EnteringIkModeGreysBoneEqualising) {
  SceneDocument doc;
  RecordingUi ui;
  doc.pointPickView = 1;
  enterIkMode(doc, ui);
  EXPECT_EQ(doc.editMode, RotateIk);
  EXPECT_EQ(doc.pointPickView, 0);
  EXPECT_TRUE(ui.isGreyed(IDM_EQUALISE_BONES));
  EXPECT_EQ(ui.redraws, 1);
}

TEST(ModeCommands, AxisPresetsResetTheEditVectorAndReversalFollowsItsCheckMark) {
  SceneDocument doc;
  RecordingUi ui;
  for (int32_t preset : {kAxisAlongY, kAxisFree, kAxisAlongZ}) {
    doc.axisEditVector = {0.2f, -0.5f, 3};
    chooseAxisPreset(doc, preset);
    EXPECT_EQ(doc.axisPreset, preset);
    EXPECT_EQ(doc.editMode, EditFkAxis);
    EXPECT_EQ(doc.axisEditVector, (Vector3{1, 0, 0}));
  }
  toggleAxisReversed(doc, ui);
  EXPECT_EQ(doc.axisReversed, 1);
  EXPECT_TRUE(ui.isChecked(IDM_AXIS_REVERSED));
  doc.axisReversed = 2;  // any non-zero value counts as reversed
  toggleAxisReversed(doc, ui);
  EXPECT_EQ(doc.axisReversed, 0);
  EXPECT_FALSE(ui.isChecked(IDM_AXIS_REVERSED));
  EXPECT_EQ(ui.redraws, 0);
}

}  // namespace
}  // namespace lw
