// The reference deformation: each corner's chain walked joint by joint with a
// matrix product per chain joint, exactly as the algorithm is stated. The fast
// deformation (skin/deform.h) must reproduce it bit for bit; the benchmark times
// both. Compile with -ffp-contract=off.
#pragma once

#include <list>
#include <string>
#include <vector>

#include "core/document.h"
#include "core/math.h"

namespace lw::test {

// The upper-left 3x3 of m applied to v as a column, in float.
inline Vector3 applyTurn(const Matrix4& m, Vector3 v) {
  return {(m.at(0, 0) * v.x + m.at(0, 1) * v.y) + m.at(0, 2) * v.z,
          (m.at(1, 0) * v.x + m.at(1, 1) * v.y) + m.at(1, 2) * v.z,
          (m.at(2, 0) * v.x + m.at(2, 1) * v.y) + m.at(2, 2) * v.z};
}

inline Matrix4 scaledMatrix(Matrix4 m, float w) {
  for (float& e : m.m) e = w * e;
  return m;
}

inline Matrix4 turnOf(Quaternion q) { return quaternionToMatrix(conjugate(q)); }

// Deforms corners 0 .. n-1 of part p into positions / normals (sized to n),
// including the drawBoneVector reset of IK-owned chain joints and the root
// movement. Returns -1 (writing nothing) when editedJointName is empty.
inline int oracleDeformPart(SceneDocument& doc, int p, int n, std::vector<Vector3>& positions,
                            std::vector<Vector3>& normals) {
  if (doc.editedJointName.empty()) return -1;
  const MeshPart& rest = doc.mesh->parts[p];
  const SkinPart& skin = doc.skinBuffers->parts[p];
  positions.assign(n, Vector3{});
  normals.assign(n, Vector3{});
  for (int i = 0; i < n; ++i) {
    Vector3 normal = rest.normals[i];
    Vector3 position = rest.positions[i];
    const WeightList& weights = skin.skinWeights[i];
    Joint* dominant = nullptr;
    for (const JointWeight& entry : weights) {
      const auto found = doc.skeleton.joints.find(entry.jointName);
      if (found == doc.skeleton.joints.end()) continue;
      if (dominant == nullptr || found->second->jointID > dominant->jointID) dominant = found->second;
    }
    if (dominant != nullptr && dominant->parent != nullptr) {
      std::list<Joint*> chain;
      for (Joint* j = dominant; j->parent != nullptr; j = j->parent) {
        position = position - j->position;
        chain.push_front(j);
      }
      const Vector3 relative = position;
      Matrix4 turn = identityMatrix();
      Vector3 normalSum{0, 0, 0}, sum{0, 0, 0};
      for (Joint* j : chain) {
        float w = 0;
        for (const JointWeight& entry : weights) {
          if (entry.jointName == j->jointName) {
            w = entry.weight;
            break;
          }
        }
        if (j->ik_Flag == 1) {
          j->drawBoneVector = j->initPoseBoneVector;
          turn = turnOf(j->ik_rotationJointQuaternion);
        } else {
          turn = matrixMultiply(turn, turnOf(j->rotationJointQuaternion));
        }
        const Matrix4 m =
            scaledMatrix(matrixMultiply(turn, turnOf(j->convertIKtoFK_rotationJointQuaternion)), w);
        normalSum = normalSum + applyTurn(m, normal);
        sum = sum + applyTurn(m, relative);
      }
      normal = normalSum;
      position = sum;
      bool first = true;
      for (Joint* j : chain) {
        if (first) {
          position = position + chain.front()->parent->position;
          first = false;
        } else if (j->ik_Flag == 0) {
          position = position + j->parent->drawBoneVector;
        } else if (j->ik_Flag == 1) {
          position = position + rotateVector(j->parent->ik_rotationJointQuaternion,
                                             j->parent->drawBoneVector);
        }
      }
    }
    positions[i] = position;
    normals[i] = normal;
  }
  const int32_t shown = doc.keyFrames->keyframeShown;
  const Vector3 backup = doc.backupBasicBoneVec;
  const bool saved = !(backup.x == 999.0f && backup.y == 999.0f && backup.z == 999.0f);
  for (Vector3& position : positions) {
    if (shown == 1 && saved) {
      const auto base = doc.skeleton.joints.find("Joint0");
      if (base != doc.skeleton.joints.end()) {
        position = position + (base->second->initPoseBoneVector - backup);
      }
    } else if (shown == 1 || shown == 0) {
      position = position + doc.rootMoveOffset;
    }
  }
  return 0;
}

}  // namespace lw::test
