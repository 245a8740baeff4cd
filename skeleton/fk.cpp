#include "skeleton/fk.h"

#include "core/command_ids.h"
#include "skeleton/ik.h"

namespace lw {

namespace {

// The FK products of one joint that IK does not own.
void evaluateRotation(Joint& j) {
  accumulateFkTurn(j);
  j.drawRotationJointQuaternion =
      quaternionMultiply(j.convertIKtoFK_rotationJointQuaternion, j.accumulatedRotation);
  j.drawBoneVector = rotateVector(j.drawRotationJointQuaternion, j.initPoseBoneVector);
  j.drawAxisVector = rotateVector(j.accumulatedRotation, j.axisVector);
}

}  // namespace

void accumulateFkTurn(Joint& j) {
  Joint& p = *j.parent;
  j.rotationJointQuaternion = axisAngleToQuaternion(j.axisVector, j.axisAngle);
  if (p.parent == nullptr) p.accumulatedRotation = p.rotationJointQuaternion;
  j.accumulatedRotation = quaternionMultiply(j.rotationJointQuaternion, p.accumulatedRotation);
}

void evaluatePose(JointSet& set) {
  for (auto& entry : set.joints) {
    Joint& j = *entry.second;
    if (j.parent != nullptr && j.ik_Flag == 0) evaluateRotation(j);
    updateDrawPosition(j);
  }
}

void updateDrawPosition(Joint& joint) {
  if (joint.parent == nullptr) {
    joint.jointDrawPositionAfterPosEnter = joint.initPoseBoneVector;
  } else if (joint.ik_Flag == 0) {
    joint.jointDrawPositionAfterPosEnter =
        joint.parent->jointDrawPositionAfterPosEnter + joint.drawBoneVector;
  } else {
    ikDrawPosition(joint);
  }
  syncIkPositions(joint);
}

void ikDrawPosition(Joint& joint) {
  if (joint.parent == nullptr || joint.ik_Flag != 1) return;
  joint.ik_jointDrawPosition =
      joint.parent->ik_jointDrawPosition +
      rotateVector(joint.ik_rotationJointQuaternion, joint.initPoseBoneVector);
}

void syncIkPositions(Joint& joint) {
  if (joint.parent == nullptr || joint.ik_Flag == 0) {
    joint.ik_jointDrawPosition = joint.jointDrawPositionAfterPosEnter;
    joint.ikWorkPosition = joint.ik_jointDrawPosition;
  } else if (joint.ik_Flag == 1) {
    joint.ikWorkPosition = joint.ik_jointDrawPosition;
    joint.jointDrawPositionAfterPosEnter = joint.ikWorkPosition;
  }
}

void fkStep(Joint& joint, bool leftward, float step) {
  if (leftward) {
    joint.axisAngle -= step;
  } else {
    joint.axisAngle += step;
  }
  if (joint.axisAngle > 360.0f) {
    joint.axisAngle -= 360.0f;
  } else if (joint.axisAngle < 0.0f) {
    joint.axisAngle += 360.0f;
  }
}

void enterFkMode(SceneDocument& doc, ShellUi& ui) {
  doc.editMode = Idle;
  doc.pointPickView = 0;
  bakeIkIntoFk(doc.skeleton);
  doc.editMode = RotateFk;
  ui.enableMenuItem(IDM_EQUALISE_BONES, true);
  ui.redraw();
}

void resetAllRotations(JointSet& set, ShellUi& ui) {
  for (auto& joint : set.jointOrder) {
    joint->axisAngle = 0.0f;
    joint->ik_Flag = 0;
    joint->convertIKtoFK_rotationJointQuaternion = kIdentityQuaternion;
  }
  ui.redraw();
}

}  // namespace lw
