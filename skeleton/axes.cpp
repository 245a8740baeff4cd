#include "skeleton/axes.h"

namespace lw {

bool axisDragStep(SceneDocument& doc, int32_t handleID, Vector3& dragTarget, ShellUi& ui) {
  Joint* joint = findJointByID(doc.skeleton, handleID % kAxisHandlePickBase);
  if (joint == nullptr) return false;
  joint->axisAngle = 0.0f;
  const float s = doc.axisReversed == 1 ? -1.0f : 1.0f;
  switch (doc.axisPreset) {
    case kAxisAlongX: joint->axisVector = {s, 0.0f, 0.0f}; break;
    case kAxisAlongY: joint->axisVector = {0.0f, s, 0.0f}; break;
    case kAxisAlongZ: joint->axisVector = {0.0f, 0.0f, s}; break;
    case kAxisFree: {
      dragTarget = dragTarget - joint->jointDrawPositionAfterPosEnter;
      const double theta = angleBetween(joint->axisVector, dragTarget);
      // A cursor on the joint itself gives no direction: the axis stays.
      if (theta == kNoAngle) break;
      const Vector3 k = crossProduct(joint->axisVector, dragTarget);
      const Quaternion q = axisAngleToQuaternion(normalize(k), theta);
      joint->axisVector = rotateVector(q, joint->axisVector);
      break;
    }
    default: break;
  }
  ui.redraw();
  return true;
}

bool equaliseBoneLength(SceneDocument& doc, int32_t sourceID, int32_t targetID, ShellUi& ui) {
  const Joint* source = findJointByID(doc.skeleton, sourceID);
  Joint* target = findJointByID(doc.skeleton, targetID);
  if (source == nullptr || target == nullptr || source == target) return false;
  const float length = vectorLength(source->initPoseBoneVector);
  target->initPoseBoneVector =
      rotateVector(target->convertWorldToJointCoodQuaternion, {length, 0.0f, 0.0f});
  doc.editMode = EqualiseBoneLengths;
  ui.redraw();
  return true;
}

}  // namespace lw
