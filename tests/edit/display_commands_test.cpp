#include "edit/display_commands.h"

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
  const Case cases[] = {{40033, 90, 0, {0, 1, 0}},  {40034, 270, 0, {0, -1, 0}},
                        {40035, 0, 270, {1, 0, 0}}, {40036, 0, 90, {-1, 0, 0}},
                        {40037, 0, 0, {0, 0, 1}},   {40038, 0, 180, {0, 0, -1}}};
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
  EXPECT_FALSE(setViewPreset(doc, ui, 40039));
  EXPECT_EQ(ui.redraws, 0);
}

TEST(DisplayCommands, DragModesMapMenuIdsOutOfOrder) {
  SceneDocument doc;
  EXPECT_TRUE(setCameraDragMode(doc, 40062));
  EXPECT_EQ(doc.cameraDrag, 3);
  EXPECT_TRUE(setCameraDragMode(doc, 40063));
  EXPECT_EQ(doc.cameraDrag, 2);
  EXPECT_TRUE(setCameraDragMode(doc, 40061));
  EXPECT_EQ(doc.cameraDrag, 1);
  EXPECT_TRUE(setCameraDragMode(doc, 40060));
  EXPECT_EQ(doc.cameraDrag, 0);
  EXPECT_FALSE(setCameraDragMode(doc, 40064));
  EXPECT_EQ(doc.cameraDrag, 0);
}

TEST(DisplayCommands, PointsShowTheBoxInPointPickViewOnlyWhileTheBoxIsEdited) {
  SceneDocument doc;
  RecordingUi ui;
  doc.pointPickView = 1;
  EXPECT_TRUE(setDrawMode(doc, ui, 40016));
  EXPECT_EQ(doc.drawMode, 3);
  EXPECT_EQ(doc.pointPickView, 0);
  EXPECT_TRUE(setDrawMode(doc, ui, 40017));
  EXPECT_EQ(doc.drawMode, 0);
  EXPECT_EQ(doc.pointPickView, 0);
  EXPECT_TRUE(setDrawMode(doc, ui, 40015));
  EXPECT_EQ(doc.drawMode, 4);
  for (int32_t mode : {PlaceWeightBox, MoveWeightBoxFace}) {
    doc.editMode = mode;
    doc.weightBoxShown = 0;
    EXPECT_TRUE(setDrawMode(doc, ui, 40017));
    EXPECT_EQ(doc.drawMode, 4);  // the faces stay; the box shows as points
    EXPECT_EQ(doc.pointPickView, 1);
    EXPECT_EQ(doc.weightBoxShown, 1);
  }
  EXPECT_FALSE(setDrawMode(doc, ui, 40018));
  EXPECT_EQ(ui.redraws, 5);
}

TEST(DisplayCommands, FlagTogglesFollowTheCheckMarkAndOnlyFkAxesEnableTheAxisItems) {
  struct Case {
    int id;
    int32_t SceneDocument::*flag;
  };
  const Case cases[] = {{40007, &SceneDocument::showJointNumbers},
                        {40014, &SceneDocument::showBoneAxes},
                        {40008, &SceneDocument::showFkAxes},
                        {40057, &SceneDocument::showWorldAxes}};
  const int axisItems[] = {414, 40075, 40076, 40077, 40093};
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
      EXPECT_EQ(ui.enabled.count(id), c.id == 40008 ? 1u : 0u) << c.id << " " << id;
      if (c.id == 40008) {
        EXPECT_TRUE(ui.isGreyed(id)) << id;
      }
    }
  }
  SceneDocument doc;
  RecordingUi ui;
  toggleDisplayFlag(doc, ui, 40008);
  ASSERT_EQ(doc.showFkAxes, 1);
  for (int id : axisItems) EXPECT_TRUE(ui.isEnabled(id)) << id;
  EXPECT_FALSE(toggleDisplayFlag(doc, ui, 40015));
}

TEST(DisplayCommands, OnOffPairsSetTheFlagAndBothCheckMarks) {
  SceneDocument doc;
  RecordingUi ui;
  EXPECT_TRUE(applyDisplayToggle(doc, ui, 40089));
  EXPECT_EQ(doc.shadowMap, 1);
  EXPECT_TRUE(ui.isChecked(40089));
  EXPECT_FALSE(ui.isChecked(40090));
  doc.leftLightOn = 1;
  EXPECT_TRUE(applyDisplayToggle(doc, ui, 40087));
  EXPECT_EQ(doc.leftLightOn, 0);
  EXPECT_TRUE(ui.isChecked(40087));
  EXPECT_FALSE(ui.isChecked(40086));
  EXPECT_TRUE(applyDisplayToggle(doc, ui, 40081));
  EXPECT_EQ(doc.antiAliasing, 1);
  EXPECT_TRUE(applyDisplayToggle(doc, ui, 40083));
  EXPECT_EQ(doc.rightLightOn, 1);
  EXPECT_TRUE(applyDisplayToggle(doc, ui, 40080));
  EXPECT_EQ(doc.showDecorations, 0);
  EXPECT_TRUE(ui.isChecked(40080));
  EXPECT_FALSE(ui.isChecked(40079));
  EXPECT_EQ(doc.shadowMap, 1);  // the other pairs keep their flags
  EXPECT_EQ(doc.leftLightOn, 0);
  EXPECT_FALSE(applyDisplayToggle(doc, ui, 40085));
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
