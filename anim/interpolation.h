// Interpolation between two keyframes. During a segment every joint turns its
// bone from its pose in the start keyframe to its pose in the end keyframe about
// one fixed axis, through an angle growing from 0 to the angle between them,
// linearly or along a cubic Hermite curve (kf_hokanMode 1, slopes kf_speed). The base joint's position moves the same way. All of it works on
// the store's working copy animationPoses; the keyframes keep their poses.
#pragma once

#include <array>
#include <cstdint>
#include <string_view>

#include "core/document.h"
#include "core/keyframes.h"
#include "core/shell_ui.h"

namespace lw {

// dst = a copy of src with every parentPose pointing into dst (linkParentPoses).
// Reuses dst's entries when it holds the same joint names, so replaying the
// same segment allocates nothing.
void copyPoses(PoseMap& dst, const PoseMap& src, const JointSet& skeleton);

// Fills animationPoses from the keyframe numbered segment.startNumber. False,
// leaving it as it was, when that keyframe is gone.
bool loadSegmentStartPoses(KeyframeStore& store, const JointSet& skeleton);

// The segment-start computation over animationPoses and the end keyframe's
// poses (same names). Each non-base joint's fixed turn
// (kf_rotationJointQuaternionIKtoFK) becomes the start keyframe's full turn of
// its bone less the base joint's turn, so angle 0 draws the start pose exactly;
// its segment turn (kf_axisVector, kf_endFrameAngle in [0, 180]) is the turn,
// in the bone's own frame before its ancestors' segment turns, that lands its
// full turn exactly on the end keyframe's at the full angle, whatever the axis
// (components of 0 included). kf_rotationJointQuaternionAnime = that turn
// followed by the parent's whole-segment turn; kf_axisAngle = 0. A joint missing
// from the end keyframe does not turn. Clears segmentStarted.
void beginSegment(KeyframeStore& store);

// One frame at playTime within `segment`: runs beginSegment when segmentStarted
// is set, then sets each joint's kf_axisAngle (linear: playTime * A / duration
// rounded to float; Hermite: the cubic from 0 to A with slopes kf_speed; a value
// above A gives A, so the angle depends on playTime alone) and the base joint's kf_positionAnime (between the
// start and end keyframes' base kf_boneVector). Allocates nothing.
void interpolateFrame(KeyframeStore& store);

// Turns the working set's angles into rotations and drawn vectors for drawing:
// for every non-base joint (name order) kf_rotationJointQuaternion,
// kf_drawRotationJointQuaternionRot (own turn then the parent's),
// kf_drawRotationJointQuaternion (after kf_rotationJointQuaternionIKtoFK),
// kf_drawBoneVector and kf_drawAxisVector. The base joint's accumulated turn is
// its own kf_rotationJointQuaternion. Allocates nothing.
void poseFrame(PoseMap& poses);

// The interpolation dialog's OK, from the texts of its fields.
struct InterpolationChoice {
  std::string_view keyframeTime;  // combo box: a keyframe's time ("%d")
  std::string_view jointId;       // combo box: a joint's jointID ("%d")
  bool hermite = false;           // "Hermite補間" is selected
  std::string_view startSpeed;    // "フレーム開始時："
  std::string_view endSpeed;      // "フレーム終了時："
};

// Stores the choice in the pose of that joint in that keyframe: linear sets
// kf_hokanMode 0 and both speeds 0; Hermite sets mode 1 and the two speeds read
// as decimal numbers (trailing text is ignored). An empty speed field with
// Hermite shows "開始速度の値が無効です" or "フレーム終了時の速度の値が入力されていません。"
// titled "速度", and a speed field that holds no number shows a message naming
// it titled kNotANumberTitle; either stores nothing and returns false (the
// dialog stays open); otherwise returns true. A time or ID that names no keyframe or joint stores
// nothing.
bool applyInterpolationChoice(KeyframeStore& store, const JointSet& skeleton,
                              const InterpolationChoice& choice, ShellUi& ui);

// "Hermite曲線表示": both fields must be filled; an empty one shows
// "フレーム開始時の速度の値が入力されていません。" or the end field's message titled "速度の値"
// and returns false; so does a field that holds no number, after a message
// naming it. Otherwise stores the two values and returns true.
bool readPreviewSpeeds(std::string_view startText, std::string_view endText, ShellUi& ui,
                       double& startSpeed, double& endSpeed);

// What the "Hermite Function" window draws inside its square (0,0)-(0.5,0.5).
struct HermitePreview {
  static constexpr int kPointCount = 1001;
  Vector2d startTangentEnd;  // green line from (0, 0)
  Vector2d endTangentEnd;    // green line from (0.5, 0.5)
  std::array<Vector2d, kPointCount> points;  // u = k / 1000 along the curve
};

// The preview for two slopes: unit tangents T0 = dir(0.125, 0.125 vs) and
// T1 = dir(0.125, 0.125 ve); lines to T0 / 3 and to (0.5, 0.5) - T1 / 3; points
// T0 u + (1.5 - 2 T0 - T1) u^2 + (T0 + T1 - 1) u^3, u rounded to float.
void hermitePreview(double startSpeed, double endSpeed, HermitePreview& out);

}  // namespace lw
