#include "anim/playback_deform.h"

#include <gtest/gtest.h>

#include "anim/anim_fixture.h"
#include "anim/interpolation.h"
#include "skin/deform.h"
#include "support/recording_ui.h"

namespace lw {
namespace {

class PlaybackDeformTest : public ::testing::Test {
 protected:
  void SetUp() override {
    test::buildArm(doc_, ui_);
    SkinPart& part = doc_.skinBuffers->parts[0];
    part.skinWeights[1].push_back({"Joint0_0_0", 1.0f});
    part.skinWeights[2].push_back({"Joint0_0", 0.5f});
    part.skinWeights[2].push_back({"Nobody", 0.5f});
    part.skinWeights[2].push_back({"Joint0_0_0", 0.5f});
    test::keyPose(doc_, ui_, 0, "Joint0_0", {1, 0, 1}, 20);
    test::resetAllRotations(doc_);
    test::keyPose(doc_, ui_, 1000, "Joint0_0_0", {0, 1, 1}, 70);
    KeyframeStore& store = *doc_.keyFrames;
    store.byNumber.at(1)->poses.at("Joint0").kf_boneVector = {0.5f, 1, 0};
    store.segment = {0, 1, 1000};
    store.segmentStarted = 1;
    ASSERT_TRUE(loadSegmentStartPoses(store, doc_.skeleton));
    store.playTime = 400;
    interpolateFrame(store);
    poseFrame(store.animationPoses);
    doc_.editedJointName = "Joint0_0";
  }

  const KeyJointPose& pose(const char* name) { return doc_.keyFrames->animationPoses.at(name); }

  // The corner's chain walked joint by joint with quaternions.
  void expectChainWalk(int corner, std::initializer_list<std::pair<const char*, float>> chain) {
    const MeshPart& rest = doc_.mesh->parts[0];
    Vector3 q = rest.positions[corner];
    for (auto it = std::rbegin(chain); it != std::rend(chain); ++it) {
      q = q - test::joint(doc_, it->first).position;
    }
    Vector3 s{}, n{};
    std::vector<Quaternion> turns;  // the chain's own turns so far, the latest first
    for (const auto& [name, weight] : chain) {
      turns.insert(turns.begin(), pose(name).kf_rotationJointQuaternion);
      auto apply = [&](Vector3 v) {
        v = rotateVector(pose(name).kf_rotationJointQuaternionIKtoFK, v);
        for (const Quaternion& t : turns) v = rotateVector(t, v);
        return v;
      };
      Vector3 pq = apply(q), pn = apply(rest.normals[corner]);
      s = s + Vector3{weight * pq.x, weight * pq.y, weight * pq.z};
      n = n + Vector3{weight * pn.x, weight * pn.y, weight * pn.z};
    }
    s = s + pose("Joint0").kf_positionAnime;
    for (auto it = std::begin(chain) + 1; it != std::end(chain); ++it) {
      s = s + pose((it - 1)->first).kf_drawBoneVector;
    }
    test::expectNear(doc_.skinBuffers->parts[0].skinPositions[corner], s, 2e-5f);
    test::expectNear(doc_.skinBuffers->parts[0].skinNormals[corner], n, 2e-5f);
  }

  SceneDocument doc_;
  test::RecordingUi ui_;
};

TEST_F(PlaybackDeformTest, BlendsAlongTheChainWithTheWorkingPoses) {
  ASSERT_EQ(deformPartForPlayback(doc_, 0, 3), kDeformDone);
  expectChainWalk(1, {{"Joint0_0", 0.0f}, {"Joint0_0_0", 1.0f}});
  expectChainWalk(2, {{"Joint0_0", 0.5f}, {"Joint0_0_0", 0.5f}});
}

TEST_F(PlaybackDeformTest, UnweightedCornersFollowTheBasePosition) {
  ASSERT_EQ(deformPartForPlayback(doc_, 0, 3), kDeformDone);
  const Vector3 rest = doc_.mesh->parts[0].positions[0];
  const Vector3 root = test::joint(doc_, "Joint0").position;
  const Vector3 anime = pose("Joint0").kf_positionAnime;
  test::expectNear(anime, {0.2f, 1, 0});
  EXPECT_EQ(doc_.skinBuffers->parts[0].skinPositions[0],
            (Vector3{-root.x + rest.x, -root.y + rest.y, -root.z + rest.z} + anime));
  EXPECT_EQ(doc_.skinBuffers->parts[0].skinNormals[0], doc_.mesh->parts[0].normals[0]);
}

TEST_F(PlaybackDeformTest, IgnoresIkFlagsAndRootMovement) {
  ASSERT_EQ(deformPartForPlayback(doc_, 0, 3), kDeformDone);
  const std::vector<Vector3> before = doc_.skinBuffers->parts[0].skinPositions;
  test::joint(doc_, "Joint0_0").ik_Flag = 1;
  doc_.rootMoveOffset = {5, 5, 5};
  doc_.keyFrames->keyframeShown = 1;
  const Vector3 drawn = test::joint(doc_, "Joint0_0").drawBoneVector;
  ASSERT_EQ(deformPartForPlayback(doc_, 0, 3), kDeformDone);
  EXPECT_EQ(doc_.skinBuffers->parts[0].skinPositions, before);
  EXPECT_EQ(test::joint(doc_, "Joint0_0").drawBoneVector, drawn);
}

// Playback reads only the working poses, so a project opened and played at once
// (no joint picked yet) still moves the model.
TEST_F(PlaybackDeformTest, DeformsAlsoBeforeAJointWasPicked) {
  doc_.editedJointName.clear();
  ASSERT_EQ(deformPartForPlayback(doc_, 0, 3), kDeformDone);
  expectChainWalk(1, {{"Joint0_0", 0.0f}, {"Joint0_0_0", 1.0f}});
  EXPECT_EQ(deformPartForPlayback(doc_, 5, 3), kDeformDone);
}

}  // namespace
}  // namespace lw
