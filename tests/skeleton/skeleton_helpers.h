// Small builders for skeleton tests: chains placed through the placement
// operations, then fixed.
#pragma once

#include <gtest/gtest.h>

#include <initializer_list>
#include <string>

#include "core/document.h"
#include "core/math.h"
#include "skeleton/fixing.h"
#include "skeleton/placement.h"

namespace lw::test {

// Places a chain: the base joint at the first point, then each point a child of
// the joint placed before it. Returns the last joint.
inline Joint* placeChain(SceneDocument& doc, ShellUi& ui, std::initializer_list<Vector3> points) {
  Joint* last = nullptr;
  for (Vector3 p : points) {
    last = last == nullptr ? placeBaseJoint(doc, p, ui)
                           : addChildJoint(doc, last->jointName, p, kNoMirror, ui);
  }
  return last;
}

// Places and fixes a chain; fails the test when fixing fails.
inline Joint* fixedChain(SceneDocument& doc, ShellUi& ui, std::initializer_list<Vector3> points) {
  Joint* last = placeChain(doc, ui, points);
  EXPECT_EQ(fixJointPositions(doc.skeleton), kFixOk);
  return last;
}

inline Joint& jointNamed(SceneDocument& doc, const std::string& name) {
  Joint* j = findJoint(doc.skeleton, name);
  EXPECT_NE(j, nullptr) << name;
  return *j;
}

// Component-wise closeness.
inline void expectNear(Vector3 a, Vector3 b, float tolerance = 1e-5f) {
  EXPECT_NEAR(a.x, b.x, tolerance);
  EXPECT_NEAR(a.y, b.y, tolerance);
  EXPECT_NEAR(a.z, b.z, tolerance);
}

}  // namespace lw::test
