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
#include "core/shell_ui.h"

namespace lw {

// The base joint's fixed identity.
inline constexpr char kBaseJointName[] = "Joint0";
inline constexpr int32_t kBaseJointID = 1;
// selectedJoint (a picked jointID) when nothing is picked.
inline constexpr int32_t kNoJointPicked = -1;

// One joint. The record stands for the bone that ends at the joint (from its
// parent to it). A new record holds the reset state: no links, every flag and
// number 0, every vector 0, every quaternion the identity, empty names.
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

  TreeItem treeItem = nullptr;  // the bone tree panel's item for this joint
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

// The first joint in creation order whose jointID is id; nullptr when none.
inline Joint* findJointByID(const JointSet& set, int32_t id) {
  for (const auto& joint : set.jointOrder) {
    if (joint->jointID == id) return joint.get();
  }
  return nullptr;
}

// jointName of findJointByID(set, id); empty when no joint has that ID.
inline std::string jointNameForID(const JointSet& set, int32_t id) {
  const Joint* joint = findJointByID(set, id);
  return joint ? joint->jointName : std::string();
}

// The joint named name; nullptr when none.
inline Joint* findJoint(const JointSet& set, const std::string& name) {
  auto it = set.joints.find(name);
  return it == set.joints.end() ? nullptr : it->second;
}

// The base joint: the first joint in name order ("Joint0"); nullptr when empty.
inline Joint* baseJoint(const JointSet& set) {
  return set.joints.empty() ? nullptr : set.joints.begin()->second;
}

// Takes ownership of a record and files it in both orders (appended to
// jointOrder, inserted into joints under its jointName). The parent/child links
// are the caller's. Returns the record, or nullptr (and drops it) when its name
// is empty or already taken, so the map never loses a joint to a repeat.
inline Joint* addJointRecord(JointSet& set, std::unique_ptr<Joint> joint) {
  if (!joint || joint->jointName.empty() || set.joints.count(joint->jointName) != 0) {
    return nullptr;
  }
  Joint* raw = joint.get();
  set.joints.emplace(raw->jointName, raw);
  set.jointOrder.push_back(std::move(joint));
  return raw;
}

// Refills the bone tree panel from the joints: deletes its root item (and with it
// every item), inserts one item per joint in name order with the text TreeName
// (the first joint, and any joint without a parent, at the root; every other
// joint under its parent's item), keeps each handle in treeItem, then expands
// every item.
inline void rebuildBoneTree(JointSet& set, ShellUi& ui) {
  ui.treeDeleteRoot();
  for (auto& entry : set.joints) {
    Joint* joint = entry.second;
    TreeItem parentItem = joint->parent ? joint->parent->treeItem : nullptr;
    joint->treeItem = ui.treeInsertItem(parentItem, joint->TreeName);
  }
  ui.treeExpandAll();
}

}  // namespace lw
