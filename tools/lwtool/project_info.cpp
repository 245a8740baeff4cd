// lwtool info PROJECT.ojp: what opening a project gives the program, and the
// project reading shared by the project commands.
#include <algorithm>
#include <map>

#include "core/shell_ui.h"
#include "io/project_reader.h"
#include "tools/lwtool/commands.h"

namespace lw::tool {

namespace {

std::string number(long long value) { return std::to_string(value); }

}  // namespace

int readProjectFile(SceneDocument& doc, const std::string& path, std::string& err) {
  NullShellUi ui;
  const ProjectResult result = readProject(doc, path, ui);
  if (result.code != kProjectRead) {
    err += refusalLine(result.title, result.message);
    return 1;
  }
  // Each line of a notice is a warning of its own.
  for (const Notice& n : result.notices) {
    for (size_t start = 0; start <= n.text.size();) {
      const size_t end = std::min(n.text.find('\n', start), n.text.size());
      err += "warning: " + refusalLine(n.title, n.text.substr(start, end - start));
      start = end + 1;
    }
  }
  return 0;
}

bool tooFewKeyframesForTime(const SceneDocument& doc, const char* command, std::string& err) {
  const size_t keyframes = doc.keyFrames ? doc.keyFrames->byTime.size() : 0;
  if (keyframes >= 2) return false;
  err += std::string("lwtool ") + command + ": --time needs at least two keyframes; the project has " +
         std::to_string(keyframes) + "\n";
  return true;
}

int projectInfo(const std::string& path, std::string& out, std::string& err) {
  SceneDocument doc;
  if (int status = readProjectFile(doc, path, err); status != 0) return status;
  out = "OJP " + utf8FromCp932(path) + "\n";
  out += "model: " + utf8FromCp932(doc.modelFileName) + "\n";
  out += "decorations: " + number(static_cast<long long>(doc.decorations.size())) + "\n";
  for (const auto& [key, mesh] : doc.decorations) out += "  " + utf8FromCp932(mesh->fileName) + "\n";
  const auto& parts = doc.skinBuffers->parts;
  long long corners = 0, weighted = 0;
  for (const SkinPart& part : parts) {
    corners += static_cast<long long>(part.skinPositions.size());
    for (const WeightList& w : part.skinWeights) weighted += w.empty() ? 0 : 1;
  }
  out += "parts: " + number(static_cast<long long>(parts.size())) + "\n";
  out += "corners: " + number(corners) + " (weighted " + number(weighted) + ")\n";
  out += "joints: " + number(static_cast<long long>(doc.skeleton.size())) + "\n";
  for (const auto& [name, joint] : doc.skeleton.joints) {
    out += "  " + number(joint->jointID) + " " + utf8FromCp932(name);
    if (joint->TreeName != name) out += " \"" + utf8FromCp932(joint->TreeName) + "\"";
    if (joint->parent) out += " <- " + utf8FromCp932(joint->parent->jointName);
    out += "\n";
  }
  const KeyframeStore& store = *doc.keyFrames;
  // Counted as listed: two keyframes at one time are one in the time order.
  out += "keyframes: " + number(static_cast<long long>(store.byTime.size())) + "\n";
  for (const auto& [time, kf] : store.byTime) {
    int hermite = 0;
    for (const auto& [name, pose] : kf->poses) hermite += pose.kf_hokanMode == 1;
    out += "  " + number(time) + " ms (#" + number(kf->number) + ")";
    if (hermite > 0) out += ", Hermite for " + number(hermite) + " joints";
    out += "\n";
  }
  return 0;
}

}  // namespace lw::tool
