// Builders for skinning tests: hand-made joints and random documents whose
// skeletons, poses and weights cover the cases the deformation must handle.
#pragma once

#include <gtest/gtest.h>

#include <cstring>
#include <memory>
#include <random>
#include <string>
#include <vector>

#include "core/document.h"
#include "core/skin_data.h"

namespace lw::test {

// Adds a joint record (no tree item, no placement rules) under parent.
inline Joint* addTestJoint(SceneDocument& doc, const std::string& name, Joint* parent,
                           int32_t id) {
  auto joint = std::make_unique<Joint>();
  joint->jointName = name;
  joint->TreeName = name;
  joint->jointID = id;
  joint->parent = parent;
  joint->validJoint = 1;
  joint->leafFlag = 1;
  if (parent != nullptr) {
    parent->children.push_back(joint.get());
    parent->leafFlag = 0;
  }
  Joint* raw = joint.get();
  doc.skeleton.joints[name] = raw;
  doc.skeleton.jointOrder.push_back(std::move(joint));
  return raw;
}

// A model of one part per entry of cornerCounts, corners at the given points
// (cycled) with normal (0, 0, 1), and its skin buffers.
inline void addTestModel(SceneDocument& doc, const std::vector<int>& cornerCounts,
                         const std::vector<Vector3>& points) {
  doc.mesh = std::make_unique<Mesh>();
  for (int count : cornerCounts) {
    MeshPart part;
    for (int c = 0; c < count; ++c) {
      part.positions.push_back(points[c % points.size()]);
      part.normals.push_back({0, 0, 1});
      part.texCoords.push_back({});
    }
    part.vertexCount = count;
    doc.mesh->parts.push_back(std::move(part));
  }
  doc.skinBuffers = makeSkinBuffers(*doc.mesh);
}

inline bool sameBits(Vector3 a, Vector3 b) { return std::memcmp(&a, &b, sizeof a) == 0; }

// Shape of a random document.
struct RandomSkinShape {
  int joints = 14;
  int maxDepth = 7;
  std::vector<int> parts = {300, 170};
  int maxWeights = 5;
};

// A random document: skeleton with arbitrary rest and pose fields (IK flags 0, 1
// and now and then 2, repeated jointIDs), random rest mesh, and weights with 0 to
// maxWeights entries that name chain joints, joints off the chain, the root,
// repeated joints, zero weights and joints that do not exist.
inline std::unique_ptr<SceneDocument> makeRandomSkinDocument(uint32_t seed,
                                                             const RandomSkinShape& shape = {}) {
  std::mt19937 rng(seed);
  auto uniform = [&](float lo, float hi) { return std::uniform_real_distribution<float>(lo, hi)(rng); };
  auto chance = [&](double p) { return std::bernoulli_distribution(p)(rng); };
  auto vec = [&](float r) { return Vector3{uniform(-r, r), uniform(-r, r), uniform(-r, r)}; };
  auto quat = [&]() {
    if (chance(0.1)) return kIdentityQuaternion;
    return Quaternion{uniform(-1, 1), uniform(-1, 1), uniform(-1, 1), uniform(-1, 1)};
  };

  auto doc = std::make_unique<SceneDocument>();
  std::vector<Joint*> joints;
  std::vector<int> depth;
  joints.push_back(addTestJoint(*doc, "Joint0", nullptr, 1));
  depth.push_back(0);
  for (int i = 1; i < shape.joints; ++i) {
    int parent = 0;
    do {
      parent = std::uniform_int_distribution<int>(0, static_cast<int>(joints.size()) - 1)(rng);
    } while (depth[parent] >= shape.maxDepth);
    Joint* p = joints[parent];
    const std::string name = p->jointName + "_" + std::to_string(p->children.size());
    const int32_t id = chance(0.1) ? joints[rng() % joints.size()]->jointID : i + 1;
    joints.push_back(addTestJoint(*doc, name, p, id));
    depth.push_back(depth[parent] + 1);
  }
  for (Joint* j : joints) {
    j->position = vec(2);
    j->initPoseBoneVector = vec(1);
    j->drawBoneVector = vec(1);
    j->rotationJointQuaternion = quat();
    j->ik_rotationJointQuaternion = quat();
    j->convertIKtoFK_rotationJointQuaternion = quat();
    const float flag = uniform(0, 1);
    j->ik_Flag = flag < 0.65f ? 0 : (flag < 0.95f ? 1 : 2);
  }

  doc->mesh = std::make_unique<Mesh>();
  for (int count : shape.parts) {
    MeshPart part;
    for (int c = 0; c < count; ++c) {
      part.positions.push_back(vec(3));
      part.normals.push_back(vec(1));
      part.texCoords.push_back({});
    }
    part.vertexCount = count;
    doc->mesh->parts.push_back(std::move(part));
  }
  doc->skinBuffers = makeSkinBuffers(*doc->mesh);
  for (SkinPart& part : doc->skinBuffers->parts) {
    for (WeightList& list : part.skinWeights) {
      const int entries = std::uniform_int_distribution<int>(0, shape.maxWeights)(rng);
      for (int e = 0; e < entries; ++e) {
        std::string name = joints[rng() % joints.size()]->jointName;
        if (chance(0.08)) name = "Joint9_9";  // no such joint
        if (chance(0.05)) name = "Joint0";
        if (e > 0 && chance(0.1)) name = list[0].jointName;  // repeated joint
        const float w = chance(0.1) ? 0.0f : uniform(0, 1);
        list.push_back({name, w});
      }
    }
  }
  doc->editedJointName = joints.back()->jointName;
  doc->keyFrames->keyframeShown = static_cast<int32_t>(rng() % 3);
  doc->rootMoveOffset = vec(0.5f);
  if (chance(0.5)) doc->backupBasicBoneVec = vec(1);
  return doc;
}

}  // namespace lw::test
