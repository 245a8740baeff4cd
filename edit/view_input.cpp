#include "edit/view_input.h"

#include "core/joint.h"
#include "skeleton/axes.h"
#include "skeleton/fk.h"
#include "skeleton/ik.h"
#include "skeleton/placement.h"
#include "skin/weight_box.h"
#include "skin/weight_dialogs.h"

namespace lw {

namespace {

constexpr int32_t kUnused = -1;

// Every family: picking value, armed values, hit, miss, hit choice, whether a
// hit keeps its depth, whether a move arms only without a left drag.
constexpr PickFamily kFamilies[] = {
    {kModeMoveJointPicking,
     {MoveChildJoint, kUnused},
     MoveChildJoint,
     MoveChildJoint,
     PickChoice::First,
     false,
     true},
    {kModeChildParentPicking,
     {PlaceChildJoint, kModeChildParentPicked},
     kModeChildParentPicked,
     PlaceChildJoint,
     PickChoice::First,
     false,
     false},
    {kModeBoxFacePicking,
     {MoveWeightBoxFace, kUnused},
     MoveWeightBoxFace,
     MoveWeightBoxFace,
     PickChoice::Nearest,
     false,
     true},
    {kModeFkPicking,
     {RotateFk, kModeFkPicked},
     kModeFkPicked,
     RotateFk,
     PickChoice::First,
     false,
     true},
    {kModeVertexPicking,
     {WeightByVertex, kModeVertexPicked},
     kModeVertexPicked,
     WeightByVertex,
     PickChoice::Nearest,
     false,
     false},
    {kModeAxisPicking,
     {EditFkAxis, kModeAxisPicked},
     kModeAxisPicked,
     EditFkAxis,
     PickChoice::First,
     true,
     false},
    {kModeIkPicking,
     {RotateIk, kModeIkPicked},
     kModeIkPicked,
     RotateIk,
     PickChoice::First,
     true,
     true},
    {kModeEqualiseSourcePicking,
     {EqualiseBoneLengths, kModeEqualiseSourcePicked},
     kModeEqualiseSourcePicked,
     EqualiseBoneLengths,
     PickChoice::First,
     false,
     false},
    {kModeEqualiseTargetPicking,
     {kModeEqualiseTarget, kModeEqualiseTargetPicked},
     kModeEqualiseTargetPicked,
     kModeEqualiseTarget,
     PickChoice::First,
     false,
     false},
    {kModeStopIkPicking,
     {StopIk, kModeStopIkPicked},
     kModeStopIkPicked,
     StopIk,
     PickChoice::First,
     true,
     false},
    {kModeDeletePicking,
     {DeleteChildJoint, kModeDeletePicked},
     kModeDeletePicked,
     DeleteChildJoint,
     PickChoice::First,
     true,
     false},
    {kModeNamePicking,
     {NameJoint, kModeNamePicked},
     kModeNamePicked,
     NameJoint,
     PickChoice::First,
     true,
     false},
    {kModeMirrorSourcePicking,
     {MirrorJoint, kModeMirrorSourcePicked},
     kModeMirrorSourcePicked,
     MirrorJoint,
     PickChoice::First,
     false,
     false},
    {kModeMirrorTargetPicking,
     {kModeMirrorTarget, kModeMirrorTargetPicked},
     kModeMirrorTargetPicked,
     kModeMirrorTarget,
     PickChoice::First,
     false,
     false},
    {kModeRootMovePicking,
     {MoveRootJoint, kModeRootMovePicked},
     kModeRootMovePicked,
     MoveRootJoint,
     PickChoice::First,
     true,
     false},
};

void showDrawFailure(ViewInputContext& ctx) {
  ctx.ui.showMessage(kDrawFailedText, kDrawFailedTitle);
  ctx.host.closeWindow();
}

// Window-to-world of the cursor at pickDepth into pickPoint. A failed conversion
// leaves pickPoint and the reason in ErrorText as they are.
bool cursorToWorld(ViewInputContext& ctx, int16_t x, int16_t y) {
  return ctx.host.windowToWorld(x, y, ctx.state.pickDepth, ctx.doc.pickPoint) == 0;
}

void startLeftDrag(ViewInputContext& ctx) {
  ctx.state.dragActive = 1;
  ctx.host.captureMouse();
}

// The world point under the cursor for a placement: the depth probe sets
// pickDepth (kPlacementMissDepth over empty space; kept when the probe
// overflows) and leaves editMode at PlaceRootJoint, then window-to-world fills
// pickPoint. Returns false when there is no point: a failed probe has shown the
// drawing error and closed the window; a failed conversion shows its reason.
bool placementPoint(ViewInputContext& ctx, int16_t x, int16_t y) {
  SceneDocument& doc = ctx.doc;
  const PickResult probe = ctx.host.probeDepth(x, y);
  doc.editMode = PlaceRootJoint;
  if (!probe.drawOk) {
    showDrawFailure(ctx);
    return false;
  }
  if (probe.hitCount > 0) {
    doc.selectedJoint = probe.name;
    ctx.state.pickDepth = probe.meanDepth;
  } else if (probe.hitCount == 0) {
    ctx.state.pickDepth = kPlacementMissDepth;
  }
  if (!cursorToWorld(ctx, x, y)) {
    // Placing at a stale point would put the joint or box somewhere the user
    // never clicked; say why and place nothing.
    ctx.ui.showMessage(doc.ErrorText, kPlacementPointFailedTitle);
    doc.ErrorText.clear();
    return false;
  }
  return true;
}

std::string selectedJointName(const SceneDocument& doc) {
  return jointNameForID(doc.skeleton, doc.selectedJoint);
}

// The operations a left press starts, one per editMode it acts in. Each returns
// true when the press goes on to remember the selection in pressedPick and
// redraw; false when the operation has finished the press itself.

// MoveChildJoint, MoveWeightBoxFace: the drag starts, and the repaint picks what
// it drags at the cursor.
bool pressPickToDrag(ViewInputContext& ctx, int16_t x, int16_t y) {
  if (!ctx.state.dragActive) {
    startLeftDrag(ctx);
    ctx.state.hoverX = x;
    ctx.state.hoverY = y;
    ctx.doc.editMode = armedFamilyFor(ctx.doc.editMode)->picking;
  }
  ctx.ui.redraw();
  return false;
}

bool pressPlaceWeightBox(ViewInputContext& ctx, int16_t x, int16_t y) {
  SceneDocument& doc = ctx.doc;
  if (placementPoint(ctx, x, y)) placeWeightBox(doc, ctx.ui, doc.pickPoint);
  doc.editMode = PlaceWeightBox;
  return true;
}

bool pressChildParent(ViewInputContext& ctx, int16_t, int16_t) {
  SceneDocument& doc = ctx.doc;
  doc.editMode = kModeChildPlacing;
  ctx.state.pressedPick = doc.selectedJoint;
  doc.parentJointName = selectedJointName(doc);
  return true;
}

bool pressPlaceChild(ViewInputContext& ctx, int16_t x, int16_t y) {
  SceneDocument& doc = ctx.doc;
  if (placementPoint(ctx, x, y)) {
    addChildJoint(doc, doc.parentJointName, pickPointVector(doc), doc.mirrorPlane, ctx.ui);
    doc.editMode = PlaceChildJoint;
  } else {
    doc.editMode = kModeChildPlacing;  // the parent stays chosen for another click
  }
  return true;
}

bool pressPlaceRoot(ViewInputContext& ctx, int16_t x, int16_t y) {
  if (placementPoint(ctx, x, y)) placeBaseJoint(ctx.doc, pickPointVector(ctx.doc), ctx.ui);
  return true;
}

// Starts a drag whose steps are taken against the previous cursor position.
void startStepDrag(ViewInputContext& ctx, int16_t x, int16_t y) {
  if (ctx.state.dragActive) return;
  startLeftDrag(ctx);
  ctx.state.prevX = x;
  ctx.state.prevY = y;
}

bool pressFk(ViewInputContext& ctx, int16_t x, int16_t y) {
  SceneDocument& doc = ctx.doc;
  startStepDrag(ctx, x, y);
  doc.editMode = kModeFkDrag;
  doc.editedJointName = selectedJointName(doc);
  ctx.state.pressedPick = doc.selectedJoint;
  ctx.ui.redraw();
  return false;
}

bool pressIk(ViewInputContext& ctx, int16_t x, int16_t y) {
  SceneDocument& doc = ctx.doc;
  startStepDrag(ctx, x, y);
  doc.editMode = kModeIkDrag;
  doc.editedJointName = selectedJointName(doc);
  ctx.state.dragTarget = kNoDirectionVector;
  ctx.ui.redraw();
  return false;
}

bool pressRootMove(ViewInputContext& ctx, int16_t x, int16_t y) {
  if (!ctx.state.dragActive) {
    // Each step's direction is taken against the previous cursor x, so the
    // drag starts from the press; a position left over from an earlier drag
    // would send the first step the wrong way.
    startStepDrag(ctx, x, y);
    ctx.doc.editMode = kModeRootMoveDrag;
    ctx.state.pressedPick = ctx.doc.selectedJoint;
  }
  ctx.ui.redraw();
  return false;
}

bool pressAxis(ViewInputContext& ctx, int16_t, int16_t) {
  if (!ctx.state.dragActive) {
    startLeftDrag(ctx);
    ctx.doc.editMode = kModeAxisDrag;
    ctx.state.pressedPick = ctx.doc.selectedJoint % kAxisHandlePickBase;
  }
  ctx.ui.redraw();
  return false;
}

bool pressVertex(ViewInputContext& ctx, int16_t, int16_t) {
  selectPickedCorner(ctx.doc, ctx.doc.selectedJoint);
  return true;
}

bool pressEqualiseSource(ViewInputContext& ctx, int16_t, int16_t) {
  if (!ctx.state.dragActive) {
    // The mouse is captured so that the release always arrives and ends the
    // press, even when the button comes up outside the window.
    startLeftDrag(ctx);
    ctx.doc.editMode = kModeEqualiseTarget;
    ctx.state.pressedPick = ctx.doc.selectedJoint;
  }
  ctx.ui.redraw();
  return false;
}

bool pressEqualiseTarget(ViewInputContext& ctx, int16_t, int16_t) {
  SceneDocument& doc = ctx.doc;
  if (!ctx.state.dragActive && doc.selectedJoint != ctx.state.pressedPick) {
    equaliseBoneLength(doc, ctx.state.pressedPick, doc.selectedJoint, ctx.ui);
    doc.editMode = EqualiseBoneLengths;
    ctx.ui.redraw();
  }
  return false;
}

bool pressStopIk(ViewInputContext& ctx, int16_t, int16_t) {
  ctx.doc.editedJointName = selectedJointName(ctx.doc);
  ctx.host.openIkStopDialog();
  ctx.ui.redraw();
  return false;
}

bool pressDelete(ViewInputContext& ctx, int16_t, int16_t) {
  SceneDocument& doc = ctx.doc;
  deleteJoint(doc, doc.selectedJoint, ctx.ui);
  doc.editMode = DeleteChildJoint;
  doc.selectedJoint = kNoJointPicked;
  return true;
}

bool pressName(ViewInputContext& ctx, int16_t, int16_t) {
  SceneDocument& doc = ctx.doc;
  doc.editedJointName = selectedJointName(doc);
  std::string treeName;
  if (ctx.host.askJointName(treeName)) {
    if (Joint* joint = findJoint(doc.skeleton, doc.editedJointName)) {
      renameJoint(doc.skeleton, *joint, treeName, ctx.ui);
    }
  }
  doc.editMode = NameJoint;
  return true;
}

bool pressMirrorSource(ViewInputContext& ctx, int16_t, int16_t) {
  SceneDocument& doc = ctx.doc;
  ctx.state.pressedPick = doc.selectedJoint;
  doc.editMode = kModeMirrorTarget;
  doc.selectedJoint = kNoJointPicked;
  ctx.ui.redraw();
  return false;
}

bool pressMirrorTarget(ViewInputContext& ctx, int16_t, int16_t) {
  SceneDocument& doc = ctx.doc;
  const Joint* source = findJointByID(doc.skeleton, ctx.state.pressedPick);
  Joint* target = findJointByID(doc.skeleton, doc.selectedJoint);
  if (source != nullptr && target != nullptr) mirrorJointOnto(*source, *target, doc.mirrorPlane);
  doc.editMode = MirrorJoint;
  doc.selectedJoint = kNoJointPicked;
  return true;
}

// One row per editMode a left press acts in, grouped by family; in any other
// value a press only remembers the selection and redraws.
struct PressRow {
  int32_t mode;
  bool (*press)(ViewInputContext& ctx, int16_t x, int16_t y);
};

constexpr PressRow kPresses[] = {
    {MoveChildJoint, pressPickToDrag},
    {kModeChildParentPicked, pressChildParent},
    {kModeChildPlacing, pressPlaceChild},
    {PlaceRootJoint, pressPlaceRoot},
    {PlaceWeightBox, pressPlaceWeightBox},
    {MoveWeightBoxFace, pressPickToDrag},
    {kModeFkPicked, pressFk},
    {kModeVertexPicked, pressVertex},
    {kModeAxisPicked, pressAxis},
    {kModeIkPicked, pressIk},
    {kModeEqualiseSourcePicked, pressEqualiseSource},
    {kModeEqualiseTargetPicked, pressEqualiseTarget},
    {kModeStopIkPicked, pressStopIk},
    {kModeDeletePicked, pressDelete},
    {kModeNamePicked, pressName},
    {kModeMirrorSourcePicked, pressMirrorSource},
    {kModeMirrorTargetPicked, pressMirrorTarget},
    {kModeRootMovePicked, pressRootMove},
};

bool pressInMode(ViewInputContext& ctx, int16_t x, int16_t y) {
  for (const PressRow& row : kPresses) {
    if (row.mode == ctx.doc.editMode) return row.press(ctx, x, y);
  }
  return true;
}

// One mouse move of a left drag, by editMode.
void dragStep(ViewInputContext& ctx, int16_t x, int16_t y) {
  SceneDocument& doc = ctx.doc;
  ViewInputState& state = ctx.state;
  ShellUi& ui = ctx.ui;
  switch (doc.editMode) {
    case kModeMoveJointDrag:
      cursorToWorld(ctx, x, y);
      if (Joint* joint = findJointByID(doc.skeleton, doc.selectedJoint)) {
        moveJoint(*joint, pickPointVector(doc));
      }
      ui.redraw();
      break;
    case kModeBoxFaceDrag:
      moveWeightBoxFace(doc.weightBox, doc.selectedJoint, state.pressedPick,
                        boxFaceDragStep(x, state.prevX));
      ui.redraw();
      break;
    case kModeFkDrag:
      if (Joint* joint = findJoint(doc.skeleton, doc.editedJointName)) {
        fkStep(*joint, x < state.prevX, state.fkAngleStep);
      }
      state.prevX = x;
      ui.redraw();
      break;
    case kModeAxisDrag:
      cursorToWorld(ctx, x, y);
      state.dragTarget = pickPointVector(doc);
      axisDragStep(doc, state.pressedPick, state.dragTarget, ui);
      break;
    case kModeIkDrag:
      state.pressedPick = doc.selectedJoint;
      state.prevX = x;
      state.prevY = y;
      cursorToWorld(ctx, x, y);
      state.dragTarget = pickPointVector(doc);
      ikDragStep(doc.skeleton, state.pressedPick, state.dragTarget, ui);
      break;
    case kModeRootMoveDrag:
      nudgeBaseJoint(doc, doc.selectedJoint, doc.rootMoveAxis, x < state.prevX);
      state.prevX = x;
      ui.redraw();
      break;
    default:
      break;
  }
}

}  // namespace

int32_t boxFacePickName(int32_t pickBase, BoxFace face) {
  return pickBase + kBoxFaceNameStep * face;
}

// The faces are named relative to pressedPick, which is whatever the last press
// left there (-1 after a press on empty space), so the test is relative too.
bool isBoxFacePickName(int32_t name, int32_t pickBase) {
  const int64_t offset = int64_t{name} - pickBase;
  return offset >= kBoxFaceNameStep && offset <= int64_t{kBoxFaceNameStep} * kBoxFaceCount;
}

double boxFaceDragStep(int cursorX, int previousX) {
  return cursorX < previousX ? -kBoxFaceStep : kBoxFaceStep;
}

const PickFamily* pickFamilyFor(int32_t editMode) {
  for (const PickFamily& family : kFamilies) {
    if (family.picking == editMode) return &family;
  }
  return nullptr;
}

const PickFamily* armedFamilyFor(int32_t editMode) {
  for (const PickFamily& family : kFamilies) {
    if (family.armed[0] == editMode || family.armed[1] == editMode) return &family;
  }
  return nullptr;
}

void handleViewPaint(ViewInputContext& ctx) {
  if (const PickFamily* family = pickFamilyFor(ctx.doc.editMode)) {
    const PickResult result = ctx.host.pick(ctx.state.hoverX, ctx.state.hoverY, family->choice);
    if (!result.drawOk) {
      showDrawFailure(ctx);
      return;
    }
    applyPickResult(ctx.doc, ctx.state, result);
  }
  if (!ctx.host.drawFrame()) showDrawFailure(ctx);
}

void applyPickResult(SceneDocument& doc, ViewInputState& state, const PickResult& result) {
  const PickFamily* family = pickFamilyFor(doc.editMode);
  if (family == nullptr) return;
  if (result.hitCount < 1) {
    doc.selectedJoint = kNoJointPicked;
    doc.editMode = family->miss;
    return;
  }
  if (state.dragActive) {
    // A press has started a drag and this pick chooses what it drags.
    if (doc.editMode == kModeMoveJointPicking) {
      doc.selectedJoint = result.name;
      state.pickDepth = result.meanDepth;
      doc.editMode = kModeMoveJointDrag;
    } else if (doc.editMode == kModeBoxFacePicking &&
               isBoxFacePickName(result.name, state.pressedPick)) {
      doc.selectedJoint = result.name;
      doc.editMode = kModeBoxFaceDrag;
      state.prevX = state.hoverX;
      state.prevY = state.hoverY;
    }
    return;
  }
  doc.selectedJoint = result.name;
  if (family->keepDepth) state.pickDepth = result.meanDepth;
  if (doc.editMode == kModeRootMovePicking) {
    state.dragTarget = Vector3{};
    doc.dragStarted = 0;
    doc.dragCounter = 0;
    doc.dragVector = Vector3{};
  }
  doc.editMode = family->hit;
}

void handleViewMouseMove(ViewInputContext& ctx, int16_t x, int16_t y) {
  SceneDocument& doc = ctx.doc;
  ViewInputState& state = ctx.state;
  if (state.cameraDragActive) {
    ctx.host.dragCamera(x - state.prevX, y - state.prevY);
    state.prevX = x;
    state.prevY = y;
    ctx.ui.redraw();
    return;
  }
  if (const PickFamily* family = armedFamilyFor(doc.editMode)) {
    if (family->armedOnlyIdle && state.dragActive) return;
    doc.selectedJoint = kNoJointPicked;
    state.hoverX = x;
    state.hoverY = y;
    doc.editMode = family->picking;
    ctx.ui.redraw();
    return;
  }
  if (state.dragActive) dragStep(ctx, x, y);
}

void handleViewLeftDown(ViewInputContext& ctx, int16_t x, int16_t y) {
  // The camera drag and a left drag exclude each other.
  if (ctx.state.cameraDragActive) return;
  if (!pressInMode(ctx, x, y)) return;
  ctx.state.pressedPick = ctx.doc.selectedJoint;
  ctx.ui.redraw();
}

void handleViewLeftUp(ViewInputContext& ctx) {
  SceneDocument& doc = ctx.doc;
  if (!ctx.state.dragActive) return;
  ctx.state.dragActive = 0;
  ctx.host.releaseMouse();
  switch (doc.editMode) {
    case kModeMoveJointDrag:
      doc.editMode = MoveChildJoint;
      break;
    case kModeBoxFaceDrag:
      doc.editMode = MoveWeightBoxFace;
      break;
    case kModeFkDrag:
      doc.editMode = RotateFk;
      break;
    case kModeAxisDrag:
      doc.editMode = EditFkAxis;
      break;
    case kModeIkDrag:
      doc.editMode = RotateIk;
      break;
    case kModeRootMoveDrag:
      doc.editMode = MoveRootJoint;
      break;
    default:
      break;
  }
  // A pick made during the drag chose nothing and left the mode in its picking
  // value; without a repaint no mouse move would ever pick again.
  if (isPickingMode(doc.editMode)) ctx.ui.redraw();
}

void handleViewRightDown(ViewInputContext& ctx, int16_t x, int16_t y) {
  SceneDocument& doc = ctx.doc;
  ViewInputState& state = ctx.state;
  if (doc.editMode == kModeVertexPicked) {
    if (!doc.vertexSelection.empty()) {
      ctx.host.openVertexWeightDialog();
    } else {
      ctx.host.showViewMessage(kEmptyVertexSelectionText, kEmptyVertexSelectionTitle);
    }
    doc.vertexSelection.clear();
    ctx.ui.redraw();
    return;
  }
  if (state.cameraDragActive || state.dragActive) return;
  state.cameraDragActive = 1;
  ctx.host.captureMouse();
  state.prevX = x;
  state.prevY = y;
}

void handleViewRightUp(ViewInputContext& ctx) {
  if (!ctx.state.cameraDragActive) return;
  ctx.state.cameraDragActive = 0;
  ctx.host.releaseMouse();
}

void handleViewKeyDown(ViewInputContext& ctx, int keyCode) {
  const SceneDocument& doc = ctx.doc;
  if (static_cast<unsigned char>(keyCode) != static_cast<unsigned char>(kPlaybackKey)) return;
  if (doc.animationView != 1 || !doc.keyFrames) return;
  if (doc.keyFrames->byNumber.size() > 1 && doc.keyFrames->byTime.size() > 1) {
    ctx.host.startPlayback();
  }
}

}  // namespace lw
