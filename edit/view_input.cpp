// The 3D window's input as a state machine: the picking families, the repaint
// that picks, mouse moves that arm a pick or continue a drag, the releases and
// the keys. What a left press starts in each editMode is in view_press.cpp.
#include "edit/view_input.h"

#include "core/joint.h"
#include "edit/view_press.h"
#include "skeleton/axes.h"
#include "skeleton/fk.h"
#include "skeleton/ik.h"
#include "skeleton/placement.h"
#include "skin/weight_box.h"

namespace lw {

using view_input_detail::cursorToWorld;
using view_input_detail::pressInMode;
using view_input_detail::showDrawFailure;

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
