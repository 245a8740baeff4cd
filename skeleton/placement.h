// Placement phase of the skeleton: placing, moving, mirroring, deleting and
// naming joints, and nudging the base joint. Joints live in the document's
// JointSet (core/joint.h); the bone tree panel is kept in step through ShellUi.
//
// Numbering and naming rules (both keep every joint unambiguous even after
// deletions):
//  - jointID: the base joint is 1; a later joint gets jointOrder size + 1, or one
//    more than the largest jointID in use when that is larger (only after a
//    deletion), so an ID is never given twice.
//  - jointName: the base joint is "Joint0"; a child is its parent's name + "_" +
//    the parent's child count k. When that name is already used, or is the
//    "name_" prefix of an existing joint (a re-parented grandchild), k counts up
//    until it is free. A parent's name is thus always a proper prefix of its
//    descendants' names and name order visits parents before children.
#pragma once

#include <cstdint>
#include <string>

#include "core/document.h"
#include "core/joint.h"
#include "core/math.h"
#include "core/shell_ui.h"

namespace lw {

// Mirror planes: which coordinate a mirrored placement negates.
enum MirrorPlane : int32_t {
  kMirrorXY = 0,  // Z negated
  kMirrorYZ = 1,  // X negated
  kMirrorZX = 2,  // Y negated
  kNoMirror = 3,
};

// Menu ids touched by the placement commands.

// Per drag step of nudgeBaseJoint.
inline constexpr float kRootMoveStep = 0.02f;

// The jointID the next created joint gets (see the numbering rule above).
int32_t nextJointID(const JointSet& set);

// The jointName the next child of parent gets (see the naming rule above).
std::string childJointName(const JointSet& set, const Joint& parent);

// point with the mirror plane's coordinate negated; point itself for kNoMirror
// or an unknown plane.
Vector3 mirrorPoint(Vector3 point, int32_t plane);

// The world point of the last window-to-world conversion as floats.
Vector3 pickPointVector(const SceneDocument& doc);

// A click in base-joint placement. With no joint: creates "Joint0" (ID 1) at
// point (jointWorldPosition and position), files it and inserts its root tree
// item. With only the base joint: moves it to point. With more joints: nothing.
// Returns the base joint, or nullptr when nothing was done. Once the positions
// are fixed (decitionJointPosition 1) the joints no longer move or grow: refused.
Joint* placeBaseJoint(SceneDocument& doc, Vector3 point, ShellUi& ui);

// A click that places a child of the joint named parentName at point. With a
// mirror plane (0-2) a twin is made at the mirrored point under the parent's
// mirror partner: the parent itself when it is the base joint, else the first
// joint in name order whose jointWorldPosition equals the parent's in the two
// coordinates the plane keeps and whose jointID differs, other than the new
// child and the base joint; no partner, no twin.
// The twin's tree item is inserted before the child's; then the tree is
// expanded and IDM_FIX_POSITIONS, IDM_MOVE_CHILD, IDM_MIRROR_XY-IDM_MIRROR_ZX are enabled. Returns
// the child, or nullptr (nothing changed) when no joint has that name or the positions are fixed (a
// joint added then would have no rest frame).
Joint* addChildJoint(SceneDocument& doc, const std::string& parentName, Vector3 point,
                     int32_t plane, ShellUi& ui);

// A drag step of "子ジョイントの移動": the joint's jointWorldPosition = point.
void moveJoint(Joint& joint, Vector3 point);

// target.jointWorldPosition = source's, mirrored in plane (kMirrorXY/YZ/ZX).
void mirrorJointOnto(const Joint& source, Joint& target, int32_t plane);

inline constexpr char kDeleteAfterFixText[] = "ジョイントの位置確定後はジョイントを削除できません";
inline constexpr char kDeleteAfterFixTitle[] = "位置確定後";

// Deletes the joint with jointID id. Refused (returns false, nothing changes)
// when no joint has that ID or it is the base joint, and, with the message
// kDeleteAfterFixText titled kDeleteAfterFixTitle, once the positions are
// fixed (decitionJointPosition 1). Otherwise its children are
// appended, in order, to its parent's children (keeping their names), the
// record is removed from both orders and freed, and the bone tree is rebuilt.
bool deleteJoint(SceneDocument& doc, int32_t id, ShellUi& ui);

// The naming dialog's result: sets TreeName (jointName never changes) and
// rebuilds the bone tree.
void renameJoint(JointSet& set, Joint& joint, const std::string& treeName, ShellUi& ui);

// A drag step of "基準ジョイントの移動" on the joint with jointID id, along axis
// (0 X, 1 Y, 2 Z): saves the base joint's initPoseBoneVector in
// backupBasicBoneVec when nothing is saved yet, then moves that component of
// the rest bone and of rootMoveOffset by -0.02 when leftward, else +0.02.
// Only the base joint moves: for any other joint (or a bad axis) nothing
// changes and false is returned.
bool nudgeBaseJoint(SceneDocument& doc, int32_t id, int32_t axis, bool leftward);

}  // namespace lw
