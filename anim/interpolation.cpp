#include "anim/interpolation.h"

#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <string>

#include "core/math.h"
#include "core/number_text.h"

namespace lw {

namespace {

bool sameNames(const PoseMap& a, const PoseMap& b) {
  if (a.size() != b.size()) return false;
  for (auto i = a.begin(), j = b.begin(); i != a.end(); ++i, ++j) {
    if (i->first != j->first) return false;
  }
  return true;
}

// A dialog field read as a decimal number; text that is not a number gives 0.
double decimalValue(std::string_view text) {
  std::string copy(text);
  return std::strtod(copy.c_str(), nullptr);
}

// Both speed fields hold a number; otherwise the first that holds none is named
// in a message.
bool speedsHoldNumbers(std::string_view startText, std::string_view endText, ShellUi& ui) {
  const char* field = !holdsDecimal(startText) ? "フレーム開始時の速度"
                      : !holdsDecimal(endText) ? "フレーム終了時の速度"
                                               : nullptr;
  if (field != nullptr) ui.showMessage(notANumberMessage(field), kNotANumberTitle);
  return field == nullptr;
}

const KeyJointPose* basePoseOf(const KeyFrame* kf, const std::string& baseName) {
  if (kf == nullptr) return nullptr;
  auto it = kf->poses.find(baseName);
  return it == kf->poses.end() ? nullptr : &it->second;
}

// The turn q as an axis and an angle in degrees within [0, 180], in the form
// axisAngleToQuaternion takes them. False for a turn by no angle (or one so
// small that its axis is rounding noise).
bool turnAxisAngle(Quaternion q, Vector3& axis, double& degrees) {
  // axisAngleToQuaternion stores cos(h), -sin(h) * axis.
  double w = q.w, x = -q.x, y = -q.y, z = -q.z;
  if (w < 0) {
    w = -w;
    x = -x;
    y = -y;
    z = -z;
  }
  const double s = std::sqrt(x * x + y * y + z * z);
  if (s <= 1e-7) return false;
  degrees = 2.0 * std::atan2(s, w) * 180.0 / kPi;
  axis = {static_cast<float>(x / s), static_cast<float>(y / s), static_cast<float>(z / s)};
  return true;
}

}  // namespace

void copyPoses(PoseMap& dst, const PoseMap& src, const JointSet& skeleton) {
  if (sameNames(dst, src)) {
    auto j = src.begin();
    for (auto i = dst.begin(); i != dst.end(); ++i, ++j) i->second = j->second;
  } else {
    dst = src;
  }
  linkParentPoses(dst, skeleton);
}

bool loadSegmentStartPoses(KeyframeStore& store, const JointSet& skeleton) {
  const KeyFrame* start = findKeyFrameByNumber(store, store.segment.startNumber);
  if (start == nullptr) return false;
  copyPoses(store.animationPoses, start->poses, skeleton);
  return true;
}

void beginSegment(KeyframeStore& store) {
  store.segmentStarted = 0;
  const KeyFrame* end = findKeyFrameByNumber(store, store.segment.endNumber);
  if (end == nullptr || store.animationPoses.empty()) return;
  // The working pose's rotation fields hold, while this runs, the start pose's
  // accumulated turn (kf_drawRotationJointQuaternionRot), the end pose's
  // (kf_drawRotationJointQuaternion) and the whole-segment accumulated turn
  // (kf_rotationJointQuaternionAnime); each frame's poseFrame overwrites the first two.
  auto it = store.animationPoses.begin();
  KeyJointPose& base = it->second;
  const Quaternion baseTurn = base.kf_rotationJointQuaternion;
  auto baseEnd = end->poses.find(it->first);
  base.kf_drawRotationJointQuaternionRot = baseTurn;
  base.kf_drawRotationJointQuaternion =
      baseEnd == end->poses.end() ? baseTurn : baseEnd->second.kf_rotationJointQuaternion;
  base.kf_rotationJointQuaternionAnime = baseTurn;
  for (++it; it != store.animationPoses.end(); ++it) {
    KeyJointPose& j = it->second;
    const KeyJointPose* parent = j.parentPose;
    const Quaternion parentStart = parent ? parent->kf_drawRotationJointQuaternionRot : baseTurn;
    const Quaternion parentEnd = parent ? parent->kf_drawRotationJointQuaternion : baseTurn;
    const Quaternion parentWhole = parent ? parent->kf_rotationJointQuaternionAnime : baseTurn;

    // The start keyframe's full turn of this bone becomes the bone's fixed
    // turn, so that the frame at time 0 (every segment angle 0) is that pose.
    const Quaternion startAcc =
        quaternionMultiply(axisAngleToQuaternion(j.kf_axisVector, j.kf_axisAngle), parentStart);
    const Quaternion startFull = quaternionMultiply(j.kf_rotationJointQuaternionIKtoFK, startAcc);
    j.kf_rotationJointQuaternionIKtoFK = quaternionMultiply(startFull, conjugate(baseTurn));
    j.kf_drawRotationJointQuaternionRot = startAcc;

    auto e = end->poses.find(it->first);
    Quaternion own = kIdentityQuaternion;
    if (e == end->poses.end()) {
      j.kf_drawRotationJointQuaternion = parentEnd;
    } else {
      // The segment turn lands the bone exactly on the end keyframe's full turn,
      // measured in the bone's own frame, before the ancestors' segment turns.
      const KeyJointPose& ep = e->second;
      const Quaternion endAcc =
          quaternionMultiply(axisAngleToQuaternion(ep.kf_axisVector, ep.kf_axisAngle), parentEnd);
      j.kf_drawRotationJointQuaternion = endAcc;
      const Quaternion endFull = quaternionMultiply(ep.kf_rotationJointQuaternionIKtoFK, endAcc);
      const Quaternion wholeAcc = quaternionMultiply(conjugate(j.kf_rotationJointQuaternionIKtoFK), endFull);
      own = quaternionMultiply(wholeAcc, conjugate(parentWhole));
    }
    j.kf_endFrameAngle = 0;
    Vector3 axis;
    double angle = 0;
    if (turnAxisAngle(own, axis, angle)) {
      j.kf_axisVector = axis;
      j.kf_endFrameAngle = angle;
    }
    j.kf_axisAngle = 0;
    j.kf_rotationJointQuaternionAnime = quaternionMultiply(own, parentWhole);
  }
}

void interpolateFrame(KeyframeStore& store) {
  if (store.segmentStarted) beginSegment(store);
  if (store.animationPoses.empty()) return;
  const int32_t t = store.playTime;
  const int32_t duration = store.segment.duration;
  const double s = duration > 0 ? static_cast<double>(t) / duration : 1.0;

  for (auto& [name, j] : store.animationPoses) {
    const double a = j.kf_endFrameAngle;
    const double vs = j.kf_speed[0];
    const double ve = j.kf_speed[1];
    double angle;
    if (j.kf_hokanMode == 1) {
      angle = (a * -2 + vs + ve) * s * s * s + (3 * a - 2 * vs - ve) * s * s + vs * s;
    } else {
      angle = duration > 0 ? static_cast<float>(t * a / duration) : static_cast<float>(a);
    }
    // The angle never passes the segment's end angle: a Hermite curve that
    // overshoots holds the end angle until it comes back (the same at any time,
    // whichever frames were drawn before).
    j.kf_axisAngle = std::min(angle, a);
  }

  auto& [baseName, base] = *store.animationPoses.begin();
  const KeyJointPose* from = basePoseOf(findKeyFrameByNumber(store, store.segment.startNumber), baseName);
  const KeyJointPose* to = basePoseOf(findKeyFrameByNumber(store, store.segment.endNumber), baseName);
  if (!from || !to) return;
  const float p0[3] = {from->kf_boneVector.x, from->kf_boneVector.y, from->kf_boneVector.z};
  const float p1[3] = {to->kf_boneVector.x, to->kf_boneVector.y, to->kf_boneVector.z};
  float out[3];
  if (base.kf_hokanMode == 1) {
    const double vs = static_cast<float>(base.kf_speed[0]);
    const double ve = static_cast<float>(base.kf_speed[1]);
    for (int c = 0; c < 3; ++c) {
      out[c] = static_cast<float>(p0[c] + vs * s + (3.0 * p1[c] - 3.0 * p0[c] - 2 * vs - ve) * s * s +
                                  (2.0 * p0[c] - 2.0 * p1[c] + vs + ve) * s * s * s);
    }
  } else {
    for (int c = 0; c < 3; ++c) {
      float step = duration > 0 ? (p1[c] - p0[c]) * static_cast<float>(t) / static_cast<float>(duration)
                                : p1[c] - p0[c];
      out[c] = p0[c] + step;
    }
  }
  base.kf_positionAnime = {out[0], out[1], out[2]};
}

void poseFrame(PoseMap& poses) {
  if (poses.size() < 2) return;
  auto it = poses.begin();
  KeyJointPose& base = it->second;
  base.kf_drawRotationJointQuaternionRot = base.kf_rotationJointQuaternion;
  for (++it; it != poses.end(); ++it) {
    KeyJointPose& j = it->second;
    const Quaternion parentRot =
        j.parentPose ? j.parentPose->kf_drawRotationJointQuaternionRot : kIdentityQuaternion;
    j.kf_rotationJointQuaternion = axisAngleToQuaternion(j.kf_axisVector, j.kf_axisAngle);
    j.kf_drawRotationJointQuaternionRot = quaternionMultiply(j.kf_rotationJointQuaternion, parentRot);
    j.kf_drawRotationJointQuaternion =
        quaternionMultiply(j.kf_rotationJointQuaternionIKtoFK, j.kf_drawRotationJointQuaternionRot);
    j.kf_drawBoneVector = rotateVector(j.kf_drawRotationJointQuaternion, j.kf_boneVector);
    j.kf_drawAxisVector = rotateVector(j.kf_drawRotationJointQuaternionRot, j.kf_axisVector);
  }
}

bool applyInterpolationChoice(KeyframeStore& store, const JointSet& skeleton,
                              const InterpolationChoice& choice, ShellUi& ui) {
  if (choice.hermite) {
    if (choice.startSpeed.empty()) {
      ui.showMessage("開始速度の値が無効です", "速度");
      return false;
    }
    if (choice.endSpeed.empty()) {
      ui.showMessage("フレーム終了時の速度の値が入力されていません。", "速度");
      return false;
    }
    if (!speedsHoldNumbers(choice.startSpeed, choice.endSpeed, ui)) return false;
  }
  auto kf = store.byTime.find(static_cast<int32_t>(decimalValue(choice.keyframeTime)));
  if (kf == store.byTime.end()) return true;
  const int32_t id = static_cast<int32_t>(decimalValue(choice.jointId));
  for (const auto& [name, joint] : skeleton.joints) {
    if (joint->jointID != id) continue;
    auto pose = kf->second->poses.find(name);
    if (pose == kf->second->poses.end()) return true;
    KeyJointPose& p = pose->second;
    if (choice.hermite) {
      p.kf_hokanMode = 1;
      p.kf_speed[0] = decimalValue(choice.startSpeed);
      p.kf_speed[1] = decimalValue(choice.endSpeed);
    } else {
      p.kf_hokanMode = 0;
      p.kf_speed[0] = p.kf_speed[1] = 0;
    }
    return true;
  }
  return true;
}

bool readPreviewSpeeds(std::string_view startText, std::string_view endText, ShellUi& ui,
                       double& startSpeed, double& endSpeed) {
  if (startText.empty()) {
    ui.showMessage("フレーム開始時の速度の値が入力されていません。", "速度の値");
    return false;
  }
  if (endText.empty()) {
    ui.showMessage("フレーム終了時の速度の値が入力されていません。", "速度の値");
    return false;
  }
  if (!speedsHoldNumbers(startText, endText, ui)) return false;
  startSpeed = decimalValue(startText);
  endSpeed = decimalValue(endText);
  return true;
}

void hermitePreview(double startSpeed, double endSpeed, HermitePreview& out) {
  const Vector2d t0 = normalize2D(0.125, 0.125 * startSpeed);
  const Vector2d t1 = normalize2D(0.125, 0.125 * endSpeed);
  out.startTangentEnd = {t0.x / 3, t0.y / 3};
  out.endTangentEnd = {0.5 - t1.x / 3, 0.5 - t1.y / 3};
  for (int k = 0; k < HermitePreview::kPointCount; ++k) {
    const double u = static_cast<float>(k / 1000.0);
    auto curve = [u](double a, double b) {
      return a * u + (1.5 - 2 * a - b) * u * u + (a + b - 1) * u * u * u;
    };
    out.points[k] = {curve(t0.x, t1.x), curve(t0.y, t1.y)};
  }
}

}  // namespace lw
