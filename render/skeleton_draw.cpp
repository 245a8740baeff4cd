// The skeleton overlay: joint markers and bones before the positions are fixed
// (placement) and after (posed), FK axis handles, bone axes and joint numbers.
#include <initializer_list>
#include <string>

#include "render/gl_headers.h"
#include "render/picking.h"
#include "render/primitives.h"
#include "render/scene.h"
#include "skeleton/axes.h"
#include "skeleton/fk.h"

namespace lw {

namespace {

constexpr Rgb3 kPicked{1.0f, 0.5f, 0.5f};
constexpr Rgb3 kAnchor{1.0f, 0.2f, 0.2f};
constexpr Rgb3 kTreeSelected{1.0f, 0.2f, 1.0f};
constexpr Rgb3 kPlainJoint{0.0f, 0.0f, 1.0f};
constexpr Rgb3 kRootPicked{1.0f, 0.5f, 0.5f};
constexpr Rgb3 kRootBoxMode{1.0f, 0.9f, 0.2f};
constexpr Rgb3 kRootPlain{0.1f, 0.8f, 0.5f};
constexpr Rgb3 kGreen{0.0f, 1.0f, 0.0f};
constexpr Rgb3 kRed{1.0f, 0.0f, 0.0f};
constexpr Rgb3 kYellow{1.0f, 1.0f, 0.0f};
constexpr char kRootJointName[] = "Joint0";

bool oneOf(int32_t mode, std::initializer_list<int32_t> modes) {
  for (int32_t m : modes) {
    if (m == mode) return true;
  }
  return false;
}

bool isTreeSelected(const SceneDocument& doc, const Joint& joint) {
  return doc.treeSelectedJoint != 0 && joint.jointID == doc.treeSelectedJoint;
}

Rgb3 placementColour(SceneDocument& doc, const ViewInputState& input, const Joint& joint,
                     bool first) {
  const int32_t mode = doc.editMode;
  if ((oneOf(mode, {MoveChildJoint, kModeMoveJointDrag, kModeChildParentPicked, kModeNamePicked,
                    kModeMirrorSourcePicked, kModeMirrorTargetPicked}) ||
       (mode == kModeDeletePicked && !first)) &&
      joint.jointID == doc.selectedJoint) {
    return kPicked;
  }
  if ((mode == kModeChildPlacing || isMirrorTargetMode(mode)) &&
      joint.jointID == input.pressedPick) {
    doc.parentJointName = joint.jointName;
    return kAnchor;
  }
  if (isTreeSelected(doc, joint)) return kTreeSelected;
  return kPlainJoint;
}

void drawPlacementSkeleton(SceneDocument& doc, const ViewInputState& input) {
  const auto root = doc.skeleton.joints.find(kRootJointName);
  if (root == doc.skeleton.joints.end() || root->second->validJoint != 1) return;
  glInitNames();
  glPushName(0);
  const bool hideBones = oneOf(doc.editMode, {kModeMoveJointPicking, kModeChildParentPicking,
                                              kModeFkPicking, kModeDeletePicking, kModeNamePicking,
                                              kModeMirrorSourcePicking, kModeMirrorTargetPicking});
  bool first = true;
  for (const auto& [name, joint] : doc.skeleton.joints) {
    glLoadName(static_cast<GLuint>(joint->jointID));
    drawOctahedron(joint->jointWorldPosition, placementColour(doc, input, *joint, first),
                   kJointMarkerRadius);
    if (!first && joint->parent && !hideBones) {
      drawBone(joint->parent->jointWorldPosition, joint->jointWorldPosition, kGreen);
    }
    first = false;
  }
}

Rgb3 rootColour(const SceneDocument& doc, const Joint& joint) {
  const bool picked = joint.jointID == doc.selectedJoint;
  if (picked && oneOf(doc.editMode, {kModeFkPicked, kModeUnsetPicked, kModeStopIkPicked,
                                     kModeNamePicked, kModeRootMovePicked}))
    return kRootPicked;
  if (picked &&
      oneOf(doc.editMode, {MoveWeightBoxFace, kModeBoxFaceDrag, kModeFkDrag, kModeRootMoveDrag}))
    return kRootBoxMode;
  if (isTreeSelected(doc, joint)) return kTreeSelected;
  return kRootPlain;
}

Rgb3 posedColour(const SceneDocument& doc, const Joint& joint) {
  const bool picked = joint.jointID == doc.selectedJoint;
  if (picked && oneOf(doc.editMode,
                      {kModeFkPicked, kModeUnsetPicked, kModeIkPicked, kModeEqualiseSourcePicked,
                       kModeEqualiseTargetPicked, kModeStopIkPicked, kModeNamePicked}))
    return kPicked;
  if ((picked &&
       oneOf(doc.editMode, {PlaceWeightBox, MoveWeightBoxFace, kModeBoxFaceDrag, kModeFkDrag,
                            kModeIkDrag, kModeEqualiseTarget, kModeEqualiseTargetPicking})) ||
      doc.editMode == kModeUnsetNoSkeleton) {
    return kAnchor;
  }
  if (isTreeSelected(doc, joint)) return kTreeSelected;
  return kPlainJoint;
}

void drawFkAxisHandle(const SceneDocument& doc, const ViewInputState& input, const Joint& joint) {
  if ((doc.editMode == kModeFkDrag || doc.editMode == kModeAxisDrag) &&
      !(input.dragActive && joint.jointID == input.pressedPick)) {
    return;
  }
  const int32_t name = joint.jointID + kAxisHandlePickBase;
  glLoadName(static_cast<GLuint>(name));
  const Vector3 from = joint.parent->jointDrawPositionAfterPosEnter;
  const Vector3 tip = from + joint.drawAxisVector;
  drawBone(from, tip, kYellow);
  Rgb3 colour = kGreen;
  if (name == doc.selectedJoint && doc.editMode == kModeAxisPicked) colour = kPicked;
  if (name == doc.selectedJoint && doc.editMode == kModeAxisDrag) colour = kAnchor;
  drawOctahedron(tip, colour, kJointMarkerRadius);
}

void drawBoneAxes(const Joint& joint) {
  const Vector3 from = joint.parent->jointDrawPositionAfterPosEnter;
  const Quaternion q = joint.convertWorldToJointCoodQuaternion;
  const Vector3 axes[3] = {rotateVector(q, {1, 0, 0}), rotateVector(q, {0, 1, 0}),
                           rotateVector(q, {0, 0, 1})};
  const Rgb3 colours[3] = {{1, 0, 0}, {0, 1, 0}, {0, 0, 1}};
  glLineWidth(3.0f);
  glBegin(GL_LINES);
  for (int k = 0; k < 3; ++k) {
    glColor3f(colours[k].r, colours[k].g, colours[k].b);
    glVertex3f(from.x, from.y, from.z);
    const Vector3 to = from + axes[k];
    glVertex3f(to.x, to.y, to.z);
  }
  glEnd();
  glLineWidth(1.0f);
}

void drawPosedSkeleton(SceneDocument& doc, const ViewInputState& input) {
  glInitNames();
  glPushName(0);
  const bool hideBones = oneOf(
      doc.editMode, {kModeFkPicking, kModeUnsetNoBones, kModeIkPicking, kModeEqualiseSourcePicking,
                     kModeEqualiseTargetPicking, kModeStopIkPicking, kModeNamePicking,
                     kModeMirrorSourcePicking, kModeMirrorTargetPicking});
  for (const auto& [name, joint] : doc.skeleton.joints) {
    glLoadName(static_cast<GLuint>(joint->jointID));
    if (name == kRootJointName || !joint->parent) {
      updateDrawPosition(*joint);
      drawOctahedron(joint->jointDrawPositionAfterPosEnter, rootColour(doc, *joint),
                     kJointMarkerRadius);
      continue;
    }
    updateDrawPosition(*joint);
    drawOctahedron(joint->jointDrawPositionAfterPosEnter, posedColour(doc, *joint),
                   kJointMarkerRadius);
    if (!hideBones) {
      drawBone(joint->parent->jointDrawPositionAfterPosEnter, joint->jointDrawPositionAfterPosEnter,
               kRed);
    }
    if (doc.showFkAxes == 1) drawFkAxisHandle(doc, input, *joint);
    if (doc.showBoneAxes == 1) drawBoneAxes(*joint);
  }
}

}  // namespace

void drawSkeleton(SceneDocument& doc, const ViewInputState& input) {
  if (doc.decitionJointPosition == 0) {
    drawPlacementSkeleton(doc, input);
  } else if (doc.keyFrames && doc.keyFrames->keyframeBoneView == 1) {
    drawPosedSkeleton(doc, input);
  }
}

bool drawJointNumbers(const SceneDocument& doc, const RenderState& rs) {
  if (!rs.textDrawer) return true;
  for (const auto& [name, joint] : doc.skeleton.joints) {
    if (joint->validJoint != 1) continue;
    glColor3f(1.0f, 0.7f, 1.0f);
    const Vector3 p = joint->jointDrawPositionAfterPosEnter;
    glRasterPos3f(p.x, p.y, p.z);
    if (!rs.textDrawer->drawText(std::to_string(joint->jointID))) return false;
  }
  return true;
}

}  // namespace lw
