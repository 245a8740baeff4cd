#include "skin/deform.h"

#include "skin/skin_binding.h"

namespace lw {
namespace {

constexpr char kBaseJointName[] = "Joint0";

// The shift every corner gets from the root movement (kNoShift for none).
Vector3 rootMovement(const SceneDocument& doc) {
  const int32_t shown = doc.keyFrames ? doc.keyFrames->keyframeShown : 0;
  if (shown == 0) return doc.rootMoveOffset;
  if (shown != 1) return kNoShift;
  if (!hasBackupBasicBoneVec(doc)) return doc.rootMoveOffset;
  const auto base = doc.skeleton.joints.find(kBaseJointName);
  if (base == doc.skeleton.joints.end()) return kNoShift;
  return base->second->initPoseBoneVector - doc.backupBasicBoneVec;
}

// Where a chain position is put back at this joint: the root's position for the
// root's child; below it, the parent's bone as posed by FK or by IK.
Vector3 boneStart(const SkinSlot& slot) {
  const Joint& parent = *slot.parent;
  if (slot.depth == 1) return parent.position;
  switch (slot.joint->ik_Flag) {
    case 0: return parent.drawBoneVector;
    case 1: return rotateVector(parent.ik_rotationJointQuaternion, parent.drawBoneVector);
    default: return kNoShift;
  }
}

}  // namespace

int deformPart(SceneDocument& doc, int partIndex, int cornerCount) {
  if (doc.editedJointName.empty()) return kDeformSkipped;
  if (!doc.mesh || !doc.skinBuffers || partIndex < 0 || cornerCount <= 0 ||
      static_cast<size_t>(partIndex) >= doc.mesh->parts.size() ||
      static_cast<size_t>(partIndex) >= doc.skinBuffers->parts.size()) {
    return kDeformDone;
  }
  SkinPart& part = doc.skinBuffers->parts[partIndex];
  updateSkinBinding(part, doc.mesh->parts[partIndex], doc.skeleton);
  const SkinBinding& binding = part.binding;
  SkinFrame& frame = doc.skinBuffers->frame;
  resizeSkinFrame(binding, frame);

  // IK-owned joints on a chain draw their rest bone from here on; done first, so
  // the put-back vectors below read the bones as a chain walk would.
  for (const SkinSlot& slot : binding.slots) {
    if (slot.usedInChain == 1 && slot.joint->ik_Flag == 1) {
      slot.joint->drawBoneVector = slot.joint->initPoseBoneVector;
    }
  }
  for (int32_t s : binding.slotOrder) {
    const SkinSlot& slot = binding.slots[s];
    const Joint& joint = *slot.joint;
    SkinJointPose& pose = frame.joints[s];
    pose.restart = joint.ik_Flag == 1 ? 1 : 0;
    pose.restartRotation = joint.ik_rotationJointQuaternion;
    pose.rotation = joint.rotationJointQuaternion;
    pose.ikToFkRotation = joint.convertIKtoFK_rotationJointQuaternion;
    pose.boneStart = boneStart(slot);
  }
  const Vector3 shift = rootMovement(doc);
  frame.restShift[0] = shift;
  frame.restShift[1] = kNoShift;
  frame.weightedShift = shift;
  prepareSkinFrame(binding, frame);
  deformBoundCorners(binding, frame, part, static_cast<size_t>(cornerCount));
  return kDeformDone;
}

}  // namespace lw
