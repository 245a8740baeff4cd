// Forward kinematics: one angle per joint about its own axis poses the skeleton.
// evaluatePose turns the stored angles (and the turns left by IK) into the drawn
// quantities every consumer reads: drawRotationJointQuaternion, drawBoneVector,
// drawAxisVector and the posed position jointDrawPositionAfterPosEnter.
#pragma once

#include "core/document.h"
#include "core/joint.h"
#include "core/shell_ui.h"

namespace lw {

// Degrees added or removed by one FK drag step.
inline constexpr float kFkAngleStep = 1.0f;

// Poses every joint, walking joints in name order (parents first). For each
// joint after the base whose ik_Flag is 0:
//   rotationJointQuaternion = axisAngleToQuaternion(axisVector, axisAngle);
//   for a child of the base: base.accumulatedRotation = base.rotationJointQuaternion;
//   accumulatedRotation = rotationJointQuaternion * parent.accumulatedRotation;
//   drawRotationJointQuaternion = convertIKtoFK_rotationJointQuaternion * accumulatedRotation;
//   drawBoneVector = rotate(drawRotationJointQuaternion, initPoseBoneVector);
//   drawAxisVector = rotate(accumulatedRotation, axisVector).
// IK-owned joints (ik_Flag 1) keep those values. Then the joint's position is
// placed with updateDrawPosition. Allocates nothing. Call it once per frame
// after the positions are fixed (while keyframeBoneView is 1); the renderer
// then only reads the results.
void evaluatePose(JointSet& set);

// The FK turns of one joint below the base (its parent's already current):
// rotationJointQuaternion from axisVector and axisAngle, and accumulatedRotation
// (own turn, then the parent's); the base joint's accumulated turn is its own.
void accumulateFkTurn(Joint& joint);

// The posed position of one joint, its parent's being final: the base joint sits
// at its initPoseBoneVector; a joint with ik_Flag 0 at parent's position +
// drawBoneVector; a joint with ik_Flag 1 at its ikDrawPosition. Then
// syncIkPositions. evaluatePose calls it for every joint in name order.
void updateDrawPosition(Joint& joint);

// For a joint with ik_Flag 1 and a parent: ik_jointDrawPosition = parent's
// ik_jointDrawPosition + rotate(ik_rotationJointQuaternion, initPoseBoneVector).
void ikDrawPosition(Joint& joint);

// Keeps the IK working position equal to the drawn one, so every IK drag starts
// from the visible pose. The base joint and joints with ik_Flag 0:
// ik_jointDrawPosition = ikWorkPosition = jointDrawPositionAfterPosEnter.
// Joints with ik_Flag 1: ikWorkPosition = jointDrawPositionAfterPosEnter =
// ik_jointDrawPosition.
void syncIkPositions(Joint& joint);

// One FK drag step: axisAngle -= step when leftward, else += step; then above
// 360 subtracts 360 and below 0 adds 360 (360 itself stays).
void fkStep(Joint& joint, bool leftward, float step = kFkAngleStep);

// Menu IDM_ROTATE_FK (also run before a project is saved): editMode = Idle,
// pointPickView = 0, the IK result is baked into FK (bakeIkIntoFk), then
// editMode = RotateFk, IDM_EQUALISE_BONES enabled, redraw.
void enterFkMode(SceneDocument& doc, ShellUi& ui);

// Menu IDM_RESET_ROTATIONS: every joint (creation order) gets axisAngle 0, ik_Flag 0 and an
// identity convertIKtoFK_rotationJointQuaternion; redraw. Axes, rest bones and
// the base position stay.
void resetAllRotations(JointSet& set, ShellUi& ui);

}  // namespace lw
