#include "core/document.h"
#include "core/command_ids.h"

#include <gtest/gtest.h>

#include "support/recording_ui.h"

namespace lw {
namespace {

TEST(Document, StartValues) {
  SceneDocument doc;
  EXPECT_EQ(doc.treeAlwaysExpanded, 1);
  EXPECT_EQ(doc.treeSelectedJoint, -999);
  EXPECT_FALSE(hasBackupBasicBoneVec(doc));
  EXPECT_EQ(doc.backgroundColour, (Colour{0.5f, 0.5f, 0.5f, 1.0f}));
  EXPECT_EQ(doc.shadowLightPosition, (Vector3{0, 5, 4}));
  EXPECT_EQ(doc.cameraDistance, -7.0f);
  EXPECT_EQ(doc.viewDirection, (Vector3{0, 0, 1}));
  EXPECT_EQ(doc.showWorldAxes, 1);
  EXPECT_EQ(doc.showDecorations, 1);
  EXPECT_EQ(doc.editMode, Idle);
  EXPECT_NE(doc.keyFrames, nullptr);
  EXPECT_EQ(doc.clientWidth, 1024);
  EXPECT_EQ(doc.clientHeight, 768);
}

TEST(Document, ResetKeepsEditModeDrawModeBoxAndCamera) {
  SceneDocument doc;
  test::RecordingUi ui;
  doc.editMode = RotateIk;
  doc.drawMode = 4;
  doc.weightBoxShown = 1;
  doc.viewElevation = 30;
  doc.cameraPanX = 2;
  doc.selectedJoint = 5;
  doc.modelFileName = "man.obj";
  doc.do_skinning = 1;
  doc.decitionJointPosition = 1;
  doc.backupBasicBoneVec = {1, 2, 3};
  doc.rootMoveOffset = {0.5f, 0, 0};
  doc.cameraDistance = -3;
  doc.backgroundColour = {1, 0, 0, 1};
  doc.shaderState.toonLoaded = 1;
  doc.dragCounter = 7;

  resetDocumentDefaults(doc, ui);

  EXPECT_EQ(doc.editMode, RotateIk);
  EXPECT_EQ(doc.drawMode, 4);
  EXPECT_EQ(doc.weightBoxShown, 1);
  EXPECT_EQ(doc.viewElevation, 30);
  EXPECT_EQ(doc.cameraPanX, 2);
  EXPECT_EQ(doc.selectedJoint, 5);
  EXPECT_EQ(doc.modelFileName, "man.obj");
  EXPECT_EQ(doc.do_skinning, 0);
  EXPECT_EQ(doc.decitionJointPosition, 0);
  EXPECT_FALSE(hasBackupBasicBoneVec(doc));
  EXPECT_EQ(doc.rootMoveOffset, (Vector3{}));
  EXPECT_EQ(doc.cameraDistance, -7.0f);
  EXPECT_EQ(doc.backgroundColour, (Colour{0.5f, 0.5f, 0.5f, 1.0f}));
  EXPECT_EQ(doc.shaderState.toonLoaded, 0);
  EXPECT_EQ(doc.dragCounter, 0);
}

TEST(Document, ResetPutsTheMenuIntoItsNoDocumentState) {
  SceneDocument doc;
  test::RecordingUi ui;
  // The display toggles were on before: their marks go with their flags.
  doc.showJointNumbers = doc.showBoneAxes = doc.showFkAxes = 1;
  for (int id : {IDM_SHOW_JOINT_NUMBERS, IDM_SHOW_BONE_AXES, IDM_SHOW_FK_AXES})
    ui.checkMenuItem(id, true);
  resetDocumentDefaults(doc, ui);
  for (int id : {IDM_SHOW_JOINT_NUMBERS, IDM_SHOW_BONE_AXES, IDM_SHOW_FK_AXES})
    EXPECT_FALSE(ui.isChecked(id)) << id;
  for (int id : {IDM_DRAW_FACES, IDM_PLACE_ROOT, IDM_FIX_POSITIONS, IDM_KEYFRAME_CREATE,
                 IDM_FILE_ADD, IDM_SAVE_FRAMES, IDM_SHADOW_OFF})
    EXPECT_TRUE(ui.isGreyed(id)) << id;
  for (int id : {IDM_SHADOW_OFF, IDM_SHOW_WORLD_AXES, IDM_TREE_EXPANDED, IDM_DECORATIONS_SHOW,
                 IDM_ANTIALIAS_OFF, IDM_RIGHT_LIGHT_OFF, IDM_LEFT_LIGHT_OFF, IDM_SHADING_OFF})
    EXPECT_TRUE(ui.isChecked(id)) << id;
  for (int id : {IDM_DECORATIONS_HIDE, IDM_ANTIALIAS_ON, IDM_SHADOW_ON, IDM_SHADING_TOON,
                 IDM_SHADING_CUSTOM, IDM_SAVE_FRAMES})
    EXPECT_FALSE(ui.isChecked(id)) << id;
  // Items the reset never greys.
  for (int id : {IDM_FILE_OPEN, IDM_FILE_SAVE_AS, IDM_FILE_EXIT, IDM_VIEW_TOP, IDM_CAMERA_ROTATE,
                 IDM_SHOW_WORLD_AXES, IDM_SHADING_OFF})
    EXPECT_FALSE(ui.isGreyed(id)) << id;
}

TEST(Document, BackupVectorWithOneComponentNot999IsSaved) {
  SceneDocument doc;
  doc.backupBasicBoneVec = {999.0f, 999.0f, 0.0f};
  EXPECT_TRUE(hasBackupBasicBoneVec(doc));
}

SceneDocument loadedDocument() {
  SceneDocument doc;
  doc.mesh = std::make_unique<Mesh>();
  doc.skinBuffers = std::make_unique<SkinBuffers>();
  doc.decorations[0] = std::make_unique<Mesh>();
  auto base = std::make_unique<Joint>();
  base->jointName = "Joint0";
  doc.skeleton.joints["Joint0"] = base.get();
  doc.skeleton.jointOrder.push_back(std::move(base));
  auto kf = std::make_shared<KeyFrame>();
  doc.keyFrames->byNumber[0] = kf;
  doc.keyFrames->byTime[0] = kf;
  doc.modelLoaded = 1;
  return doc;
}

TEST(Document, DiscardEmptiesEverythingAndMakesANewStore) {
  SceneDocument doc = loadedDocument();
  test::RecordingUi ui;
  std::weak_ptr<KeyFrame> oldKey = doc.keyFrames->byNumber[0];
  discardDocument(doc, ui);
  EXPECT_EQ(doc.mesh, nullptr);
  EXPECT_EQ(doc.skinBuffers, nullptr);
  EXPECT_TRUE(doc.decorations.empty());
  EXPECT_TRUE(doc.skeleton.empty());
  EXPECT_TRUE(doc.skeleton.joints.empty());
  ASSERT_NE(doc.keyFrames, nullptr);
  EXPECT_TRUE(doc.keyFrames->byNumber.empty());
  EXPECT_TRUE(oldKey.expired());  // the old keyframes were released
  EXPECT_EQ(doc.modelLoaded, 0);
  EXPECT_EQ(ui.frameDisplayResets, 1);
  EXPECT_EQ(ui.treeDeletes, 1);
  EXPECT_TRUE(ui.isGreyed(IDM_PLACE_ROOT));
}

TEST(Document, DiscardWithoutJointsLeavesTheTreeAlone) {
  SceneDocument doc;
  test::RecordingUi ui;
  discardDocument(doc, ui);
  EXPECT_EQ(ui.treeDeletes, 0);
  EXPECT_EQ(ui.frameDisplayResets, 1);
}

TEST(Document, FailedProjectOpenKeepsTheKeyframeStore) {
  SceneDocument doc = loadedDocument();
  test::RecordingUi ui;
  KeyframeStore* store = doc.keyFrames.get();
  discardAfterFailedProjectOpen(doc, ui);
  EXPECT_EQ(doc.keyFrames.get(), store);
  EXPECT_EQ(doc.mesh, nullptr);
  EXPECT_TRUE(doc.decorations.empty());
  EXPECT_TRUE(doc.skeleton.empty());
  EXPECT_EQ(ui.treeDeletes, 1);
}

TEST(Document, FileFilterIsNulSeparatedAndDoublyTerminated) {
  const std::string f = fileFilter({"A(*.A)", "*.A"});
  EXPECT_EQ(f, std::string("A(*.A)\0*.A\0\0", 12));
}

}  // namespace
}  // namespace lw

namespace lw {
namespace {

TEST(SkinBuffers, StartAsACopyOfTheRestMeshWithNoWeights) {
  Mesh mesh;
  mesh.parts.resize(2);
  mesh.parts[0].positions = {{1, 2, 3}, {4, 5, 6}, {7, 8, 9}};
  mesh.parts[0].normals = {{0, 0, 1}, {0, 1, 0}, {1, 0, 0}};
  mesh.parts[0].vertexCount = 3;
  const auto skin = makeSkinBuffers(mesh);
  ASSERT_EQ(skin->parts.size(), 2u);
  ASSERT_EQ(skin->parts[0].skinPositions.size(), 3u);
  ASSERT_EQ(skin->parts[0].skinWeights.size(), 3u);
  EXPECT_EQ(skin->parts[0].skinPositions[2], (Vector3{7, 8, 9}));
  EXPECT_TRUE(skin->parts[0].skinWeights[2].empty());
  EXPECT_EQ(skin->parts[0].skinNormals[1], (Vector3{0, 1, 0}));
  EXPECT_TRUE(skin->parts[1].skinPositions.empty());
}

}  // namespace
}  // namespace lw
