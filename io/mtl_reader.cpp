#include "io/mtl_reader.h"

#include "core/file_path.h"
#include "io/bmp.h"
#include "io/file_names.h"
#include "io/line_reader.h"
#include "io/model_messages.h"
#include "io/scan.h"

namespace lw {

namespace {

bool startsWith(std::string_view line, std::string_view key) {
  return line.size() >= key.size() && line.compare(0, key.size(), key) == 0;
}

void readMaterials(LineReader& reader, Mesh& mesh) {
  Material* current = nullptr;
  std::string word;
  std::string_view line;
  while (reader.next(line)) {
    if (startsWith(line, "newmtl")) {
      word.clear();
      scanKeyWord(line, "newmtl", word);
      if (word.empty()) continue;  // no name: the rest of the line is not looked at
      Material& material = mesh.materials.emplace_back();
      material.name = word;
      current = &material;
    }
    if (!current) continue;
    if (startsWith(line, "map_Kd")) scanKeyWord(line, "map_Kd", current->textureFile);
    if (line.size() >= 2 && line[0] == 'K') {
      const char second = line[1];
      float* colour = second == 'a'   ? current->ambient
                      : second == 'd' ? current->diffuse
                      : second == 's' ? current->specular
                                      : nullptr;
      if (colour) scanKeyFloats(line, line.substr(0, 2), colour, 3);
    }
    if (startsWith(line, "Ns")) scanKeyFloats(line, "Ns", &current->shininess, 1);
  }
}

}  // namespace

int readMaterialLibrary(const std::string& path, Mesh& mesh, std::string& errorText) {
  LineReader reader;
  if (!reader.openFile(path)) {
    errorText = path + (isSpecialFile(path) ? kNotRegularFileSuffix : kMtlReadFailedSuffix);
    return kMtlCannotOpen;
  }
  readMaterials(reader, mesh);
  return 0;
}

void readMaterialText(std::string_view text, Mesh& mesh) {
  LineReader reader;
  reader.openText(text);
  readMaterials(reader, mesh);
}

void readModelLibrary(Mesh& mesh, const std::string& folder, std::string& warning) {
  if (mesh.materialLibrary.empty()) return;
  std::string reason;
  if (readMaterialLibrary(resolveInFolder(folder, mesh.materialLibrary), mesh, reason) != 0 &&
      warning.empty()) {
    warning = withReason(kTloMaterialOpenMessage, reason);
  }
}

void loadMaterialTexture(Material& material, const std::string& folder, std::string& warning) {
  const std::string texturePath = resolveInFolder(folder, material.textureFile);
  std::string reason;
  material.texture = loadBmpTexture(texturePath, reason);
  if (material.texture) {
    material.texturePath = texturePath;
  } else if (warning.empty()) {
    warning = withReason(material.textureFile, reason);
  }
}

}  // namespace lw
