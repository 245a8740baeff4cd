// A small rigged scene for the animation tests: a one-part model and a fixed
// three-joint arm, posed through FK and stored through the keyframe command.
#pragma once

#include <gtest/gtest.h>

#include <memory>

#include "anim/keyframe_commands.h"
#include "core/document.h"
#include "skeleton/fixing.h"
#include "skeleton/fk.h"
#include "skeleton/placement.h"

namespace lw::test {

inline void addModel(SceneDocument& doc, int corners) {
  auto mesh = std::make_unique<Mesh>();
  MeshPart part;
  for (int i = 0; i < corners; ++i) {
    part.positions.push_back({0.1f * i, 1.5f + 0.1f * i, 0.05f});
    part.normals.push_back({0, 0, 1});
    part.texCoords.push_back({0.5f, 0.5f});
  }
  part.vertexCount = corners;
  part.materialIndex = 0;
  mesh->parts.push_back(std::move(part));
  mesh->materials.push_back(Material{});
  mesh->materials[0].name = "skin";
  doc.skinBuffers = makeSkinBuffers(*mesh);
  doc.mesh = std::move(mesh);
  doc.modelFileName = "arm.obj";
  doc.modelLoaded = 1;
}

// Joint0 at (0, 1, 0), Joint0_0 at (0, 2, 0), Joint0_0_0 at `hand`, fixed.
inline void buildArm(SceneDocument& doc, ShellUi& ui, Vector3 hand = {1, 2, 0}) {
  addModel(doc, 3);
  Joint* base = placeBaseJoint(doc, {0, 1, 0}, ui);
  Joint* upper = addChildJoint(doc, base->jointName, {0, 2, 0}, kNoMirror, ui);
  addChildJoint(doc, upper->jointName, hand, kNoMirror, ui);
  ASSERT_EQ(fixJointPositionsCommand(doc, ui), kFixOk);
  evaluatePose(doc.skeleton);
}

inline Joint& joint(SceneDocument& doc, const char* name) { return *doc.skeleton.joints.at(name); }

// Turns one joint by `degrees` about `axis` through FK, then stores the pose.
inline void keyPose(SceneDocument& doc, ShellUi& ui, int32_t timeMs, const char* name,
                    Vector3 axis, float degrees) {
  Joint& j = joint(doc, name);
  j.axisVector = axis;
  j.axisAngle = degrees;
  evaluatePose(doc.skeleton);
  createKeyFrameCommand(doc, ui, timeMs);
}

// Every joint back at rest (the FK angles and the baked turns cleared).
inline void resetAllRotations(SceneDocument& doc) {
  NullShellUi none;
  lw::resetAllRotations(doc.skeleton, none);
  evaluatePose(doc.skeleton);
}

inline void expectNear(Vector3 a, Vector3 b, float tolerance = 1e-5f) {
  EXPECT_NEAR(a.x, b.x, tolerance);
  EXPECT_NEAR(a.y, b.y, tolerance);
  EXPECT_NEAR(a.z, b.z, tolerance);
}

}  // namespace lw::test
