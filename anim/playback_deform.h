// Skinning for a playback frame: the model deformed by the interpolated working
// poses (animationPoses) instead of the joints' own pose.
#pragma once

#include "core/document.h"

namespace lw {

// Deforms corners 0 .. cornerCount-1 of part partIndex into its skin buffers as
// deformPart does (same dominant joint, chain, weights and arithmetic, through
// the same kernel), with these differences:
//  - each chain joint's turn is its working pose's kf_rotationJointQuaternion and
//    its IK-to-FK turn the pose's kf_rotationJointQuaternionIKtoFK; ik_Flag is not
//    consulted (the accumulation never restarts, no drawBoneVector is reset);
//  - a corner that keeps its rest shape (no usable weight) is moved by
//    (- the root joint's position + the root pose's kf_positionAnime);
//  - a blended position is put back from the root pose's kf_positionAnime (for
//    the root's child) and each later chain joint's parent pose's kf_drawBoneVector;
//  - no root movement is added afterwards.
// A joint without a working pose turns by the identity and puts back nothing.
// Unlike deformPart it does not wait for a joint to have been picked: the
// working poses are all it reads. Returns kDeformDone. Allocates nothing once
// the part's binding and frame are built.
int deformPartForPlayback(SceneDocument& doc, int partIndex, int cornerCount);

}  // namespace lw
