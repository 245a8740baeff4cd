// Opening a project whose joints form one deep chain (each joint the child of
// the one before): reading must stay linear in the number of joints. The
// argument is the chain's length; compare the time per joint across lengths.
// Skinning on such a chain (corner i dominated by joint i) must hold memory
// in proportion to the joints (compare bytes_per_joint across lengths) and take
// time in proportion to the chain joints its arithmetic walks per corner
// (compare ns_per_chain_joint).
#include <benchmark/benchmark.h>

#include <memory>
#include <string>
#include <vector>

#include "core/document.h"
#include "core/shell_ui.h"
#include "io/project_reader.h"
#include "skin/skin_binding.h"

namespace {

// "J<i>", appended rather than added to a literal: GCC 12 warns falsely
// (-Wrestrict) about a literal plus a string when optimising.
std::string jointName(int i) { return std::string("J").append(std::to_string(i)); }

std::string chainProject(int joints) {
  std::string text = "MODEL_FILENAME m.obj\n[JOINTDATA]\n";
  for (int i = 0; i < joints; ++i) {
    const std::string name = jointName(i);
    text.append("jointID ").append(std::to_string(i + 1)).append("\njointName ").append(name);
    text.append("\nTreeName ").append(name).append("\n\n");
  }
  text += "[JOINTRERATION]\n";
  for (int i = 0; i < joints; ++i) text.append("relation ").append(jointName(i)).append("\n[down]\n");
  return text;
}

lw::ModelLoadResult emptyModel(const std::string&, std::unique_ptr<lw::Mesh>& mesh, std::string&) {
  mesh = std::make_unique<lw::Mesh>();
  return lw::ModelLoadResult::Loaded;
}

void BM_ReadJointChain(benchmark::State& state) {
  const int joints = static_cast<int>(state.range(0));
  const std::string text = chainProject(joints);
  lw::NullShellUi ui;
  for (auto _ : state) {
    lw::SceneDocument doc;
    if (lw::readProjectText(doc, text, "", ui, emptyModel).code != lw::kProjectRead ||
        static_cast<int>(doc.skeleton.size()) != joints) {
      state.SkipWithError("chain not read");
    }
  }
  state.counters["us_per_joint"] = benchmark::Counter(
      static_cast<double>(joints) * 1e-6, benchmark::Counter::kIsIterationInvariantRate |
                                             benchmark::Counter::kInvert);
}
BENCHMARK(BM_ReadJointChain)->Arg(15000)->Arg(60000)->Unit(benchmark::kMillisecond);

template <typename T>
size_t bytesOf(const std::vector<T>& v) {
  return v.capacity() * sizeof(T);
}

// Binding and one frame's deformation; corner i is weighted to joint i and to
// its parent and grandparent. A corner's position is made relative to its bone
// by subtracting the positions of its chain's joints one by one, and put back by
// adding their bone starts one by one, in that order and rounding (the results
// stay bit for bit those of that arithmetic), so each (corner, chain joint) pair
// costs a subtraction and an addition: n(n-1)/2 pairs here. Nothing else may
// cost per pair (finding the chain weights among a corner's entries does not
// walk the chain; a child's chain is gathered from its parent's by one bone
// start): ns_per_chain_joint stays flat across lengths, while the time grows
// with the pairs.
void BM_SkinJointChain(benchmark::State& state) {
  const int joints = static_cast<int>(state.range(0));
  lw::NullShellUi ui;
  lw::SceneDocument doc;
  if (lw::readProjectText(doc, chainProject(joints), "", ui, emptyModel).code != lw::kProjectRead) {
    state.SkipWithError("chain not read");
    return;
  }
  lw::MeshPart rest;
  rest.positions.assign(joints, lw::Vector3{0.5f, -1.0f, 2.0f});
  rest.normals.assign(joints, lw::Vector3{0.0f, 0.0f, 1.0f});
  lw::SkinPart part;
  part.skinPositions.resize(joints);
  part.skinNormals.resize(joints);
  part.skinWeights.resize(joints);
  double chainPairs = 0;
  for (int i = 0; i < joints; ++i) {
    for (int up = 0; up < 3 && up <= i; ++up) {
      part.skinWeights[i].push_back({jointName(i - up), 0.5f - 0.125f * up});
    }
    chainPairs += i;
  }
  lw::SkinFrame frame;
  for (auto _ : state) {
    part.binding = lw::SkinBinding{};
    lw::updateSkinBinding(part, rest, doc.skeleton);
    lw::resizeSkinFrame(part.binding, frame);
    for (lw::SkinJointPose& pose : frame.joints) pose.boneStart = {0.0f, 0.001f, 0.0f};
    lw::prepareSkinFrame(part.binding, frame);
    lw::deformBoundCorners(part.binding, frame, part, static_cast<size_t>(joints));
    benchmark::DoNotOptimize(part.skinPositions.back());
  }
  if (part.binding.deepest != joints - 1) state.SkipWithError("not one chain");
  const lw::SkinBinding& b = part.binding;
  const size_t held = bytesOf(b.slots) + bytesOf(b.slotOrder) + bytesOf(b.corners) +
                      bytesOf(b.heads) + bytesOf(b.weights) + bytesOf(frame.joints) +
                      bytesOf(frame.turns) + bytesOf(frame.blend) + bytesOf(frame.chainBack);
  state.counters["bytes_per_joint"] = static_cast<double>(held) / joints;
  state.counters["ns_per_chain_joint"] =
      benchmark::Counter(chainPairs * 1e-9, benchmark::Counter::kIsIterationInvariantRate |
                                                benchmark::Counter::kInvert);
}
BENCHMARK(BM_SkinJointChain)->Arg(10000)->Arg(30000)->Unit(benchmark::kMillisecond);

}  // namespace

BENCHMARK_MAIN();
