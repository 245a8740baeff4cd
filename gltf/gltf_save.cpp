#include "gltf/gltf_save.h"

#include "gltf/gltf_writer.h"

namespace lw {

bool savesAsGltf(const SceneDocument& doc, const std::string& fileTitle) {
  return doc.decitionJointPosition == 1 && isGltfFileTitle(fileTitle);
}

FileSaveResult saveGltfFile(SceneDocument& doc, const std::string& path,
                            const std::string& fileTitle) {
  if (exportGltf(doc, path, fileTitle) == 0) return {SaveOutcome::Written, "", ""};
  return saveFailed(path);
}

}  // namespace lw
