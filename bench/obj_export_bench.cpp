// Exporting a large posed model as OBJ: the text is written out as it is made,
// so the export needs little memory beyond the model itself. The argument is the
// number of triangles. Counters: the model's memory (MB), the process's peak
// memory during the export beyond the model (MB), their ratio, and the size of
// the file written (MB).
#include <benchmark/benchmark.h>

#include <cstdio>
#include <filesystem>
#include <fstream>
#include <memory>
#include <string>

#include "core/document.h"
#include "core/skin_data.h"
#include "io/obj_export.h"

namespace {

namespace fs = std::filesystem;

// The process's peak resident memory so far, in bytes (VmHWM), or 0.
double peakBytes() {
  std::ifstream status("/proc/self/status");
  std::string key;
  while (status >> key) {
    if (key == "VmHWM:") {
      double kb = 0;
      status >> kb;
      return kb * 1024;
    }
  }
  return 0;
}

void buildModel(lw::SceneDocument& doc, int64_t triangles) {
  auto mesh = std::make_unique<lw::Mesh>();
  lw::MeshPart part;
  const size_t corners = static_cast<size_t>(3 * triangles);
  part.positions.resize(corners);
  part.normals.resize(corners);
  part.texCoords.resize(corners);
  for (size_t c = 0; c < corners; ++c) {
    const float f = static_cast<float>(c);
    part.positions[c] = {f * 0.001f, -f * 0.002f, 1.5f};
    part.normals[c] = {0.0f, 0.6f, 0.8f};
    part.texCoords[c] = {0.25f, 0.75f};
  }
  part.vertexCount = static_cast<int32_t>(corners);
  mesh->parts.push_back(std::move(part));
  doc.skinBuffers = lw::makeSkinBuffers(*mesh);
  doc.mesh = std::move(mesh);
}

void BM_ExportObj(benchmark::State& state) {
  const double start = peakBytes();
  lw::SceneDocument doc;
  buildModel(doc, state.range(0));
  const double model = peakBytes() - start;
  const fs::path folder = fs::temp_directory_path() / "lw_obj_export_bench";
  fs::create_directories(folder);
  const std::string path = (folder / "big.obj").string();
  for (auto _ : state) {
    if (lw::exportObj(doc, path, "big.obj") != 0) state.SkipWithError("export failed");
  }
  const double extra = peakBytes() - start - model;
  state.counters["model_MB"] = model / 1e6;
  state.counters["export_extra_MB"] = extra / 1e6;
  state.counters["peak_over_model"] = (model + extra) / model;
  state.counters["file_MB"] = static_cast<double>(fs::file_size(path)) / 1e6;
  fs::remove_all(folder);
}
BENCHMARK(BM_ExportObj)->Arg(600000)->Unit(benchmark::kMillisecond)->Iterations(1);

}  // namespace

BENCHMARK_MAIN();
