#include "edit/mode_commands.h"

#include "core/command_ids.h"
#include "skeleton/fk.h"
#include "skeleton/placement.h"

namespace lw {

void beginBaseJointPlacement(SceneDocument& doc, ShellUi& ui) {
  for (int id : {IDM_PLACE_CHILD, IDM_PLACE_CHILD_XY, IDM_PLACE_CHILD_YZ, IDM_PLACE_CHILD_ZX}) {
    ui.enableMenuItem(id, true);
  }
  doc.editMode = PlaceRootJoint;
}

void beginChildJointPlacement(SceneDocument& doc, int32_t plane, ShellUi& ui) {
  doc.mirrorPlane = plane;
  ui.enableMenuItem(IDM_PLACE_ROOT, false);
  for (int id : {IDM_MOVE_CHILD, IDM_MIRROR_XY, IDM_MIRROR_YZ, IDM_MIRROR_ZX, IDM_DELETE_CHILD,
                 IDM_NAME_JOINT, IDM_FIX_POSITIONS}) {
    ui.enableMenuItem(id, true);
  }
  doc.editMode = PlaceChildJoint;
}

void beginChildJointMove(SceneDocument& doc) {
  doc.selectedJoint = kNoJointPicked;
  doc.editMode = MoveChildJoint;
}

void beginJointMirroring(SceneDocument& doc, int32_t plane) {
  doc.mirrorPlane = plane;
  doc.selectedJoint = kNoJointPicked;
  doc.editMode = MirrorJoint;
}

void beginBaseJointMove(SceneDocument& doc, ShellUi& ui, int32_t axis) {
  doc.editMode = MoveRootJoint;
  doc.rootMoveAxis = axis;
  ui.redraw();
}

void enterIkMode(SceneDocument& doc, ShellUi& ui) {
  doc.editMode = RotateIk;
  doc.pointPickView = 0;
  ui.enableMenuItem(IDM_EQUALISE_BONES, false);
  ui.redraw();
}

void chooseAxisPreset(SceneDocument& doc, int32_t preset) {
  doc.axisPreset = preset;
  doc.axisEditVector = {1.0f, 0.0f, 0.0f};
  doc.editMode = EditFkAxis;
}

void toggleAxisReversed(SceneDocument& doc, ShellUi& ui) {
  doc.axisReversed = doc.axisReversed ? 0 : 1;
  ui.checkMenuItem(IDM_AXIS_REVERSED, doc.axisReversed == 1);
}

}  // namespace lw
