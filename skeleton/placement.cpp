#include "skeleton/placement.h"

#include "core/command_ids.h"

#include <algorithm>
#include <memory>
#include <utility>

namespace lw {

namespace {

// True when name is used by a joint or begins the name of one ("name_...").
bool nameTaken(const JointSet& set, const std::string& name) {
  if (set.joints.count(name) != 0) return true;
  const std::string prefix = name + "_";
  auto it = set.joints.lower_bound(prefix);
  return it != set.joints.end() && it->first.compare(0, prefix.size(), prefix) == 0;
}

// A new record for a child of parent at point, filed in both orders and in the
// parent's children. Returns nullptr when the record could not be filed.
Joint* createChild(JointSet& set, Joint& parent, Vector3 point) {
  auto child = std::make_unique<Joint>();
  child->parent = &parent;
  child->jointName = childJointName(set, parent);
  child->jointID = nextJointID(set);
  child->leafFlag = 1;
  child->jointWorldPosition = point;
  Joint* raw = addJointRecord(set, std::move(child));
  if (raw == nullptr) return nullptr;
  parent.leafFlag = 0;
  parent.children.push_back(raw);
  return raw;
}

// The joint a mirrored placement hangs the twin under: the base joint for the
// base joint, else the first joint in name order at parent's position in the
// two coordinates the plane keeps, with another jointID. The new child and the
// base joint are never partners (a twin under its own original, or a second
// chain hung on the base joint, would not mirror anything).
Joint* mirrorPartner(const JointSet& set, Joint& parent, const Joint& child, int32_t plane) {
  if (parent.jointID == kBaseJointID) return &parent;
  const Vector3 p = parent.jointWorldPosition;
  for (const auto& entry : set.joints) {
    const Joint* j = entry.second;
    if (j->jointID == parent.jointID || j == &child || j->parent == nullptr) continue;
    const Vector3 q = j->jointWorldPosition;
    bool same = false;
    switch (plane) {
      case kMirrorXY: same = q.x == p.x && q.y == p.y; break;
      case kMirrorYZ: same = q.y == p.y && q.z == p.z; break;
      case kMirrorZX: same = q.z == p.z && q.x == p.x; break;
      default: break;
    }
    if (same) return entry.second;
  }
  return nullptr;
}

// Gives a placed joint its tree item under its parent's and its tree name.
void showPlacedJoint(Joint& joint, ShellUi& ui) {
  joint.validJoint = 1;
  joint.TreeName = joint.jointName;
  joint.treeItem = ui.treeInsertItem(joint.parent ? joint.parent->treeItem : nullptr,
                                     joint.TreeName);
}

}  // namespace

int32_t nextJointID(const JointSet& set) {
  int32_t next = static_cast<int32_t>(set.jointOrder.size()) + 1;
  for (const auto& joint : set.jointOrder) next = std::max(next, joint->jointID + 1);
  return next;
}

std::string childJointName(const JointSet& set, const Joint& parent) {
  size_t k = parent.children.size();
  std::string name = parent.jointName + "_" + std::to_string(k);
  while (nameTaken(set, name)) name = parent.jointName + "_" + std::to_string(++k);
  return name;
}

Vector3 mirrorPoint(Vector3 point, int32_t plane) {
  switch (plane) {
    case kMirrorXY: return {point.x, point.y, -point.z};
    case kMirrorYZ: return {-point.x, point.y, point.z};
    case kMirrorZX: return {point.x, -point.y, point.z};
    default: return point;
  }
}

Vector3 pickPointVector(const SceneDocument& doc) {
  return {static_cast<float>(doc.pickPoint[0]), static_cast<float>(doc.pickPoint[1]),
          static_cast<float>(doc.pickPoint[2])};
}

Joint* placeBaseJoint(SceneDocument& doc, Vector3 point, ShellUi& ui) {
  JointSet& set = doc.skeleton;
  if (doc.decitionJointPosition == 1 || set.size() > 1) return nullptr;
  if (set.size() == 1) {
    Joint* base = set.jointOrder.front().get();
    base->jointWorldPosition = point;
    base->position = base->jointWorldPosition;
    return base;
  }
  auto record = std::make_unique<Joint>();
  record->jointID = kBaseJointID;
  record->jointName = kBaseJointName;
  record->jointWorldPosition = point;
  record->position = point;
  record->validJoint = 1;
  record->leafFlag = 1;
  Joint* base = addJointRecord(set, std::move(record));
  base->TreeName = base->jointName;
  base->treeItem = ui.treeInsertItem(nullptr, base->TreeName);
  return base;
}

Joint* addChildJoint(SceneDocument& doc, const std::string& parentName, Vector3 point,
                     int32_t plane, ShellUi& ui) {
  JointSet& set = doc.skeleton;
  Joint* parent = findJoint(set, parentName);
  if (parent == nullptr || doc.decitionJointPosition == 1) return nullptr;
  Joint* child = createChild(set, *parent, point);
  if (child == nullptr) return nullptr;
  if (plane == kMirrorXY || plane == kMirrorYZ || plane == kMirrorZX) {
    Joint* partner = mirrorPartner(set, *parent, *child, plane);
    if (partner != nullptr) {
      Joint* twin = createChild(set, *partner, mirrorPoint(point, plane));
      if (twin != nullptr) showPlacedJoint(*twin, ui);
    }
  }
  showPlacedJoint(*child, ui);
  ui.treeExpandAll();
  for (int id : {IDM_FIX_POSITIONS, IDM_MOVE_CHILD, IDM_MIRROR_XY, IDM_MIRROR_YZ, IDM_MIRROR_ZX}) {
    ui.enableMenuItem(id, true);
  }
  return child;
}

void moveJoint(Joint& joint, Vector3 point) { joint.jointWorldPosition = point; }

void mirrorJointOnto(const Joint& source, Joint& target, int32_t plane) {
  target.jointWorldPosition = mirrorPoint(source.jointWorldPosition, plane);
}

bool deleteJoint(SceneDocument& doc, int32_t id, ShellUi& ui) {
  JointSet& set = doc.skeleton;
  Joint* joint = findJointByID(set, id);
  if (joint == nullptr || joint == baseJoint(set) || joint->parent == nullptr) return false;
  if (doc.decitionJointPosition == 1) {
    // The rest frames below it, the keyframes and the weights all name it.
    ui.showMessage(kDeleteAfterFixText, kDeleteAfterFixTitle);
    return false;
  }
  Joint* parent = joint->parent;
  for (Joint* child : joint->children) {
    child->parent = parent;
    parent->children.push_back(child);
  }
  auto& siblings = parent->children;
  siblings.erase(std::find(siblings.begin(), siblings.end(), joint));
  set.joints.erase(joint->jointName);
  auto owned = std::find_if(set.jointOrder.begin(), set.jointOrder.end(),
                            [joint](const std::unique_ptr<Joint>& j) { return j.get() == joint; });
  set.jointOrder.erase(owned);
  rebuildBoneTree(set, ui);
  return true;
}

void renameJoint(JointSet& set, Joint& joint, const std::string& treeName, ShellUi& ui) {
  joint.TreeName = treeName;
  rebuildBoneTree(set, ui);
}

bool nudgeBaseJoint(SceneDocument& doc, int32_t id, int32_t axis, bool leftward) {
  Joint* joint = findJointByID(doc.skeleton, id);
  if (joint == nullptr || joint != baseJoint(doc.skeleton) || axis < 0 || axis > 2) {
    return false;
  }
  if (!hasBackupBasicBoneVec(doc)) doc.backupBasicBoneVec = joint->initPoseBoneVector;
  const float step = leftward ? -kRootMoveStep : kRootMoveStep;
  float* bone[] = {&joint->initPoseBoneVector.x, &joint->initPoseBoneVector.y,
                   &joint->initPoseBoneVector.z};
  float* offset[] = {&doc.rootMoveOffset.x, &doc.rootMoveOffset.y, &doc.rootMoveOffset.z};
  *bone[axis] += step;
  *offset[axis] += step;
  return true;
}

}  // namespace lw
