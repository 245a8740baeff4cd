// Saving and opening a project of a 300,000-corner model with 40 joints and 20
// keyframes; the argument is the number of weights per corner (0: only the
// corners' "nor" and "vec" lines, 2: two "verJnm"/"verInf" pairs more). Opening
// takes the model from memory instead of its OBJ, so the figures are those of
// the project text itself. Counters: bytes/s of the project text. Each benchmark
// fails unless what is read back is what was written: the saved file holds the
// document's project text, and the document read from it writes the same text.
#include <benchmark/benchmark.h>

#include <cmath>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <memory>
#include <string>

#include "core/document.h"
#include "core/shell_ui.h"
#include "io/project_reader.h"
#include "io/project_writer.h"

namespace {

namespace fs = std::filesystem;

constexpr int kParts = 4;
constexpr int kCornersPerPart = 75000;
constexpr int kJoints = 40;
constexpr int kKeyframes = 20;

std::unique_ptr<lw::Mesh> benchMesh() {
  auto mesh = std::make_unique<lw::Mesh>();
  for (int p = 0; p < kParts; ++p) {
    lw::MeshPart part;
    part.positions.resize(kCornersPerPart);
    part.normals.resize(kCornersPerPart);
    part.texCoords.resize(kCornersPerPart);
    part.vertexCount = kCornersPerPart;
    mesh->parts.push_back(std::move(part));
  }
  return mesh;
}

// A chain of joints with branches every fourth joint, corners spread over them.
void buildDocument(lw::SceneDocument& doc, int weightsPerCorner) {
  doc.modelFileName = "bench.obj";
  doc.do_skinning = 1;  // as opening a project leaves it, so the read-back compares equal
  doc.mesh = benchMesh();
  doc.skinBuffers = lw::makeSkinBuffers(*doc.mesh);
  std::vector<lw::Joint*> joints;
  for (int i = 0; i < kJoints; ++i) {
    auto joint = std::make_unique<lw::Joint>();
    lw::Joint& j = *joint;
    lw::Joint* parent = i == 0 ? nullptr : joints[static_cast<size_t>(i % 4 == 0 ? i / 2 : i - 1)];
    j.jointID = i + 1;
    j.jointName = parent ? parent->jointName + "_" + std::to_string(parent->children.size()) : "Joint0";
    j.TreeName = j.jointName;
    j.validJoint = 1;
    j.leafFlag = 1;
    j.parent = parent;
    if (parent) {
      parent->children.push_back(&j);
      parent->leafFlag = 0;
    }
    float a = 0.37f * static_cast<float>(i);
    j.position = {std::sin(a), 1.0f + 0.01f * static_cast<float>(i), std::cos(a)};
    j.initPoseBoneVector = {0.1f * std::cos(a), 0.123456f, -0.0421f * std::sin(a)};
    j.drawBoneVector = j.initPoseBoneVector;
    j.axisVector = {0.577f, -0.577f, 0.577f};
    j.axisAngle = 12.5f * static_cast<float>(i);
    j.rotationJointQuaternion = {0.9659258f, 0.1f * std::sin(a), 0.2588190f, -0.01f};
    doc.skeleton.joints[j.jointName] = &j;
    doc.skeleton.jointOrder.push_back(std::move(joint));
    joints.push_back(&j);
  }
  for (int p = 0; p < kParts; ++p) {
    lw::SkinPart& part = doc.skinBuffers->parts[static_cast<size_t>(p)];
    for (int c = 0; c < kCornersPerPart; ++c) {
      float t = static_cast<float>(c) * 0.0001f + static_cast<float>(p);
      part.skinPositions[static_cast<size_t>(c)] = {std::sin(t) * 0.8f, t * 0.05f, std::cos(t) * 0.25f};
      part.skinNormals[static_cast<size_t>(c)] = {std::cos(t), 0.0f, -std::sin(t)};
      const lw::Joint& a = *joints[static_cast<size_t>(c % kJoints)];
      const lw::Joint& b = *joints[static_cast<size_t>((c + 7) % kJoints)];
      if (weightsPerCorner > 0) part.skinWeights[static_cast<size_t>(c)].push_back({a.jointName, 0.75f});
      if (weightsPerCorner > 1) part.skinWeights[static_cast<size_t>(c)].push_back({b.jointName, 0.25f});
    }
  }
  for (int k = 0; k < kKeyframes; ++k) {
    for (lw::Joint* j : joints) j->axisAngle += 3.3f;
    lw::KeyFrame& kf = lw::createKeyFrame(*doc.keyFrames, doc.skeleton, 100 * k);
    for (auto& [name, pose] : kf.poses) pose.kf_hokanMode = k % 2;
  }
}

struct BenchFiles {
  fs::path folder = fs::temp_directory_path() / "lw_project_bench";
  std::string path = (folder / "bench.ojp").string();
  BenchFiles() { fs::create_directories(folder); }
  ~BenchFiles() { fs::remove_all(folder); }
};

std::string fileText(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

// The first line where two texts differ ("line N: ... / ..."), or "" when equal.
std::string firstDifference(const std::string& got, const std::string& want) {
  size_t start = 0;
  for (int line = 1;; ++line) {
    const size_t gotEnd = got.find('\n', start), wantEnd = want.find('\n', start);
    const std::string a = got.substr(start, gotEnd - start);
    const std::string b = want.substr(start, wantEnd - start);
    if (a != b || (gotEnd == std::string::npos) != (wantEnd == std::string::npos)) {
      return "line " + std::to_string(line) + ": " + a + " / " + b;
    }
    if (gotEnd == std::string::npos) return "";
    start = gotEnd + 1;
  }
}

void BM_ProjectSave(benchmark::State& state) {
  lw::SceneDocument doc;
  buildDocument(doc, static_cast<int>(state.range(0)));
  BenchFiles files;
  size_t bytes = 0;
  for (auto _ : state) {
    if (lw::writeProject(doc, files.path) != 0) {
      state.SkipWithError("not written");
      break;
    }
    bytes = fs::file_size(files.path);
  }
  if (!state.error_occurred()) {
    const std::string difference = firstDifference(fileText(files.path), lw::projectText(doc));
    if (!difference.empty()) {
      const std::string message = "the saved file is not the document's project text: " + difference;
      state.SkipWithError(message.c_str());
    }
  }
  state.SetBytesProcessed(static_cast<int64_t>(bytes) * state.iterations());
  state.counters["file_MB"] = static_cast<double>(bytes) / 1e6;
}
BENCHMARK(BM_ProjectSave)->Arg(0)->Arg(2)->Unit(benchmark::kMillisecond);

void BM_ProjectText(benchmark::State& state) {
  lw::SceneDocument doc;
  buildDocument(doc, static_cast<int>(state.range(0)));
  size_t bytes = 0;
  for (auto _ : state) {
    std::string text = lw::projectText(doc);
    bytes = text.size();
    benchmark::DoNotOptimize(text.data());
  }
  state.SetBytesProcessed(static_cast<int64_t>(bytes) * state.iterations());
}
BENCHMARK(BM_ProjectText)->Arg(0)->Arg(2)->Unit(benchmark::kMillisecond);

void BM_ProjectOpen(benchmark::State& state) {
  BenchFiles files;
  {
    lw::SceneDocument doc;
    buildDocument(doc, static_cast<int>(state.range(0)));
    if (lw::writeProject(doc, files.path) != 0) return state.SkipWithError("not written");
  }
  const size_t bytes = fs::file_size(files.path);
  const std::string written = fileText(files.path);
  lw::ProjectModelLoader fromMemory = [](const std::string&, std::unique_ptr<lw::Mesh>& mesh,
                                         std::string&) {
    mesh = benchMesh();
    return lw::ModelLoadResult::Loaded;
  };
  lw::NullShellUi ui;
  for (auto _ : state) {
    state.PauseTiming();
    auto doc = std::make_unique<lw::SceneDocument>();
    state.ResumeTiming();
    if (lw::readProject(*doc, files.path, ui, fromMemory).code != lw::kProjectRead) {
      state.SkipWithError("not read");
      break;
    }
    state.PauseTiming();
    if (state.iterations() == 0) {
      const std::string difference = firstDifference(lw::projectText(*doc), written);
      if (!difference.empty()) {
        const std::string message = "the project read back differs from the one written: " + difference;
        state.SkipWithError(message.c_str());
        break;
      }
    }
    doc.reset();
    state.ResumeTiming();
  }
  state.SetBytesProcessed(static_cast<int64_t>(bytes) * state.iterations());
}
BENCHMARK(BM_ProjectOpen)->Arg(0)->Arg(2)->Unit(benchmark::kMillisecond);

}  // namespace

BENCHMARK_MAIN();
