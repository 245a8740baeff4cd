// Posing work survives the commands that rewrite it (FK entry, saving and
// reopening, storing and showing a keyframe), and animation runs through every
// keyframe without a jump, on random rigs and on the sample project.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <map>
#include <random>

#include "anim/anim_fixture.h"
#include "anim/interpolation.h"
#include "anim/playback_deform.h"
#include "anim/keyframe_commands.h"
#include "anim/playback.h"
#include "io/model_load.h"
#include "io/project_reader.h"
#include "io/project_writer.h"
#include "skeleton/fixing.h"
#include "skeleton/fk.h"
#include "skeleton/ik.h"
#include "skeleton/placement.h"
#include "skin/deform.h"

namespace lw {
namespace {

namespace fs = std::filesystem;

struct Snapshot {
  std::vector<Vector3> joints;   // drawn positions, name order
  std::vector<Vector3> corners;  // skinned positions of every corner
};

Snapshot snapshot(SceneDocument& doc) {
  evaluatePose(doc.skeleton);
  Snapshot s;
  for (auto& [name, j] : doc.skeleton.joints) s.joints.push_back(j->jointDrawPositionAfterPosEnter);
  doc.editedJointName = "Joint0";
  for (size_t p = 0; p < doc.mesh->parts.size(); ++p) {
    deformPart(doc, static_cast<int>(p), doc.mesh->parts[p].vertexCount);
    for (Vector3 v : doc.skinBuffers->parts[p].skinPositions) s.corners.push_back(v);
  }
  return s;
}

float gap(Vector3 a, Vector3 b) { return vectorLength(a - b); }

void expectSame(const Snapshot& a, const Snapshot& b, float tolerance, const char* step,
                const std::vector<bool>* cornerUsed = nullptr) {
  ASSERT_EQ(a.joints.size(), b.joints.size());
  for (size_t i = 0; i < a.joints.size(); ++i) {
    EXPECT_LE(gap(a.joints[i], b.joints[i]), tolerance) << step << ": joint " << i;
  }
  ASSERT_EQ(a.corners.size(), b.corners.size());
  for (size_t i = 0; i < a.corners.size(); ++i) {
    if (cornerUsed && !(*cornerUsed)[i]) continue;
    EXPECT_LE(gap(a.corners[i], b.corners[i]), tolerance) << step << ": corner " << i;
  }
}

// A random tree of `count` joints in a model of random triangles near them,
// every corner weighted to one or two joints; written to dir as rig.obj and
// opened from there (so the project can be saved and reopened).
struct RandomRig {
  SceneDocument doc;
  NullShellUi ui;
  std::mt19937 rng;
  float size = 0;
  bool ok = false;
  explicit RandomRig(unsigned seed, const fs::path& dir, int count) : rng(seed) {
    std::uniform_real_distribution<float> u(-1.0f, 1.0f);
    std::vector<Vector3> points{{u(rng), u(rng), u(rng)}};
    std::vector<int> parents{-1};
    for (int k = 1; k < count; ++k) {
      const int parent = std::uniform_int_distribution<int>(0, k - 1)(rng);
      Vector3 step{u(rng), u(rng), u(rng)};
      const Vector3 n = normalize(step);
      step = step + Vector3{0.4f * n.x, 0.4f * n.y, 0.4f * n.z};
      points.push_back(points[parent] + step);
      parents.push_back(parent);
    }
    std::ofstream(dir / "rig.mtl") << "newmtl skin\nKd 0.8 0.6 0.5\n";
    std::ofstream obj(dir / "rig.obj");
    obj << "mtllib rig.mtl\n";
    for (Vector3 p : points) {
      for (int c = 0; c < 3; ++c) obj << "v " << p.x + 0.3f * u(rng) << ' ' << p.y + 0.3f * u(rng) << ' ' << p.z + 0.3f * u(rng) << '\n';
      size = std::max({size, std::abs(p.x), std::abs(p.y), std::abs(p.z)});
    }
    obj << "vt 0 0\nvn 0 0 1\nusemtl skin\n";
    for (size_t t = 0; t < points.size(); ++t) {
      obj << "f " << 3 * t + 1 << "/1/1 " << 3 * t + 2 << "/1/1 " << 3 * t + 3 << "/1/1\n";
    }
    obj.close();
    const LoadStatus loaded = openModelFile(doc, ui, (dir / "rig.obj").string(), "rig.obj").status;
    EXPECT_EQ(loaded, LoadStatus::Loaded);
    if (loaded != LoadStatus::Loaded) return;
    std::vector<Joint*> joints{placeBaseJoint(doc, points[0], ui)};
    for (int k = 1; k < count; ++k) {
      joints.push_back(addChildJoint(doc, joints[parents[k]]->jointName, points[k], kNoMirror, ui));
    }
    EXPECT_EQ(fixJointPositionsCommand(doc, ui), kFixOk);
    for (SkinPart& part : doc.skinBuffers->parts) {
      for (WeightList& w : part.skinWeights) {
        const float first = 0.3f + 0.35f * (u(rng) + 1);
        w.push_back({joints[std::uniform_int_distribution<int>(0, count - 1)(rng)]->jointName, first});
        if (u(rng) > 0) w.push_back({joints[std::uniform_int_distribution<int>(1, count - 1)(rng)]->jointName, 1 - first});
      }
    }
    size *= 2;
    ok = true;
  }
  Joint* randomJoint(bool belowBase) {
    auto& order = doc.skeleton.jointOrder;
    const int first = belowBase ? 1 : 0;
    return order[std::uniform_int_distribution<int>(first, static_cast<int>(order.size()) - 1)(rng)].get();
  }
  // Random FK angles about random axes, stop joints and IK drags.
  void pose() {
    std::uniform_real_distribution<float> u(-1.0f, 1.0f);
    for (auto& j : doc.skeleton.jointOrder) {
      if (j->parent == nullptr) continue;
      if (u(rng) > -0.3f) j->axisVector = normalize(Vector3{u(rng), u(rng), u(rng)});
      j->axisAngle = 180.0f * (u(rng) + 1);
      j->ik_stopFlg = u(rng) > 0.5f ? 1 : 0;
    }
    evaluatePose(doc.skeleton);
    for (int drag = 0; drag < 3; ++drag) {
      Joint* end = randomJoint(true);
      const Vector3 target = end->jointDrawPositionAfterPosEnter + Vector3{u(rng), u(rng), u(rng)};
      for (int step = 0; step < 5; ++step) {
        ikSolve(*end, target);
        evaluatePose(doc.skeleton);
      }
    }
  }
  // Corners whose skin follows the drawn skeleton while IK owns joints: no
  // FK-owned joint of the corner's chain hangs below an IK-owned one.
  std::vector<bool> cornersFollowingSkeleton() {
    std::vector<bool> used;
    for (const SkinPart& part : doc.skinBuffers->parts) {
      for (const WeightList& w : part.skinWeights) {
        const Joint* dominant = nullptr;
        for (const JointWeight& e : w) {
          const Joint* j = findJoint(doc.skeleton, e.jointName);
          if (j && (!dominant || j->jointID > dominant->jointID)) dominant = j;
        }
        bool fkBelow = false, follows = true;
        for (const Joint* j = dominant; j && j->parent; j = j->parent) {
          if (j->ik_Flag == 1 && fkBelow) follows = false;
          if (j->ik_Flag == 0) fkBelow = true;
        }
        used.push_back(follows);
      }
    }
    return used;
  }
};

class PoseKeeping : public ::testing::Test {
 protected:
  void SetUp() override {
    dir_ = fs::temp_directory_path() /
           (std::string("lw_pose_keeping_") + ::testing::UnitTest::GetInstance()->current_test_info()->name());
    fs::remove_all(dir_);
    fs::create_directories(dir_);
  }
  void TearDown() override { fs::remove_all(dir_); }
  fs::path dir_;
};

TEST_F(PoseKeeping, FkEntrySaveReopenAndKeyframesLeaveTheRandomPoseWhereItWas) {
  for (unsigned seed = 1; seed <= 12; ++seed) {
    SCOPED_TRACE(seed);
    RandomRig rig(seed, dir_, 4 + static_cast<int>(seed % 6));
    ASSERT_TRUE(rig.ok);
    rig.pose();
    const float tolerance = 1e-5f * rig.size;
    const std::vector<bool> following = rig.cornersFollowingSkeleton();
    const Snapshot posed = snapshot(rig.doc);

    enterFkMode(rig.doc, rig.ui);
    const Snapshot fk = snapshot(rig.doc);
    expectSame(posed, fk, tolerance, "menu IDM_ROTATE_FK", &following);

    const std::string path = (dir_ / "rig.ojp").string();
    ASSERT_EQ(writeProject(rig.doc, path), 0);
    SceneDocument reopened;
    ASSERT_EQ(readProject(reopened, path, rig.ui).code, kProjectRead);
    expectSame(fk, snapshot(reopened), tolerance, "saved and reopened");

    createKeyFrameCommand(rig.doc, rig.ui, 250);
    expectSame(fk, snapshot(rig.doc), tolerance, "keyframe made");
    resetAllRotations(rig.doc.skeleton, rig.ui);
    ASSERT_EQ(showNextKeyFrame(rig.doc), 0);
    expectSame(fk, snapshot(rig.doc), tolerance, "keyframe shown");
  }
}


// Drawn joint positions of a posed working set: the base at its animated
// position, every other joint at its parent's plus its drawn bone.
std::vector<Vector3> posePositions(const PoseMap& poses) {
  std::map<const KeyJointPose*, Vector3> at;
  std::vector<Vector3> out;
  for (const auto& [name, pose] : poses) {
    const Vector3 p = pose.parentPose ? at[pose.parentPose] + pose.kf_drawBoneVector : pose.kf_positionAnime;
    at[&pose] = p;
    out.push_back(p);
  }
  return out;
}

// The pose of one keyframe as it is shown.
std::vector<Vector3> keyframePositions(SceneDocument& doc, const KeyFrame& kf) {
  PoseMap& poses = doc.keyFrames->animationPoses;
  copyPoses(poses, kf.poses, doc.skeleton);
  poses.begin()->second.kf_positionAnime = poses.begin()->second.kf_boneVector;
  poseFrame(poses);
  return posePositions(poses);
}

// The pose of a segment at playTime t.
std::vector<Vector3> segmentPositions(SceneDocument& doc, const KeyFrame& from, const KeyFrame& to, int32_t t) {
  KeyframeStore& store = *doc.keyFrames;
  store.segment = {from.number, to.number, to.time - from.time};
  store.segmentStarted = 1;
  EXPECT_TRUE(loadSegmentStartPoses(store, doc.skeleton));
  store.playTime = t;
  interpolateFrame(store);
  poseFrame(store.animationPoses);
  store.playTime = 0;
  return posePositions(store.animationPoses);
}

void expectSamePositions(const std::vector<Vector3>& a, const std::vector<Vector3>& b, float tolerance,
                         const char* what) {
  ASSERT_EQ(a.size(), b.size());
  for (size_t i = 0; i < a.size(); ++i) EXPECT_LE(gap(a[i], b[i]), tolerance) << what << ": joint " << i;
}

// Every segment of the store starts on its first keyframe and ends on its
// second, each joint within tolerance.
void expectSegmentsMeetTheirKeyframes(SceneDocument& doc, float tolerance) {
  const auto& byTime = doc.keyFrames->byTime;
  for (auto it = byTime.begin(); std::next(it) != byTime.end(); ++it) {
    const KeyFrame& from = *it->second;
    const KeyFrame& to = *std::next(it)->second;
    SCOPED_TRACE(from.time);
    const std::vector<Vector3> start = keyframePositions(doc, from);
    const std::vector<Vector3> end = keyframePositions(doc, to);
    expectSamePositions(segmentPositions(doc, from, to, 0), start, tolerance, "segment start");
    expectSamePositions(segmentPositions(doc, from, to, to.time - from.time), end, tolerance, "segment end");
  }
}

TEST_F(PoseKeeping, EverySegmentEndsOnTheNextKeyframeOnRandomRigs) {
  for (unsigned seed = 20; seed < 32; ++seed) {
    SCOPED_TRACE(seed);
    RandomRig rig(seed, dir_, 3 + static_cast<int>(seed % 5));
    ASSERT_TRUE(rig.ok);
    for (int32_t time : {0, 600, 1000}) {
      rig.pose();
      createKeyFrameCommand(rig.doc, rig.ui, time);
    }
    const bool hermite = seed % 2 == 0;
    for (const auto& [time, kf] : rig.doc.keyFrames->byTime) {
      double speed = 0.5;
      for (auto& [name, pose] : kf->poses) {
        pose.kf_hokanMode = hermite ? 1 : 0;
        pose.kf_speed[0] = hermite ? 400 * speed : 0;  // some overshoot their end angle
        pose.kf_speed[1] = hermite ? -30 * speed : 0;
        speed = -speed * 1.3;
      }
    }
    expectSegmentsMeetTheirKeyframes(rig.doc, 1e-5f * rig.size);
  }
}

TEST_F(PoseKeeping, ParentAndChildTurningTogetherAboutCoordinateAxesEndOnTheKeyframe) {
  // A chain along X; in the second keyframe the upper bone and its child both
  // turn, about Z (cross products with zero X and Y), about X and Y, or mixed.
  struct Case {
    Vector3 upperAxis, lowerAxis;
    float upper, lower;
  };
  for (const Case& c : {Case{{0, 0, 1}, {0, 0, 1}, 60, 45}, Case{{0, 1, 0}, {1, 0, 0}, 30, 80},
                        Case{{0, 0, 1}, {0.3f, 0.5f, 0.8f}, 120, 200}}) {
    SceneDocument doc;
    NullShellUi ui;
    test::buildArm(doc, ui, {0, 3.5f, 0.25f});
    createKeyFrameCommand(doc, ui, 0);
    Joint& upper = test::joint(doc, "Joint0_0");
    Joint& lower = test::joint(doc, "Joint0_0_0");
    upper.axisVector = c.upperAxis;
    upper.axisAngle = c.upper;
    lower.axisVector = c.lowerAxis;
    lower.axisAngle = c.lower;
    evaluatePose(doc.skeleton);
    const Vector3 tip = lower.jointDrawPositionAfterPosEnter;
    createKeyFrameCommand(doc, ui, 1000);
    const KeyFrame& last = *doc.keyFrames->byTime.at(1000);
    EXPECT_LE(gap(keyframePositions(doc, last).back(), tip), 1e-5f);
    expectSegmentsMeetTheirKeyframes(doc, 1e-5f);
  }
}

TEST_F(PoseKeeping, PoseAtATimeIsWhatPlaybackDrawsThenIncludingAHermiteOvershoot) {
  RandomRig rig(41, dir_, 6);
  ASSERT_TRUE(rig.ok);
  for (int32_t time : {0, 500, 1300}) {
    rig.pose();
    createKeyFrameCommand(rig.doc, rig.ui, time);
  }
  for (const auto& [time, kf] : rig.doc.keyFrames->byTime) {
    for (auto& [name, pose] : kf->poses) {
      pose.kf_hokanMode = 1;
      pose.kf_speed[0] = 900;  // far beyond 3 times any end angle: every curve overshoots
      pose.kf_speed[1] = 20;
    }
  }
  armWholeRange(rig.doc, rig.ui);
  KeyframeStore& store = *rig.doc.keyFrames;
  std::vector<std::pair<int32_t, std::vector<Vector3>>> drawn;
  uint32_t clock = 0;
  PlaybackHost host;
  host.now = [&] { return clock += 3; };
  host.sleep = [&](uint32_t ms) { clock += ms; };
  host.drawFrame = [&] {
    const int32_t start = findKeyFrameByNumber(store, store.segment.startNumber)->time;
    drawn.push_back({start + store.playTime, posePositions(store.animationPoses)});
  };
  ASSERT_GT(playAnimation(rig.doc, host), 40);
  bool heldAtEnd = false;
  for (const auto& [time, positions] : drawn) {
    ASSERT_TRUE(poseAtTime(rig.doc, time));
    expectSamePositions(posePositions(store.animationPoses), positions, 1e-6f * rig.size, "pose at time");
    for (const auto& [name, pose] : store.animationPoses) {
      heldAtEnd |= pose.kf_endFrameAngle > 1 && pose.kf_axisAngle == pose.kf_endFrameAngle;
    }
  }
  EXPECT_TRUE(heldAtEnd);
}

TEST(SampleAnimation, NoCornerJumpsInTheLastMillisecondBeforeAKeyframe) {
  const fs::path samples = fs::path(__FILE__).parent_path() / ".." / ".." / "samples";
  const fs::path dir = fs::temp_directory_path() / "lw_sample_animation_test";
  fs::remove_all(dir);
  fs::create_directories(dir);
  for (const char* name : {"character.obj", "character.mtl", "character.bmp", "character.ojp"}) {
    fs::copy_file(samples / name, dir / name);
  }
  SceneDocument doc;
  NullShellUi ui;
  ASSERT_EQ(readProject(doc, (dir / "character.ojp").string(), ui).code, kProjectRead);
  float height = 0;
  for (const MeshPart& part : doc.mesh->parts) {
    for (Vector3 v : part.positions) height = std::max(height, v.y);
  }
  auto corners = [&](int32_t t) {
    EXPECT_TRUE(poseAtTime(doc, t));
    std::vector<Vector3> out;
    for (size_t p = 0; p < doc.mesh->parts.size(); ++p) {
      deformPartForPlayback(doc, static_cast<int>(p), doc.mesh->parts[p].vertexCount);
      for (Vector3 v : doc.skinBuffers->parts[p].skinPositions) out.push_back(v);
    }
    return out;
  };
  expectSegmentsMeetTheirKeyframes(doc, 1e-5f * height);
  for (auto it = std::next(doc.keyFrames->byTime.begin()); it != doc.keyFrames->byTime.end(); ++it) {
    const int32_t key = it->first;
    const std::vector<Vector3> a = corners(key - 2), b = corners(key - 1), c = corners(key);
    for (size_t i = 0; i < a.size(); ++i) {
      EXPECT_LE(gap(b[i], c[i]), 2 * gap(a[i], b[i]) + 1e-5f * height) << "key " << key << " corner " << i;
    }
  }
  fs::remove_all(dir);
}

}  // namespace
}  // namespace lw
