// Writing the rigged model as glTF 2.0: "NAME.glb" (one binary file) or
// "NAME.gltf" (JSON, with its buffer in "NAME.bin" and each texture in
// "NAME_N.png" beside it).
//
// Content: one mesh with one primitive per part (part order), one vertex per
// corner (corner order, nothing welded) with the rest shape's position, normal
// and texture coordinate (v flipped, the image's first row being its top); one
// material per part's material with its diffuse colour and its BMP texture as a
// PNG image; one node per joint, named by its bone tree name in UTF-8, and a
// skin over all of them (see gltf/rig_export.h); one animation, sampled
// linearly, when the project has keyframes.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "core/document.h"
#include "gltf/rig_export.h"

namespace lw {

// True when a file title names a glTF file: its last "."-separated piece is
// "glb", "GLB", "gltf" or "GLTF" (other case mixtures are not, as for the
// program's other file types).
bool isGltfFileTitle(std::string_view fileTitle);

// True for a ".glb" title (binary), false for ".gltf".
bool isBinaryGltfTitle(std::string_view fileTitle);

// The files of an export, each name with its bytes. The first is the file at
// `path`; a ".gltf" export adds the buffer and the PNG images beside it.
struct GltfFiles {
  std::vector<std::pair<std::string, std::vector<uint8_t>>> files;
};

// Builds the export of the document with its rig. `path` is the chosen file
// (CP932); binary is chosen by isBinaryGltfTitle(fileTitle).
GltfFiles buildGltf(const SceneDocument& doc, const ExportRig& rig, const std::string& path,
                    const std::string& fileTitle);

// Writes every file through a temporary file in the same folder that then
// replaces the target, so a failed write leaves an existing file as it was.
// False when any file could not be written.
bool writeGltfFiles(const GltfFiles& gltf);

// Save as with a glTF name: builds the rig at kDefaultExportFps and writes it.
// Returns 0 when written, 1 when not (no message).
int exportGltf(SceneDocument& doc, const std::string& path, const std::string& fileTitle);


}  // namespace lw
