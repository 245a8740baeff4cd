// Reading a Wavefront OBJ model into ObjMesh, the indexed intermediate form that
// the TLO writer turns into the program's own mesh file. Only one dialect is
// accepted: triangles whose corners give position/texture/normal indices
// ("f 1/1/1 2/2/2 3/3/3"), with "v", "vt" and "vn" lines all present.
#pragma once

#include <array>
#include <cstdint>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "core/math.h"

namespace lw {

class LineReader;

// Material groups ("usemtl" lines) an ObjMesh holds.
inline constexpr int kMaxMaterialGroups = 20;
// firstFace of a group slot that is not in use.
inline constexpr int32_t kUnusedGroup = -9;

struct ObjTexCoord {
  float u = 0, v = 0;
  float w = 0;  // whatever the scan buffer held last; never read
};

struct ObjMaterialGroup {
  int32_t firstFace = kUnusedGroup;  // faceCount when its "usemtl" line was read
  std::string materialName;          // the word on the "usemtl" line
};

// Each array is sized to the number of its lines counted in the first pass; the
// matching count says how many entries are stored. Index arrays hold three
// 0-based entries per face, in the order of the face's corners.
struct ObjMesh {
  int32_t vertexCount = 0;
  std::vector<Vector3> positions;
  int32_t normalCount = 0;
  std::vector<Vector3> normals;
  int32_t texCoordCount = 0;
  std::vector<ObjTexCoord> texCoords;
  int32_t faceCount = 0;
  std::array<int32_t, kMaxMaterialGroups> groupFaceCounts{};
  std::vector<int32_t> positionIndices;
  std::vector<int32_t> normalIndices;
  std::vector<int32_t> texCoordIndices;
  std::string materialLibrary;  // the word on the "mtllib" line
  int32_t groupCount = 0;
  std::array<ObjMaterialGroup, kMaxMaterialGroups> groups;
};

// Faces stored before the first "usemtl" line (they belong to no group).
int32_t facesBeforeFirstGroup(const ObjMesh& mesh);

// Reads the OBJ file at `path` in two passes: the first counts lines beginning
// with "v", "vt", "vn" and "f"; the second stores them. Values that do not scan
// keep those of the previous line; face lines that do not scan to nine numbers
// are skipped. Returns nullptr with the message in `errorText` when the file
// cannot be opened, when one of the four counts is 0, when a face names an index
// outside the stored positions, texture coordinates or normals (0, negative or too
// large), or when the file needs more than 20 parts (a 21st "usemtl" line, or 20
// groups plus faces before the first one).
std::unique_ptr<ObjMesh> readObjFile(const std::string& path, std::string& errorText);

// The same for OBJ text in memory.
std::unique_ptr<ObjMesh> readObjText(std::string_view text, std::string& errorText);

// The triangle check of the Open and Add commands over an open reader: every
// line beginning with "f" has exactly six '/'. Returns the first failing line's
// number, or 0 when all pass.
int firstNonTriangleLine(LineReader& reader);

}  // namespace lw
