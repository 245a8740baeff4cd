#include "edit/mode_commands.h"

#include "edit/menu_ids.h"
#include "skeleton/fk.h"
#include "skeleton/placement.h"

namespace lw {

void beginBaseJointPlacement(SceneDocument& doc, ShellUi& ui) {
  for (int id : {kMenuPlaceChildNormal, kMenuPlaceChildMirrorXY, kMenuPlaceChildMirrorYZ,
                 kMenuPlaceChildMirrorZX}) {
    ui.enableMenuItem(id, true);
  }
  doc.editMode = PlaceRootJoint;
}

void beginChildJointPlacement(SceneDocument& doc, int32_t plane, ShellUi& ui) {
  doc.mirrorPlane = plane;
  ui.enableMenuItem(kMenuPlaceBaseJoint, false);
  for (int id : {kMenuMoveChildJoint, kMenuMirrorJointXY, kMenuMirrorJointYZ, kMenuMirrorJointZX,
                 kMenuDeleteChildJoint, kMenuNameJoint, kMenuFixJointPositions}) {
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
  ui.enableMenuItem(kMenuEqualiseBoneLengths, false);
  ui.redraw();
}

void chooseAxisPreset(SceneDocument& doc, int32_t preset) {
  doc.axisPreset = preset;
  doc.axisEditVector = {1.0f, 0.0f, 0.0f};
  doc.editMode = EditFkAxis;
}

void toggleAxisReversed(SceneDocument& doc, ShellUi& ui) {
  doc.axisReversed = doc.axisReversed ? 0 : 1;
  ui.checkMenuItem(kMenuAxisReversed, doc.axisReversed == 1);
}

}  // namespace lw
