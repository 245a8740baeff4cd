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
#include "edit/weight_commands.h"
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

// Invalidates the 3D window and paints it before the command goes on.
void repaintViewNow() {
  InvalidateRect(program().windows.view, nullptr, FALSE);
  UpdateWindow(program().windows.view);
}

void weightByVertex() {
  Program& p = program();
  beginVertexWeighting(p.doc, p.ui, repaintViewNow);
  redrawMain();
}

void weightBox() {
  Program& p = program();
  weightWithBox(p.doc, repaintViewNow, [&p] { showBoxWeightDialog(p.windows.main, p.doc); });
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
  withJointNumbersShown(p.doc, [&p] {
    redrawMain();
    showInterpolationDialog(p.windows.main, p.doc);
    makePresenterCurrent(p.presenter);
  });
  redrawMain();
}

void chooseRangeAndArm() {
  Program& p = program();
  armChosenRange(p.doc);
  showPlayRangeDialog(p.windows.main, p.doc);
  redrawMain();
}

// Placing, mirroring and moving joints while the skeleton is built, and fixing
// their positions.
bool runJointPlacementCommand(SceneDocument& doc, int id, ShellUi& ui) {
  switch (id) {
    case IDM_PLACE_ROOT:
      beginBaseJointPlacement(doc, ui);
      break;
    case IDM_PLACE_CHILD:
      beginChildJointPlacement(doc, kNoMirror, ui);
      break;
    case IDM_PLACE_CHILD_XY:
      beginChildJointPlacement(doc, kMirrorXY, ui);
      break;
    case IDM_PLACE_CHILD_YZ:
      beginChildJointPlacement(doc, kMirrorYZ, ui);
      break;
    case IDM_PLACE_CHILD_ZX:
      beginChildJointPlacement(doc, kMirrorZX, ui);
      break;
    case IDM_MIRROR_XY:
      beginJointMirroring(doc, kMirrorXY);
      break;
    case IDM_MIRROR_YZ:
      beginJointMirroring(doc, kMirrorYZ);
      break;
    case IDM_MIRROR_ZX:
      beginJointMirroring(doc, kMirrorZX);
      break;
    case IDM_MOVE_CHILD:
      beginChildJointMove(doc);
      break;
    case IDM_FIX_POSITIONS:
      fixJointPositionsCommand(doc, ui);
      break;
    default:
      return false;
  }
  return true;
}

// Posing: FK and IK modes, resetting the rotations, moving the base joint along
// an axis and the rotation-axis presets.
bool runPoseCommand(SceneDocument& doc, int id, ShellUi& ui) {
  switch (id) {
    case IDM_ROTATE_FK:
      enterFkMode(doc, ui);
      break;
    case IDM_ROTATE_IK:
      enterIkMode(doc, ui);
      break;
    case IDM_RESET_ROTATIONS:
      resetAllRotations(doc.skeleton, ui);
      break;
    case IDM_MOVE_ROOT_X:
      beginBaseJointMove(doc, ui, 0);
      break;
    case IDM_MOVE_ROOT_Y:
      beginBaseJointMove(doc, ui, 1);
      break;
    case IDM_MOVE_ROOT_Z:
      beginBaseJointMove(doc, ui, 2);
      break;
    case IDM_AXIS_FREE:
      chooseAxisPreset(doc, kAxisFree);
      break;
    case IDM_AXIS_X:
      chooseAxisPreset(doc, kAxisAlongX);
      break;
    case IDM_AXIS_Y:
      chooseAxisPreset(doc, kAxisAlongY);
      break;
    case IDM_AXIS_Z:
      chooseAxisPreset(doc, kAxisAlongZ);
      break;
    case IDM_AXIS_REVERSED:
      toggleAxisReversed(doc, ui);
      break;
    default:
      return false;
  }
  return true;
}

// The two weighting commands, box and vertex by vertex.
bool runWeightingCommand(int id) {
  switch (id) {
    case IDM_WEIGHT_BOX:
      weightBox();
      break;
    case IDM_WEIGHT_BY_VERTEX:
      weightByVertex();
      break;
    default:
      return false;
  }
  return true;
}

// Keyframes, interpolation, playback and saving the played frames.
bool runAnimationCommand(SceneDocument& doc, int id, ShellUi& ui) {
  switch (id) {
    case IDM_KEYFRAME_CREATE:
      createKeyframe();
      break;
    case IDM_INTERPOLATION:
      chooseInterpolation();
      break;
    case IDM_KEYFRAME_NEXT:
      showAdjacentKeyframe(doc, ui, true);
      break;
    case IDM_KEYFRAME_PREVIOUS:
      showAdjacentKeyframe(doc, ui, false);
      break;
    case IDM_KEYFRAME_DELETE:
      deleteShownKeyFrame(doc, ui);
      break;
    case IDM_KEYFRAME_BONES:
      showKeyframeBones(doc, ui);
      break;
    case IDM_PLAY_ALL:
      armWholeRange(doc, ui);
      break;
    case IDM_PLAY_RANGE:
      chooseRangeAndArm();
      break;
    case IDM_PLAY:
      SendMessageW(program().windows.view, WM_KEYDOWN, VK_SPACE, 0);
      break;
    case IDM_SAVE_FRAMES:
      toggleSaveFrames(doc, ui);
      break;
    default:
      return false;
  }
  return true;
}

}  // namespace

bool runEditCommand(int id) {
  SceneDocument& doc = program().doc;
  ShellUi& ui = program().ui;
  if (chooseModeItem(doc, id, ui)) return true;
  if (toggleEditFlag(doc, id, ui)) {
    redrawMain();
    return true;
  }
  return runJointPlacementCommand(doc, id, ui) || runPoseCommand(doc, id, ui) ||
         runWeightingCommand(id) || runAnimationCommand(doc, id, ui);
}

}  // namespace lw
