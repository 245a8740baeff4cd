// Skinning speed: a 100k-triangle model (300k corners) on a 40-joint skeleton
// with chains up to 8 joints deep, 1 to 4 weights per corner, posed with FK and
// IK. Times the chain-walk oracle and the fast deformation in the same run
// (items per second = corners per second; the time per iteration is one frame),
// the rebinding after a weight change, and the vertex dialog's propagation.
#include <benchmark/benchmark.h>

#include <cstdio>
#include <cstring>
#include <memory>
#include <random>
#include <vector>

#include "core/document.h"
#include "skeleton/fixing.h"
#include "skeleton/fk.h"
#include "skeleton/ik.h"
#include "skeleton/placement.h"
#include "skin/deform.h"
#include "skin/weight_dialogs.h"
#include "tests/skin/deform_oracle.h"

namespace lw {
namespace {

constexpr int kTriangles = 100000;
constexpr int kCorners = 3 * kTriangles;

// Base joint plus three chains of 8 and three of 5 joints: 40 joints.
std::unique_ptr<SceneDocument> makeCharacter() {
  auto doc = std::make_unique<SceneDocument>();
  NullShellUi ui;
  placeBaseJoint(*doc, {0, 1, 0}, ui);
  const Vector3 directions[] = {{0.12f, 0.1f, 0.01f}, {-0.12f, 0.1f, 0.02f}, {0.01f, 0.14f, 0.03f},
                                {0.05f, -0.15f, 0.0f}, {-0.05f, -0.15f, 0.01f}, {0.0f, 0.0f, 0.16f}};
  std::vector<Joint*> ends;
  for (int limb = 0; limb < 6; ++limb) {
    const int length = limb < 3 ? 8 : 5;
    Joint* j = doc->skeleton.joints.at("Joint0");
    Vector3 p = j->jointWorldPosition;
    for (int k = 0; k < length; ++k) {
      const Vector3 d = directions[limb];
      p = {p.x + d.x, p.y + d.y + 0.01f * k, p.z + d.z - 0.005f * k};
      j = addChildJoint(*doc, j->jointName, p, kNoMirror, ui);
    }
    ends.push_back(j);
  }
  if (fixJointPositions(doc->skeleton) != kFixOk) std::fprintf(stderr, "fixing failed\n");
  float angle = 5;
  for (auto& joint : doc->skeleton.jointOrder) {
    joint->axisAngle = angle;
    angle = angle > 300 ? 5 : angle + 17;
  }
  evaluatePose(doc->skeleton);
  // Two limbs dragged with IK (a few sweeps each), the rest posed by FK.
  for (int limb : {0, 3}) {
    Joint& end = *ends[limb];
    const Vector3 from = end.ikWorkPosition;
    for (int step = 1; step <= 4; ++step) {
      ikSolve(end, {from.x + 0.05f * step, from.y + 0.04f * step, from.z + 0.03f * step});
    }
  }
  evaluatePose(doc->skeleton);
  doc->editedJointName = ends[0]->jointName;

  // Corners around their home joint, weighted to it and up to three more: its
  // ancestors mostly, now and then another joint.
  std::mt19937 rng(12345);
  std::uniform_real_distribution<float> unit(0, 1);
  auto& order = doc->skeleton.jointOrder;
  doc->mesh = std::make_unique<Mesh>();
  MeshPart part;
  std::vector<WeightList> lists;
  for (int t = 0; t < kTriangles; ++t) {
    const Joint* home = order[1 + rng() % (order.size() - 1)].get();
    WeightList list;
    const int entries = 1 + static_cast<int>(rng() % 4);
    const Joint* j = home;
    for (int e = 0; e < entries; ++e) {
      const Joint* named = unit(rng) < 0.15f ? order[rng() % order.size()].get() : j;
      list.push_back({named->jointName, unit(rng)});
      if (j->parent != nullptr) j = j->parent;
    }
    lists.push_back(list);
    for (int c = 0; c < 3; ++c) {
      const Vector3 at = home->jointWorldPosition;
      part.positions.push_back({at.x + unit(rng) * 0.1f, at.y + unit(rng) * 0.1f, at.z + unit(rng) * 0.1f});
      part.normals.push_back({unit(rng), unit(rng), 1});
      part.texCoords.push_back({});
    }
  }
  part.vertexCount = kCorners;
  doc->mesh->parts.push_back(std::move(part));
  doc->skinBuffers = makeSkinBuffers(*doc->mesh);
  for (int c = 0; c < kCorners; ++c) doc->skinBuffers->parts[0].skinWeights[c] = lists[c / 3];
  return doc;
}

// Corners where the fast deformation differs from the oracle's, bit for bit,
// in the skeleton's current pose.
int mismatchesInPose(SceneDocument& doc) {
  std::vector<Vector3> positions, normals;
  test::oracleDeformPart(doc, 0, kCorners, positions, normals);
  deformPart(doc, 0, kCorners);
  const SkinPart& part = doc.skinBuffers->parts[0];
  int mismatches = 0;
  for (int c = 0; c < kCorners; ++c) {
    mismatches += std::memcmp(&positions[c], &part.skinPositions[c], sizeof(Vector3)) != 0 ||
                  std::memcmp(&normals[c], &part.skinNormals[c], sizeof(Vector3)) != 0;
  }
  return mismatches;
}

struct Character {
  std::unique_ptr<SceneDocument> doc;
  int mismatches = 0;  // over every checked pose
};

// Built once and checked against the oracle in the built pose and in three more
// FK poses (every joint turned by another amount), then returned to the built pose.
const Character& checkedCharacter() {
  static Character made = [] {
    Character c{makeCharacter()};
    SceneDocument& d = *c.doc;
    std::vector<float> angles;
    for (auto& joint : d.skeleton.jointOrder) angles.push_back(joint->axisAngle);
    for (float turn : {0.0f, 33.0f, -71.5f, 140.25f}) {
      for (size_t j = 0; j < angles.size(); ++j) {
        d.skeleton.jointOrder[j]->axisAngle = angles[j] + turn * static_cast<float>(1 + j % 3);
      }
      evaluatePose(d.skeleton);
      const int differ = mismatchesInPose(d);
      std::fprintf(stderr, "skin_bench: turn %g: %d of %d corners differ from the oracle\n",
                   static_cast<double>(turn), differ, kCorners);
      c.mismatches += differ;
    }
    size_t j = 0;
    for (auto& joint : d.skeleton.jointOrder) joint->axisAngle = angles[j++];
    evaluatePose(d.skeleton);
    return c;
  }();
  return made;
}

// The character, or nullptr (the benchmark then fails) when the fast deformation
// differs from the oracle in any checked pose.
SceneDocument* character(benchmark::State& state) {
  const Character& c = checkedCharacter();
  if (c.mismatches == 0) return c.doc.get();
  state.SkipWithError("the fast deformation differs from the oracle");
  return nullptr;
}

void BM_DeformOracle(benchmark::State& state) {
  SceneDocument* checked = character(state);
  if (!checked) return;
  SceneDocument& doc = *checked;
  std::vector<Vector3> positions, normals;
  for (auto _ : state) {
    test::oracleDeformPart(doc, 0, kCorners, positions, normals);
    benchmark::DoNotOptimize(positions.data());
  }
  state.SetItemsProcessed(state.iterations() * kCorners);
}
BENCHMARK(BM_DeformOracle)->Unit(benchmark::kMillisecond);

void BM_DeformFast(benchmark::State& state) {
  SceneDocument* checked = character(state);
  if (!checked) return;
  SceneDocument& doc = *checked;
  deformPart(doc, 0, kCorners);  // bound before timing
  for (auto _ : state) {
    deformPart(doc, 0, kCorners);
    benchmark::DoNotOptimize(doc.skinBuffers->parts[0].skinPositions.data());
  }
  state.SetItemsProcessed(state.iterations() * kCorners);
}
BENCHMARK(BM_DeformFast)->Unit(benchmark::kMillisecond);

// A frame right after the weights changed: rebinding plus deformation.
void BM_DeformAfterWeightChange(benchmark::State& state) {
  SceneDocument* checked = character(state);
  if (!checked) return;
  SceneDocument& doc = *checked;
  WeightList& first = doc.skinBuffers->parts[0].skinWeights[0];
  for (auto _ : state) {
    first = WeightList(first);  // counts as a change
    deformPart(doc, 0, kCorners);
  }
  state.SetItemsProcessed(state.iterations() * kCorners);
}
BENCHMARK(BM_DeformAfterWeightChange)->Unit(benchmark::kMillisecond);

// Dialog 103's OK with coincident-corner propagation over 300k corners.
void BM_VertexWeightPropagation(benchmark::State& state) {
  SceneDocument* checked = character(state);
  if (!checked) return;
  SceneDocument& doc = *checked;
  const VertexSelection selection = {{0, 10}, {0, 20000}, {0, 123456}};
  const WeightList list{{"Joint0_0", 0.5f}};
  for (auto _ : state) {
    benchmark::DoNotOptimize(applyVertexWeights(*doc.skinBuffers, selection, list, true));
  }
  state.SetItemsProcessed(state.iterations() * kCorners);
}
BENCHMARK(BM_VertexWeightPropagation)->Unit(benchmark::kMillisecond);

}  // namespace
}  // namespace lw

BENCHMARK_MAIN();
