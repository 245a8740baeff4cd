// Keyframes: snapshots of every joint's pose under a time in milliseconds, held
// by creation number and by time.
#pragma once

#include <cstdint>
#include <map>
#include <memory>
#include <string>
#include <vector>

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

struct KeyFrame {
  int32_t number = 0;
  int32_t time = 0;
  std::map<std::string, KeyJointPose> poses;  // by jointName: parents before children
};

struct Segment {
  int32_t startNumber = 0;
  int32_t endNumber = 0;
  int32_t duration = 0;  // ms
};

// A keyframe lives while either map holds it.
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
};

}  // namespace lw
