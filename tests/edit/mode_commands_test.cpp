#include "edit/mode_commands.h"

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
  EXPECT_TRUE(ui.isEnabled(201) && ui.isEnabled(40069) && ui.isEnabled(40070) &&
              ui.isEnabled(40071));
  beginChildJointPlacement(doc, kMirrorZX, ui);
  EXPECT_EQ(doc.editMode, PlaceChildJoint);
  EXPECT_EQ(doc.mirrorPlane, kMirrorZX);
  EXPECT_TRUE(ui.isGreyed(410));
  for (int id : {202, 40072, 40073, 40074, 40053, 40054, 203}) EXPECT_TRUE(ui.isEnabled(id)) << id;
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
  EXPECT_TRUE(ui.isGreyed(40032));
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
  EXPECT_TRUE(ui.isChecked(40093));
  doc.axisReversed = 2;  // any non-zero value counts as reversed
  toggleAxisReversed(doc, ui);
  EXPECT_EQ(doc.axisReversed, 0);
  EXPECT_FALSE(ui.isChecked(40093));
  EXPECT_EQ(ui.redraws, 0);
}

}  // namespace
}  // namespace lw
