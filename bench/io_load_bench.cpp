// The OBJ load pipeline (OBJ -> ObjMesh -> Mesh) on a generated model of about
// 400k triangles with texture coordinates, normals and four materials, its
// stages apart, the TLO file round trip that the in-memory mesh must equal, and
// the Open command against the vendored fast_obj parser reading the same file in
// the same process. Counters: bytes/s of the file each stage reads or writes,
// and peak_MB, the most resident memory a stage added on top of what the
// process held when it began (so it does not depend on what ran before).
#include <benchmark/benchmark.h>
#include <fast_obj.h>
#include <malloc.h>
#include <time.h>

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <memory>
#include <string>

#include <unistd.h>

#include "core/document.h"
#include "core/shell_ui.h"
#include "io/mesh_builder.h"
#include "io/model_load.h"
#include "io/obj_reader.h"
#include "io/text_format.h"
#include "io/tlo.h"

namespace {

namespace fs = std::filesystem;

constexpr int kGridColumns = 450;  // (450 x 450 cells) x 2 = 405,000 triangles
constexpr int kGridRows = 450;

struct Model {
  fs::path folder;
  std::string objPath;
  std::string tloPath;  // a TLO written once, for the TLO reading stage
  long long objBytes = 0;
  long long tloBytes = 0;
};

void appendFloat(std::string& out, float value) {
  char text[lw::kMaxFixed6Chars];
  out.append(text, lw::formatFixed6(value, text));
}

// A wavy sheet of quads split in two, the rows shared out over four materials.
std::string generateObj() {
  std::string text = "# generated load benchmark model\nmtllib bench.mtl\n";
  const int columns = kGridColumns + 1, rows = kGridRows + 1;
  for (int r = 0; r < rows; ++r) {
    for (int c = 0; c < columns; ++c) {
      float x = static_cast<float>(c) * 0.01f - 2.25f, z = static_cast<float>(r) * 0.01f - 2.25f;
      float y = 0.25f * std::sin(3.0f * x) * std::cos(2.0f * z);
      text += "v ";
      appendFloat(text, x);
      text += ' ';
      appendFloat(text, y);
      text += ' ';
      appendFloat(text, z);
      text += '\n';
    }
  }
  for (int r = 0; r < rows; ++r) {
    for (int c = 0; c < columns; ++c) {
      text += "vt ";
      appendFloat(text, static_cast<float>(c) / kGridColumns);
      text += ' ';
      appendFloat(text, static_cast<float>(r) / kGridRows);
      text += '\n';
    }
  }
  for (int r = 0; r < rows; ++r) {
    for (int c = 0; c < columns; ++c) {
      float x = static_cast<float>(c) * 0.01f - 2.25f, z = static_cast<float>(r) * 0.01f - 2.25f;
      float nx = -0.75f * std::cos(3.0f * x) * std::cos(2.0f * z);
      float nz = 0.5f * std::sin(3.0f * x) * std::sin(2.0f * z);
      float length = std::sqrt(nx * nx + 1.0f + nz * nz);
      text += "vn ";
      appendFloat(text, nx / length);
      text += ' ';
      appendFloat(text, 1.0f / length);
      text += ' ';
      appendFloat(text, nz / length);
      text += '\n';
    }
  }
  const char* materials[4] = {"skin", "cloth", "leather", "metal"};
  for (int r = 0; r < kGridRows; ++r) {
    if (r % (kGridRows / 4 + 1) == 0) {
      text += "usemtl ";
      text += materials[r / (kGridRows / 4 + 1)];
      text += '\n';
    }
    for (int c = 0; c < kGridColumns; ++c) {
      int a = r * columns + c + 1, b = a + 1, d = a + columns, e = d + 1;
      char line[160];
      std::snprintf(line, sizeof line, "f %d/%d/%d %d/%d/%d %d/%d/%d\nf %d/%d/%d %d/%d/%d %d/%d/%d\n",
                    a, a, a, d, d, d, b, b, b, b, b, b, d, d, d, e, e, e);
      text += line;
    }
  }
  return text;
}

void writeText(const std::string& path, const std::string& text) {
  std::ofstream(path, std::ios::binary).write(text.data(), static_cast<std::streamsize>(text.size()));
}

// Checks the fast readers against sscanf on every "v" line of the OBJ and every
// tenth corner of the TLO's first part: the values must be identical.
bool agreesWithSscanf(const Model& model) {
  std::string error;
  auto obj = lw::readObjFile(model.objPath, error);
  auto mesh = lw::readTloFile(model.tloPath, model.folder.string() + "/", error);
  if (!obj || !mesh) return false;
  std::FILE* file = std::fopen(model.objPath.c_str(), "r");
  char line[500];
  int32_t v = 0;
  while (std::fgets(line, sizeof line, file)) {
    if (line[0] != 'v' || line[1] != ' ') continue;
    float x, y, z;
    std::sscanf(line, "v %f %f %f", &x, &y, &z);
    const lw::Vector3& p = obj->positions[static_cast<size_t>(v++)];
    if (std::memcmp(&p.x, &x, 4) || std::memcmp(&p.y, &y, 4) || std::memcmp(&p.z, &z, 4)) {
      std::fclose(file);
      return false;
    }
  }
  std::fclose(file);
  file = std::fopen(model.tloPath.c_str(), "r");
  size_t corner = 0;
  bool inPart = false;
  while (std::fgets(line, sizeof line, file) && corner < mesh->parts[0].positions.size()) {
    if (std::strncmp(line, "usemtl", 6) == 0) {
      if (inPart) break;
      inPart = true;
      continue;
    }
    if (!inPart || line[0] != 'v' || line[1] != ' ') continue;
    float x, y, z;
    std::sscanf(line, "v %f %f %f", &x, &y, &z);
    const lw::Vector3& p = mesh->parts[0].positions[corner++];
    if (corner % 10 == 0 && (p.x != x || p.y != y || p.z != z)) {
      std::fclose(file);
      return false;
    }
  }
  std::fclose(file);
  return corner == mesh->parts[0].positions.size();
}

const Model& model() {
  static Model m = [] {
    Model made;
    made.folder = fs::temp_directory_path() / ("lw_io_bench_" + std::to_string(::getpid()));
    fs::create_directories(made.folder);
    made.objPath = (made.folder / "bench.obj").string();
    made.tloPath = (made.folder / "stage.tlo").string();
    writeText((made.folder / "bench.mtl").string(),
              "newmtl skin\nKd 1 0.8 0.7\nnewmtl cloth\nKd 0.2 0.3 0.8\n"
              "newmtl leather\nKd 0.4 0.2 0.1\nnewmtl metal\nKd 0.7 0.7 0.7\nKs 1 1 1\nNs 60\n");
    writeText(made.objPath, generateObj());
    std::string error;
    auto obj = lw::readObjFile(made.objPath, error);
    lw::writeTloFile(made.tloPath, *obj);
    made.objBytes = static_cast<long long>(fs::file_size(made.objPath));
    made.tloBytes = static_cast<long long>(fs::file_size(made.tloPath));
    std::atexit([] { fs::remove_all(model().folder); });
    return made;
  }();
  return m;
}

// A stage's own peak memory: freed heap pages go back to the system and the
// high-water mark is reset before the stage, and the resident size at that
// moment is the baseline the peak is measured from (Linux).
double statusMb(const char* key) {
  std::ifstream status("/proc/self/status");
  std::string line;
  while (std::getline(status, line)) {
    if (line.rfind(key, 0) == 0) return std::atof(line.c_str() + std::strlen(key)) / 1024.0;
  }
  return 0;
}
double baselineMb = 0;
void resetPeakMemory() {
  malloc_trim(0);
  if (std::FILE* f = std::fopen("/proc/self/clear_refs", "w")) {
    std::fputs("5", f);
    std::fclose(f);
  }
  baselineMb = statusMb("VmRSS:");
}
double peakMemoryMb() { return statusMb("VmHWM:") - baselineMb; }

void finish(benchmark::State& state, long long bytesPerIteration) {
  state.SetBytesProcessed(bytesPerIteration * static_cast<long long>(state.iterations()));
  state.counters["peak_MB"] = peakMemoryMb();
  state.counters["obj_MB"] = static_cast<double>(model().objBytes) / 1e6;
  state.counters["tlo_MB"] = static_cast<double>(model().tloBytes) / 1e6;
}

bool sameBits(const void* a, const void* b, size_t bytes) { return std::memcmp(a, b, bytes) == 0; }

// The mesh the Open command builds in memory against the TLO file round trip.
bool equalsFileRoundTrip(const lw::Mesh& built, const Model& m) {
  std::string error;
  auto fromFile = lw::readTloFile(m.tloPath, m.folder.string() + "/", error);
  if (!fromFile || fromFile->faceCount != built.faceCount ||
      fromFile->parts.size() != built.parts.size()) {
    return false;
  }
  for (size_t p = 0; p < built.parts.size(); ++p) {
    const lw::MeshPart &a = built.parts[p], &b = fromFile->parts[p];
    const size_t n = a.positions.size();
    if (a.materialIndex != b.materialIndex || a.vertexCount != b.vertexCount ||
        b.positions.size() != n || !sameBits(a.positions.data(), b.positions.data(), n * 12) ||
        !sameBits(a.normals.data(), b.normals.data(), n * 12) ||
        !sameBits(a.texCoords.data(), b.texCoords.data(), n * 8)) {
      return false;
    }
  }
  return true;
}

double processCpuMs() {
  timespec t{};
  clock_gettime(CLOCK_PROCESS_CPUTIME_ID, &t);
  return static_cast<double>(t.tv_sec) * 1e3 + static_cast<double>(t.tv_nsec) / 1e6;
}
double wallMs() {
  timespec t{};
  clock_gettime(CLOCK_MONOTONIC, &t);
  return static_cast<double>(t.tv_sec) * 1e3 + static_cast<double>(t.tv_nsec) / 1e6;
}

// OBJ -> Mesh, as the Open command runs it (with the triangle check, skin
// buffers and document updates).
void BM_OpenCommand(benchmark::State& state) {
  const Model& m = model();
  if (!agreesWithSscanf(m)) return state.SkipWithError("readers disagree with sscanf");
  {
    lw::SceneDocument doc;
    lw::NullShellUi ui;
    if (lw::openModelFile(doc, ui, m.objPath, "bench.obj").status != lw::LoadStatus::Loaded ||
        !equalsFileRoundTrip(*doc.mesh, m)) {
      return state.SkipWithError("the mesh differs from the TLO file round trip");
    }
  }
  resetPeakMemory();
  for (auto _ : state) {
    lw::SceneDocument doc;
    lw::NullShellUi ui;
    lw::LoadResult result = lw::openModelFile(doc, ui, m.objPath, "bench.obj");
    if (result.status != lw::LoadStatus::Loaded) {
      state.SkipWithError("load failed");
      break;
    }
    benchmark::DoNotOptimize(doc.mesh.get());
  }
  finish(state, m.objBytes);
}
BENCHMARK(BM_OpenCommand)->Unit(benchmark::kMillisecond)->UseRealTime();

// The Open command and fast_obj reading the same file, one after the other in
// each iteration; the counters are the least process CPU time and wall time of
// each over the run, and their ratios (Open / fast_obj).
void BM_OpenVersusFastObj(benchmark::State& state) {
  const Model& m = model();
  double openCpu = 1e30, openWall = 1e30, fastCpu = 1e30, fastWall = 1e30;
  for (auto _ : state) {
    double cpu = processCpuMs(), wall = wallMs();
    {
      lw::SceneDocument doc;
      lw::NullShellUi ui;
      if (lw::openModelFile(doc, ui, m.objPath, "bench.obj").status != lw::LoadStatus::Loaded) {
        state.SkipWithError("load failed");
        break;
      }
      benchmark::DoNotOptimize(doc.mesh.get());
    }
    openCpu = std::min(openCpu, processCpuMs() - cpu);
    openWall = std::min(openWall, wallMs() - wall);
    cpu = processCpuMs();
    wall = wallMs();
    fastObjMesh* parsed = fast_obj_read(m.objPath.c_str());
    const bool complete = parsed && parsed->face_count == 2u * kGridColumns * kGridRows &&
                          parsed->material_count == 4;
    if (parsed) fast_obj_destroy(parsed);
    fastCpu = std::min(fastCpu, processCpuMs() - cpu);
    fastWall = std::min(fastWall, wallMs() - wall);
    if (!complete) {
      state.SkipWithError("fast_obj did not read the whole model");
      break;
    }
  }
  state.counters["open_cpu_ms"] = openCpu;
  state.counters["fast_obj_cpu_ms"] = fastCpu;
  state.counters["ratio_cpu"] = openCpu / fastCpu;
  state.counters["open_wall_ms"] = openWall;
  state.counters["fast_obj_wall_ms"] = fastWall;
  state.counters["ratio_wall"] = openWall / fastWall;
}
BENCHMARK(BM_OpenVersusFastObj)->Unit(benchmark::kMillisecond)->UseRealTime()->Iterations(15);

void BM_Pipeline(benchmark::State& state) {
  const Model& m = model();
  resetPeakMemory();
  for (auto _ : state) {
    std::string error;
    lw::ObjConversion conversion = lw::convertObjToMesh(m.objPath, error);
    if (conversion.status != lw::ConvertStatus::Converted) {
      state.SkipWithError("conversion failed");
      break;
    }
    benchmark::DoNotOptimize(conversion.mesh.get());
  }
  finish(state, m.objBytes);
}
BENCHMARK(BM_Pipeline)->Unit(benchmark::kMillisecond)->UseRealTime();

void BM_ReadObj(benchmark::State& state) {
  const Model& m = model();
  resetPeakMemory();
  for (auto _ : state) {
    std::string error;
    auto obj = lw::readObjFile(m.objPath, error);
    benchmark::DoNotOptimize(obj.get());
  }
  finish(state, m.objBytes);
}
BENCHMARK(BM_ReadObj)->Unit(benchmark::kMillisecond)->UseRealTime();

void BM_BuildMesh(benchmark::State& state) {
  const Model& m = model();
  std::string error;
  auto obj = lw::readObjFile(m.objPath, error);
  resetPeakMemory();
  for (auto _ : state) {
    auto mesh = lw::buildMeshFromObj(*obj, m.folder.string() + "/", error);
    if (!mesh) {
      state.SkipWithError("build failed");
      break;
    }
    benchmark::DoNotOptimize(mesh.get());
  }
  finish(state, m.objBytes);
}
BENCHMARK(BM_BuildMesh)->Unit(benchmark::kMillisecond)->UseRealTime();

void BM_WriteTlo(benchmark::State& state) {
  const Model& m = model();
  std::string error;
  auto obj = lw::readObjFile(m.objPath, error);
  const std::string out = (m.folder / "written.tlo").string();
  resetPeakMemory();
  for (auto _ : state) {
    if (lw::writeTloFile(out, *obj) != 0) {
      state.SkipWithError("write failed");
      break;
    }
  }
  finish(state, m.tloBytes);
  std::remove(out.c_str());
}
BENCHMARK(BM_WriteTlo)->Unit(benchmark::kMillisecond)->UseRealTime();

void BM_ReadTlo(benchmark::State& state) {
  const Model& m = model();
  resetPeakMemory();
  for (auto _ : state) {
    std::string error;
    auto mesh = lw::readTloFile(m.tloPath, m.folder.string() + "/", error);
    benchmark::DoNotOptimize(mesh.get());
  }
  finish(state, m.tloBytes);
}
BENCHMARK(BM_ReadTlo)->Unit(benchmark::kMillisecond)->UseRealTime();

}  // namespace

BENCHMARK_MAIN();
