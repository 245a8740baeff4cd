// Save as with a glTF name, once the joint positions are fixed: the other file
// types keep their own writers (io/project_save.h).
#pragma once

#include <string>

#include "core/document.h"
#include "io/project_save.h"

namespace lw {

// True when Save as writes the chosen file as glTF: the title names a glTF file
// (isGltfFileTitle) and the joint positions are fixed.
bool savesAsGltf(const SceneDocument& doc, const std::string& fileTitle);

// Writes the glTF export (exportGltf). A write that fails gives the path
// followed by kSaveFailedSuffix titled kSaveFailedTitle, as the other writers'
// failures do (saveFailed); an existing file keeps its contents.
FileSaveResult saveGltfFile(SceneDocument& doc, const std::string& path,
                            const std::string& fileTitle);

}  // namespace lw
