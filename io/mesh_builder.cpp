#include "io/mesh_builder.h"

#include <algorithm>
#include <cmath>
#include <cstring>
#include <vector>

#include "io/mtl_reader.h"
#include "io/scan.h"
#include "io/text_format.h"

namespace lw {

float fixed6ReadBack(float value) {
  uint64_t millionths;
  if (fixed6Millionths(value, millionths)) {
    // millionths / 10^6 rounded to a double (exactly: millionths is below 2^53)
    // rounds on to the nearest float as the text would, unless the double falls
    // exactly halfway between two floats, where rounding twice may differ.
    const double quotient = static_cast<double>(millionths) / 1e6;
    uint64_t bits;
    std::memcpy(&bits, &quotient, sizeof bits);
    constexpr uint64_t kDroppedBits = (uint64_t{1} << 29) - 1;  // 52 - 23 fraction bits
    if ((bits & kDroppedBits) != (uint64_t{1} << 28)) {
      const float magnitude = static_cast<float>(quotient);
      return std::signbit(value) ? -magnitude : magnitude;
    }
  }
  char text[kMaxFixed6Chars];
  const char* p = text;
  float result = 0;
  scanFloat(p, formatFixed6(value, text), result);
  return result;
}

namespace {

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
    rounded.positions[i] = {fixed6ReadBack(p.x), fixed6ReadBack(p.y), fixed6ReadBack(p.z)};
  }
  rounded.texCoords.resize(static_cast<size_t>(obj.texCoordCount));
  for (size_t i = 0; i < rounded.texCoords.size(); ++i) {
    const ObjTexCoord& t = obj.texCoords[i];
    rounded.texCoords[i] = {fixed6ReadBack(t.u), fixed6ReadBack(t.v)};
  }
  rounded.normals.resize(static_cast<size_t>(obj.normalCount));
  for (size_t i = 0; i < rounded.normals.size(); ++i) {
    const Vector3& n = obj.normals[i];
    rounded.normals[i] = {fixed6ReadBack(n.x), fixed6ReadBack(n.y), fixed6ReadBack(n.z)};
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
  errorText.clear();  // from here on, text left in it with a mesh is a warning
  mesh->materialLibrary = obj.materialLibrary;
  readModelLibrary(*mesh, folder, errorText);  // plain materials when it fails
  const RoundedValues rounded = roundValues(obj);
  const int32_t partCount = mesh->partCount();
  Fill fill;
  // Group g's faces run from its first face to the next group's; each group
  // after the first block begins its part where the faces reach it, a group
  // without faces at the end included.
  int32_t start = 0;
  for (int32_t g = 0; g <= obj.groupCount; ++g) {
    const int32_t end =
        g < obj.groupCount ? obj.groups[static_cast<size_t>(g)].firstFace : obj.faceCount;
    fillBlock(*mesh, fill, obj, rounded, start, end);
    if (g == obj.groupCount) break;
    const int32_t m = findMaterial(*mesh, obj.groups[static_cast<size_t>(g)].materialName);
    if (fill.startedParts < partCount) startPart(*mesh, fill, m);
    if (m >= 0 && !mesh->materials[static_cast<size_t>(m)].textureFile.empty()) {
      // The part is drawn untextured when it fails; the first failure is told.
      loadMaterialTexture(mesh->materials[static_cast<size_t>(m)], folder, errorText);
    }
    start = end;
  }
  return mesh;
}

}  // namespace lw
