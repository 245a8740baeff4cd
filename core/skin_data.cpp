#include "core/skin_data.h"

#include "core/mesh.h"

namespace lw {

std::unique_ptr<SkinBuffers> makeSkinBuffers(const Mesh& mesh) {
  auto buffers = std::make_unique<SkinBuffers>();
  buffers->parts.resize(mesh.parts.size());
  for (size_t p = 0; p < mesh.parts.size(); ++p) {
    const MeshPart& part = mesh.parts[p];
    SkinPart& skin = buffers->parts[p];
    skin.skinNormals = part.normals;
    skin.skinRecords.resize(part.positions.size());
    for (size_t c = 0; c < part.positions.size(); ++c) skin.skinRecords[c].position = part.positions[c];
  }
  return buffers;
}

}  // namespace lw
