// Memory and time of the undo history on a 300k-corner model with 41 joints and
// two weights per corner: 100 steps of weight edits, each a vertex dialog OK on
// `corners` corners (6, and 3000 for a large box). Reports, per run of 100 steps,
// the bytes the steps hold (counted from their contents, and measured as the
// growth of the heap), the bytes of the shadow copy of the weights the history
// compares against; the time per iteration is that of the 100 records.
#include <benchmark/benchmark.h>
#include <malloc.h>

#include <memory>
#include <random>

#include "core/document.h"
#include "edit/undo_history.h"
#include "skeleton/placement.h"
#include "skin/weight_dialogs.h"

namespace lw {
namespace {

constexpr int kParts = 15;
constexpr int kCornersPerPart = 20000;  // 300k corners in all
constexpr int kSteps = 100;

size_t heapInUse() { return mallinfo2().uordblks; }

std::unique_ptr<SceneDocument> makeWeightedModel() {
  auto doc = std::make_unique<SceneDocument>();
  NullShellUi ui;
  placeBaseJoint(*doc, {0, 1, 0}, ui);
  std::string parent = kBaseJointName;
  for (int i = 0; i < 40; ++i) {
    parent = addChildJoint(*doc, i % 8 == 0 ? std::string(kBaseJointName) : parent,
                           {0.01f * i, 1.0f + 0.02f * i, 0.005f * i}, kNoMirror, ui)
                 ->jointName;
  }
  doc->mesh = std::make_unique<Mesh>();
  for (int p = 0; p < kParts; ++p) {
    MeshPart part;
    for (int c = 0; c < kCornersPerPart; ++c) {
      part.positions.push_back({0.001f * c, 0.002f * p, 0.0001f * c});
      part.normals.push_back({0, 0, 1});
      part.texCoords.push_back({});
    }
    part.vertexCount = kCornersPerPart;
    doc->mesh->parts.push_back(std::move(part));
  }
  doc->skinBuffers = makeSkinBuffers(*doc->mesh);
  const auto& joints = doc->skeleton.jointOrder;
  for (int p = 0; p < kParts; ++p) {
    auto& weights = doc->skinBuffers->parts[p].skinWeights;
    for (int c = 0; c < kCornersPerPart; ++c) {
      const Joint& a = *joints[(c + p) % joints.size()];
      weights[c] = {{a.jointName, 0.75f}, {a.parent ? a.parent->jointName : a.jointName, 0.25f}};
    }
  }
  return doc;
}

void BM_WeightEditSteps(benchmark::State& state) {
  const auto corners = static_cast<int>(state.range(0));
  auto doc = makeWeightedModel();
  std::mt19937 random(7);
  std::uniform_int_distribution<int> part(0, kParts - 1), corner(0, kCornersPerPart - 1);
  size_t stepBytes = 0, heapBytes = 0, shadowBytes = 0;
  for (auto _ : state) {
    state.PauseTiming();
    auto history = std::make_unique<UndoHistory>();
    history->reset(*doc);
    shadowBytes = history->weightShadowBytes();
    const size_t heapBefore = heapInUse();
    state.ResumeTiming();
    for (int step = 0; step < kSteps; ++step) {
      state.PauseTiming();
      doc->vertexSelection.clear();
      for (int i = 0; i < corners; ++i)
        doc->vertexSelection.push_back({part(random), corner(random)});
      const Joint& j = *doc->skeleton.jointOrder[step % doc->skeleton.size()];
      applyVertexWeights(*doc->skinBuffers, doc->vertexSelection,
                         WeightList{{j.jointName, 0.5f}, {kBaseJointName, 0.5f}}, false);
      state.ResumeTiming();
      history->record(*doc, "頂点選択で重み付け");
    }
    state.PauseTiming();
    stepBytes = history->stepBytes();
    heapBytes = heapInUse() - heapBefore;
    history.reset();
    state.ResumeTiming();
  }
  state.counters["steps_bytes_counted"] = static_cast<double>(stepBytes);
  state.counters["steps_bytes_heap"] = static_cast<double>(heapBytes);
  state.counters["shadow_bytes"] = static_cast<double>(shadowBytes);
}
BENCHMARK(BM_WeightEditSteps)->Arg(6)->Arg(3000)->Unit(benchmark::kMillisecond)->Iterations(1);

}  // namespace
}  // namespace lw

BENCHMARK_MAIN();
