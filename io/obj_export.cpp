#include "io/obj_export.h"

#include <algorithm>
#include <filesystem>
#include <system_error>

#include "core/file_path.h"
#include "io/project_writer.h"
#include "io/text_format.h"

namespace lw {

namespace {

void appendFixed(std::string& out, float value) {
  char buffer[kMaxFixed6Chars];
  const char* end = formatFixed6(value, buffer);
  out.append(buffer, static_cast<size_t>(end - buffer));
}

void appendCornerNumber(std::string& out, int32_t k) {
  char buffer[12];
  const size_t length = static_cast<size_t>(formatDecimal(k, buffer) - buffer);
  for (int i = 0; i < 3; ++i) {
    if (i > 0) out.push_back('/');
    out.append(buffer, length);
  }
}

// Corners of part p written to the file: those present in every array read.
size_t cornersOf(const SceneDocument& doc, size_t p) {
  const SkinPart& skin = doc.skinBuffers->parts[p];
  return std::min({skin.skinPositions.size(), skin.skinNormals.size(),
                   doc.mesh->parts[p].texCoords.size()});
}

// One "v" or "vn" line per corner of every part, from the posed skin buffers.
void appendVectorLines(std::string& out, const SceneDocument& doc, size_t parts, const char* key,
                       std::vector<Vector3> SkinPart::*field) {
  for (size_t p = 0; p < parts; ++p) {
    const std::vector<Vector3>& vectors = doc.skinBuffers->parts[p].*field;
    for (size_t c = 0, n = cornersOf(doc, p); c < n; ++c) {
      out += key;
      appendFixed(out, vectors[c].x);
      out.push_back(' ');
      appendFixed(out, vectors[c].y);
      out.push_back(' ');
      appendFixed(out, vectors[c].z);
      out.push_back('\n');
    }
  }
}

}  // namespace

std::string exportBaseName(const std::string& name) {
  return name.substr(0, name.size() - std::min<size_t>(4, name.size()));
}

std::string objExportText(const SceneDocument& doc, const std::string& materialFileName) {
  std::string out;
  if (!doc.mesh || !doc.skinBuffers) return out;
  const size_t parts = std::min(doc.mesh->parts.size(), doc.skinBuffers->parts.size());
  size_t total = 0;
  for (size_t p = 0; p < parts; ++p) total += cornersOf(doc, p);
  out.reserve(256 + total * 100);

  out += kObjExportHeader;
  out += "\n\nmtllib ";
  out += materialFileName;
  out.push_back('\n');
  appendVectorLines(out, doc, parts, "v ", &SkinPart::skinPositions);
  for (size_t p = 0; p < parts; ++p) {
    const std::vector<TexCoord>& uv = doc.mesh->parts[p].texCoords;
    for (size_t c = 0, n = cornersOf(doc, p); c < n; ++c) {
      out += "vt ";
      appendFixed(out, uv[c].u);
      out.push_back(' ');
      appendFixed(out, uv[c].v);
      out.push_back('\n');
    }
  }
  appendVectorLines(out, doc, parts, "vn ", &SkinPart::skinNormals);
  int32_t first = 1;  // number of the part's first corner
  for (size_t p = 0; p < parts; ++p) {
    const MeshPart& part = doc.mesh->parts[p];
    out += "g \nusemtl ";
    if (part.materialIndex >= 0 && part.materialIndex < doc.mesh->materialCount()) {
      out += doc.mesh->materials[part.materialIndex].name;
    }
    out.push_back('\n');
    const int32_t corners = static_cast<int32_t>(cornersOf(doc, p));
    for (int32_t c = 0; c + 2 < corners; c += 3) {
      out += "f ";
      appendCornerNumber(out, first + c);
      out.push_back(' ');
      appendCornerNumber(out, first + c + 1);
      out.push_back(' ');
      appendCornerNumber(out, first + c + 2);
      out.push_back('\n');
    }
    first += corners;
  }
  out.push_back('\n');
  return out;
}

int exportObj(const SceneDocument& doc, const std::string& path, const std::string& fileTitle) {
  if (!doc.mesh || !doc.skinBuffers) return kObjNotWritten;
  const std::string materialPath = exportBaseName(path) + ".mtl";
  if (!doc.materialLibraryName.empty()) {
    // A library already at the target is left as it is (copying a file onto
    // itself would empty it). Paths are compared by name, and the copy goes
    // through a temporary file, because file identities are not reliable on
    // every platform.
    namespace fs = std::filesystem;
    std::error_code ec;
    const fs::path source = fs::absolute(filePath(doc.materialLibraryName), ec).lexically_normal();
    const fs::path target = fs::absolute(filePath(materialPath), ec).lexically_normal();
    if (source != target) {
      fs::path temporary = target;
      temporary += ".lwtmp";
      fs::remove(temporary, ec);
      if (fs::copy_file(source, temporary, ec)) fs::rename(temporary, target, ec);
      fs::remove(temporary, ec);
    }
  }
  const std::string text = objExportText(doc, exportBaseName(fileTitle) + ".mtl");
  return writeTextFileReplacing(path, text) ? 0 : kObjNotWritten;
}

}  // namespace lw
