// lwtool export PROJECT.ojp OUT.obj [--time MS]: the project's model as OBJ, in
// the pose stored in the project or, with a time, as playback shows it then.
// lwtool export PROJECT.ojp OUT.glb|OUT.gltf [--fps N]: the rigged, animated
// model as glTF, with how closely its skin reproduces the program's deformation.
#include <charconv>
#include <cstdio>

#include "anim/playback.h"
#include "anim/playback_deform.h"
#include "gltf/gltf_writer.h"
#include "gltf/rig_export.h"
#include "io/model_messages.h"
#include "io/obj_export.h"
#include "io/project_save.h"
#include "tools/lwtool/commands.h"

namespace lw::tool {

namespace {

constexpr const char* kExportUsage =
    "usage: lwtool export PROJECT.ojp OUT.obj [--time MS]\n"
    "       lwtool export PROJECT.ojp OUT.glb|OUT.gltf [--fps N]\n";
constexpr int32_t kMaxExportFps = 1000;  // the finest grid on whole milliseconds

bool parseTime(const std::string& text, int32_t& value) {
  auto [end, ec] = std::from_chars(text.data(), text.data() + text.size(), value);
  return ec == std::errc() && end == text.data() + text.size();
}

int runGltfExport(const Args& args, std::string& out, std::string& err) {
  int32_t fps = kDefaultExportFps;
  const bool paced = args.size() == 4 && args[2] == "--fps";
  if (!(args.size() == 2 || paced) || (paced && (!parseTime(args[3], fps) || fps < 1 ||
                                                 fps > kMaxExportFps))) {
    err = kExportUsage;
    return 2;
  }
  SceneDocument doc;
  if (int status = readProjectFile(doc, args[0], err); status != 0) return status;
  const std::string& path = args[1];
  const ExportRig rig = buildExportRig(doc, fps);
  if (!writeGltfFiles(buildGltf(doc, rig, path, fileTitleOf(path)))) {
    err = refusalLine(kSaveFailedTitle, path + kSaveFailedSuffix);
    return 1;
  }
  const RigFidelity fidelity = measureRigFidelity(doc, rig);
  char figures[256];
  std::snprintf(figures, sizeof figures,
                "corners not exactly representable: %d of %d\n"
                "largest difference over %zu sampled times: %.3g of the model's height\n",
                fidelity.inexactCorners, fidelity.cornerCount, rig.samples.size(),
                fidelity.largestDifference);
  out = "wrote " + utf8FromCp932(path) + "\n" + figures;
  return 0;
}

}  // namespace

int runExport(const Args& args, std::string& out, std::string& err) {
  if (args.size() >= 2 && isGltfFileTitle(fileTitleOf(args[1]))) {
    return runGltfExport(args, out, err);
  }
  int32_t timeMs = 0;
  const bool timed = args.size() == 4 && args[2] == "--time";
  if (!(args.size() == 2 || timed) || (timed && !parseTime(args[3], timeMs))) {
    err = kExportUsage;
    return 2;
  }
  SceneDocument doc;
  if (int status = readProjectFile(doc, args[0], err); status != 0) return status;
  const std::string& path = args[1];
  if (outputIsAnInput(path, projectInputs(doc, args[0]), err)) return 1;
  if (timed && tooFewKeyframesForTime(doc, "export", err)) return 1;
  if (timed && !doc.skeleton.empty() && poseAtTime(doc, timeMs)) {
    // Playback deforms only once a joint has been picked; any joint will do here.
    if (doc.editedJointName.empty()) doc.editedJointName = doc.skeleton.joints.begin()->first;
    for (int p = 0; p < doc.mesh->partCount(); ++p) {
      deformPartForPlayback(doc, p, doc.mesh->parts[static_cast<size_t>(p)].vertexCount);
    }
  }
  if (exportObj(doc, path, fileTitleOf(path)) != 0) {
    err = refusalLine(kSaveFailedTitle, path + kSaveFailedSuffix);
    return 1;
  }
  out = "wrote " + utf8FromCp932(path) + "\n";
  return 0;
}

}  // namespace lw::tool
