#include "io/tlo.h"

#include "io/line_reader.h"
#include "io/model_messages.h"
#include "io/mtl_reader.h"
#include "io/scan.h"

namespace lw {

namespace {

bool startsWith(std::string_view line, std::string_view key) {
  return line.size() >= key.size() && line.compare(0, key.size(), key) == 0;
}

// Where the next corner lines of the current part go.
struct FillState {
  int32_t startedParts = 0;  // parts begun by a "usemtl" line or by leading corners
  size_t positions = 0, texCoords = 0, normals = 0;
};

void startPart(Mesh& mesh, FillState& fill, int32_t materialIndex) {
  mesh.parts[static_cast<size_t>(fill.startedParts++)].materialIndex = materialIndex;
  fill.positions = fill.texCoords = fill.normals = 0;
}

int32_t findMaterial(const Mesh& mesh, const std::string& name) {
  for (size_t m = 0; m < mesh.materials.size(); ++m) {
    if (mesh.materials[m].name == name) return static_cast<int32_t>(m);
  }
  return -1;
}

// Scans "<key> %f ..." into `target`; values that do not scan keep their content.
template <int N>
void scanInto(std::string_view line, std::string_view key, float (&target)[N]) {
  scanKeyFloats(line, key, target, N);
}

// Reads one corner line ("v", "vt" or "vn") into the current part.
void readCornerLine(std::string_view line, Mesh& mesh, FillState& fill) {
  if (fill.startedParts == 0) {
    if (mesh.parts.empty()) return;
    startPart(mesh, fill, -1);  // corners before any "usemtl": a part with no material
  }
  MeshPart& part = mesh.parts[static_cast<size_t>(fill.startedParts - 1)];
  const size_t corners = static_cast<size_t>(part.vertexCount);
  const char second = line.size() > 1 ? line[1] : '\0';
  if (second != 't') {
    const bool normal = second == 'n';
    size_t& at = normal ? fill.normals : fill.positions;
    if (at >= corners) return;
    Vector3& v = normal ? part.normals[at] : part.positions[at];
    float values[3] = {v.x, v.y, v.z};
    scanInto(line, normal ? "vn" : "v", values);
    v = {values[0], values[1], values[2]};
    ++at;
  } else if (fill.texCoords < corners) {
    TexCoord& t = part.texCoords[fill.texCoords++];
    float values[2] = {t.u, t.v};
    scanInto(line, "vt", values);
    t = {values[0], values[1]};
  }
}

std::unique_ptr<Mesh> readTlo(LineReader& reader, const std::string& folder,
                              std::string& errorText) {
  auto mesh = std::make_unique<Mesh>();
  errorText.clear();  // from here on, text left in it with a mesh is a warning
  std::string_view line;

  // Header: part sizes up to the "men_num" line.
  int32_t partFaces[kMaxMeshParts] = {};
  int partCount = 0;
  bool sawFaceCount = false;
  while (reader.next(line)) {
    if (startsWith(line, "men_num")) {
      scanKeyDecimal(line, "men_num", mesh->faceCount);
      sawFaceCount = true;
      break;
    }
    if (startsWith(line, "men_part_num") && partCount < kMaxMeshParts) {
      scanKeyDecimal(line, "men_part_num", partFaces[partCount++]);
    }
  }
  if (!sawFaceCount) {
    errorText = kTloNoFaceCountMessage;
    return nullptr;
  }
  // Each corner takes at least three lines of the file, so a file of S bytes holds
  // fewer than S corners; larger sizes are damaged counts, not models.
  long long totalCorners = 0;
  for (int p = 0; p < partCount; ++p) {
    totalCorners += 3LL * partFaces[p];
    if (partFaces[p] < 0 || totalCorners > reader.inputSize()) {
      errorText = kTloPartSizeMessage;
      return nullptr;
    }
  }
  mesh->parts.resize(static_cast<size_t>(partCount));
  for (int p = 0; p < partCount; ++p) {
    MeshPart& part = mesh->parts[static_cast<size_t>(p)];
    part.vertexCount = 3 * partFaces[p];
    part.positions.resize(static_cast<size_t>(part.vertexCount));
    part.normals.resize(static_cast<size_t>(part.vertexCount));
    part.texCoords.resize(static_cast<size_t>(part.vertexCount));
  }

  FillState fill;
  std::string word;
  while (reader.next(line)) {
    if (line.empty()) continue;
    if (startsWith(line, "mtllib")) {
      scanKeyWord(line, "mtllib", mesh->materialLibrary);
      readModelLibrary(*mesh, folder, errorText);  // plain materials when it fails
    }
    if (startsWith(line, "usemtl")) {
      word.clear();
      scanKeyWord(line, "usemtl", word);
      const int32_t m = findMaterial(*mesh, word);
      if (fill.startedParts < partCount) startPart(*mesh, fill, m);
      if (m >= 0 && !mesh->materials[static_cast<size_t>(m)].textureFile.empty()) {
        // The part is drawn untextured when it fails; the first failure is told.
        loadMaterialTexture(mesh->materials[static_cast<size_t>(m)], folder, errorText);
      }
    }
    if (line[0] == 'v') readCornerLine(line, *mesh, fill);
  }
  return mesh;
}

}  // namespace

std::unique_ptr<Mesh> readTloFile(const std::string& path, const std::string& folder,
                                  std::string& errorText) {
  LineReader reader;
  if (!reader.openFile(path)) {
    errorText = path + kCannotOpenSuffix;
    return nullptr;
  }
  return readTlo(reader, folder, errorText);
}

std::unique_ptr<Mesh> readTloText(std::string_view text, const std::string& folder,
                                  std::string& errorText) {
  LineReader reader;
  reader.openText(text);
  return readTlo(reader, folder, errorText);
}

}  // namespace lw
