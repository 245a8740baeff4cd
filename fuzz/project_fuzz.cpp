// Project text through the project reader (the model comes from memory: two
// parts of three and six corners, and a decoration), then the writer over what
// was read.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <memory>
#include <string>
#include <string_view>

#include "anim/playback.h"
#include "core/document.h"
#include "core/keyframes.h"
#include "core/shell_ui.h"
#include "io/project_reader.h"
#include "io/project_writer.h"

namespace {

lw::ModelLoadResult loadFromMemory(const std::string& path, std::unique_ptr<lw::Mesh>& mesh,
                                   std::string& errorText) {
  if (path == "obj-fails.obj") {
    errorText = "x";
    return lw::ModelLoadResult::ObjFailed;
  }
  if (path == "tlo-fails.obj") return lw::ModelLoadResult::TloFailed;
  mesh = std::make_unique<lw::Mesh>();
  for (int corners : {3, 6}) {
    lw::MeshPart part;
    part.positions.resize(static_cast<size_t>(corners));
    part.normals.resize(static_cast<size_t>(corners));
    part.texCoords.resize(static_cast<size_t>(corners));
    part.vertexCount = corners;
    mesh->parts.push_back(std::move(part));
  }
  return lw::ModelLoadResult::Loaded;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  const std::string_view text(reinterpret_cast<const char*>(data), size);
  lw::SceneDocument doc;
  lw::NullShellUi ui;
  const lw::ProjectResult result = lw::readProjectText(doc, text, "", ui, loadFromMemory);
  if (result.code != lw::kProjectRead) {
    // Every failure says why.
    if (result.message.empty() || result.title.empty()) std::abort();
    return 0;
  }
  if (!doc.mesh || !doc.skinBuffers) std::abort();
  // The keyframes as playback takes them: the whole range, and the pose at its
  // ends and in its middle (times may lie at both ends of the int range).
  const lw::KeyframeStore& store = *doc.keyFrames;
  if (!store.byTime.empty()) {
    const int32_t first = store.byTime.begin()->first;
    const int32_t last = store.byTime.rbegin()->first;
    lw::setPlaybackRange(*doc.keyFrames, last, first);
    const int32_t middle = static_cast<int32_t>((static_cast<int64_t>(first) + last) / 2);
    for (int32_t t : {first, middle, last}) lw::poseAtTime(doc, t);
  }
  const std::string written = lw::projectText(doc);
  if (written.rfind(lw::kProjectHeader, 0) != 0) std::abort();
  return 0;
}
