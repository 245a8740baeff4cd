// The in-memory triangle model: unindexed, one record per face corner, one part
// per material. Every loaded OBJ ends up as a Mesh (through a TLO file), and so
// does every decoration model.
#pragma once

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "core/math.h"

namespace lw {

// A 24-bit uncompressed BMP image kept for the life of the texture.
struct BmpTexture {
  int32_t width = 0;
  int32_t height = 0;
  // Rows bottom-up, blue-green-red per pixel, each row padded to 4 bytes, as in the file.
  std::vector<uint8_t> pixels;
  uint32_t glTexture = 0;  // OpenGL texture name, 0 until uploaded
};

struct Material {
  std::string name;
  float ambient[4] = {0, 0, 0, 1};
  float diffuse[4] = {0, 0, 0, 1};
  float specular[4] = {0, 0, 0, 1};
  float shininess = 0;
  std::string textureFile;               // empty when the material has no map_Kd
  std::string texturePath;               // where the texture was read from, once loaded
  std::unique_ptr<BmpTexture> texture;   // loaded when a usemtl selects the material
};

struct TexCoord {
  float u = 0, v = 0;
  friend bool operator==(const TexCoord&, const TexCoord&) = default;
};

struct MeshPart {
  // Corners 3k, 3k+1, 3k+2 form triangle k; all three arrays have vertexCount entries.
  std::vector<Vector3> positions;
  std::vector<Vector3> normals;
  std::vector<TexCoord> texCoords;
  int32_t materialIndex = -1;  // index into Mesh::materials; -1: none, drawn in a neutral grey
  int32_t vertexCount = 0;
};

struct Mesh {
  int32_t faceCount = 0;
  std::vector<MeshPart> parts;       // at most 20
  std::vector<Material> materials;   // in the order of their newmtl lines
  std::string materialLibrary;       // the name on the mtllib line
  std::string fileName;              // file title of the OBJ a decoration came from
  int32_t partCount() const { return static_cast<int32_t>(parts.size()); }
  int32_t materialCount() const { return static_cast<int32_t>(materials.size()); }
};

inline constexpr int kMaxMeshParts = 20;

}  // namespace lw
