#include "gltf/gltf_save.h"

#include "gltf/gltf_writer.h"

namespace lw {

bool savesAsGltf(const SceneDocument& doc, const std::string& fileTitle) {
  return doc.decitionJointPosition == 1 && isGltfFileTitle(fileTitle);
}

SaveOutcome saveGltfFile(SceneDocument& doc, ShellUi& ui, const std::string& path,
                         const std::string& fileTitle) {
  if (exportGltf(doc, path, fileTitle) == 0) return SaveOutcome::Written;
  ui.showMessage(path + kSaveFailedSuffix, kSaveFailedTitle);
  return SaveOutcome::NotWritten;
}

}  // namespace lw
