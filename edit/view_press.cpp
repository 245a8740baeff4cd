// What a left press in the 3D window does, one handler per editMode it acts in:
// the drags it starts, the placements it makes through a depth probe, and the
// two-click commands and dialogs it finishes.
#include "edit/view_press.h"

#include <string>

#include "core/joint.h"
#include "skeleton/axes.h"
#include "skeleton/placement.h"
#include "skin/weight_box.h"
#include "skin/weight_dialogs.h"

namespace lw {

namespace view_input_detail {

namespace {

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

}  // namespace

bool pressInMode(ViewInputContext& ctx, int16_t x, int16_t y) {
  for (const PressRow& row : kPresses) {
    if (row.mode == ctx.doc.editMode) return row.press(ctx, x, y);
  }
  return true;
}

}  // namespace view_input_detail

}  // namespace lw
