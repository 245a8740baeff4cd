// Opening a project whose joints form one deep chain (each joint the child of
// the one before): reading must stay linear in the number of joints. The
// argument is the chain's length; compare the time per joint across lengths.
#include <benchmark/benchmark.h>

#include <memory>
#include <string>

#include "core/document.h"
#include "core/shell_ui.h"
#include "io/project_reader.h"

namespace {

std::string chainProject(int joints) {
  std::string text = "MODEL_FILENAME m.obj\n[JOINTDATA]\n";
  for (int i = 0; i < joints; ++i) {
    const std::string name = "J" + std::to_string(i);
    text += "jointID " + std::to_string(i + 1) + "\njointName " + name + "\nTreeName " + name + "\n\n";
  }
  text += "[JOINTRERATION]\n";
  for (int i = 0; i < joints; ++i) text += "relation J" + std::to_string(i) + "\n[down]\n";
  return text;
}

lw::ModelLoadResult emptyModel(const std::string&, std::unique_ptr<lw::Mesh>& mesh,
                               lw::SceneDocument&, lw::ShellUi&) {
  mesh = std::make_unique<lw::Mesh>();
  return lw::ModelLoadResult::Loaded;
}

void BM_ReadJointChain(benchmark::State& state) {
  const int joints = static_cast<int>(state.range(0));
  const std::string text = chainProject(joints);
  lw::NullShellUi ui;
  for (auto _ : state) {
    lw::SceneDocument doc;
    if (lw::readProjectText(doc, text, "", ui, emptyModel) != lw::kProjectRead ||
        static_cast<int>(doc.skeleton.size()) != joints) {
      state.SkipWithError("chain not read");
    }
  }
  state.counters["us_per_joint"] = benchmark::Counter(
      static_cast<double>(joints) * 1e-6, benchmark::Counter::kIsIterationInvariantRate |
                                             benchmark::Counter::kInvert);
}
BENCHMARK(BM_ReadJointChain)->Arg(15000)->Arg(60000)->Unit(benchmark::kMillisecond);

}  // namespace

BENCHMARK_MAIN();
