#include "edit/undo_state.h"

#include <algorithm>
#include <cstring>
#include <map>
#include <type_traits>

#include "edit/field_count.h"

namespace lw {

// A new field of these records must be sorted into undoable or not (see the
// header) and, for the records copied here, compared and copied below.
static_assert(fieldCount<SceneDocument>() == 65, "sort the new document field in undo_state.h");
static_assert(fieldCount<Joint>() == 43, "compare the new joint field in sameJointFields");
static_assert(fieldCount<KeyFrame>() == 3, "compare the new keyframe field in sameFrame");
static_assert(fieldCount<KeyJointPose>() == 19, "compare the new pose field in samePose");
static_assert(fieldCount<KeyframeStore>() == 17, "sort the new store field in undo_state.h");

namespace {

// Values compare bit for bit, so a NaN left by a failed solve equals itself and
// does not make a step on every record.
template <class T>
bool same(const T& a, const T& b) {
  if constexpr (std::is_same_v<T, std::string>) {
    return a == b;
  } else {
    static_assert(std::is_trivially_copyable_v<T>);
    return std::memcmp(&a, &b, sizeof(T)) == 0;
  }
}

// The key of the pose `target` points at inside `poses`; "\x01" for a pose
// elsewhere and an empty text for none.
using PoseKeys = std::map<const KeyJointPose*, const std::string*>;

PoseKeys poseKeys(const PoseMap& poses) {
  PoseKeys keys;
  for (const auto& [name, pose] : poses) keys.emplace(&pose, &name);
  return keys;
}

std::string parentKey(const PoseKeys& keys, const KeyJointPose* target) {
  if (target == nullptr) return {};
  const auto found = keys.find(target);
  return found == keys.end() ? std::string("\x01") : *found->second;
}

bool samePose(const KeyJointPose& a, const KeyJointPose& b) {
  return same(a.kf_jointID, b.kf_jointID) && same(a.kf_boneVector, b.kf_boneVector) &&
         same(a.kf_drawBoneVector, b.kf_drawBoneVector) && same(a.kf_position, b.kf_position) &&
         same(a.kf_jointName, b.kf_jointName) && same(a.kf_axisVector, b.kf_axisVector) &&
         same(a.kf_drawAxisVector, b.kf_drawAxisVector) && same(a.kf_axisAngle, b.kf_axisAngle) &&
         same(a.kf_rotationJointQuaternion, b.kf_rotationJointQuaternion) &&
         same(a.kf_rotationJointQuaternionIKtoFK, b.kf_rotationJointQuaternionIKtoFK) &&
         same(a.kf_drawRotationJointQuaternionRot, b.kf_drawRotationJointQuaternionRot) &&
         same(a.kf_drawRotationJointQuaternion, b.kf_drawRotationJointQuaternion) &&
         same(a.kf_rotationJointQuaternionAnime, b.kf_rotationJointQuaternionAnime) &&
         same(a.kf_endFrameAngle, b.kf_endFrameAngle) && same(a.kf_hokanMode, b.kf_hokanMode) &&
         same(a.kf_speed, b.kf_speed) && same(a.kf_positionAnime, b.kf_positionAnime);
}

bool sameFrame(const KeyFrame& a, const KeyFrame& b) {
  if (a.number != b.number || a.time != b.time || a.poses.size() != b.poses.size()) return false;
  const PoseKeys keysA = poseKeys(a.poses);
  const PoseKeys keysB = poseKeys(b.poses);
  for (auto ia = a.poses.begin(), ib = b.poses.begin(); ia != a.poses.end(); ++ia, ++ib) {
    if (ia->first != ib->first || !samePose(ia->second, ib->second) ||
        parentKey(keysA, ia->second.parentPose) != parentKey(keysB, ib->second.parentPose)) {
      return false;
    }
  }
  return true;
}

// A copy whose parentPose links point into its own poses as the original's
// point into the original's.
std::shared_ptr<KeyFrame> copyFrame(const KeyFrame& from) {
  auto copy = std::make_shared<KeyFrame>(from);
  const PoseKeys keys = poseKeys(from.poses);
  for (auto& [name, pose] : copy->poses) {
    const auto found = keys.find(from.poses.at(name).parentPose);
    pose.parentPose = found == keys.end() ? nullptr : &copy->poses.at(*found->second);
  }
  return copy;
}

}  // namespace

bool sameJointFields(const Joint& a, const Joint& b) {
  return same(a.leafFlag, b.leafFlag) && same(a.jointID, b.jointID) &&
         same(a.jointName, b.jointName) && same(a.validJoint, b.validJoint) &&
         same(a.position, b.position) && same(a.xVector, b.xVector) && same(a.yVector, b.yVector) &&
         same(a.parent_xVector, b.parent_xVector) && same(a.parent_yVector, b.parent_yVector) &&
         same(a.pTOc_Quaternion, b.pTOc_Quaternion) &&
         same(a.rotationJointQuaternion, b.rotationJointQuaternion) &&
         same(a.drawRotationJointQuaternion, b.drawRotationJointQuaternion) &&
         same(a.initPoseBoneVector, b.initPoseBoneVector) &&
         same(a.drawBoneVector, b.drawBoneVector) && same(a.axisVector, b.axisVector) &&
         same(a.drawAxisVector, b.drawAxisVector) && same(a.axisAngle, b.axisAngle) &&
         same(a.jointWorldPosition, b.jointWorldPosition) &&
         same(a.jointDrawPositionAfterPosEnter, b.jointDrawPositionAfterPosEnter) &&
         same(a.convertWorldToJointCoodQuaternion, b.convertWorldToJointCoodQuaternion) &&
         same(a.ik_rotationJointQuaternion, b.ik_rotationJointQuaternion) &&
         same(a.ik_axisVector, b.ik_axisVector) && same(a.ikWorkPosition, b.ikWorkPosition) &&
         same(a.ik_jointDrawPosition, b.ik_jointDrawPosition) &&
         same(a.ik_axisAngle, b.ik_axisAngle) && same(a.ik_Flag, b.ik_Flag) &&
         same(a.ik_stopFlg, b.ik_stopFlg) && same(a.TreeName, b.TreeName) &&
         same(a.convertIKtoFK_boneVector, b.convertIKtoFK_boneVector) &&
         same(a.ikResultPosition, b.ikResultPosition) &&
         same(a.ikResultXVector, b.ikResultXVector) && same(a.ikResultYVector, b.ikResultYVector) &&
         same(a.ikResultParentXVector, b.ikResultParentXVector) &&
         same(a.ikResultParentYVector, b.ikResultParentYVector) &&
         same(a.ikResultWorldToJointQuaternion, b.ikResultWorldToJointQuaternion) &&
         same(a.ikResultWorldPosition, b.ikResultWorldPosition) &&
         same(a.ikResultAxisVector, b.ikResultAxisVector) &&
         same(a.ikResultPToCQuaternion, b.ikResultPToCQuaternion) &&
         same(a.convertIKtoFK_rotationJointQuaternion, b.convertIKtoFK_rotationJointQuaternion) &&
         same(a.accumulatedRotation, b.accumulatedRotation);
}

SkeletonValue skeletonValue(const JointSet& set) {
  std::map<const Joint*, int32_t> position;
  for (const auto& joint : set.jointOrder) {
    position.emplace(joint.get(), static_cast<int32_t>(position.size()));
  }
  const auto positionOf = [&](const Joint* joint) {
    const auto found = position.find(joint);
    return found == position.end() ? -1 : found->second;
  };
  SkeletonValue value;
  value.joints.reserve(set.jointOrder.size());
  for (const auto& joint : set.jointOrder) {
    JointValue& v = value.joints.emplace_back();
    v.fields = *joint;
    v.fields.parent = nullptr;
    v.fields.children.clear();
    v.fields.treeItem = nullptr;
    v.parent = positionOf(joint->parent);
    for (const Joint* child : joint->children) v.children.push_back(positionOf(child));
  }
  for (const auto& [name, joint] : set.joints) value.names.emplace_back(name, positionOf(joint));
  return value;
}

bool operator==(const SkeletonValue& a, const SkeletonValue& b) {
  if (a.names != b.names || a.joints.size() != b.joints.size()) return false;
  for (size_t i = 0; i < a.joints.size(); ++i) {
    const JointValue& ja = a.joints[i];
    const JointValue& jb = b.joints[i];
    if (ja.parent != jb.parent || ja.children != jb.children ||
        !sameJointFields(ja.fields, jb.fields)) {
      return false;
    }
  }
  return true;
}

void restoreSkeleton(const SkeletonValue& value, JointSet& set) {
  set.jointOrder.resize(value.joints.size());
  for (auto& joint : set.jointOrder) {
    if (!joint) joint = std::make_unique<Joint>();
  }
  const auto at = [&](int32_t i) {
    return i < 0 || static_cast<size_t>(i) >= set.jointOrder.size() ? nullptr
                                                                    : set.jointOrder[i].get();
  };
  for (size_t i = 0; i < value.joints.size(); ++i) {
    Joint& joint = *set.jointOrder[i];
    const TreeItem item = joint.treeItem;
    joint = value.joints[i].fields;
    joint.treeItem = item;
    joint.parent = at(value.joints[i].parent);
    for (int32_t child : value.joints[i].children) joint.children.push_back(at(child));
  }
  set.joints.clear();
  for (const auto& [name, i] : value.names) set.joints.emplace(name, at(i));
}

KeyframesValue keyframesValue(const KeyframeStore& store, const KeyframesValue* previous) {
  std::multimap<std::pair<int32_t, int32_t>, FrozenKeyFrame> reusable;
  if (previous != nullptr) {
    for (const FrozenKeyFrame& frame : previous->frames) {
      reusable.emplace(std::make_pair(frame->number, frame->time), frame);
    }
  }
  KeyframesValue value;
  std::map<const KeyFrame*, int32_t> position;
  const auto positionOf = [&](const KeyFramePtr& frame) -> int32_t {
    if (!frame) return -1;
    const auto [it, added] =
        position.emplace(frame.get(), static_cast<int32_t>(value.frames.size()));
    if (!added) return it->second;
    FrozenKeyFrame frozen;
    const auto [first, last] = reusable.equal_range({frame->number, frame->time});
    for (auto candidate = first; candidate != last && !frozen; ++candidate) {
      if (sameFrame(*candidate->second, *frame)) frozen = candidate->second;
    }
    value.frames.push_back(frozen ? frozen : copyFrame(*frame));
    return it->second;
  };
  for (const auto& [number, frame] : store.byNumber) {
    value.byNumber.emplace_back(number, positionOf(frame));
  }
  for (const auto& [time, frame] : store.byTime) value.byTime.emplace_back(time, positionOf(frame));
  value.lastCreated = positionOf(store.lastCreated);
  return value;
}

bool operator==(const KeyframesValue& a, const KeyframesValue& b) {
  if (a.byNumber != b.byNumber || a.byTime != b.byTime || a.lastCreated != b.lastCreated ||
      a.frames.size() != b.frames.size()) {
    return false;
  }
  for (size_t i = 0; i < a.frames.size(); ++i) {
    if (a.frames[i] != b.frames[i] && !sameFrame(*a.frames[i], *b.frames[i])) return false;
  }
  return true;
}

void restoreKeyframes(const KeyframesValue& value, KeyframeStore& store) {
  std::vector<KeyFramePtr> frames;
  frames.reserve(value.frames.size());
  for (const FrozenKeyFrame& frame : value.frames) frames.push_back(copyFrame(*frame));
  const auto at = [&](int32_t i) { return i < 0 ? KeyFramePtr() : frames[i]; };
  store.byNumber.clear();
  store.byTime.clear();
  for (const auto& [number, i] : value.byNumber) store.byNumber.emplace(number, at(i));
  for (const auto& [time, i] : value.byTime) store.byTime.emplace(time, at(i));
  store.lastCreated = at(value.lastCreated);
}

namespace {

// Copies one field either way; arrays (the pick point) element by element.
template <class T>
void copyField(T& to, const T& from) {
  to = from;
}
template <class T, size_t N>
void copyField(T (&to)[N], const T (&from)[N]) {
  std::copy(from, from + N, to);
}

// Each group's fields, listed once: `pair(documentField, savedField)` is called
// for every field, so taking a group and restoring it walk the same list.
template <class Doc, class Fields, class Pair>
void pairDocumentFields(Doc& doc, Fields& f, Pair pair) {
  pair(doc.decitionJointPosition, f.decitionJointPosition);
  pair(doc.saveFilter, f.saveFilter);
  pair(doc.do_skinning, f.doSkinning);
  pair(doc.axisReversed, f.axisReversed);
  pair(doc.weightBoxShown, f.weightBoxShown);
  pair(doc.weightBox.corners, f.boxCorners);
  pair(doc.backupBasicBoneVec, f.backupBasicBoneVec);
  pair(doc.rootMoveOffset, f.rootMoveOffset);
  if (!doc.keyFrames) return;
  auto& s = *doc.keyFrames;
  pair(s.currentNumber, f.currentNumber);
  pair(s.currentTime, f.currentTime);
  pair(s.deletedTime, f.deletedTime);
  pair(s.rangeStart, f.rangeStart);
  pair(s.rangeEnd, f.rangeEnd);
  pair(s.rangeDuration, f.rangeDuration);
}

template <class Doc, class Fields, class Pair>
void pairEditFields(Doc& doc, Fields& f, Pair pair) {
  pair(doc.editMode, f.editMode);
  pair(doc.mirrorPlane, f.mirrorPlane);
  pair(doc.selectedJoint, f.selectedJoint);
  pair(doc.rootMoveAxis, f.rootMoveAxis);
  pair(doc.axisPreset, f.axisPreset);
  pair(doc.axisEditVector, f.axisEditVector);
  pair(doc.editedJointName, f.editedJointName);
  pair(doc.parentJointName, f.parentJointName);
  pair(doc.pickPoint, f.pickPoint);
  pair(doc.treeSelectedJoint, f.treeSelectedJoint);
  pair(doc.pointPickView, f.pointPickView);
  pair(doc.tempJointNumbers, f.tempJointNumbers);
  pair(doc.vertexSelection, f.vertexSelection);
  pair(doc.dragStarted, f.dragStarted);
  pair(doc.dragCounter, f.dragCounter);
  pair(doc.dragVector, f.dragVector);
  pair(doc.animationView, f.animationView);
  pair(doc.playbackMenuLock, f.playbackMenuLock);
  if (!doc.keyFrames) return;
  pair(doc.keyFrames->keyframeBoneView, f.keyframeBoneView);
  pair(doc.keyFrames->keyframeShown, f.keyframeShown);
}

constexpr auto kTake = [](const auto& field, auto& saved) { copyField(saved, field); };
constexpr auto kRestore = [](auto& field, const auto& saved) { copyField(field, saved); };

}  // namespace

DocumentFields documentFields(const SceneDocument& doc) {
  DocumentFields f;
  pairDocumentFields(doc, f, kTake);
  return f;
}

void restoreDocumentFields(const DocumentFields& f, SceneDocument& doc) {
  pairDocumentFields(doc, f, kRestore);
}

EditFields editFields(const SceneDocument& doc) {
  EditFields f;
  pairEditFields(doc, f, kTake);
  return f;
}

void restoreEditFields(const EditFields& f, SceneDocument& doc) {
  pairEditFields(doc, f, kRestore);
}

void applyMenuState(const MenuState& menu, ShellUi& ui) {
  for (const MenuItemState& item : menu) {
    ui.enableMenuItem(item.id, item.enabled != 0);
    if (item.checked >= 0) ui.checkMenuItem(item.id, item.checked != 0);
  }
}

}  // namespace lw
