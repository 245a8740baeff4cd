#include "anim/playback_deform.h"

#include "skin/deform.h"
#include "skin/skin_binding.h"

namespace lw {

namespace {

const KeyJointPose* poseOf(const PoseMap& poses, const std::string& name) {
  auto it = poses.find(name);
  return it == poses.end() ? nullptr : &it->second;
}

}  // namespace

int deformPartForPlayback(SceneDocument& doc, int partIndex, int cornerCount) {
  if (!doc.mesh || !doc.skinBuffers || partIndex < 0 ||
      partIndex >= doc.mesh->partCount() ||
      partIndex >= static_cast<int>(doc.skinBuffers->parts.size()) || cornerCount <= 0) {
    return kDeformDone;
  }
  SkinPart& part = doc.skinBuffers->parts[partIndex];
  SkinFrame& frame = doc.skinBuffers->frame;
  const PoseMap& poses = doc.keyFrames->animationPoses;
  updateSkinBinding(part, doc.mesh->parts[partIndex], doc.skeleton);
  const SkinBinding& binding = part.binding;
  resizeSkinFrame(binding, frame);

  for (size_t s = 0; s < binding.slots.size(); ++s) {
    const SkinSlot& slot = binding.slots[s];
    SkinJointPose& out = frame.joints[s];
    out = SkinJointPose{};
    out.boneStart = kNoShift;
    if (const KeyJointPose* pose = poseOf(poses, slot.jointName)) {
      out.rotation = pose->kf_rotationJointQuaternion;
      out.ikToFkRotation = pose->kf_rotationJointQuaternionIKtoFK;
    }
    if (slot.parentSlot < 0) continue;
    const KeyJointPose* parent = poseOf(poses, binding.slots[slot.parentSlot].jointName);
    if (parent) out.boneStart = slot.depth == 1 ? parent->kf_positionAnime : parent->kf_drawBoneVector;
  }

  // The base joint is the first in name order.
  Vector3 rootPosition;
  Vector3 rootAnime = kNoShift;
  if (!doc.skeleton.joints.empty()) {
    const auto& [rootName, root] = *doc.skeleton.joints.begin();
    rootPosition = root->position;
    if (const KeyJointPose* pose = poseOf(poses, rootName)) rootAnime = pose->kf_positionAnime;
  }
  frame.restShift[0] = {-rootPosition.x, -rootPosition.y, -rootPosition.z};
  frame.restShift[1] = rootAnime;
  frame.weightedShift = kNoShift;

  prepareSkinFrame(binding, frame);
  deformBoundCorners(binding, frame, part, static_cast<size_t>(cornerCount));
  return kDeformDone;
}

}  // namespace lw
