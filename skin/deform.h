// Skinning: deforms a model part from its rest shape by the posed skeleton and
// writes the result into the part's skin buffers, every frame, for every part.
#pragma once

#include "core/document.h"

namespace lw {

inline constexpr int kDeformDone = 0;
inline constexpr int kDeformSkipped = -1;  // editedJointName is empty

// Deforms corners 0 .. cornerCount-1 of part partIndex of doc.mesh into
// doc.skinBuffers->parts[partIndex] (skinPositions, skinNormals). Per corner:
//  1. A corner with no weights (or whose weights name only joints that no longer
//     exist) keeps its rest position and rest normal. Joints are only ever
//     looked up, never created.
//  2. Otherwise its dominant joint D is the joint with the greatest jointID among
//     those its weights name (the first in list order on a tie). The chain runs
//     from the root's child down to D (J1 .. Jk); the rest position minus the
//     `position` of each chain joint (D first) is the relative position q. A
//     corner whose dominant joint is the root keeps its rest shape.
//  3. With A starting at the identity, for j = 1 .. k: if Jj's ik_Flag is 1, Jj's
//     drawBoneVector := initPoseBoneVector and A := the turn by
//     ik_rotationJointQuaternion alone; otherwise A := A * (turn by
//     rotationJointQuaternion). Cj is the turn by
//     convertIKtoFK_rotationJointQuaternion. With wj the weight of the first
//     entry naming Jj (0 when none): N += wj A Cj (rest normal),
//     S += wj A Cj (q). Turns are 4x4 matrices of the negated-vector-part
//     quaternions (quaternionToMatrix, matrixMultiply); the weight scales the
//     matrix. Entries for joints off the chain are not used; nothing is normalised.
//  4. Position = S put back on the posed skeleton: + the root's `position` for J1,
//     then for each later Jj + its parent's drawBoneVector (ik_Flag 0),
//     + rotateVector(parent's ik_rotationJointQuaternion, parent's drawBoneVector)
//     (ik_Flag 1), nothing for any other flag. Normal = N.
// Then every corner of the part (weighted or not) moves with the root: with the
// keyframe store's keyframeShown 1 and a saved backupBasicBoneVec by
// (Joint0's initPoseBoneVector - backupBasicBoneVec), with keyframeShown 1 and
// none saved or keyframeShown 0 by rootMoveOffset, otherwise not at all.
//
// Returns kDeformSkipped, changing nothing, when editedJointName is empty;
// kDeformDone otherwise (also when there is no model, no such part, or nothing to
// deform). cornerCount is clamped to the part's size (the drawBoneVector reset
// covers the chains of all the part's corners even when it is smaller). The result is bit-identical
// to walking each corner's chain as above. Work per frame is one pass over the
// joints plus a blend of the corner's chain weights; it allocates nothing unless
// the weights, the joints or the model changed since the last call.
int deformPart(SceneDocument& doc, int partIndex, int cornerCount);

}  // namespace lw
