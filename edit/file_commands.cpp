#include "edit/file_commands.h"

#include <initializer_list>

#include "anim/keyframe_commands.h"
#include "core/command_ids.h"
#include "skeleton/fk.h"
#include "skeleton/ik.h"

namespace lw {

namespace {

void enableItems(ShellUi& ui, std::initializer_list<int> ids) {
  for (int id : ids) ui.enableMenuItem(id, true);
}

}  // namespace

void finishProjectOpen(SceneDocument& doc, ShellUi& ui) {
  if (doc.playbackMenuLock) {
    enableItems(ui, {IDM_KEYFRAME_PREVIOUS, IDM_KEYFRAME_NEXT, IDM_PLAY, IDM_SAVE_FRAMES});
    doc.playbackMenuLock = 0;
  }
  doc.modelLoaded = 1;
  doc.drawMode = 4;
  doc.decitionJointPosition = 1;
  enableItems(ui, {IDM_DRAW_FACES, IDM_DRAW_LINES, IDM_DRAW_POINTS, IDM_SHOW_JOINT_NUMBERS,
                   IDM_SHOW_BONE_AXES, IDM_SHOW_FK_AXES, IDM_ROTATE_FK, IDM_RESET_ROTATIONS,
                   IDM_PLACE_WEIGHT_BOX, IDM_WEIGHT_BY_VERTEX, IDM_SKINNING_ON, IDM_SKINNING_OFF,
                   IDM_KEYFRAME_CREATE, IDM_MOVE_ROOT_X, IDM_MOVE_ROOT_Y, IDM_MOVE_ROOT_Z});
  applyKeyframeMenuRules(*doc.keyFrames, ui);
  enableItems(ui, {IDM_EQUALISE_BONES, IDM_ROTATE_IK, IDM_STOP_IK});
  doc.saveFilter =
      fileFilter({"OBJファイル(*.OBJ)", "*.OBJ", "OJPファイル(*.OJP)", "*.OJP",
                  "BMPファイル(*.bmp)", "*.bmp", kGltfFilterLabel, kGltfFilterPattern});
  if (!doc.keyFrames->byNumber.empty()) ui.refreshMotionPanel();
  enableItems(ui, {IDM_FILE_ADD, IDM_SHADOW_ON, IDM_SHADOW_OFF, IDM_SHADOW_LIGHT});
  ui.redraw();
}

}  // namespace lw
