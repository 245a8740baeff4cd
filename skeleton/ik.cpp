#include "skeleton/ik.h"

#include "core/command_ids.h"
#include "skeleton/fixing.h"
#include "skeleton/fk.h"

namespace lw {

namespace {

// Rebuilds every joint's IK-result frame (name order) from its IK-result world
// position, as fixing builds the rest frames; the parent's IK bone stands in for
// its rest bone. Stops at the first failed alignment.
void rebuildIkResultFrames(JointSet& set) {
  for (auto& entry : set.joints) {
    Joint& j = *entry.second;
    FrameInput in;
    in.isBase = j.parent == nullptr;
    in.worldPosition = j.ikResultWorldPosition;
    if (!in.isBase) {
      in.parentWorldPosition = j.parent->ikResultWorldPosition;
      in.parentWorldToJoint = j.parent->ikResultWorldToJointQuaternion;
      in.parentBoneVector = j.parent->convertIKtoFK_boneVector;
    }
    JointFrame f;
    const bool ok = computeJointFrame(in, f);
    j.ikResultPosition = f.position;
    j.ikResultXVector = f.xVector;
    j.ikResultYVector = f.yVector;
    j.ikResultParentXVector = f.parentXVector;
    j.ikResultParentYVector = f.parentYVector;
    j.ikResultAxisVector = f.axisVector;
    j.ikResultPToCQuaternion = f.pToCQuaternion;
    if (!ok) return;
    j.ikResultWorldToJointQuaternion = f.worldToJointQuaternion;
    j.convertIKtoFK_boneVector = f.boneVector;
  }
}

}  // namespace

int ikSolve(Joint& end, Vector3 target) {
  if (end.parent == nullptr) return kIkOk;
  // The sweep: each ancestor below the base turns the chain below it.
  for (Joint* f = end.parent; f->parent != nullptr;) {
    if (f == end.parent) end.convertIKtoFK_rotationJointQuaternion = kIdentityQuaternion;
    f->convertIKtoFK_rotationJointQuaternion = kIdentityQuaternion;
    const Vector3 pivot = f->ikWorkPosition;
    const Vector3 r = end.ikWorkPosition - pivot;
    const Vector3 t = target - pivot;
    double theta = angleBetween(r, t);
    if (f->ik_stopFlg == 1) {
      theta = 0.0;
    } else if (theta == kNoAngle) {
      return static_cast<int>(kNoAngle);
    }
    const Quaternion q = axisAngleToQuaternion(normalize(crossProduct(r, t)), theta);
    end.ikWorkPosition = pivot + rotateVector(q, r);
    for (Joint* a = end.parent; a != f; a = a->parent) {
      a->ikWorkPosition = pivot + rotateVector(q, a->ikWorkPosition - pivot);
    }
    f->ik_Flag = 1;
    if (f->ik_stopFlg == 1) break;
    f = f->parent;
  }
  // Bone turns from the rest bones onto the new bones, end joint to the base.
  for (Joint* j = &end; j->parent != nullptr; j = j->parent) {
    const Vector3 b = j->ikWorkPosition - j->parent->ikWorkPosition;
    j->ik_axisAngle = static_cast<float>(angleBetween(j->initPoseBoneVector, b));
    if (j->ik_axisAngle == kNoAngle) return static_cast<int>(kNoAngle);
    j->ik_axisVector = normalize(crossProduct(j->initPoseBoneVector, b));
    j->ik_rotationJointQuaternion = axisAngleToQuaternion(j->ik_axisVector, j->ik_axisAngle);
  }
  end.ik_Flag = 1;
  return kIkOk;
}

int ikDragStep(JointSet& set, int32_t endID, Vector3 target, ShellUi& ui) {
  int result = kIkOk;
  if (Joint* end = findJointByID(set, endID)) {
    result = ikSolve(*end, target);
    if (result != kIkOk) ui.showMessage(kIkZeroDivisionMessage, kZeroDivisionTitle);
  }
  ui.redraw();
  return result;
}

void bakeIkIntoFk(JointSet& set) {
  for (auto& entry : set.joints) entry.second->ikResultWorldPosition = entry.second->ikWorkPosition;
  rebuildIkResultFrames(set);
  // An IK-owned joint keeps its FK angle; its bake turn is what is left of its
  // IK turn once its own and its ancestors' FK turns are applied after it, so
  // the bone and every joint below stay where IK put them.
  for (auto& entry : set.joints) {
    Joint& j = *entry.second;
    if (j.parent == nullptr) continue;
    accumulateFkTurn(j);
    if (j.ik_Flag != 1) continue;
    j.convertIKtoFK_rotationJointQuaternion =
        quaternionMultiply(j.ik_rotationJointQuaternion, conjugate(j.accumulatedRotation));
  }
  for (auto& joint : set.jointOrder) joint->ik_Flag = 0;
}

void bakePoseIntoFk(SceneDocument& doc, ShellUi& ui) {
  JointSet& set = doc.skeleton;
  // The turn each bone is drawn with now, before the FK angles are cleared.
  for (auto& entry : set.joints) {
    Joint& j = *entry.second;
    if (j.parent == nullptr) continue;
    accumulateFkTurn(j);
    j.drawRotationJointQuaternion =
        j.ik_Flag == 1 ? j.ik_rotationJointQuaternion
                       : quaternionMultiply(j.convertIKtoFK_rotationJointQuaternion, j.accumulatedRotation);
  }
  for (auto& entry : set.joints) {
    Joint& j = *entry.second;
    j.ikResultWorldPosition = j.jointDrawPositionAfterPosEnter;
    j.ik_stopFlg = 0;
    j.axisAngle = 0.0f;
  }
  rebuildIkResultFrames(set);
  for (auto& entry : set.joints) {
    Joint& j = *entry.second;
    if (j.parent == nullptr) continue;
    accumulateFkTurn(j);
    j.convertIKtoFK_rotationJointQuaternion =
        quaternionMultiply(j.drawRotationJointQuaternion, conjugate(j.accumulatedRotation));
    // A bone that turned gets the axis of its turn; one that did not keeps the
    // axis the user gave it.
    const Vector3 turnAxis = crossProduct(
        j.initPoseBoneVector, rotateVector(j.drawRotationJointQuaternion, j.initPoseBoneVector));
    if (!(turnAxis == Vector3{})) j.axisVector = normalize(turnAxis);
    j.ik_Flag = 0;
  }
  doc.editMode = RotateFk;
  ui.enableMenuItem(IDM_EQUALISE_BONES, true);
  ui.redraw();
}

}  // namespace lw
