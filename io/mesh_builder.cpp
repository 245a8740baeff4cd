#include "io/mesh_builder.h"

#include <algorithm>
#include <vector>

#include "io/bmp.h"
#include "io/file_names.h"
#include "io/model_messages.h"
#include "io/mtl_reader.h"
#include "io/scan.h"
#include "io/text_format.h"

namespace lw {

namespace {

// The values a line "<key> a b ..." of `count` numbers printed with "%f" reads
// back as: the scan stops at the first number that does not read, and the rest
// keep the zero of a fresh corner.
template <int N>
void roundThroughText(const char* key, const float (&in)[N], float (&out)[N]) {
  char line[4 + N * (kMaxFixed6Chars + 1)];
  char* end = line;
  for (const char* k = key; *k; ++k) *end++ = *k;
  for (int i = 0; i < N; ++i) {
    *end++ = ' ';
    end = formatFixed6(in[i], end);
    out[i] = 0;
  }
  scanKeyFloats(std::string_view(line, static_cast<size_t>(end - line)), key, out, N);
}

// Each stored position, texture coordinate and normal rounded once; the
// corners then gather them.
struct RoundedValues {
  std::vector<Vector3> positions;
  std::vector<TexCoord> texCoords;
  std::vector<Vector3> normals;
};

RoundedValues roundValues(const ObjMesh& obj) {
  RoundedValues rounded;
  rounded.positions.resize(static_cast<size_t>(obj.vertexCount));
  for (size_t i = 0; i < rounded.positions.size(); ++i) {
    const Vector3& p = obj.positions[i];
    float out[3];
    roundThroughText("v", {p.x, p.y, p.z}, out);
    rounded.positions[i] = {out[0], out[1], out[2]};
  }
  rounded.texCoords.resize(static_cast<size_t>(obj.texCoordCount));
  for (size_t i = 0; i < rounded.texCoords.size(); ++i) {
    const ObjTexCoord& t = obj.texCoords[i];
    float out[2];
    roundThroughText("vt", {t.u, t.v}, out);
    rounded.texCoords[i] = {out[0], out[1]};
  }
  rounded.normals.resize(static_cast<size_t>(obj.normalCount));
  for (size_t i = 0; i < rounded.normals.size(); ++i) {
    const Vector3& n = obj.normals[i];
    float out[3];
    roundThroughText("vn", {n.x, n.y, n.z}, out);
    rounded.normals[i] = {out[0], out[1], out[2]};
  }
  return rounded;
}

int32_t findMaterial(const Mesh& mesh, const std::string& name) {
  for (size_t m = 0; m < mesh.materials.size(); ++m) {
    if (mesh.materials[m].name == name) return static_cast<int32_t>(m);
  }
  return -1;
}

// Where the corners of the next block go: the part begun last and how many of
// its corners are filled. A block's corners go on filling the part begun last
// and those beyond its size are dropped.
struct Fill {
  int32_t startedParts = 0;
  size_t filled = 0;
};

void startPart(Mesh& mesh, Fill& fill, int32_t materialIndex) {
  mesh.parts[static_cast<size_t>(fill.startedParts++)].materialIndex = materialIndex;
  fill.filled = 0;
}

// The corners of faces [firstFace, endFace) into the current part.
void fillBlock(Mesh& mesh, Fill& fill, const ObjMesh& obj, const RoundedValues& rounded,
               int32_t firstFace, int32_t endFace) {
  if (firstFace >= endFace) return;
  if (fill.startedParts == 0) {
    if (mesh.parts.empty()) return;
    startPart(mesh, fill, -1);  // faces before any material group: a part with no material
  }
  MeshPart& part = mesh.parts[static_cast<size_t>(fill.startedParts - 1)];
  const size_t first = 3 * static_cast<size_t>(firstFace);
  const size_t count = std::min(3 * static_cast<size_t>(endFace - firstFace),
                                static_cast<size_t>(part.vertexCount) - fill.filled);
  for (size_t k = 0; k < count; ++k) {
    const size_t c = first + k, at = fill.filled + k;
    part.positions[at] = rounded.positions[static_cast<size_t>(obj.positionIndices[c])];
    part.texCoords[at] = rounded.texCoords[static_cast<size_t>(obj.texCoordIndices[c])];
    part.normals[at] = rounded.normals[static_cast<size_t>(obj.normalIndices[c])];
  }
  fill.filled += count;
}

// The parts: faces before the first group (when there are any), then one per
// group, at most kMaxMeshParts; each sized and zero-filled.
void layOutParts(Mesh& mesh, const ObjMesh& obj) {
  std::vector<int32_t> partFaces;
  const int32_t leading = facesBeforeFirstGroup(obj);
  if (leading > 0) partFaces.push_back(leading);
  for (int32_t g = 0; g < obj.groupCount; ++g) {
    partFaces.push_back(obj.groupFaceCounts[static_cast<size_t>(g)]);
  }
  if (partFaces.size() > static_cast<size_t>(kMaxMeshParts)) partFaces.resize(kMaxMeshParts);
  mesh.parts.resize(partFaces.size());
  for (size_t p = 0; p < partFaces.size(); ++p) {
    MeshPart& part = mesh.parts[p];
    part.vertexCount = 3 * partFaces[p];
    part.positions.resize(static_cast<size_t>(part.vertexCount));
    part.normals.resize(static_cast<size_t>(part.vertexCount));
    part.texCoords.resize(static_cast<size_t>(part.vertexCount));
  }
}

}  // namespace

std::unique_ptr<Mesh> buildMeshFromObj(const ObjMesh& obj, const std::string& folder,
                                       std::string& errorText) {
  auto mesh = std::make_unique<Mesh>();
  mesh->faceCount = obj.faceCount;
  layOutParts(*mesh, obj);
  mesh->materialLibrary = obj.materialLibrary;
  if (!mesh->materialLibrary.empty()) {
    std::string ignored;
    if (readMaterialLibrary(resolveInFolder(folder, mesh->materialLibrary), *mesh, ignored) != 0) {
      errorText = kTloMaterialOpenMessage;
      return nullptr;
    }
  }
  const RoundedValues rounded = roundValues(obj);
  const int32_t partCount = mesh->partCount();
  Fill fill;
  // Group g's faces run from its first face to the next group's; each group
  // after the first block begins where the faces reach it, and a group that
  // begins after the last face begins nothing.
  int32_t start = 0;
  for (int32_t g = 0; g <= obj.groupCount; ++g) {
    const int32_t end =
        g < obj.groupCount ? obj.groups[static_cast<size_t>(g)].firstFace : obj.faceCount;
    fillBlock(*mesh, fill, obj, rounded, start, end);
    if (end >= obj.faceCount) break;
    const int32_t m = findMaterial(*mesh, obj.groups[static_cast<size_t>(g)].materialName);
    if (fill.startedParts < partCount) startPart(*mesh, fill, m);
    if (m >= 0 && !mesh->materials[static_cast<size_t>(m)].textureFile.empty()) {
      Material& material = mesh->materials[static_cast<size_t>(m)];
      material.texture = loadBmpTexture(resolveInFolder(folder, material.textureFile), errorText);
      if (!material.texture) {
        errorText = material.textureFile;
        return nullptr;
      }
    }
    start = end;
  }
  return mesh;
}

}  // namespace lw
