#include "skeleton/view_input.h"

#include "core/joint.h"
#include "skeleton/axes.h"
#include "skeleton/fk.h"
#include "skeleton/ik.h"
#include "skeleton/placement.h"

namespace lw {

namespace {

constexpr int32_t kUnused = -1;

// Every family: picking value, armed values, hit, miss, hit choice, whether a
// hit keeps its depth, whether a move arms only without a left drag.
constexpr PickFamily kFamilies[] = {
    {kModeMoveJointPicking, {MoveChildJoint, kUnused}, MoveChildJoint, MoveChildJoint,
     PickChoice::First, false, true},
    {kModeChildParentPicking, {PlaceChildJoint, kModeChildParentPicked}, kModeChildParentPicked,
     PlaceChildJoint, PickChoice::First, false, false},
    {kModeBoxFacePicking, {MoveWeightBoxFace, kUnused}, MoveWeightBoxFace, MoveWeightBoxFace,
     PickChoice::Nearest, false, true},
    {kModeFkPicking, {RotateFk, kModeFkPicked}, kModeFkPicked, RotateFk, PickChoice::First, false,
     true},
    {kModeVertexPicking, {WeightByVertex, kModeVertexPicked}, kModeVertexPicked, WeightByVertex,
     PickChoice::Nearest, false, false},
    {kModeAxisPicking, {EditFkAxis, kModeAxisPicked}, kModeAxisPicked, EditFkAxis,
     PickChoice::First, true, false},
    {kModeIkPicking, {RotateIk, kModeIkPicked}, kModeIkPicked, RotateIk, PickChoice::First, true,
     true},
    {kModeEqualiseSourcePicking, {EqualiseBoneLengths, kModeEqualiseSourcePicked},
     kModeEqualiseSourcePicked, EqualiseBoneLengths, PickChoice::First, false, false},
    {kModeEqualiseTargetPicking, {kModeEqualiseTarget, kModeEqualiseTargetPicked},
     kModeEqualiseTargetPicked, kModeEqualiseTarget, PickChoice::First, false, false},
    {kModeStopIkPicking, {StopIk, kModeStopIkPicked}, kModeStopIkPicked, StopIk,
     PickChoice::First, true, false},
    {kModeDeletePicking, {DeleteChildJoint, kModeDeletePicked}, kModeDeletePicked,
     DeleteChildJoint, PickChoice::First, true, false},
    {kModeNamePicking, {NameJoint, kModeNamePicked}, kModeNamePicked, NameJoint,
     PickChoice::First, true, false},
    {kModeMirrorSourcePicking, {MirrorJoint, kModeMirrorSourcePicked}, kModeMirrorSourcePicked,
     MirrorJoint, PickChoice::First, false, false},
    {kModeMirrorTargetPicking, {kModeMirrorTarget, kModeMirrorTargetPicked},
     kModeMirrorTargetPicked, kModeMirrorTarget, PickChoice::First, false, false},
    {kModeRootMovePicking, {MoveRootJoint, kModeRootMovePicked}, kModeRootMovePicked,
     MoveRootJoint, PickChoice::First, true, false},
};

// Box faces are named pressedPick + 100 ... pressedPick + 600.
constexpr int64_t kFirstBoxFaceOffset = 100;
constexpr int64_t kLastBoxFaceOffset = 600;

// Whether a picked name is one of the weighting box's faces. The faces are
// named relative to pressedPick, which is whatever the last press left there
// (-1 after a press on empty space), so the test is relative too.
bool isBoxFaceName(int32_t name, int32_t pickBase) {
  const int64_t offset = int64_t{name} - pickBase;
  return offset >= kFirstBoxFaceOffset && offset <= kLastBoxFaceOffset;
}

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

// The operation a left press starts in the current editMode. Returns true when
// the press goes on to remember the selection in pressedPick and redraw; false
// when the operation has finished the press itself.
bool pressInMode(ViewInputContext& ctx, int16_t x, int16_t y) {
  SceneDocument& doc = ctx.doc;
  ViewInputState& state = ctx.state;
  ShellUi& ui = ctx.ui;
  switch (doc.editMode) {
    case MoveChildJoint:
      if (!state.dragActive) {
        startLeftDrag(ctx);
        state.hoverX = x;
        state.hoverY = y;
        doc.editMode = kModeMoveJointPicking;  // the repaint picks the joint to drag
      }
      ui.redraw();
      return false;
    case PlaceWeightBox:
      if (placementPoint(ctx, x, y)) ctx.host.placeWeightBox(doc.pickPoint);
      doc.editMode = PlaceWeightBox;
      return true;
    case kModeChildParentPicked:
      doc.editMode = kModeChildPlacing;
      state.pressedPick = doc.selectedJoint;
      doc.parentJointName = selectedJointName(doc);
      return true;
    case kModeChildPlacing:
      if (placementPoint(ctx, x, y)) {
        addChildJoint(doc, doc.parentJointName, pickPointVector(doc), doc.mirrorPlane, ui);
        doc.editMode = PlaceChildJoint;
      } else {
        doc.editMode = kModeChildPlacing;  // the parent stays chosen for another click
      }
      return true;
    case PlaceRootJoint:
      if (placementPoint(ctx, x, y)) placeBaseJoint(doc, pickPointVector(doc), ui);
      return true;
    case MoveWeightBoxFace:
      if (!state.dragActive) {
        startLeftDrag(ctx);
        state.hoverX = x;
        state.hoverY = y;
        doc.editMode = kModeBoxFacePicking;  // the repaint picks the face to drag
      }
      ui.redraw();
      return false;
    case kModeFkPicked:
      if (!state.dragActive) {
        startLeftDrag(ctx);
        state.prevX = x;
        state.prevY = y;
      }
      doc.editMode = kModeFkDrag;
      doc.editedJointName = selectedJointName(doc);
      state.pressedPick = doc.selectedJoint;
      ui.redraw();
      return false;
    case kModeVertexPicked:
      ctx.host.appendPickedVertex(doc.selectedJoint);
      return true;
    case kModeAxisPicked:
      if (!state.dragActive) {
        startLeftDrag(ctx);
        doc.editMode = kModeAxisDrag;
        state.pressedPick = doc.selectedJoint % kAxisHandlePickBase;
      }
      ui.redraw();
      return false;
    case kModeIkPicked:
      if (!state.dragActive) {
        startLeftDrag(ctx);
        state.prevX = x;
        state.prevY = y;
      }
      doc.editMode = kModeIkDrag;
      doc.editedJointName = selectedJointName(doc);
      state.dragTarget = kNoDirectionVector;
      ui.redraw();
      return false;
    case kModeEqualiseSourcePicked:
      if (!state.dragActive) {
        // The mouse is captured so that the release always arrives and ends
        // the press, even when the button comes up outside the window.
        startLeftDrag(ctx);
        doc.editMode = kModeEqualiseTarget;
        state.pressedPick = doc.selectedJoint;
      }
      ui.redraw();
      return false;
    case kModeEqualiseTargetPicked:
      if (!state.dragActive && doc.selectedJoint != state.pressedPick) {
        equaliseBoneLength(doc, state.pressedPick, doc.selectedJoint, ui);
        doc.editMode = EqualiseBoneLengths;
        ui.redraw();
      }
      return false;
    case kModeStopIkPicked:
      doc.editedJointName = selectedJointName(doc);
      ctx.host.openIkStopDialog();
      ui.redraw();
      return false;
    case kModeDeletePicked:
      deleteJoint(doc, doc.selectedJoint, ui);
      doc.editMode = DeleteChildJoint;
      doc.selectedJoint = kNoJointPicked;
      return true;
    case kModeNamePicked: {
      doc.editedJointName = selectedJointName(doc);
      std::string treeName;
      if (ctx.host.askJointName(treeName)) {
        if (Joint* joint = findJoint(doc.skeleton, doc.editedJointName)) {
          renameJoint(doc.skeleton, *joint, treeName, ui);
        }
      }
      doc.editMode = NameJoint;
      return true;
    }
    case kModeMirrorSourcePicked:
      state.pressedPick = doc.selectedJoint;
      doc.editMode = kModeMirrorTarget;
      doc.selectedJoint = kNoJointPicked;
      ui.redraw();
      return false;
    case kModeMirrorTargetPicked: {
      const Joint* source = findJointByID(doc.skeleton, state.pressedPick);
      Joint* target = findJointByID(doc.skeleton, doc.selectedJoint);
      if (source != nullptr && target != nullptr) {
        mirrorJointOnto(*source, *target, doc.mirrorPlane);
      }
      doc.editMode = MirrorJoint;
      doc.selectedJoint = kNoJointPicked;
      return true;
    }
    case kModeRootMovePicked:
      if (!state.dragActive) {
        startLeftDrag(ctx);
        // Each step's direction is taken against the previous cursor x, so the
        // drag starts from the press; a position left over from an earlier
        // drag would send the first step the wrong way.
        state.prevX = x;
        state.prevY = y;
        doc.editMode = kModeRootMoveDrag;
        state.pressedPick = doc.selectedJoint;
      }
      ui.redraw();
      return false;
    default:
      return true;
  }
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
      ctx.host.moveWeightBoxFace(doc.selectedJoint, state.pressedPick, x < state.prevX);
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
               isBoxFaceName(result.name, state.pressedPick)) {
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
    case kModeMoveJointDrag: doc.editMode = MoveChildJoint; break;
    case kModeBoxFaceDrag: doc.editMode = MoveWeightBoxFace; break;
    case kModeFkDrag: doc.editMode = RotateFk; break;
    case kModeAxisDrag: doc.editMode = EditFkAxis; break;
    case kModeIkDrag: doc.editMode = RotateIk; break;
    case kModeRootMoveDrag: doc.editMode = MoveRootJoint; break;
    default: break;
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
