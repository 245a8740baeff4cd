// Inverse kinematics: dragging an end joint towards a target turns the chain of
// its ancestors (one cyclic-coordinate-descent sweep per mouse move), and the
// pose it leaves is baked into per-joint FK turns when FK takes over.
#pragma once

#include <cstdint>

#include "core/document.h"
#include "core/joint.h"
#include "core/math.h"
#include "core/shell_ui.h"

namespace lw {

inline constexpr int kIkOk = 0;  // a failed step returns kNoAngle (-990)

inline constexpr char kIkZeroDivisionMessage[] =
    "IK計算中にゼロ除算が発生しました　エラーコード：ERRCODE_BUNBO";

// One IK sweep of end joint E towards target, on the ikWorkPosition fields.
// From E's parent upwards to (not including) the base joint, each joint f is
// turned about its position so that E points at the target (angleBetween of
// E - f and target - f, about their normalised cross product; a stop joint
// turns by 0 and ends the sweep), carrying E and the joints between; f gets
// ik_Flag 1. Then every joint from E up to the base gets ik_axisAngle,
// ik_axisVector and ik_rotationJointQuaternion turning its rest bone onto its
// new bone, and E gets ik_Flag 1. Returns kIkOk, or kNoAngle when a vector is
// zero (E on a turning joint, the target on it, or a zero bone); what was moved
// before stays moved. The base joint itself is never turned; as end joint it
// is left alone (returns kIkOk, nothing changes). Allocates nothing.
int ikSolve(Joint& end, Vector3 target);

// The IK drag step of the 3D window: ikSolve on the joint with jointID endID;
// on kNoAngle shows kIkZeroDivisionMessage titled "ゼロ除算発生". Redraws.
// Returns the solve result (kIkOk when no joint has that ID).
int ikDragStep(JointSet& set, int32_t endID, Vector3 target, ShellUi& ui);

// Carries the IK pose into FK (menu IDM_ROTATE_FK before its mode change) without moving
// anything: every joint's IK-result world position = ikWorkPosition and the
// IK-result frames are rebuilt in name order as fixing builds the rest frames
// (the parent's convertIKtoFK_boneVector as parent bone; a failed alignment
// ends that step). Every FK angle is kept, stop joints' included. Each joint
// with ik_Flag 1 gets convertIKtoFK_rotationJointQuaternion = its IK turn
// followed by the inverse of its accumulated FK turn, so that FK draws its bone
// (and skins its corners) exactly as IK did. Then every ik_Flag = 0.
void bakeIkIntoFk(JointSet& set);

// Carries the whole drawn pose (FK and IK) into FK before a keyframe is stored,
// without moving anything: every joint's IK-result world position =
// jointDrawPositionAfterPosEnter, ik_stopFlg = 0, axisAngle = 0; frames rebuilt
// as in bakeIkIntoFk; every joint after the base gets
// convertIKtoFK_rotationJointQuaternion = the full turn its bone is drawn with
// (FK or IK), less the base joint's turn, and ik_Flag 0. A joint whose bone
// turned gets axisVector = the normalised rest-to-posed axis; one whose bone
// did not turn keeps its axis. Then editMode = RotateFk, IDM_EQUALISE_BONES enabled, redraw.
void bakePoseIntoFk(SceneDocument& doc, ShellUi& ui);

}  // namespace lw
