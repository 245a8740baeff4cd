#include "skin/deform.h"

#include <gtest/gtest.h>

#include <vector>

#include "core/document.h"
#include "skeleton/fixing.h"
#include "skeleton/fk.h"
#include "skeleton/ik.h"
#include "skeleton/placement.h"
#include "skin/deform_oracle.h"
#include "skin/skin_binding.h"
#include "skin/skin_test_support.h"
#include "skin/weight_dialogs.h"
#include "tests/support/recording_ui.h"

namespace lw {
namespace {

using test::addTestJoint;
using test::addTestModel;
using test::sameBits;

void expectNear(Vector3 a, Vector3 b, float tolerance = 1e-5f) {
  EXPECT_NEAR(a.x, b.x, tolerance);
  EXPECT_NEAR(a.y, b.y, tolerance);
  EXPECT_NEAR(a.z, b.z, tolerance);
}

// Deforms every part both ways on two identical documents and expects the same
// bits in positions, normals and every joint's drawBoneVector.
void expectFastEqualsOracle(SceneDocument& fast, SceneDocument& slow, const std::string& label) {
  ASSERT_EQ(fast.mesh->parts.size(), slow.mesh->parts.size());
  for (size_t p = 0; p < fast.mesh->parts.size(); ++p) {
    const int n = static_cast<int>(fast.mesh->parts[p].positions.size());
    std::vector<Vector3> positions, normals;
    ASSERT_EQ(test::oracleDeformPart(slow, static_cast<int>(p), n, positions, normals), 0);
    ASSERT_EQ(deformPart(fast, static_cast<int>(p), n), kDeformDone);
    const SkinPart& part = fast.skinBuffers->parts[p];
    int mismatches = 0;
    for (int c = 0; c < n && mismatches < 5; ++c) {
      if (!sameBits(part.skinPositions[c], positions[c]) ||
          !sameBits(part.skinNormals[c], normals[c])) {
        ++mismatches;
        ADD_FAILURE() << label << " part " << p << " corner " << c;
      }
    }
  }
  ASSERT_EQ(fast.skeleton.jointOrder.size(), slow.skeleton.jointOrder.size());
  for (size_t j = 0; j < fast.skeleton.jointOrder.size(); ++j) {
    EXPECT_TRUE(sameBits(fast.skeleton.jointOrder[j]->drawBoneVector,
                         slow.skeleton.jointOrder[j]->drawBoneVector))
        << label << " joint " << fast.skeleton.jointOrder[j]->jointName;
  }
}

// Root R at (1, 2, 3) with one child D whose rest bone starts at R's bone (0.5, 0, 0).
struct TwoJoints {
  SceneDocument doc;
  Joint* root = nullptr;
  Joint* d = nullptr;
  TwoJoints() {
    root = addTestJoint(doc, "Joint0", nullptr, 1);
    d = addTestJoint(doc, "Joint0_0", root, 2);
    root->position = {1, 2, 3};
    d->position = {0.5f, 0, 0};
    doc.editedJointName = "Joint0_0";
  }
};

TEST(DeformPart, DoesNothingAndReturnsMinusOneBeforeAnyJointWasEdited) {
  TwoJoints t;
  addTestModel(t.doc, {3}, {{2, 0, 0}});
  t.doc.editedJointName.clear();
  t.doc.skinBuffers->parts[0].skinPositions[1] = {7, 7, 7};
  t.doc.rootMoveOffset = {1, 1, 1};
  EXPECT_EQ(deformPart(t.doc, 0, 3), kDeformSkipped);
  EXPECT_EQ(t.doc.skinBuffers->parts[0].skinPositions[1], (Vector3{7, 7, 7}));
}

TEST(DeformPart, WorkedExampleTurnsAboutTheStartOfTheBone) {
  TwoJoints t;
  addTestModel(t.doc, {1}, {{2, 0, 0}});
  t.doc.mesh->parts[0].normals[0] = {1, 0, 0};
  t.doc.skinBuffers->parts[0].skinWeights[0].push_back({"Joint0_0", 1.0f});
  t.d->rotationJointQuaternion = axisAngleToQuaternion({0, 0, 1}, 90);
  t.doc.rootMoveOffset = {0.25f, 0, 0};
  ASSERT_EQ(deformPart(t.doc, 0, 1), kDeformDone);
  // q = (2, 0, 0) - (0.5, 0, 0) turned to (0, 1.5, 0), put back at R's position.
  expectNear(t.doc.skinBuffers->parts[0].skinPositions[0], {1.25f, 3.5f, 3});
  expectNear(t.doc.skinBuffers->parts[0].skinNormals[0], {0, 1, 0});
}

TEST(DeformPart, CornersWithoutUsableWeightsKeepTheRestShapeAndMoveWithTheRoot) {
  TwoJoints t;
  addTestModel(t.doc, {3}, {{2, 0, 0}, {0, 4, 0}, {0, 0, 5}});
  t.doc.mesh->parts[0].normals[1] = {0, 1, 0};
  SkinPart& part = t.doc.skinBuffers->parts[0];
  part.skinWeights[1].push_back({"Ghost", 1.0f});   // names no joint
  part.skinWeights[2].push_back({"Joint0", 1.0f});  // the root: no chain
  t.d->rotationJointQuaternion = axisAngleToQuaternion({0, 0, 1}, 90);
  t.doc.rootMoveOffset = {0.5f, 0, 0};
  const size_t jointsBefore = t.doc.skeleton.joints.size();
  ASSERT_EQ(deformPart(t.doc, 0, 3), kDeformDone);
  EXPECT_EQ(part.skinPositions[0], (Vector3{2.5f, 0, 0}));
  EXPECT_EQ(part.skinPositions[1], (Vector3{0.5f, 4, 0}));
  EXPECT_EQ(part.skinNormals[1], (Vector3{0, 1, 0}));
  EXPECT_EQ(part.skinPositions[2], (Vector3{0.5f, 0, 5}));
  EXPECT_EQ(t.doc.skeleton.joints.size(), jointsBefore);
  EXPECT_EQ(t.doc.skeleton.joints.count("Ghost"), 0u);
}

// Joints on a parent cycle (C and E) and below one (F) have no chain: their
// corners keep the rest shape, and the chain beside them deforms as without them.
TEST(DeformPart, JointsOnOrBelowAParentCycleKeepTheRestShape) {
  TwoJoints plain, looped;
  Joint* c = addTestJoint(looped.doc, "C", nullptr, 5);
  Joint* e = addTestJoint(looped.doc, "E", c, 6);
  c->parent = e;
  addTestJoint(looped.doc, "F", e, 7);
  for (TwoJoints* t : {&plain, &looped}) {
    addTestModel(t->doc, {3}, {{2, 0, 0}, {0, 4, 0}, {0, 0, -5}});
    SkinPart& part = t->doc.skinBuffers->parts[0];
    part.skinWeights[0].push_back({"C", 1.0f});
    part.skinWeights[1].push_back({"F", 0.75f});
    part.skinWeights[2].push_back({"Joint0_0", 1.0f});
    t->d->rotationJointQuaternion = axisAngleToQuaternion({0, 0, 1}, 90);
    t->doc.rootMoveOffset = {0.5f, 0, 0};
    ASSERT_EQ(deformPart(t->doc, 0, 3), kDeformDone);
  }
  const SkinPart& part = looped.doc.skinBuffers->parts[0];
  EXPECT_EQ(part.skinPositions[0], (Vector3{2.5f, 0, 0}));
  EXPECT_EQ(part.skinPositions[1], (Vector3{0.5f, 4, 0}));
  EXPECT_TRUE(sameBits(part.skinPositions[2], plain.doc.skinBuffers->parts[0].skinPositions[2]));
  EXPECT_FALSE(sameBits(part.skinPositions[2], Vector3{0.5f, 0, -5}));
}

TEST(DeformPart, WeightOfAJointOffTheChainIsNotUsed) {
  TwoJoints t;
  addTestJoint(t.doc, "Joint0_1", t.root, 3);
  Joint* d = addTestJoint(t.doc, "Joint0_0_0", t.d, 4);
  d->position = {0.5f, 0, 0};
  t.d->drawBoneVector = {0.5f, 0, 0};
  addTestModel(t.doc, {1}, {{3, 0, 0}});
  t.doc.skinBuffers->parts[0].skinWeights[0] = {{"Joint0_1", 0.5f}, {"Joint0_0_0", 0.5f}};
  ASSERT_EQ(deformPart(t.doc, 0, 1), kDeformDone);
  // Chain (Joint0_0, Joint0_0_0): q = (2, 0, 0), S = 0.5 q, put back at R + Joint0_0's bone.
  expectNear(t.doc.skinBuffers->parts[0].skinPositions[0], {1 + 1 + 0.5f, 2, 3});
  expectNear(t.doc.skinBuffers->parts[0].skinNormals[0], {0, 0, 0.5f});
}

TEST(DeformPart, DominantJointIsTheGreatestJointIdAndTheFirstOnATie) {
  TwoJoints t;
  Joint* a = addTestJoint(t.doc, "Joint0_1", t.root, 5);
  Joint* b = addTestJoint(t.doc, "Joint0_2", t.root, 5);  // repeated ID
  a->position = {0, 0, 0};
  b->position = {0, 0, 10};
  addTestModel(t.doc, {2}, {{0, 0, 0}});
  SkinPart& part = t.doc.skinBuffers->parts[0];
  part.skinWeights[0] = {{"Joint0_0", 1.0f}, {"Joint0_2", 1.0f}, {"Joint0_1", 1.0f}};
  part.skinWeights[1] = {{"Joint0_1", 1.0f}, {"Joint0_2", 1.0f}};
  ASSERT_EQ(deformPart(t.doc, 0, 2), kDeformDone);
  // Joint0_2 dominates corner 0: q = -(0, 0, 10), back at R. Joint0_1 corner 1: q = 0.
  EXPECT_EQ(part.skinPositions[0], (Vector3{1, 2, -7}));
  EXPECT_EQ(part.skinPositions[1], (Vector3{1, 2, 3}));
}

TEST(DeformPart, IkJointRestartsTheTurnAndDrawsItsRestBone) {
  TwoJoints t;
  Joint* e = addTestJoint(t.doc, "Joint0_0_0", t.d, 3);
  e->position = {1, 0, 0};
  t.d->ik_Flag = 1;
  t.d->initPoseBoneVector = {1, 0, 0};
  t.d->drawBoneVector = {9, 9, 9};
  t.d->rotationJointQuaternion = axisAngleToQuaternion({1, 0, 0}, 40);  // ignored: IK owns it
  t.d->ik_rotationJointQuaternion = axisAngleToQuaternion({0, 0, 1}, 90);
  e->ik_Flag = 0;
  addTestModel(t.doc, {1}, {{2.5f, 0, 0}});
  t.doc.skinBuffers->parts[0].skinWeights[0] = {{"Joint0_0_0", 1.0f}};
  ASSERT_EQ(deformPart(t.doc, 0, 1), kDeformDone);
  EXPECT_EQ(t.d->drawBoneVector, (Vector3{1, 0, 0}));
  // q = (2.5, 0, 0) - (1, 0, 0) - (0.5, 0, 0) = (1, 0, 0), turned by the IK turn to
  // (0, 1, 0); back at R + Joint0_0's (reset) bone.
  expectNear(t.doc.skinBuffers->parts[0].skinPositions[0], {2, 3, 3});
}

TEST(DeformPart, RootMovementFollowsTheKeyframeDisplay) {
  TwoJoints t;
  addTestModel(t.doc, {1}, {{1, 1, 1}});
  t.root->initPoseBoneVector = {3, 0, 0};
  t.doc.rootMoveOffset = {0, 2, 0};
  SkinPart& part = t.doc.skinBuffers->parts[0];
  struct Case {
    int32_t shown;
    bool saved;
    Vector3 expected;
  };
  for (const Case& c : {Case{0, true, {1, 3, 1}}, Case{1, false, {1, 3, 1}},
                        Case{1, true, {3, 1, 1}}, Case{2, false, {1, 1, 1}}}) {
    t.doc.keyFrames->keyframeShown = c.shown;
    t.doc.backupBasicBoneVec = c.saved ? Vector3{1, 0, 0} : Vector3{999, 999, 999};
    ASSERT_EQ(deformPart(t.doc, 0, 1), kDeformDone);
    EXPECT_EQ(part.skinPositions[0], c.expected) << c.shown << " " << c.saved;
  }
}

TEST(DeformPart, ClampsTheCornerCountAndIgnoresUnknownParts) {
  TwoJoints t;
  addTestModel(t.doc, {4}, {{1, 1, 1}});
  t.doc.rootMoveOffset = {1, 0, 0};
  SkinPart& part = t.doc.skinBuffers->parts[0];
  EXPECT_EQ(deformPart(t.doc, 0, 2), kDeformDone);
  EXPECT_EQ(part.skinPositions[1], (Vector3{2, 1, 1}));
  EXPECT_EQ(part.skinPositions[2], (Vector3{1, 1, 1}));  // beyond the count: untouched
  EXPECT_EQ(deformPart(t.doc, 0, 1000), kDeformDone);
  EXPECT_EQ(part.skinPositions[3], (Vector3{2, 1, 1}));
  EXPECT_EQ(deformPart(t.doc, 1, 4), kDeformDone);
  EXPECT_EQ(deformPart(t.doc, -1, 4), kDeformDone);
  t.doc.mesh.reset();
  EXPECT_EQ(deformPart(t.doc, 0, 4), kDeformDone);
}

TEST(DeformPart, MatchesTheChainWalkBitForBitOnRandomDocuments) {
  for (uint32_t seed = 1; seed <= 150; ++seed) {
    auto fast = test::makeRandomSkinDocument(seed);
    auto slow = test::makeRandomSkinDocument(seed);
    expectFastEqualsOracle(*fast, *slow, "seed " + std::to_string(seed));
    if (HasFailure()) return;
  }
}

TEST(DeformPart, MatchesTheChainWalkOnDeepAndWideSkeletons) {
  test::RandomSkinShape deep;
  deep.joints = 40;
  deep.maxDepth = 12;
  deep.maxWeights = 20;
  deep.parts = {500};
  for (uint32_t seed = 1000; seed < 1020; ++seed) {
    auto fast = test::makeRandomSkinDocument(seed, deep);
    auto slow = test::makeRandomSkinDocument(seed, deep);
    expectFastEqualsOracle(*fast, *slow, "seed " + std::to_string(seed));
  }
}

// Every third joint renamed to its parent's name (the map keys stay): each chain
// joint of a name takes the weight of that name's first entry.
TEST(DeformPart, MatchesTheChainWalkWhenJointsShareAName) {
  test::RandomSkinShape deep;
  deep.joints = 40;
  deep.maxDepth = 12;
  deep.maxWeights = 20;
  deep.parts = {500};
  for (uint32_t seed = 2000; seed < 2010; ++seed) {
    auto fast = test::makeRandomSkinDocument(seed, deep);
    auto slow = test::makeRandomSkinDocument(seed, deep);
    for (SceneDocument* doc : {fast.get(), slow.get()}) {
      int i = 0;
      for (auto& [key, joint] : doc->skeleton.joints) {
        if (joint->parent != nullptr && ++i % 3 == 0) joint->jointName = joint->parent->jointName;
      }
    }
    expectFastEqualsOracle(*fast, *slow, "seed " + std::to_string(seed));
  }
}

// A fixed arm posed with FK angles and then dragged with IK, through the
// skeleton's own operations.
void buildPosedArm(SceneDocument& doc, bool withIk) {
  test::RecordingUi ui;
  Joint* j = placeBaseJoint(doc, {0, 0, 0}, ui);
  const Vector3 points[] = {{0, 1, 0}, {0.6f, 1.7f, 0.1f}, {1.4f, 1.9f, 0.3f}, {2.1f, 2.0f, 0.2f}};
  for (Vector3 p : points) j = addChildJoint(doc, j->jointName, p, kNoMirror, ui);
  addChildJoint(doc, "Joint0_0", {-0.7f, 1.6f, 0}, kNoMirror, ui);
  ASSERT_EQ(fixJointPositions(doc.skeleton), kFixOk);
  float angle = 15;
  for (auto& joint : doc.skeleton.jointOrder) {
    joint->axisAngle = angle;
    angle += 20;
  }
  evaluatePose(doc.skeleton);
  if (withIk) {
    ASSERT_EQ(ikSolve(*j, {1.0f, 2.6f, 0.8f}), kIkOk);
    ASSERT_EQ(ikSolve(*j, {0.9f, 2.7f, 1.0f}), kIkOk);
    evaluatePose(doc.skeleton);
  }
  doc.editedJointName = j->jointName;
  std::vector<Vector3> grid;
  for (int x = 0; x < 8; ++x) {
    for (int y = 0; y < 8; ++y) grid.push_back({x * 0.3f - 0.5f, y * 0.3f, (x + y) % 3 * 0.1f});
  }
  addTestModel(doc, {64, 64}, grid);
  int c = 0;
  for (SkinPart& part : doc.skinBuffers->parts) {
    for (WeightList& list : part.skinWeights) {
      const auto& a = doc.skeleton.jointOrder[c % 6];
      const auto& b = doc.skeleton.jointOrder[(c / 6) % 6];
      list = {{a->jointName, 0.6f}, {b->jointName, 0.4f}};
      ++c;
    }
  }
}

TEST(DeformPart, MatchesTheChainWalkOnAPoseFromFkAndIk) {
  for (bool withIk : {false, true}) {
    SceneDocument fast, slow;
    buildPosedArm(fast, withIk);
    buildPosedArm(slow, withIk);
    if (withIk) {
      EXPECT_EQ(fast.skeleton.joints.at("Joint0_0_0")->ik_Flag, 1);
    }
    expectFastEqualsOracle(fast, slow, withIk ? "fk+ik" : "fk");
  }
}

TEST(DeformPart, RestPoseWithWeightsSummingToOneGivesTheRestShape) {
  SceneDocument doc;
  buildPosedArm(doc, false);
  for (auto& joint : doc.skeleton.jointOrder) joint->axisAngle = 0;
  evaluatePose(doc.skeleton);
  int next = 0;
  for (WeightList& list : doc.skinBuffers->parts[0].skinWeights) {
    const Joint* d = doc.skeleton.jointOrder[1 + next++ % 5].get();
    if (d->parent->parent == nullptr) {
      list = {{d->jointName, 1.0f}};
    } else {
      list = {{d->jointName, 0.6f}, {d->parent->jointName, 0.4f}};
    }
  }
  ASSERT_EQ(deformPart(doc, 0, 64), kDeformDone);
  for (int c = 0; c < 64; ++c) {
    expectNear(doc.skinBuffers->parts[0].skinPositions[c], doc.mesh->parts[0].positions[c], 2e-5f);
    expectNear(doc.skinBuffers->parts[0].skinNormals[c], {0, 0, 1}, 2e-5f);
  }
}

TEST(DeformPart, WeightChangesInvalidateOnlyTheirOwnPartsBinding) {
  auto a = test::makeRandomSkinDocument(5);
  auto b = test::makeRandomSkinDocument(6);
  for (SceneDocument* doc : {a.get(), b.get()}) {
    for (int p = 0; p < 2; ++p) ASSERT_EQ(deformPart(*doc, p, 300), kDeformDone);
  }
  auto current = [](const SceneDocument& doc, int p) {
    return isSkinBindingCurrent(doc.skinBuffers->parts[p], doc.mesh->parts[p], doc.skeleton);
  };
  WeightList copy = a->skinBuffers->parts[1].skinWeights[0];
  copy.push_back({"Joint0", 0.5f});
  EXPECT_TRUE(current(*a, 1)) << "a copy outside the document is not its weights";
  b->skinBuffers->parts[1].skinWeights[169].clear();
  EXPECT_FALSE(current(*b, 1));
  EXPECT_TRUE(current(*b, 0));
  EXPECT_TRUE(current(*a, 0));
  EXPECT_TRUE(current(*a, 1));
}

TEST(DeformPart, FollowsChangedWeightsAndJointsBetweenFrames) {
  auto fast = test::makeRandomSkinDocument(77);
  auto slow = test::makeRandomSkinDocument(77);
  expectFastEqualsOracle(*fast, *slow, "first frame");
  for (SceneDocument* doc : {fast.get(), slow.get()}) {
    doc->skinBuffers->parts[0].skinWeights[5] = {{"Joint0", 0.5f}};
    doc->skinBuffers->parts[1].skinWeights[0].clear();
  }
  expectFastEqualsOracle(*fast, *slow, "new weights");
  for (SceneDocument* doc : {fast.get(), slow.get()}) {
    doc->skeleton.jointOrder[3]->position = {0.25f, -1, 2};
    doc->skeleton.jointOrder[4]->jointID = 100;
  }
  expectFastEqualsOracle(*fast, *slow, "moved and renumbered joints");
  test::RecordingUi ui;
  for (SceneDocument* doc : {fast.get(), slow.get()}) {
    // A joint with a children of its own, found by a jointID no other joint has.
    Joint* victim = nullptr;
    for (auto& j : doc->skeleton.jointOrder) {
      if (j->parent == nullptr || j->children.empty() || victim != nullptr) continue;
      int sameId = 0;
      for (auto& k : doc->skeleton.jointOrder) sameId += k->jointID == j->jointID;
      if (sameId == 1) victim = j.get();
    }
    ASSERT_NE(victim, nullptr);
    ASSERT_TRUE(deleteJoint(*doc, victim->jointID, ui));
  }
  expectFastEqualsOracle(*fast, *slow, "deleted joint");
}

}  // namespace
}  // namespace lw
