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

// Play starts or stops as the space key does in the 3D window.
void pressSpaceInView() { SendMessageW(program().windows.view, WM_KEYDOWN, VK_SPACE, 0); }

void chooseRangeAndArm() {
  Program& p = program();
  armChosenRange(p.doc);
  showPlayRangeDialog(p.windows.main, p.doc);
  redrawMain();
}

// The commands of the edit menus with their work, by family.
using EditCommand = void (*)(SceneDocument& doc, ShellUi& ui);
struct EditCommandEntry {
  int id;
  EditCommand run;
};

constexpr EditCommandEntry kEditCommands[] = {
    // Placing, mirroring and moving joints while the skeleton is built, and fixing
    // their positions.
    {IDM_PLACE_ROOT, [](SceneDocument& doc, ShellUi& ui) { beginBaseJointPlacement(doc, ui); }},
    {IDM_PLACE_CHILD,
     [](SceneDocument& doc, ShellUi& ui) { beginChildJointPlacement(doc, kNoMirror, ui); }},
    {IDM_PLACE_CHILD_XY,
     [](SceneDocument& doc, ShellUi& ui) { beginChildJointPlacement(doc, kMirrorXY, ui); }},
    {IDM_PLACE_CHILD_YZ,
     [](SceneDocument& doc, ShellUi& ui) { beginChildJointPlacement(doc, kMirrorYZ, ui); }},
    {IDM_PLACE_CHILD_ZX,
     [](SceneDocument& doc, ShellUi& ui) { beginChildJointPlacement(doc, kMirrorZX, ui); }},
    {IDM_MIRROR_XY, [](SceneDocument& doc, ShellUi&) { beginJointMirroring(doc, kMirrorXY); }},
    {IDM_MIRROR_YZ, [](SceneDocument& doc, ShellUi&) { beginJointMirroring(doc, kMirrorYZ); }},
    {IDM_MIRROR_ZX, [](SceneDocument& doc, ShellUi&) { beginJointMirroring(doc, kMirrorZX); }},
    {IDM_MOVE_CHILD, [](SceneDocument& doc, ShellUi&) { beginChildJointMove(doc); }},
    {IDM_FIX_POSITIONS, [](SceneDocument& doc, ShellUi& ui) { fixJointPositionsCommand(doc, ui); }},
    // Posing: FK and IK modes, resetting the rotations, moving the base joint along
    // an axis and the rotation-axis presets.
    {IDM_ROTATE_FK, [](SceneDocument& doc, ShellUi& ui) { enterFkMode(doc, ui); }},
    {IDM_ROTATE_IK, [](SceneDocument& doc, ShellUi& ui) { enterIkMode(doc, ui); }},
    {IDM_RESET_ROTATIONS,
     [](SceneDocument& doc, ShellUi& ui) { resetAllRotations(doc.skeleton, ui); }},
    {IDM_MOVE_ROOT_X, [](SceneDocument& doc, ShellUi& ui) { beginBaseJointMove(doc, ui, 0); }},
    {IDM_MOVE_ROOT_Y, [](SceneDocument& doc, ShellUi& ui) { beginBaseJointMove(doc, ui, 1); }},
    {IDM_MOVE_ROOT_Z, [](SceneDocument& doc, ShellUi& ui) { beginBaseJointMove(doc, ui, 2); }},
    {IDM_AXIS_FREE, [](SceneDocument& doc, ShellUi&) { chooseAxisPreset(doc, kAxisFree); }},
    {IDM_AXIS_X, [](SceneDocument& doc, ShellUi&) { chooseAxisPreset(doc, kAxisAlongX); }},
    {IDM_AXIS_Y, [](SceneDocument& doc, ShellUi&) { chooseAxisPreset(doc, kAxisAlongY); }},
    {IDM_AXIS_Z, [](SceneDocument& doc, ShellUi&) { chooseAxisPreset(doc, kAxisAlongZ); }},
    {IDM_AXIS_REVERSED, [](SceneDocument& doc, ShellUi& ui) { toggleAxisReversed(doc, ui); }},
    // The two weighting commands, box and vertex by vertex.
    {IDM_WEIGHT_BOX, [](SceneDocument&, ShellUi&) { weightBox(); }},
    {IDM_WEIGHT_BY_VERTEX, [](SceneDocument&, ShellUi&) { weightByVertex(); }},
    // Keyframes, interpolation, playback and saving the played frames.
    {IDM_KEYFRAME_CREATE, [](SceneDocument&, ShellUi&) { createKeyframe(); }},
    {IDM_INTERPOLATION, [](SceneDocument&, ShellUi&) { chooseInterpolation(); }},
    {IDM_KEYFRAME_NEXT,
     [](SceneDocument& doc, ShellUi& ui) { showAdjacentKeyframe(doc, ui, true); }},
    {IDM_KEYFRAME_PREVIOUS,
     [](SceneDocument& doc, ShellUi& ui) { showAdjacentKeyframe(doc, ui, false); }},
    {IDM_KEYFRAME_DELETE, [](SceneDocument& doc, ShellUi& ui) { deleteShownKeyFrame(doc, ui); }},
    {IDM_KEYFRAME_BONES, [](SceneDocument& doc, ShellUi& ui) { showKeyframeBones(doc, ui); }},
    {IDM_PLAY_ALL, [](SceneDocument& doc, ShellUi& ui) { armWholeRange(doc, ui); }},
    {IDM_PLAY_RANGE, [](SceneDocument&, ShellUi&) { chooseRangeAndArm(); }},
    {IDM_PLAY, [](SceneDocument&, ShellUi&) { pressSpaceInView(); }},
    {IDM_SAVE_FRAMES, [](SceneDocument& doc, ShellUi& ui) { toggleSaveFrames(doc, ui); }},
};

}  // namespace

bool runEditCommand(int id) {
  SceneDocument& doc = program().doc;
  ShellUi& ui = program().ui;
  if (chooseModeItem(doc, id, ui)) return true;
  if (toggleEditFlag(doc, id, ui)) {
    redrawMain();
    return true;
  }
  for (const EditCommandEntry& command : kEditCommands) {
    if (command.id == id) {
      command.run(doc, ui);
      return true;
    }
  }
  return false;
}

}  // namespace lw
