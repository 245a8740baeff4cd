#include "io/obj_export.h"

#include <algorithm>
#include <cstdio>
#include <filesystem>
#include <set>
#include <system_error>
#include <vector>

#include "core/file_path.h"
#include "core/replacing_file.h"
#include "io/file_names.h"
#include "io/text_format.h"

namespace lw {

namespace {

// The exported text, collected in memory and, when a file is given, written out
// in large pieces as it grows, so a big model never sits in memory as text.
class ObjSink {
 public:
  explicit ObjSink(ReplacingFile* file) : file_(file) {}
  std::string& text() { return text_; }
  void maybeFlush() {
    if (file_ && text_.size() >= kFlushBytes) writeOut();
  }
  // Writes what is left and closes the file; false when any write failed.
  bool finish() {
    writeOut();
    return !file_ || file_->finish();
  }

 private:
  void writeOut() {
    if (!file_) return;
    file_->write(text_);
    text_.clear();
  }

  static constexpr size_t kFlushBytes = 1 << 20;
  ReplacingFile* file_;
  std::string text_;
};

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
void appendVectorLines(ObjSink& sink, const SceneDocument& doc, size_t parts, const char* key,
                       std::vector<Vector3> SkinPart::*field) {
  std::string& out = sink.text();
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
      sink.maybeFlush();
    }
  }
}

void writeObj(ObjSink& sink, const SceneDocument& doc, const std::string& materialFileName) {
  std::string& out = sink.text();
  const size_t parts = std::min(doc.mesh->parts.size(), doc.skinBuffers->parts.size());
  out += kObjExportHeader;
  out += "\n\nmtllib ";
  out += materialFileName;
  out.push_back('\n');
  appendVectorLines(sink, doc, parts, "v ", &SkinPart::skinPositions);
  for (size_t p = 0; p < parts; ++p) {
    const std::vector<TexCoord>& uv = doc.mesh->parts[p].texCoords;
    for (size_t c = 0, n = cornersOf(doc, p); c < n; ++c) {
      out += "vt ";
      appendFixed(out, uv[c].u);
      out.push_back(' ');
      appendFixed(out, uv[c].v);
      out.push_back('\n');
      sink.maybeFlush();
    }
  }
  appendVectorLines(sink, doc, parts, "vn ", &SkinPart::skinNormals);
  int32_t first = 1;  // number of the part's first corner
  for (size_t p = 0; p < parts; ++p) {
    const MeshPart& part = doc.mesh->parts[p];
    out += "g \nusemtl ";
    if (part.materialIndex >= 0 && part.materialIndex < doc.mesh->materialCount()) {
      out += doc.mesh->materials[static_cast<size_t>(part.materialIndex)].name;
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
      sink.maybeFlush();
    }
    first += corners;
  }
  out.push_back('\n');
}

enum class Copy { Done, NoSource, Failed };

// Copies the file at `source` into a new ReplacingFile for `target`, added to
// `files`. NoSource when the source cannot be read; Failed when the copy cannot
// be written.
Copy copyInto(std::vector<std::unique_ptr<ReplacingFile>>& files, const std::string& source,
              const std::string& target) {
  std::FILE* in = openFile(source, "rb");
  if (!in) return Copy::NoSource;
  ReplacingFile& out = *files.emplace_back(std::make_unique<ReplacingFile>(target));
  char buffer[1 << 16];
  bool written = out.file() != nullptr;
  size_t n = 0;
  while (written && (n = std::fread(buffer, 1, sizeof buffer, in)) > 0) {
    written = out.write(std::string_view(buffer, n));
  }
  written = written && !std::ferror(in);
  std::fclose(in);
  return written ? Copy::Done : Copy::Failed;
}

bool isAbsoluteName(const std::string& name) { return resolveInFolder("-", name) == name; }

}  // namespace

std::string exportBaseName(const std::string& name) {
  return name.substr(0, name.size() - std::min<size_t>(4, name.size()));
}

std::string objExportText(const SceneDocument& doc, const std::string& materialFileName) {
  if (!doc.mesh || !doc.skinBuffers) return {};
  ObjSink sink(nullptr);
  writeObj(sink, doc, materialFileName);
  return std::move(sink.text());
}

int exportObj(const SceneDocument& doc, const std::string& path, const std::string& fileTitle) {
  if (!doc.mesh || !doc.skinBuffers) return kObjNotWritten;
  std::vector<std::unique_ptr<ReplacingFile>> files;
  ReplacingFile& obj = *files.emplace_back(std::make_unique<ReplacingFile>(path, "w"));
  if (!obj.file()) return kObjNotWritten;
  ObjSink sink(&obj);
  writeObj(sink, doc, exportBaseName(fileTitle) + ".mtl");
  if (!sink.finish()) return kObjNotWritten;

  // The model's library, unless it already is the target (a copy onto itself
  // would empty it). A library that cannot be read is not copied.
  const std::string materialPath = exportBaseName(path) + ".mtl";
  if (!doc.materialLibraryName.empty() && !sameFile(doc.materialLibraryName, materialPath) &&
      copyInto(files, doc.materialLibraryName, materialPath) == Copy::Failed) {
    return kObjNotWritten;
  }
  // The textures the library names, beside it under the names it gives them.
  std::set<std::string> copied;
  for (const Material& material : doc.mesh->materials) {
    if (material.texturePath.empty() || isAbsoluteName(material.textureFile)) continue;
    const std::string target = resolveInFolder(folderOf(path), material.textureFile);
    if (!copied.insert(target).second || sameFile(material.texturePath, target)) continue;
    std::error_code ec;
    std::filesystem::create_directories(filePath(target).parent_path(), ec);
    if (copyInto(files, material.texturePath, target) == Copy::Failed) return kObjNotWritten;
  }
  return commitAll(files) ? 0 : kObjNotWritten;
}

}  // namespace lw
