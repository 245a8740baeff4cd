// lwtool export PROJECT.ojp OUT.obj [--time MS]: the project's model as OBJ, in
// the pose stored in the project or, with a time, as playback shows it then.
#include <charconv>

#include "anim/playback.h"
#include "anim/playback_deform.h"
#include "io/model_messages.h"
#include "io/obj_export.h"
#include "io/project_save.h"
#include "tools/lwtool/commands.h"

namespace lw::tool {

namespace {

constexpr const char* kExportUsage = "usage: lwtool export PROJECT.ojp OUT.obj [--time MS]\n";

bool parseTime(const std::string& text, int32_t& value) {
  auto [end, ec] = std::from_chars(text.data(), text.data() + text.size(), value);
  return ec == std::errc() && end == text.data() + text.size();
}

}  // namespace

int runExport(const Args& args, std::string& out, std::string& err) {
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
  out = "wrote " + cp932ToUtf8(path) + "\n";
  return 0;
}

}  // namespace lw::tool
