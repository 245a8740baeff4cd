#include "core/document.h"

#include "core/command_ids.h"

namespace lw {

namespace {

constexpr int kNoDocumentGrey[] = {IDM_DRAW_FACES,
                                   IDM_DRAW_LINES,
                                   IDM_DRAW_POINTS,
                                   IDM_SHOW_JOINT_NUMBERS,
                                   IDM_SHOW_BONE_AXES,
                                   IDM_SHOW_FK_AXES,
                                   IDM_PLACE_ROOT,
                                   IDM_PLACE_CHILD,
                                   IDM_PLACE_CHILD_XY,
                                   IDM_PLACE_CHILD_YZ,
                                   IDM_PLACE_CHILD_ZX,
                                   IDM_MIRROR_XY,
                                   IDM_MIRROR_YZ,
                                   IDM_MIRROR_ZX,
                                   IDM_MOVE_CHILD,
                                   IDM_FIX_POSITIONS,
                                   IDM_ROTATE_FK,
                                   IDM_RESET_ROTATIONS,
                                   IDM_MOVE_ROOT_X,
                                   IDM_MOVE_ROOT_Y,
                                   IDM_MOVE_ROOT_Z,
                                   IDM_PLACE_WEIGHT_BOX,
                                   IDM_MOVE_BOX_FACE,
                                   IDM_WEIGHT_BOX,
                                   IDM_SHOW_WEIGHT_BOX,
                                   IDM_WEIGHT_BY_VERTEX,
                                   IDM_SKINNING_ON,
                                   IDM_SKINNING_OFF,
                                   IDM_AXIS_FREE,
                                   IDM_AXIS_X,
                                   IDM_AXIS_Y,
                                   IDM_AXIS_Z,
                                   IDM_AXIS_REVERSED,
                                   IDM_KEYFRAME_PREVIOUS,
                                   IDM_KEYFRAME_NEXT,
                                   IDM_INTERPOLATION,
                                   IDM_KEYFRAME_BONES,
                                   IDM_KEYFRAME_DELETE,
                                   IDM_PLAY_ALL,
                                   IDM_PLAY_RANGE,
                                   IDM_KEYFRAME_CREATE,
                                   IDM_EQUALISE_BONES,
                                   IDM_ROTATE_IK,
                                   IDM_STOP_IK,
                                   IDM_DELETE_CHILD,
                                   IDM_NAME_JOINT,
                                   IDM_PLAY,
                                   IDM_FILE_ADD,
                                   IDM_SHADOW_ON,
                                   IDM_SHADOW_OFF,
                                   IDM_SHADOW_LIGHT,
                                   IDM_SAVE_FRAMES};
constexpr int kNoDocumentChecked[] = {
    IDM_SHADOW_OFF,    IDM_SHOW_WORLD_AXES, IDM_TREE_EXPANDED,  IDM_DECORATIONS_SHOW,
    IDM_ANTIALIAS_OFF, IDM_RIGHT_LIGHT_OFF, IDM_LEFT_LIGHT_OFF, IDM_SHADING_OFF};
constexpr int kNoDocumentUnchecked[] = {IDM_DECORATIONS_HIDE, IDM_ANTIALIAS_ON,  IDM_SHADOW_ON,
                                        IDM_RIGHT_LIGHT_ON,   IDM_LEFT_LIGHT_ON, IDM_SHADING_TOON,
                                        IDM_SHADING_CUSTOM,   IDM_SAVE_FRAMES};

}  // namespace

bool hasBackupBasicBoneVec(const SceneDocument& doc) {
  const Vector3& v = doc.backupBasicBoneVec;
  return !(v.x == 999.0f && v.y == 999.0f && v.z == 999.0f);
}

std::string fileFilter(std::initializer_list<const char*> texts) {
  std::string filter;
  for (const char* text : texts) {
    filter += text;
    filter.push_back('\0');
  }
  filter.push_back('\0');
  return filter;
}

void applyNoDocumentMenuState(ShellUi& ui) {
  for (int id : kNoDocumentGrey) ui.enableMenuItem(id, false);
  for (int id : kNoDocumentChecked) ui.checkMenuItem(id, true);
  for (int id : kNoDocumentUnchecked) ui.checkMenuItem(id, false);
}

void resetDocumentDefaults(SceneDocument& doc, ShellUi& ui) {
  doc.decitionJointPosition = 0;
  doc.do_skinning = 0;
  doc.modelLoaded = 0;
  doc.animationView = 0;
  doc.playbackMenuLock = 0;
  doc.treeAlwaysExpanded = 1;
  doc.saveFramesAsBmp = 0;

  doc.axisReversed = 0;
  doc.treeSelectedJoint = -999;
  doc.backupBasicBoneVec = {999.0f, 999.0f, 999.0f};
  doc.rootMoveOffset = {};
  doc.dragStarted = 0;
  doc.dragCounter = 0;
  doc.dragVector = {};

  doc.showJointNumbers = 0;
  doc.showBoneAxes = 0;
  doc.showFkAxes = 0;
  doc.showWorldAxes = 1;
  doc.showDecorations = 1;
  doc.antiAliasing = 0;
  doc.shadowMap = 0;
  doc.shaderState = {};
  doc.rightLightOn = 0;
  doc.leftLightOn = 0;
  doc.lightColour[0] = doc.lightColour[1] = {1.0f, 1.0f, 1.0f, 1.0f};
  doc.backgroundColour = {0.5f, 0.5f, 0.5f, 1.0f};
  doc.shadowLightPosition = {0.0f, 5.0f, 4.0f};

  doc.viewDirection = {0, 0, 1};
  doc.cameraDrag = 0;
  doc.cameraDistance = -7.0f;

  applyNoDocumentMenuState(ui);
  // The display toggles' check marks follow the flags: joint numbers (IDM_SHOW_JOINT_NUMBERS),
  // bone axes (IDM_SHOW_BONE_AXES), FK axes (IDM_SHOW_FK_AXES).
  ui.checkMenuItem(IDM_SHOW_JOINT_NUMBERS, doc.showJointNumbers == 1);
  ui.checkMenuItem(IDM_SHOW_BONE_AXES, doc.showBoneAxes == 1);
  ui.checkMenuItem(IDM_SHOW_FK_AXES, doc.showFkAxes == 1);
}

void clearDocument(SceneDocument& doc) {
  doc.keyFrames.reset();
  doc.skinBuffers.reset();
  doc.mesh.reset();
  doc.decorations.clear();
  doc.skeleton.clear();
}

namespace {

void discardWindowsAndContent(SceneDocument& doc, ShellUi& ui) {
  ui.resetFrameDisplay();
  if (!doc.skeleton.empty()) ui.treeDeleteRoot();
}

}  // namespace

void discardDocument(SceneDocument& doc, ShellUi& ui) {
  discardWindowsAndContent(doc, ui);
  clearDocument(doc);
  resetDocumentDefaults(doc, ui);
  doc.keyFrames = std::make_unique<KeyframeStore>();
}

void discardAfterFailedProjectOpen(SceneDocument& doc, ShellUi& ui) {
  discardWindowsAndContent(doc, ui);
  doc.mesh.reset();
  doc.skinBuffers.reset();
  doc.decorations.clear();
  doc.skeleton.clear();
  resetDocumentDefaults(doc, ui);
}

}  // namespace lw
