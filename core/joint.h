// The skeleton's records: one Joint per joint, held in creation order (which owns
// them) and in name order. Names are built so that a parent's name is a proper
// prefix of its descendants', so name order visits every parent before its
// children; every geometric pass walks the joints in name order.
#pragma once

#include <cstdint>
#include <map>
#include <memory>
#include <string>
#include <vector>

#include "core/math.h"

namespace lw {

struct Joint {
  Joint* parent = nullptr;
  std::vector<Joint*> children;  // in order of attachment
  int32_t leafFlag = 0;
  int32_t jointID = 0;
  std::string jointName;
  int32_t validJoint = 0;

  // Rest frame, set when the joint positions are fixed.
  Vector3 position;
  Vector3 xVector;
  Vector3 yVector;
  Vector3 parent_xVector;
  Vector3 parent_yVector;
  Quaternion pTOc_Quaternion;

  // Forward kinematics.
  Quaternion rotationJointQuaternion;
  Quaternion drawRotationJointQuaternion;
  Vector3 initPoseBoneVector;
  Vector3 drawBoneVector;
  Vector3 axisVector;
  Vector3 drawAxisVector;
  float axisAngle = 0;
  Vector3 jointWorldPosition;
  Vector3 jointDrawPositionAfterPosEnter;
  Quaternion convertWorldToJointCoodQuaternion;

  // Inverse kinematics working state (ikWorkPosition is not saved).
  Quaternion ik_rotationJointQuaternion;
  Vector3 ik_axisVector;
  Vector3 ikWorkPosition;
  Vector3 ik_jointDrawPosition;
  float ik_axisAngle = 0;
  int32_t ik_Flag = 0;
  int32_t ik_stopFlg = 0;

  void* treeItem = nullptr;  // the bone tree panel's item for this joint
  std::string TreeName;      // the name shown in the bone tree panel

  Vector3 convertIKtoFK_boneVector;
  // The IK-result frame: working copies of the fixing fields computed from the IK result.
  Vector3 ikResultPosition;
  Vector3 ikResultXVector;
  Vector3 ikResultYVector;
  Vector3 ikResultParentXVector;
  Vector3 ikResultParentYVector;
  Quaternion ikResultWorldToJointQuaternion;
  Vector3 ikResultWorldPosition;
  Vector3 ikResultAxisVector;
  Quaternion ikResultPToCQuaternion;
  Quaternion convertIKtoFK_rotationJointQuaternion;
  Quaternion accumulatedRotation;  // FK turn followed by the ancestors' (not saved)
};

// Both orders of the same joints. jointOrder owns the records; joints maps each
// jointName to its record in name order.
struct JointSet {
  std::vector<std::unique_ptr<Joint>> jointOrder;
  std::map<std::string, Joint*> joints;

  size_t size() const { return jointOrder.size(); }
  bool empty() const { return jointOrder.empty(); }
  void clear() {
    joints.clear();
    jointOrder.clear();
  }
};

}  // namespace lw
