#include "edit/display_commands.h"
#include "core/command_ids.h"

#include <gtest/gtest.h>

#include "edit/dialog_values.h"
#include "support/recording_ui.h"

namespace lw {
namespace {

using test::RecordingUi;

TEST(DisplayCommands, PresetsSetBothAnglesAndTheLightDirection) {
  struct Case {
    int id;
    double elevation, azimuth;
    Vector3 direction;
  };
  const Case cases[] = {{IDM_VIEW_TOP, 90, 0, {0, 1, 0}},    {IDM_VIEW_BOTTOM, 270, 0, {0, -1, 0}},
                        {IDM_VIEW_RIGHT, 0, 270, {1, 0, 0}}, {IDM_VIEW_LEFT, 0, 90, {-1, 0, 0}},
                        {IDM_VIEW_FRONT, 0, 0, {0, 0, 1}},   {IDM_VIEW_BACK, 0, 180, {0, 0, -1}}};
  for (const Case& c : cases) {
    SceneDocument doc;
    doc.cameraDistance = -3;
    doc.cameraPanX = 0.3f;
    RecordingUi ui;
    ASSERT_TRUE(setViewPreset(doc, ui, c.id));
    EXPECT_EQ(doc.viewElevation, c.elevation);
    EXPECT_EQ(doc.viewAzimuth, c.azimuth);
    EXPECT_NEAR(doc.viewDirection.x, c.direction.x, 1e-6) << c.id;
    EXPECT_NEAR(doc.viewDirection.y, c.direction.y, 1e-6) << c.id;
    EXPECT_NEAR(doc.viewDirection.z, c.direction.z, 1e-6) << c.id;
    EXPECT_EQ(doc.cameraDistance, -3.0f);
    EXPECT_EQ(doc.cameraPanX, 0.3f);
    EXPECT_EQ(ui.redraws, 1);
  }
  SceneDocument doc;
  RecordingUi ui;
  EXPECT_FALSE(setViewPreset(doc, ui, IDM_VIEW_BACK + 1));
  EXPECT_EQ(ui.redraws, 0);
}

TEST(DisplayCommands, DragModesMapMenuIdsOutOfOrder) {
  SceneDocument doc;
  EXPECT_TRUE(setCameraDragMode(doc, IDM_CAMERA_ZOOM));
  EXPECT_EQ(doc.cameraDrag, 3);
  EXPECT_TRUE(setCameraDragMode(doc, IDM_CAMERA_PAN_Y));
  EXPECT_EQ(doc.cameraDrag, 2);
  EXPECT_TRUE(setCameraDragMode(doc, IDM_CAMERA_PAN_X));
  EXPECT_EQ(doc.cameraDrag, 1);
  EXPECT_TRUE(setCameraDragMode(doc, IDM_CAMERA_ROTATE));
  EXPECT_EQ(doc.cameraDrag, 0);
  EXPECT_FALSE(setCameraDragMode(doc, IDM_MOVE_ROOT_X));
  EXPECT_EQ(doc.cameraDrag, 0);
}

TEST(DisplayCommands, PointsShowTheBoxInPointPickViewOnlyWhileTheBoxIsEdited) {
  SceneDocument doc;
  RecordingUi ui;
  doc.pointPickView = 1;
  EXPECT_TRUE(setDrawMode(doc, ui, IDM_DRAW_LINES));
  EXPECT_EQ(doc.drawMode, 3);
  EXPECT_EQ(doc.pointPickView, 0);
  EXPECT_TRUE(setDrawMode(doc, ui, IDM_DRAW_POINTS));
  EXPECT_EQ(doc.drawMode, 0);
  EXPECT_EQ(doc.pointPickView, 0);
  EXPECT_TRUE(setDrawMode(doc, ui, IDM_DRAW_FACES));
  EXPECT_EQ(doc.drawMode, 4);
  for (int32_t mode : {PlaceWeightBox, MoveWeightBoxFace}) {
    doc.editMode = mode;
    doc.weightBoxShown = 0;
    EXPECT_TRUE(setDrawMode(doc, ui, IDM_DRAW_POINTS));
    EXPECT_EQ(doc.drawMode, 4);  // the faces stay; the box shows as points
    EXPECT_EQ(doc.pointPickView, 1);
    EXPECT_EQ(doc.weightBoxShown, 1);
  }
  EXPECT_FALSE(setDrawMode(doc, ui, IDM_FILE_SAVE_AS));
  EXPECT_EQ(ui.redraws, 5);
}

TEST(DisplayCommands, FlagTogglesFollowTheCheckMarkAndOnlyFkAxesEnableTheAxisItems) {
  struct Case {
    int id;
    int32_t SceneDocument::*flag;
  };
  const Case cases[] = {{IDM_SHOW_JOINT_NUMBERS, &SceneDocument::showJointNumbers},
                        {IDM_SHOW_BONE_AXES, &SceneDocument::showBoneAxes},
                        {IDM_SHOW_FK_AXES, &SceneDocument::showFkAxes},
                        {IDM_SHOW_WORLD_AXES, &SceneDocument::showWorldAxes}};
  const int axisItems[] = {IDM_AXIS_FREE, IDM_AXIS_X, IDM_AXIS_Y, IDM_AXIS_Z, IDM_AXIS_REVERSED};
  for (const Case& c : cases) {
    SceneDocument doc;
    RecordingUi ui;
    const int32_t before = doc.*c.flag;
    ASSERT_TRUE(toggleDisplayFlag(doc, ui, c.id));
    EXPECT_EQ(doc.*c.flag, before ? 0 : 1) << c.id;
    EXPECT_EQ(ui.isChecked(c.id), doc.*c.flag == 1) << c.id;
    doc.*c.flag = 2;  // any non-zero value counts as shown
    toggleDisplayFlag(doc, ui, c.id);
    EXPECT_EQ(doc.*c.flag, 0) << c.id;
    EXPECT_FALSE(ui.isChecked(c.id));
    EXPECT_EQ(ui.redraws, 2);
    for (int id : axisItems) {
      EXPECT_EQ(ui.enabled.count(id), c.id == IDM_SHOW_FK_AXES ? 1u : 0u) << c.id << " " << id;
      if (c.id == IDM_SHOW_FK_AXES) {
        EXPECT_TRUE(ui.isGreyed(id)) << id;
      }
    }
  }
  SceneDocument doc;
  RecordingUi ui;
  toggleDisplayFlag(doc, ui, IDM_SHOW_FK_AXES);
  ASSERT_EQ(doc.showFkAxes, 1);
  for (int id : axisItems) EXPECT_TRUE(ui.isEnabled(id)) << id;
  EXPECT_FALSE(toggleDisplayFlag(doc, ui, IDM_DRAW_FACES));
}

TEST(DisplayCommands, OnOffPairsSetTheFlagAndBothCheckMarks) {
  SceneDocument doc;
  RecordingUi ui;
  EXPECT_TRUE(applyDisplayToggle(doc, ui, IDM_SHADOW_ON));
  EXPECT_EQ(doc.shadowMap, 1);
  EXPECT_TRUE(ui.isChecked(IDM_SHADOW_ON));
  EXPECT_FALSE(ui.isChecked(IDM_SHADOW_OFF));
  doc.leftLightOn = 1;
  EXPECT_TRUE(applyDisplayToggle(doc, ui, IDM_LEFT_LIGHT_OFF));
  EXPECT_EQ(doc.leftLightOn, 0);
  EXPECT_TRUE(ui.isChecked(IDM_LEFT_LIGHT_OFF));
  EXPECT_FALSE(ui.isChecked(IDM_LEFT_LIGHT_ON));
  EXPECT_TRUE(applyDisplayToggle(doc, ui, IDM_ANTIALIAS_ON));
  EXPECT_EQ(doc.antiAliasing, 1);
  EXPECT_TRUE(applyDisplayToggle(doc, ui, IDM_RIGHT_LIGHT_ON));
  EXPECT_EQ(doc.rightLightOn, 1);
  EXPECT_TRUE(applyDisplayToggle(doc, ui, IDM_DECORATIONS_HIDE));
  EXPECT_EQ(doc.showDecorations, 0);
  EXPECT_TRUE(ui.isChecked(IDM_DECORATIONS_HIDE));
  EXPECT_FALSE(ui.isChecked(IDM_DECORATIONS_SHOW));
  EXPECT_EQ(doc.shadowMap, 1);  // the other pairs keep their flags
  EXPECT_EQ(doc.leftLightOn, 0);
  EXPECT_FALSE(applyDisplayToggle(doc, ui, IDM_RIGHT_LIGHT_RGBA));
  EXPECT_EQ(ui.redraws, 5);
}

TEST(DialogValues, FloatsShowWithPercentFAndUnparsableTextReadsAsZero) {
  EXPECT_EQ(formatDialogFloat(0.5f), "0.500000");
  EXPECT_EQ(formatDialogFloat(-7.0f), "-7.000000");
  EXPECT_EQ(parseDialogFloat("0.25"), 0.25f);
  EXPECT_EQ(parseDialogFloat("abc"), 0.0f);
  EXPECT_EQ(parseDialogFloat("3x"), 3.0f);
  EXPECT_EQ(parseDialogFloat(""), 0.0f);
}

}  // namespace
}  // namespace lw
