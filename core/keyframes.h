// Keyframes: snapshots of every joint's pose under a time in milliseconds, held
// by creation number and by time.
#pragma once

#include <cstdint>
#include <map>
#include <memory>
#include <string>
#include <vector>

#include "core/joint.h"
#include "core/math.h"

namespace lw {

struct KeyJointPose {
  KeyJointPose* parentPose = nullptr;  // the parent joint's pose in the same keyframe
  int32_t kf_jointID = 0;
  Vector3 kf_boneVector;
  Vector3 kf_drawBoneVector;
  Vector3 kf_position;
  std::string kf_jointName;
  Vector3 kf_axisVector;
  Vector3 kf_drawAxisVector;
  double kf_axisAngle = 0;
  Quaternion kf_rotationJointQuaternion;
  Quaternion kf_rotationJointQuaternionIKtoFK;
  Quaternion kf_drawRotationJointQuaternionRot;
  Quaternion kf_drawRotationJointQuaternion;
  Quaternion kf_rotationJointQuaternionAnime;
  double kf_endFrameAngle = 0;
  int32_t kf_hokanMode = 0;  // 0 linear, 1 Hermite
  double kf_speed[2] = {0, 0};
  Vector3 kf_positionAnime;
};

// Poses by jointName. Name order visits every parent before its children, and the
// base joint ("Joint0") comes first.
using PoseMap = std::map<std::string, KeyJointPose>;

struct KeyFrame {
  int32_t number = 0;  // creation number
  int32_t time = 0;    // ms
  PoseMap poses;
};

// later - earlier for two keyframe times, held within the int range when the
// difference does not fit (times at both ends of it).
int32_t timeSpan(int32_t later, int32_t earlier);

struct Segment {
  int32_t startNumber = 0;
  int32_t endNumber = 0;
  int32_t duration = 0;  // ms
};

// A keyframe lives while either map (or lastCreated) holds it, and is released when
// the last of them lets it go.
using KeyFramePtr = std::shared_ptr<KeyFrame>;

struct KeyframeStore {
  int32_t keyframeBoneView = 0;
  int32_t keyframeShown = 0;
  int32_t currentNumber = 0;
  int32_t currentTime = 0;
  int32_t deletedTime = 0;
  std::map<int32_t, KeyFramePtr> byNumber;
  std::map<int32_t, KeyFramePtr> byTime;
  int32_t playTime = 0;
  KeyFramePtr lastCreated;
  Segment segment;
  int32_t rangeStart = 0;
  int32_t rangeEnd = 0;
  int32_t rangeDuration = 0;
  std::vector<Segment> segments;  // the queue of segments still to play
  size_t nextSegment = 0;         // index of the next one to take
  int32_t segmentStarted = 1;
  // Playback's working copy of the segment's start poses, parent links pointing
  // into this copy; interpolation writes the frame's pose here.
  PoseMap animationPoses;
};

struct SceneDocument;

// The result of applyKeyFrame and the show functions when the model's skin
// buffers are gone; ErrorText then holds kBuffersReleasedText.
inline constexpr int kKeyframeNotApplied = -50;
inline constexpr const char* kBuffersReleasedText = "領域が既に開放されています。";

// The keyframe stored under `number` in byNumber, or null.
KeyFrame* findKeyFrameByNumber(const KeyframeStore& store, int32_t number);

// Snapshots every joint (in name order) into a new keyframe at `timeMs`: the
// number is 1 + the largest number among the keyframes in byTime (0 when byTime
// is empty); each pose takes the joint's current fields, animation settings at
// their defaults (linear, speeds 0). The keyframe goes into byNumber and into
// byTime, replacing any keyframe held there under the same number or time (a
// keyframe left in neither map is released); it becomes lastCreated and current.
// Running out of memory throws std::bad_alloc with the store as it was.
// The caller bakes the pose first (see anim/keyframe_commands.h).
KeyFrame& createKeyFrame(KeyframeStore& store, const JointSet& skeleton, int32_t timeMs);

// Points every pose's parentPose at the pose of its joint's parent in the same
// map; the base joint's pose, poses of unknown joints and poses whose parent has
// no pose get none.
void linkParentPoses(PoseMap& poses, const JointSet& skeleton);

// Copies the keyframe at currentTime into the joints (name order): rest and drawn
// bones, position, axes, angle (rounded to float) and the four rotations.
// Joints without a pose in it are left alone. Returns 0, or kKeyframeNotApplied
// with kBuffersReleasedText in doc.ErrorText when there are no skin buffers. With
// no keyframe at currentTime nothing changes and 0 is returned.
int applyKeyFrame(SceneDocument& doc);

// Steps the current keyframe to the next (previous) one in time order, staying at
// the last (first), applies it, and on success sets do_skinning 1,
// keyframeBoneView 0 and keyframeShown 1. Returns the current number, 0 when
// byTime is empty (nothing changes), or kKeyframeNotApplied.
int showNextKeyFrame(SceneDocument& doc);
int showPreviousKeyFrame(SceneDocument& doc);

// Sets rangeStart/rangeEnd to the numbers of the keyframes at the two times in
// byTime and rangeDuration to the difference of their times. The end comes first.
// Returns false, changing nothing, when either time has no keyframe.
bool setPlaybackRange(KeyframeStore& store, int32_t endTime, int32_t startTime);

// The store half of deleting the shown keyframe: deletedTime = currentTime, the
// keyframe currentNumber leaves byNumber and the one at currentTime leaves byTime
// (each released once it is in neither map nor lastCreated); the earliest
// remaining keyframe by time becomes current.
void eraseShownKeyFrame(KeyframeStore& store);

}  // namespace lw
