// Frame times of the renderer on the offscreen Mesa context (software
// rasteriser): the editing frame and the playback frame for the sample
// character (framed so that it fills the view) and for a 100k-triangle skinned
// model, and a hover pass in vertex weighting over a 20k-corner model. Time is
// wall time and CPU is the whole process's (llvmpipe rasterises on threads of
// its own); a hover pass that misses its corner fails the benchmark.
#include <benchmark/benchmark.h>
#include <malloc.h>

#include <algorithm>
#include <cmath>
#include <memory>
#include <string>
#include <vector>

#include "anim/playback.h"
#include "core/document.h"
#include "core/shell_ui.h"
#include "edit/frame.h"
#include "io/project_reader.h"
#include "render/camera.h"
#include "render/gl_headers.h"
#include "render/offscreen_context.h"
#include "render/picking.h"
#include "render/scene.h"

namespace lw {
namespace {

constexpr int kWidth = 1024;
constexpr int kHeight = 768;

std::string samplePath() { return LW_SAMPLES_DIR "/character.ojp"; }

// Moves the camera (front view) so that the model's rest corners fill about 90 %
// of the view's height or width.
void frameModel(SceneDocument& doc) {
  Vector3 low{1e30f, 1e30f, 1e30f}, high{-1e30f, -1e30f, -1e30f};
  for (const SkinPart& part : doc.skinBuffers->parts) {
    for (const Vector3& p : part.skinPositions) {
      low = {std::min(low.x, p.x), std::min(low.y, p.y), std::min(low.z, p.z)};
      high = {std::max(high.x, p.x), std::max(high.y, p.y), std::max(high.z, p.z)};
    }
  }
  const double halfHeight = std::max(static_cast<double>(high.y - low.y) / 2,
                                     static_cast<double>(high.x - low.x) / 2 * kHeight / kWidth);
  const double halfAngle = kFieldOfViewDegrees / 2 * 3.14159265358979 / 180;
  const double distance = halfHeight / 0.9 / std::tan(halfAngle);
  doc.viewElevation = doc.viewAzimuth = 0;
  doc.cameraPanX = -(low.x + high.x) / 2;
  doc.cameraPanY = -(low.y + high.y) / 2;
  doc.cameraDistance = static_cast<float>(-distance - high.z);
}

// Share of the window's pixels that differ from the background in the last frame.
double coveredShare(const SceneDocument& doc) {
  std::vector<unsigned char> pixels(4u * kWidth * kHeight);
  glReadPixels(0, 0, kWidth, kHeight, GL_RGBA, GL_UNSIGNED_BYTE, pixels.data());
  const auto channel = [](float v) { return static_cast<int>(std::lround(v * 255)); };
  const int r = channel(doc.backgroundColour.r), g = channel(doc.backgroundColour.g),
            b = channel(doc.backgroundColour.b);
  size_t covered = 0;
  for (size_t i = 0; i < pixels.size(); i += 4) {
    const int away =
        std::abs(pixels[i] - r) + std::abs(pixels[i + 1] - g) + std::abs(pixels[i + 2] - b);
    covered += away > 3 ? 1 : 0;
  }
  return static_cast<double>(covered) / (kWidth * kHeight);
}

// The sample project as the Open command leaves it, skinning on, framed.
bool loadSample(SceneDocument& doc) {
  NullShellUi ui;
  if (readProject(doc, samplePath(), ui).code != kProjectRead) return false;
  doc.modelLoaded = 1;
  doc.drawMode = 4;
  doc.decitionJointPosition = 1;
  doc.do_skinning = 1;
  doc.editedJointName = doc.skeleton.joints.begin()->first;
  doc.clientWidth = kWidth;
  doc.clientHeight = kHeight;
  frameModel(doc);
  return true;
}

Joint* addJoint(SceneDocument& doc, const std::string& name, int id, Joint* parent, Vector3 at,
                float angle) {
  auto joint = std::make_unique<Joint>();
  joint->jointName = name;
  joint->jointID = id;
  joint->validJoint = 1;
  joint->parent = parent;
  // As fixing leaves them: the root's position is its world position, any other
  // joint's is its parent's rest bone vector.
  joint->initPoseBoneVector = parent ? at - parent->jointDrawPositionAfterPosEnter : at;
  joint->position = parent ? parent->initPoseBoneVector : at;
  joint->drawBoneVector = joint->initPoseBoneVector;
  joint->jointDrawPositionAfterPosEnter = at;
  joint->axisVector = {0, 0, 1};
  joint->axisAngle = angle;
  Joint* raw = joint.get();
  if (parent) parent->children.push_back(raw);
  doc.skeleton.joints[name] = raw;
  doc.skeleton.jointOrder.push_back(std::move(joint));
  return raw;
}

// A grid of `triangles` triangles in one part, every corner weighted to the
// two joints of a two-bone chain bent by `angle` degrees (so every corner is
// blended every frame).
void makeGridModel(SceneDocument& doc, int triangles, float angle) {
  auto mesh = std::make_unique<Mesh>();
  MeshPart part;
  const int side = static_cast<int>(std::ceil(std::sqrt(triangles / 2.0)));
  for (int t = 0; t < triangles; ++t) {
    const int cell = t / 2, cx = cell % side, cy = cell / side;
    const float x0 = -1 + 2.0f * cx / side, y0 = -1 + 2.0f * cy / side, s = 2.0f / side;
    const Vector3 a{x0, y0, 0}, b{x0 + s, y0, 0}, c{x0 + s, y0 + s, 0}, d{x0, y0 + s, 0};
    const Vector3 corners[2][3] = {{a, b, c}, {a, c, d}};
    for (const Vector3& v : corners[t % 2]) {
      part.positions.push_back(v);
      part.normals.push_back({0, 0, 1});
      part.texCoords.push_back({(v.x + 1) / 2, (v.y + 1) / 2});
    }
  }
  part.vertexCount = static_cast<int32_t>(part.positions.size());
  part.materialIndex = 0;
  Material material;
  material.diffuse[0] = material.diffuse[1] = material.diffuse[2] = 0.8f;
  mesh->materials.push_back(std::move(material));
  mesh->parts.push_back(std::move(part));
  mesh->faceCount = triangles;
  doc.skinBuffers = makeSkinBuffers(*mesh);
  for (WeightList& w : doc.skinBuffers->parts[0].skinWeights) {
    w = WeightList{{"Joint0_0", 0.6f}, {"Joint0_0_0", 0.4f}};
  }
  doc.mesh = std::move(mesh);
  Joint* root = addJoint(doc, "Joint0", 1, nullptr, {0, -1, 0}, 0);
  Joint* mid = addJoint(doc, "Joint0_0", 2, root, {0, 0, 0}, angle);
  addJoint(doc, "Joint0_0_0", 3, mid, {0, 1, 0}, angle);
  doc.modelLoaded = 1;
  doc.drawMode = 4;
  doc.decitionJointPosition = 1;
  doc.keyFrames->keyframeBoneView = 1;
  doc.do_skinning = 1;
  doc.editedJointName = "Joint0_0";
  doc.clientWidth = kWidth;
  doc.clientHeight = kHeight;
}

void runEditingFrames(benchmark::State& state, SceneDocument& doc) {
  RenderState rs;
  ViewInputState input;
  // The first frames compile the rasteriser's pipelines; leave them out.
  for (int warmUp = 0; warmUp < 2; ++warmUp) {
    prepareEditingFrame(doc);
    drawScene(doc, rs, input, false);
  }
  for (auto _ : state) {
    prepareEditingFrame(doc);
    setViewAndProjection(doc, false);
    benchmark::DoNotOptimize(drawScene(doc, rs, input, false));
    glFinish();
  }
  state.counters["covered"] = coveredShare(doc);
}

void BM_DrawSceneSample(benchmark::State& state) {
  auto context = createOffscreenContext(kWidth, kHeight);
  SceneDocument doc;
  if (!context || !loadSample(doc)) return state.SkipWithError("no context or sample");
  doc.shadowMap = static_cast<int32_t>(state.range(0));
  runEditingFrames(state, doc);
}
BENCHMARK(BM_DrawSceneSample)->Arg(0)->Arg(1)->ArgName("shadow")
    ->Unit(benchmark::kMillisecond)
    ->UseRealTime()
    ->MeasureProcessCPUTime();

void BM_DrawPlaybackFrameSample(benchmark::State& state) {
  auto context = createOffscreenContext(kWidth, kHeight);
  SceneDocument doc;
  if (!context || !loadSample(doc)) return state.SkipWithError("no context or sample");
  RenderState rs;
  int32_t t = 0;
  setViewAndProjection(doc, false);
  preparePlaybackFrame(doc);
  drawPlaybackFrame(doc, rs);
  for (auto _ : state) {
    poseAtTime(doc, t);
    t = (t + 16) % 2000;
    preparePlaybackFrame(doc);
    setViewAndProjection(doc, false);
    drawPlaybackFrame(doc, rs);
    glFinish();
  }
  state.counters["covered"] = coveredShare(doc);
}
BENCHMARK(BM_DrawPlaybackFrameSample)
    ->Unit(benchmark::kMillisecond)
    ->UseRealTime()
    ->MeasureProcessCPUTime();

void BM_DrawScene100kTriangles(benchmark::State& state) {
  auto context = createOffscreenContext(kWidth, kHeight);
  if (!context) return state.SkipWithError("no context");
  SceneDocument doc;
  makeGridModel(doc, 100000, 10);
  doc.shadowMap = static_cast<int32_t>(state.range(0));
  runEditingFrames(state, doc);
}
BENCHMARK(BM_DrawScene100kTriangles)->Arg(0)->Arg(1)->ArgName("shadow")
    ->Unit(benchmark::kMillisecond)
    ->UseRealTime()
    ->MeasureProcessCPUTime();

void BM_PickVertexWeighting20kCorners(benchmark::State& state) {
  auto context = createOffscreenContext(kWidth, kHeight);
  if (!context) return state.SkipWithError("no context");
  SceneDocument doc;
  makeGridModel(doc, 20000 / 3, 0);  // unbent: a corner sits at the window's centre
  RenderState rs;
  ViewInputState input;
  // What the 3D window's repaint does in a picking value: the picking pass, the
  // state machine's answer to it, then the normal frame.
  auto repaint = [&] {
    doc.editMode = 22;
    setViewAndProjection(doc, false);
    applyPickResult(doc, input, pickPass(doc, rs, input, kWidth / 2, kHeight / 2,
                                         PickChoice::Nearest));
    prepareEditingFrame(doc);
    setViewAndProjection(doc, false);
    drawScene(doc, rs, input, false);
  };
  for (int warmUp = 0; warmUp < 2; ++warmUp) repaint();
  for (auto _ : state) {
    repaint();
    glFinish();
    if (doc.editMode != kModeVertexPicked) {
      state.SkipWithError("a hover pass missed the corner under the cursor");
      break;
    }
  }
}
BENCHMARK(BM_PickVertexWeighting20kCorners)
    ->Unit(benchmark::kMillisecond)
    ->UseRealTime()
    ->MeasureProcessCPUTime();

// The selection-mode half of that pass alone (the normal frame that follows a
// pick is left out): what sending only the markers in the pick region saves.

void BM_PickingHalfVertexWeighting20kCorners(benchmark::State& state) {
  auto context = createOffscreenContext(kWidth, kHeight);
  if (!context) return state.SkipWithError("no context");
  SceneDocument doc;
  makeGridModel(doc, 20000 / 3, 0);
  RenderState rs;
  ViewInputState input;
  for (auto _ : state) {
    doc.editMode = 22;
    setViewAndProjection(doc, false);
    const PickResult result =
        pickPass(doc, rs, input, kWidth / 2, kHeight / 2, PickChoice::Nearest);
    glFinish();
    if (result.hitCount == 0) {
      state.SkipWithError("a picking pass missed the corner under the cursor");
      break;
    }
  }
}
BENCHMARK(BM_PickingHalfVertexWeighting20kCorners)
    ->Unit(benchmark::kMillisecond)
    ->UseRealTime()
    ->MeasureProcessCPUTime();

// The normal frame of vertex weighting alone: 20k markers.
void BM_DrawVertexWeighting20kCorners(benchmark::State& state) {
  auto context = createOffscreenContext(kWidth, kHeight);
  if (!context) return state.SkipWithError("no context");
  SceneDocument doc;
  makeGridModel(doc, 20000 / 3, 0);
  doc.editMode = 21;
  runEditingFrames(state, doc);
}
BENCHMARK(BM_DrawVertexWeighting20kCorners)
    ->Unit(benchmark::kMillisecond)
    ->UseRealTime()
    ->MeasureProcessCPUTime();

}  // namespace
}  // namespace lw

int main(int argc, char** argv) {
#ifdef __GLIBC__
  // The software rasteriser frees its per-frame memory at the end of each
  // frame. With glibc's default trim threshold the freed top of the heap can go
  // back to the kernel every frame, and the next frame faults the same pages in
  // again: up to 60 ms of page faults a frame, depending on what the process
  // happened to allocate before rather than on what is drawn. Keeping freed
  // memory in the process makes the frames measure the drawing.
  mallopt(M_TRIM_THRESHOLD, 256 << 20);
#endif
  benchmark::Initialize(&argc, argv);
  if (benchmark::ReportUnrecognizedArguments(argc, argv)) return 1;
  benchmark::RunSpecifiedBenchmarks();
  benchmark::Shutdown();
  return 0;
}
