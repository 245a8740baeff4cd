// Pose evaluation and one IK sweep on a 60-joint skeleton (seven chains of
// depth 8 and one of depth 3 under the base joint). A counting global operator
// new shows that neither allocates: each benchmark reports allocs_per_call and
// fails when it is not 0.
#include <benchmark/benchmark.h>

#include <atomic>
#include <cstdlib>
#include <new>
#include <string>

#include "core/document.h"
#include "skeleton/fixing.h"
#include "skeleton/fk.h"
#include "skeleton/ik.h"
#include "skeleton/placement.h"

namespace {

std::atomic<long> allocations{0};

}  // namespace

void* operator new(std::size_t size) {
  allocations.fetch_add(1, std::memory_order_relaxed);
  if (void* p = std::malloc(size == 0 ? 1 : size)) return p;
  std::abort();
}
// The replacement new above takes its memory from malloc, so free is the match.
#pragma GCC diagnostic push
#pragma GCC diagnostic ignored "-Wmismatched-new-delete"
void operator delete(void* p) noexcept { std::free(p); }
void operator delete(void* p, std::size_t) noexcept { std::free(p); }
#pragma GCC diagnostic pop

namespace lw {
namespace {

constexpr int kJointCount = 60;
constexpr int kChainDepth = 8;

// Builds, fixes and poses the skeleton; returns the end joint of the first chain.
Joint* buildSkeleton(SceneDocument& doc) {
  NullShellUi ui;
  placeBaseJoint(doc, {0.1f, 1.0f, 0.05f}, ui);
  Joint* firstEnd = nullptr;
  for (int chain = 0; doc.skeleton.size() < kJointCount; ++chain) {
    std::string parent = kBaseJointName;
    Vector3 p = baseJoint(doc.skeleton)->jointWorldPosition;
    for (int d = 0; d < kChainDepth && doc.skeleton.size() < kJointCount; ++d) {
      p = p + Vector3{0.05f * (chain - 3), 0.1f, 0.02f * (d % 3) + 0.01f * chain};
      parent = addChildJoint(doc, parent, p, kNoMirror, ui)->jointName;
    }
    if (chain == 0) firstEnd = findJoint(doc.skeleton, parent);
  }
  if (fixJointPositions(doc.skeleton) != kFixOk) return nullptr;
  int i = 0;
  for (auto& j : doc.skeleton.jointOrder) j->axisAngle = static_cast<float>((i++ * 37) % 360);
  evaluatePose(doc.skeleton);
  return firstEnd;
}

// Builds the skeleton and checks that the counter sees its allocations, so a
// zero count in the timed loop means something.
Joint* buildCounted(benchmark::State& state, SceneDocument& doc) {
  const long start = allocations.load();
  Joint* end = buildSkeleton(doc);
  if (end == nullptr) {
    state.SkipWithError("fixing failed");
  } else if (allocations.load() == start) {
    state.SkipWithError("allocation counter is not active");
    end = nullptr;
  }
  return end;
}

void reportAllocations(benchmark::State& state, long before) {
  const long perCall = (allocations.load() - before) / static_cast<long>(state.iterations());
  state.counters["allocs_per_call"] = static_cast<double>(perCall);
  if (perCall != 0) state.SkipWithError("allocated during the timed calls");
}

void BM_EvaluatePose(benchmark::State& state) {
  SceneDocument doc;
  if (buildCounted(state, doc) == nullptr) return;
  const long before = allocations.load();
  for (auto _ : state) {
    evaluatePose(doc.skeleton);
    benchmark::ClobberMemory();
  }
  reportAllocations(state, before);
}
BENCHMARK(BM_EvaluatePose)->Unit(benchmark::kMicrosecond);

void BM_IkSweepDepth8(benchmark::State& state) {
  SceneDocument doc;
  Joint* end = buildCounted(state, doc);
  if (end == nullptr) return;
  // Two targets in turn, so every sweep turns all seven joints of the chain.
  const Vector3 targets[2] = {{0.6f, 1.2f, 0.3f}, {-0.4f, 1.1f, -0.2f}};
  int k = 0;
  const long before = allocations.load();
  for (auto _ : state) {
    benchmark::DoNotOptimize(ikSolve(*end, targets[k]));
    k ^= 1;
    benchmark::ClobberMemory();
  }
  reportAllocations(state, before);
}
BENCHMARK(BM_IkSweepDepth8)->Unit(benchmark::kMicrosecond);

}  // namespace
}  // namespace lw

BENCHMARK_MAIN();
