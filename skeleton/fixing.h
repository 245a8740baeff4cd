// Fixing the joint positions: the placed world positions become the rest
// frames (bone vectors, parent-to-child and world-to-joint turns) that FK and
// IK work in. The same frame arithmetic rebuilds the frames of an IK result.
#pragma once

#include <cstdint>

#include "core/document.h"
#include "core/joint.h"
#include "core/math.h"
#include "core/shell_ui.h"

namespace lw {

// Result of a successful fix; a failed one returns kNoAngle (-990).
inline constexpr int kFixOk = 0;

inline constexpr char kFixZeroDivisionMessage[] =
    "ボーンの位置確定中にゼロ除算が発生しました　エラーコード：ERRCODE_BUNBO";
inline constexpr char kZeroDivisionTitle[] = "ゼロ除算発生";

// The frame of one joint, computed from its world position and its parent's.
struct JointFrame {
  Vector3 position;  // base: its world position; others: the parent's bone
  Vector3 xVector;   // bone vector: world position - parent's world position
  Vector3 yVector;   // (-x.y, x.x, 0)
  Vector3 parentXVector;
  Vector3 parentYVector;
  Vector3 axisVector;  // normalize(yVector); kNoDirectionVector for a bone along Z
  Quaternion pToCQuaternion;
  Quaternion worldToJointQuaternion;
  Vector3 boneVector;  // worldToJoint turning (|xVector|, 0, 0)
};

// What a frame is computed from. For the base joint only worldPosition is read.
struct FrameInput {
  bool isBase = false;
  Vector3 worldPosition;
  Vector3 parentWorldPosition;
  Quaternion parentWorldToJoint;
  Vector3 parentBoneVector;
};

// The frame of one joint. Returns false (frame partly filled, pToCQuaternion
// kNoAngleQuaternion) when the parent-to-child alignment fails.
bool computeJointFrame(const FrameInput& in, JointFrame& out);

// Fixes every joint in name order from its jointWorldPosition: position,
// xVector, yVector, parent_xVector, parent_yVector, axisVector,
// pTOc_Quaternion, convertWorldToJointCoodQuaternion, initPoseBoneVector.
// A bone along its parent's X keeps pTOc_Quaternion at the identity; a zero
// bone gets axisVector kNoDirectionVector and a zero rest bone. Returns kFixOk,
// or kNoAngle when an alignment fails (joints before it keep their new values).
int fixJointPositions(JointSet& set);

// Menu IDM_FIX_POSITIONS. On kNoAngle shows kFixZeroDivisionMessage / kZeroDivisionTitle,
// empties ErrorText and changes nothing else. On success sets
// decitionJointPosition, greys the placement items, enables the posing,
// weighting and root-move items, offers OBJ/OJP/BMP and glTF in saveFilter, sets the
// keyframe store's keyframeBoneView and redraws. Returns the fix result.
int fixJointPositionsCommand(SceneDocument& doc, ShellUi& ui);

}  // namespace lw
