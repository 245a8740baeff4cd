#include "io/tlo.h"

#include <cstdio>
#include <cstring>

#include "core/replacing_file.h"
#include "io/obj_reader.h"
#include "io/text_format.h"

namespace lw {

namespace {

// Text collected in memory and, when a file is given, written out in large
// pieces as it grows.
class TextSink {
 public:
  explicit TextSink(std::FILE* file) : file_(file) { text_.reserve(file ? kFlushBytes + 4096 : 0); }

  void append(std::string_view s) { text_.append(s); }
  void append(const char* begin, const char* end) { text_.append(begin, end); }
  void maybeFlush() {
    if (file_ && text_.size() >= kFlushBytes) flush();
  }
  void flush() {
    if (!file_ || text_.empty()) return;
    if (std::fwrite(text_.data(), 1, text_.size(), file_) != text_.size()) failed_ = true;
    text_.clear();
  }
  bool failed() const { return failed_; }
  std::string& text() { return text_; }

 private:
  static constexpr size_t kFlushBytes = 1 << 20;
  std::FILE* file_;
  std::string text_;
  bool failed_ = false;
};

void appendFloats(TextSink& sink, const char* key, const float* values, int count) {
  char line[4 + 3 * (kMaxFixed6Chars + 1) + 1];
  size_t keyLength = std::strlen(key);
  std::memcpy(line, key, keyLength);
  char* out = line + keyLength;
  for (int i = 0; i < count; ++i) {
    *out++ = ' ';
    out = formatFixed6(values[i], out);
  }
  *out++ = '\n';
  sink.append(line, out);
}

void appendDecimalLine(TextSink& sink, const char* key, int32_t value) {
  char number[12];
  sink.append(key);
  sink.append(" ");
  sink.append(number, formatDecimal(value, number));
  sink.append("\n");
}

// One block: the corners of faces [firstFace, endFace).
void appendBlock(TextSink& sink, const ObjMesh& obj, int32_t firstFace, int32_t endFace) {
  const size_t first = 3 * static_cast<size_t>(firstFace);
  const size_t end = 3 * static_cast<size_t>(endFace);
  for (size_t c = first; c < end; ++c) {
    const Vector3& p = obj.positions[static_cast<size_t>(obj.positionIndices[c])];
    const float values[3] = {p.x, p.y, p.z};
    appendFloats(sink, "v", values, 3);
    sink.maybeFlush();
  }
  sink.append("\n");
  for (size_t c = first; c < end; ++c) {
    const ObjTexCoord& t = obj.texCoords[static_cast<size_t>(obj.texCoordIndices[c])];
    const float values[2] = {t.u, t.v};
    appendFloats(sink, "vt", values, 2);
    sink.maybeFlush();
  }
  sink.append("\n");
  for (size_t c = first; c < end; ++c) {
    const Vector3& n = obj.normals[static_cast<size_t>(obj.normalIndices[c])];
    const float values[3] = {n.x, n.y, n.z};
    appendFloats(sink, "vn", values, 3);
    sink.maybeFlush();
  }
  sink.append("\n");
}

void writeTlo(TextSink& sink, const ObjMesh& obj) {
  sink.append(kTloHeader);
  sink.append("\n\n");
  const int32_t leading = facesBeforeFirstGroup(obj);
  if (leading > 0) appendDecimalLine(sink, "men_part_num", leading);
  for (int32_t g = 0; g < obj.groupCount; ++g) {
    appendDecimalLine(sink, "men_part_num", obj.groupFaceCounts[static_cast<size_t>(g)]);
  }
  appendDecimalLine(sink, "men_num", obj.faceCount);
  sink.append("mtllib ");
  sink.append(obj.materialLibrary);
  sink.append("\n");
  // Block g ends where group g begins; the block after the last group ends at the
  // last face. Every group gets its "usemtl" line and its block, also a group
  // without faces at the end, so each declared part has a block.
  int32_t start = 0;
  for (int32_t g = 0; g <= obj.groupCount; ++g) {
    const int32_t end = g < obj.groupCount ? obj.groups[static_cast<size_t>(g)].firstFace
                                           : obj.faceCount;
    appendBlock(sink, obj, start, end);
    if (g == obj.groupCount) break;
    sink.append("usemtl ");
    sink.append(obj.groups[static_cast<size_t>(g)].materialName);
    sink.append("\n");
    start = end;
  }
}

}  // namespace

std::string tloText(const ObjMesh& obj) {
  TextSink sink(nullptr);
  writeTlo(sink, obj);
  return std::move(sink.text());
}

int writeTloFile(const std::string& path, const ObjMesh& obj) {
  ReplacingFile file(path);
  if (!file.file()) return 1;
  TextSink sink(file.file());
  writeTlo(sink, obj);
  sink.flush();
  return !sink.failed() && file.commit() ? 0 : 1;
}

}  // namespace lw
