#include "io/mtl_reader.h"

#include "core/file_path.h"
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

}  // namespace lw
