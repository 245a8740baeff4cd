// The deformation kernel and the binding it works from.
//
// A corner's deformation depends on its weights and on the skeleton's shape only
// through its dominant joint (the greatest jointID among the joints its weights
// name), the chain from the root's child down to that joint, the weights of the
// chain's joints, and its rest position relative to the start of the dominant
// joint's bone. The binding (SkinPart::binding) holds exactly that per corner. It
// is derived once and rebuilt whenever the weights (the part's weightChanges), the
// joints (identity, jointName, jointID, parent, position) or the rest mesh change;
// checking that costs one pass over the joints per call.
//
// Everything that depends on the pose goes into a SkinFrame once per frame: per
// joint the accumulated turn A and the blend matrix A * C, formed with
// quaternionToMatrix and matrixMultiply exactly as a chain walk per corner forms
// them. The kernel then does, per corner, only the blend of a few 3x3 matrices
// and the additions of the chain's bone starts (gathered by walking up the
// parents, so nothing per chain is stored and a deep chain costs memory in
// proportion to its joints), in the same order and float rounding as the chain
// walk, so its results are bit-identical to it.
//
// Typical use, per frame and part (see deformPart in skin/deform.h):
//   updateSkinBinding(part, meshPart, skeleton);
//   resizeSkinFrame(part.binding, frame);
//   fill frame.joints[s] for every slot s (slot s is part.binding.slots[s].joint),
//   frame.restShift and frame.weightedShift;
//   prepareSkinFrame(part.binding, frame);
//   deformBoundCorners(part.binding, frame, part, cornerCount);
//
// A playback frame fills the same frame from the working poses instead of the
// joints (slot s's pose looked up by part.binding.slots[s].jointName): restart 0,
// rotation = kf_rotationJointQuaternion, ikToFkRotation =
// kf_rotationJointQuaternionIKtoFK, boneStart = the root pose's kf_positionAnime
// for a slot of depth 1, else the parent pose's kf_drawBoneVector;
// restShift = {-(root's position), root pose's kf_positionAnime} (adding the
// negation is exactly the subtraction); weightedShift = kNoShift.
#pragma once

#include <cstddef>

#include "core/joint.h"
#include "core/mesh.h"
#include "core/skin_data.h"

namespace lw {

// True when part.binding still describes the part's weights, the skeleton and
// the rest shape `rest`.
bool isSkinBindingCurrent(const SkinPart& part, const MeshPart& rest, const JointSet& skeleton);

// Makes part.binding describe the part's current weights, the skeleton and the
// rest shape, rebuilding it only when isSkinBindingCurrent is false. Per corner:
//  - entries naming no joint of the joint map are skipped (no joint is created);
//  - the dominant joint is the greatest jointID among the remaining entries, the
//    first in list order winning a tie;
//  - a corner with no remaining entry, or whose dominant joint is a root (empty
//    chain) keeps its rest shape; so does a corner whose dominant joint sits on a
//    parent cycle;
//  - otherwise each chain joint's weight is that of the first entry with its
//    jointName; chain joints without one, and weights of 0, blend nothing and
//    are left out; entries for joints off the chain are not used;
//  - the relative position is the rest position minus the `position` of each
//    chain joint, from the dominant joint upwards.
// Also marks in slots[s].usedInChain every joint on some blended corner's chain.
// Allocates only while rebuilding. The rest shape must stay unchanged while bound.
void updateSkinBinding(SkinPart& part, const MeshPart& rest, const JointSet& skeleton);

// Sizes the frame's arrays for the binding; allocates only when they grow.
void resizeSkinFrame(const SkinBinding& binding, SkinFrame& frame);

// Derives the blend matrices from frame.joints. For every
// slot below a root, parents first, with M(q) = quaternionToMatrix(conj(q)):
//   turn  = restart ? M(restartRotation)
//                   : matrixMultiply(parent's turn, or the identity below a root,
//                                    M(rotation));
//   blend = matrixMultiply(turn, M(ikToFkRotation));
// Allocates nothing once the frame is sized.
void prepareSkinFrame(const SkinBinding& binding, SkinFrame& frame);

// Deforms corners 0 .. count-1 (count is clamped to what is bound) into
// part.skinPositions and part.skinNormals:
//  - a rest-shape corner: position = (rest + restShift[0]) + restShift[1],
//    normal = rest normal;
//  - a blended corner, with q its relative position and n its rest normal: for
//    each chain weight (joint j, weight w) in chain order, Mj = w * blend_j entry
//    by entry (float), S += Mj q and N += Mj n, each row formed as
//    (m0 * x + m1 * y) + m2 * z in float, S and N starting at 0; then
//    position = (((S + boneStart of J1) + ...) + boneStart of Jk) + weightedShift
//    with J1 .. Jk the chain from the root's child down to the dominant joint,
//    and normal = N (not re-normalised).
// Uses frame.chainBack as its scratch; allocates nothing.
void deformBoundCorners(const SkinBinding& binding, SkinFrame& frame, SkinPart& part, size_t count);

}  // namespace lw
