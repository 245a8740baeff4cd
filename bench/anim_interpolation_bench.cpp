// Interpolating one playback frame for a 60-joint skeleton (half the joints
// Hermite, half linear): interpolateFrame and poseFrame over the working poses,
// and separately the segment start (working copy and beginSegment).
#include <benchmark/benchmark.h>

#include <cmath>
#include <memory>
#include <string>
#include <vector>

#include "anim/interpolation.h"
#include "core/document.h"

namespace {

constexpr int kJoints = 60;

// A branching skeleton in rest and two keyframes 1000 ms apart whose bones point
// in different directions.
void buildScene(lw::SceneDocument& doc) {
  std::vector<lw::Joint*> joints;
  for (int i = 0; i < kJoints; ++i) {
    auto joint = std::make_unique<lw::Joint>();
    lw::Joint& j = *joint;
    lw::Joint* parent = i == 0 ? nullptr : joints[static_cast<size_t>(i % 5 == 0 ? i / 3 : i - 1)];
    j.jointID = i + 1;
    j.jointName = parent ? parent->jointName + "_" + std::to_string(parent->children.size()) : "Joint0";
    j.parent = parent;
    if (parent) parent->children.push_back(&j);
    float a = 0.41f * static_cast<float>(i);
    j.initPoseBoneVector = {0.2f * std::cos(a), 0.1f + 0.01f * std::sin(a), 0.15f * std::sin(a)};
    j.axisVector = {0.3f, 0.5f, 0.81f};
    doc.skeleton.joints[j.jointName] = &j;
    doc.skeleton.jointOrder.push_back(std::move(joint));
    joints.push_back(&j);
  }
  for (int k = 0; k < 2; ++k) {
    for (lw::Joint* j : joints) {
      float a = static_cast<float>(k) * 0.7f + static_cast<float>(j->jointID) * 0.13f;
      j->drawBoneVector = {std::cos(a) * 0.2f, std::sin(a) * 0.1f + 0.05f, 0.1f * std::cos(2 * a)};
    }
    lw::KeyFrame& kf = lw::createKeyFrame(*doc.keyFrames, doc.skeleton, 1000 * k);
    int n = 0;
    for (auto& [name, pose] : kf.poses) {
      pose.kf_hokanMode = n++ % 2;
      pose.kf_speed[0] = 10;
      pose.kf_speed[1] = -5;
    }
  }
  lw::KeyframeStore& store = *doc.keyFrames;
  store.segment = {0, 1, 1000};
  store.segmentStarted = 1;
  lw::loadSegmentStartPoses(store, doc.skeleton);
}

void BM_InterpolateFrame60Joints(benchmark::State& state) {
  lw::SceneDocument doc;
  buildScene(doc);
  lw::KeyframeStore& store = *doc.keyFrames;
  lw::interpolateFrame(store);  // the segment start
  int32_t t = 0;
  for (auto _ : state) {
    store.playTime = t;
    t = (t + 16) % 1000;
    lw::interpolateFrame(store);
    lw::poseFrame(store.animationPoses);
    benchmark::DoNotOptimize(store.animationPoses.begin()->second.kf_positionAnime);
  }
  state.SetItemsProcessed(state.iterations() * kJoints);
}
BENCHMARK(BM_InterpolateFrame60Joints);

void BM_SegmentStart60Joints(benchmark::State& state) {
  lw::SceneDocument doc;
  buildScene(doc);
  lw::KeyframeStore& store = *doc.keyFrames;
  for (auto _ : state) {
    lw::loadSegmentStartPoses(store, doc.skeleton);
    lw::beginSegment(store);
    benchmark::DoNotOptimize(store.animationPoses.begin()->second.kf_rotationJointQuaternionAnime);
  }
  state.SetItemsProcessed(state.iterations() * kJoints);
}
BENCHMARK(BM_SegmentStart60Joints);

}  // namespace

BENCHMARK_MAIN();
