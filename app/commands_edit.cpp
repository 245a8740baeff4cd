// Menu commands that choose what a mouse action in the 3D window does (joint,
// bone, weighting and rotation-axis modes), fixing, FK mode, skinning, the tree
// display, the box weighting, and the keyframe, interpolation and playback
// commands.
#include "anim/keyframe_commands.h"
#include "anim/playback.h"
#include "app/commands.h"
#include "app/dialogs.h"
#include "app/program.h"
#include "edit/mode_commands.h"
#include "resources/resource.h"
#include "skeleton/axes.h"
#include "skeleton/fixing.h"
#include "skeleton/fk.h"
#include "skeleton/placement.h"

namespace lw {

namespace {

void redrawView() { InvalidateRect(program().windows.view, nullptr, FALSE); }

// Invalidates the main window and its children (the 3D window among them).
void redrawMain() {
  RedrawWindow(program().windows.main, nullptr, nullptr, RDW_INVALIDATE | RDW_ALLCHILDREN);
}

// Flips a flag and the check mark of its item; the caller redraws.
void toggle(int32_t& flag, int id) {
  flag = flag ? 0 : 1;
  program().ui.checkMenuItem(id, flag == 1);
}

void weightByVertex() {
  Program& p = program();
  SceneDocument& doc = p.doc;
  doc.vertexSelection.clear();
  doc.tempJointNumbers = 0;
  doc.weightBoxShown = 0;
  if (doc.showJointNumbers == 0) {
    doc.showJointNumbers = 1;
    p.ui.checkMenuItem(IDM_SHOW_JOINT_NUMBERS, true);
    doc.tempJointNumbers = 1;
    InvalidateRect(p.windows.view, nullptr, FALSE);
    UpdateWindow(p.windows.view);
  }
  doc.editMode = WeightByVertex;
  doc.do_skinning = 1;
  redrawMain();
}

// Weighting by the box: the joint numbers show behind the dialog while it is
// open, and skinning is on afterwards whether or not the dialog weighted
// anything. Without a box there is no dialog.
void weightBox() {
  Program& p = program();
  SceneDocument& doc = p.doc;
  doc.tempJointNumbers = 0;
  if (doc.weightBoxShown == 1) {
    if (doc.showJointNumbers == 0) {
      doc.showJointNumbers = 1;
      doc.tempJointNumbers = 1;
      InvalidateRect(p.windows.view, nullptr, FALSE);
      UpdateWindow(p.windows.view);
    }
    showBoxWeightDialog(p.windows.main, doc);
  }
  doc.do_skinning = 1;
  if (doc.tempJointNumbers == 1) doc.showJointNumbers = 0;
  redrawMain();
}

void createKeyframe() {
  Program& p = program();
  if (showKeyframeDialog(p.windows.main, p.doc) == IDOK) redrawView();
}

// The interpolation dialog names joints by number, so the numbers show while it
// is open. Its curve window has a context of its own; the 3D window's is made
// current again before anything draws.
void chooseInterpolation() {
  Program& p = program();
  SceneDocument& doc = p.doc;
  const int32_t numbersShown = doc.showJointNumbers;
  doc.showJointNumbers = 1;
  redrawMain();
  showInterpolationDialog(p.windows.main, doc);
  makePresenterCurrent(p.presenter);
  doc.showJointNumbers = numbersShown;
  redrawMain();
}

void chooseRangeAndArm() {
  Program& p = program();
  armChosenRange(p.doc);
  showPlayRangeDialog(p.windows.main, p.doc);
  redrawMain();
}

void navigateKeyframes(bool next) {
  SceneDocument& doc = program().doc;
  const int result = next ? showNextKeyFrame(doc) : showPreviousKeyFrame(doc);
  finishKeyframeNavigation(doc, program().ui, result);
}

}  // namespace

bool runEditCommand(int id) {
  SceneDocument& doc = program().doc;
  ShellUi& ui = program().ui;
  switch (id) {
    case IDM_PLACE_ROOT: beginBaseJointPlacement(doc, ui); break;
    case IDM_PLACE_CHILD: beginChildJointPlacement(doc, kNoMirror, ui); break;
    case IDM_PLACE_CHILD_XY: beginChildJointPlacement(doc, kMirrorXY, ui); break;
    case IDM_PLACE_CHILD_YZ: beginChildJointPlacement(doc, kMirrorYZ, ui); break;
    case IDM_PLACE_CHILD_ZX: beginChildJointPlacement(doc, kMirrorZX, ui); break;
    case IDM_MIRROR_XY: beginJointMirroring(doc, kMirrorXY); break;
    case IDM_MIRROR_YZ: beginJointMirroring(doc, kMirrorYZ); break;
    case IDM_MIRROR_ZX: beginJointMirroring(doc, kMirrorZX); break;
    case IDM_MOVE_CHILD: beginChildJointMove(doc); break;
    case IDM_DELETE_CHILD: doc.editMode = DeleteChildJoint; break;
    case IDM_NAME_JOINT: doc.editMode = NameJoint; break;
    case IDM_FIX_POSITIONS: fixJointPositionsCommand(doc, ui); break;
    case IDM_ROTATE_FK: enterFkMode(doc, ui); break;
    case IDM_ROTATE_IK: enterIkMode(doc, ui); break;
    case IDM_STOP_IK:
      doc.editMode = StopIk;
      redrawView();
      break;
    case IDM_RESET_ROTATIONS: resetAllRotations(doc.skeleton, ui); break;
    case IDM_MOVE_ROOT_X: beginBaseJointMove(doc, ui, 0); break;
    case IDM_MOVE_ROOT_Y: beginBaseJointMove(doc, ui, 1); break;
    case IDM_MOVE_ROOT_Z: beginBaseJointMove(doc, ui, 2); break;
    case IDM_EQUALISE_BONES: doc.editMode = EqualiseBoneLengths; break;
    case IDM_TREE_EXPANDED:
      toggle(doc.treeAlwaysExpanded, id);
      redrawMain();
      break;
    case IDM_PLACE_WEIGHT_BOX: doc.editMode = PlaceWeightBox; break;
    case IDM_MOVE_BOX_FACE: doc.editMode = MoveWeightBoxFace; break;
    case IDM_WEIGHT_BOX: weightBox(); break;
    case IDM_SHOW_WEIGHT_BOX:
      toggle(doc.weightBoxShown, id);
      redrawMain();
      break;
    case IDM_WEIGHT_BY_VERTEX: weightByVertex(); break;
    case IDM_SKINNING_ON: doc.do_skinning = 1; break;
    case IDM_SKINNING_OFF: doc.do_skinning = 0; break;
    case IDM_AXIS_FREE: chooseAxisPreset(doc, kAxisFree); break;
    case IDM_AXIS_X: chooseAxisPreset(doc, kAxisAlongX); break;
    case IDM_AXIS_Y: chooseAxisPreset(doc, kAxisAlongY); break;
    case IDM_AXIS_Z: chooseAxisPreset(doc, kAxisAlongZ); break;
    case IDM_AXIS_REVERSED: toggleAxisReversed(doc, ui); break;
    case IDM_KEYFRAME_CREATE: createKeyframe(); break;
    case IDM_INTERPOLATION: chooseInterpolation(); break;
    case IDM_KEYFRAME_NEXT: navigateKeyframes(true); break;
    case IDM_KEYFRAME_PREVIOUS: navigateKeyframes(false); break;
    case IDM_KEYFRAME_DELETE: deleteShownKeyFrame(doc, ui); break;
    case IDM_KEYFRAME_BONES: showKeyframeBones(doc, ui); break;
    case IDM_PLAY_ALL: armWholeRange(doc, ui); break;
    case IDM_PLAY_RANGE: chooseRangeAndArm(); break;
    case IDM_PLAY:
      SendMessageW(program().windows.view, WM_KEYDOWN, VK_SPACE, 0);
      break;
    case IDM_SAVE_FRAMES: toggleSaveFrames(doc, ui); break;
    default:
      return false;
  }
  return true;
}

}  // namespace lw
