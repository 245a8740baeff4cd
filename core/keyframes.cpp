#include "core/keyframes.h"

#include <algorithm>
#include <climits>
#include <iterator>
#include <utility>

#include "core/document.h"

namespace lw {

namespace {

KeyJointPose poseOf(const Joint& j) {
  KeyJointPose p;
  p.kf_jointID = j.jointID;
  p.kf_boneVector = j.initPoseBoneVector;
  p.kf_drawBoneVector = j.drawBoneVector;
  p.kf_position = j.position;
  p.kf_jointName = j.jointName;
  p.kf_axisVector = j.axisVector;
  p.kf_drawAxisVector = j.drawAxisVector;
  p.kf_axisAngle = j.axisAngle;
  p.kf_rotationJointQuaternion = j.rotationJointQuaternion;
  p.kf_rotationJointQuaternionIKtoFK = j.convertIKtoFK_rotationJointQuaternion;
  p.kf_drawRotationJointQuaternionRot = j.accumulatedRotation;
  p.kf_drawRotationJointQuaternion = j.drawRotationJointQuaternion;
  return p;
}

bool holds(const std::map<int32_t, KeyFramePtr>& map, const KeyFrame* kf) {
  return std::any_of(map.begin(), map.end(), [kf](const auto& e) { return e.second.get() == kf; });
}

void makeCurrent(KeyframeStore& store, const KeyFrame& kf) {
  store.currentNumber = kf.number;
  store.currentTime = kf.time;
}

// The time of the current keyframe: looked up through its number, falling back
// to currentTime when the number is not held.
int32_t currentKeyTime(const KeyframeStore& store) {
  const KeyFrame* kf = findKeyFrameByNumber(store, store.currentNumber);
  return kf ? kf->time : store.currentTime;
}

int finishShow(SceneDocument& doc) {
  KeyframeStore& store = *doc.keyFrames;
  if (applyKeyFrame(doc) == kKeyframeNotApplied) return kKeyframeNotApplied;
  doc.do_skinning = 1;
  store.keyframeBoneView = 0;
  store.keyframeShown = 1;
  return store.currentNumber;
}

}  // namespace

KeyFrame* findKeyFrameByNumber(const KeyframeStore& store, int32_t number) {
  auto it = store.byNumber.find(number);
  return it == store.byNumber.end() ? nullptr : it->second.get();
}

KeyFrame& createKeyFrame(KeyframeStore& store, const JointSet& skeleton, int32_t timeMs) {
  auto kf = std::make_shared<KeyFrame>();
  int32_t largest = -1;
  for (const auto& [time, frame] : store.byTime) largest = std::max(largest, frame->number);
  kf->number = largest + 1;
  kf->time = timeMs;
  for (const auto& [name, joint] : skeleton.joints) kf->poses.emplace(name, poseOf(*joint));
  linkParentPoses(kf->poses, skeleton);

  // Out of memory on the way leaves the store as it was.
  auto [numbered, inserted] = store.byNumber.try_emplace(kf->number);
  KeyFramePtr replaced = std::exchange(numbered->second, kf);
  try {
    store.byTime[kf->time] = kf;
  } catch (...) {
    if (inserted) {
      store.byNumber.erase(numbered);
    } else {
      numbered->second = std::move(replaced);
    }
    throw;
  }
  store.lastCreated = kf;
  makeCurrent(store, *kf);
  return *kf;
}

void linkParentPoses(PoseMap& poses, const JointSet& skeleton) {
  for (auto& [name, pose] : poses) {
    pose.parentPose = nullptr;
    auto joint = skeleton.joints.find(name);
    if (joint == skeleton.joints.end() || joint->second->parent == nullptr) continue;
    auto parentPose = poses.find(joint->second->parent->jointName);
    if (parentPose != poses.end()) pose.parentPose = &parentPose->second;
  }
}

int applyKeyFrame(SceneDocument& doc) {
  if (!doc.skinBuffers) {
    doc.ErrorText = kBuffersReleasedText;
    return kKeyframeNotApplied;
  }
  KeyframeStore& store = *doc.keyFrames;
  auto kf = store.byTime.find(store.currentTime);
  if (kf == store.byTime.end()) return 0;
  for (auto& [name, joint] : doc.skeleton.joints) {
    auto it = kf->second->poses.find(name);
    if (it == kf->second->poses.end()) continue;
    const KeyJointPose& p = it->second;
    Joint& j = *joint;
    j.initPoseBoneVector = p.kf_boneVector;
    j.drawBoneVector = p.kf_drawBoneVector;
    j.position = p.kf_position;
    j.axisVector = p.kf_axisVector;
    j.drawAxisVector = p.kf_drawAxisVector;
    j.axisAngle = static_cast<float>(p.kf_axisAngle);
    j.rotationJointQuaternion = p.kf_rotationJointQuaternion;
    j.convertIKtoFK_rotationJointQuaternion = p.kf_rotationJointQuaternionIKtoFK;
    j.accumulatedRotation = p.kf_drawRotationJointQuaternionRot;
    j.drawRotationJointQuaternion = p.kf_drawRotationJointQuaternion;
  }
  return 0;
}

int showNextKeyFrame(SceneDocument& doc) {
  KeyframeStore& store = *doc.keyFrames;
  if (store.byTime.empty()) return 0;
  int32_t time = currentKeyTime(store);
  auto it = store.byTime.find(time);
  if (it == store.byTime.end()) {
    // The current keyframe is no longer in the time order: the first one after
    // its time is the next (the last one when none is later).
    it = store.byTime.upper_bound(time);
    if (it == store.byTime.end()) --it;
  } else if (std::next(it) != store.byTime.end()) {
    ++it;
  }
  makeCurrent(store, *it->second);
  return finishShow(doc);
}

int showPreviousKeyFrame(SceneDocument& doc) {
  KeyframeStore& store = *doc.keyFrames;
  if (store.byTime.empty()) return 0;
  auto it = store.byTime.lower_bound(currentKeyTime(store));
  if (it != store.byTime.begin()) --it;
  makeCurrent(store, *it->second);
  return finishShow(doc);
}

int32_t timeSpan(int32_t later, int32_t earlier) {
  const int64_t span = static_cast<int64_t>(later) - earlier;
  return static_cast<int32_t>(std::clamp<int64_t>(span, INT32_MIN, INT32_MAX));
}

bool setPlaybackRange(KeyframeStore& store, int32_t endTime, int32_t startTime) {
  auto start = store.byTime.find(startTime);
  auto end = store.byTime.find(endTime);
  if (start == store.byTime.end() || end == store.byTime.end()) return false;
  store.rangeStart = start->second->number;
  store.rangeEnd = end->second->number;
  const KeyFrame* first = findKeyFrameByNumber(store, store.rangeStart);
  const KeyFrame* last = findKeyFrameByNumber(store, store.rangeEnd);
  store.rangeDuration = (first && last) ? timeSpan(last->time, first->time)
                                           : timeSpan(end->first, start->first);
  return true;
}

void eraseShownKeyFrame(KeyframeStore& store) {
  store.deletedTime = store.currentTime;
  store.byNumber.erase(store.currentNumber);
  store.byTime.erase(store.currentTime);
  if (store.lastCreated && !holds(store.byNumber, store.lastCreated.get()) &&
      !holds(store.byTime, store.lastCreated.get())) {
    store.lastCreated.reset();
  }
  if (!store.byTime.empty()) {
    makeCurrent(store, *store.byTime.begin()->second);
  } else if (!store.byNumber.empty()) {
    auto earliest = std::min_element(store.byNumber.begin(), store.byNumber.end(),
                                     [](const auto& a, const auto& b) {
                                       return a.second->time < b.second->time;
                                     });
    makeCurrent(store, *earliest->second);
  }
}

}  // namespace lw
