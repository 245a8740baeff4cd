#include "io/obj_reader.h"

#include <algorithm>

#include "io/line_reader.h"
#include "io/model_messages.h"
#include "io/scan.h"

namespace lw {

namespace {

struct LineCounts {
  int32_t positions = 0, texCoords = 0, normals = 0, faces = 0;
};

LineCounts countLines(LineReader& reader) {
  LineCounts counts;
  std::string_view line;
  while (reader.next(line)) {
    if (line.empty()) continue;
    if (line[0] == 'v') {
      char second = line.size() > 1 ? line[1] : '\0';
      if (second == 'n') {
        ++counts.normals;
      } else if (second == 't') {
        ++counts.texCoords;
      } else {
        ++counts.positions;
      }
    } else if (line[0] == 'f') {
      ++counts.faces;
    }
  }
  return counts;
}

bool startsWith(std::string_view line, std::string_view key) {
  return line.size() >= key.size() && line.compare(0, key.size(), key) == 0;
}

// A 1-based OBJ index inside an array of `count` items (no subtraction, so the
// smallest int cannot overflow).
bool inRange(int32_t number, int32_t count) { return number >= 1 && number <= count; }

// A mesh whose arrays have the sizes counted in the first pass.
std::unique_ptr<ObjMesh> sizedMesh(const LineCounts& counts) {
  auto mesh = std::make_unique<ObjMesh>();
  mesh->positions.resize(static_cast<size_t>(counts.positions));
  mesh->normals.resize(static_cast<size_t>(counts.normals));
  mesh->texCoords.resize(static_cast<size_t>(counts.texCoords));
  const size_t indexCapacity = 3 * static_cast<size_t>(counts.faces);
  mesh->positionIndices.resize(indexCapacity);
  mesh->normalIndices.resize(indexCapacity);
  mesh->texCoordIndices.resize(indexCapacity);
  return mesh;
}

// A "usemtl" line opens a group at the next face. false when every group slot
// is taken.
bool startGroup(std::string_view line, ObjMesh& mesh) {
  if (mesh.groupCount == kMaxMaterialGroups) return false;
  ObjMaterialGroup& group = mesh.groups[static_cast<size_t>(mesh.groupCount)];
  group.firstFace = mesh.faceCount;
  scanKeyWord(line, "usemtl", group.materialName);
  ++mesh.groupCount;
  return true;
}

// A "v", "vt" or "vn" line, scanned into `scanned` (which keeps what a failed
// scan does not overwrite) and stored while its array has room.
void storeVertexLine(std::string_view line, const LineCounts& counts, float scanned[3],
                     ObjMesh& mesh) {
  char second = line.size() > 1 ? line[1] : '\0';
  if (second == 'n') {
    scanKeyFloats(line, "vn", scanned, 3);
    if (mesh.normalCount < counts.normals) {
      mesh.normals[static_cast<size_t>(mesh.normalCount++)] = {scanned[0], scanned[1], scanned[2]};
    }
  } else if (second == 't') {
    scanKeyFloats(line, "vt", scanned, 2);
    if (mesh.texCoordCount < counts.texCoords) {
      mesh.texCoords[static_cast<size_t>(mesh.texCoordCount++)] = {scanned[0], scanned[1],
                                                                   scanned[2]};
    }
  } else {
    scanKeyFloats(line, "v", scanned, 3);
    if (mesh.vertexCount < counts.positions) {
      mesh.positions[static_cast<size_t>(mesh.vertexCount++)] = {scanned[0], scanned[1],
                                                                 scanned[2]};
    }
  }
}

// Whether every index of a face's corners (position/texture/normal, 1-based)
// names an item. Every "v", "vt" and "vn" line is stored, so the counted sizes
// are the final ones.
bool cornersInRange(const int32_t corner[9], const LineCounts& counts) {
  for (int c = 0; c < 3; ++c) {
    if (!inRange(corner[3 * c], counts.positions) ||
        !inRange(corner[3 * c + 1], counts.texCoords) ||
        !inRange(corner[3 * c + 2], counts.normals)) {
      return false;
    }
  }
  return true;
}

// Appends a face's 0-based indices and counts it in the open group.
void storeFace(const int32_t corner[9], ObjMesh& mesh) {
  size_t at = 3 * static_cast<size_t>(mesh.faceCount);
  for (int c = 0; c < 3; ++c) {
    mesh.positionIndices[at + static_cast<size_t>(c)] = corner[3 * c] - 1;
    mesh.texCoordIndices[at + static_cast<size_t>(c)] = corner[3 * c + 1] - 1;
    mesh.normalIndices[at + static_cast<size_t>(c)] = corner[3 * c + 2] - 1;
  }
  ++mesh.faceCount;
  if (mesh.groupCount > 0) ++mesh.groupFaceCounts[static_cast<size_t>(mesh.groupCount - 1)];
}

// The second pass: every line stored into `mesh`. false with the message in
// `errorText` when a face's index is out of range or there are too many groups.
bool storeLines(LineReader& reader, const LineCounts& counts, ObjMesh& mesh,
                std::string& errorText) {
  float scanned[3] = {0, 0, 0};  // shared by v, vt and vn lines: a failed scan keeps these
  std::string_view line;
  while (reader.next(line)) {
    if (line.empty()) continue;
    if (startsWith(line, "mtllib")) scanKeyWord(line, "mtllib", mesh.materialLibrary);
    if (startsWith(line, "usemtl") && !startGroup(line, mesh)) {
      errorText = kObjTooManyPartsMessage;
      return false;
    }
    if (line[0] == 'v') storeVertexLine(line, counts, scanned, mesh);
    int32_t corner[9];
    if (line[0] == 'f' && scanFaceLine(line, corner) == 9 && mesh.faceCount < counts.faces) {
      if (!cornersInRange(corner, counts)) {
        errorText = std::to_string(reader.lineNumber()) + kObjIndexRangeMessage;
        return false;
      }
      storeFace(corner, mesh);
    }
  }
  return true;
}

std::unique_ptr<ObjMesh> readObj(LineReader& reader, std::string& errorText) {
  const LineCounts counts = countLines(reader);
  if (counts.positions == 0 || counts.texCoords == 0 || counts.normals == 0 ||
      counts.faces == 0) {
    errorText = kObjCountsMessage;
    return nullptr;
  }
  std::unique_ptr<ObjMesh> mesh = sizedMesh(counts);
  reader.rewind();
  if (!storeLines(reader, counts, *mesh, errorText)) return nullptr;
  // Faces before the first group become a part of their own, which needs a slot too.
  if (mesh->groupCount == kMaxMaterialGroups && facesBeforeFirstGroup(*mesh) > 0) {
    errorText = kObjTooManyPartsMessage;
    return nullptr;
  }
  return mesh;
}

}  // namespace

int32_t facesBeforeFirstGroup(const ObjMesh& mesh) {
  return mesh.groupCount > 0 ? mesh.groups[0].firstFace : mesh.faceCount;
}

std::unique_ptr<ObjMesh> readObjFile(const std::string& path, std::string& errorText) {
  LineReader reader;
  if (!reader.openFile(path)) {
    errorText = path + kCannotOpenSuffix;
    return nullptr;
  }
  return readObj(reader, errorText);
}

std::unique_ptr<ObjMesh> readObjText(std::string_view text, std::string& errorText) {
  LineReader reader;
  reader.openText(text);
  return readObj(reader, errorText);
}

int firstNonTriangleLine(LineReader& reader) {
  std::string_view line;
  while (reader.next(line)) {
    if (line.empty() || line[0] != 'f') continue;
    if (std::count(line.begin(), line.end(), '/') != 6) return reader.lineNumber();
  }
  return 0;
}

}  // namespace lw
