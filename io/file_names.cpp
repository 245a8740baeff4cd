#include "io/file_names.h"

namespace lw {

FileKind fileKindOf(std::string_view fileTitle) {
  std::string_view last;
  size_t start = 0;
  while (start <= fileTitle.size()) {
    size_t dot = fileTitle.find('.', start);
    size_t stop = dot == std::string_view::npos ? fileTitle.size() : dot;
    if (stop > start) last = fileTitle.substr(start, stop - start);
    if (dot == std::string_view::npos) break;
    start = dot + 1;
  }
  std::string_view head = last.substr(0, 3);
  if (head == "OBJ" || head == "obj") return FileKind::Obj;
  if (head == "OJP" || head == "ojp") return FileKind::Project;
  if (head == "BMP" || head == "bmp") return FileKind::Bitmap;
  return FileKind::Other;
}

std::string folderOf(std::string_view path) {
  size_t slash = path.find_last_of("/\\");
  return slash == std::string_view::npos ? std::string() : std::string(path.substr(0, slash + 1));
}

std::string resolveInFolder(const std::string& folder, const std::string& name) {
  bool absolute = (!name.empty() && (name[0] == '/' || name[0] == '\\')) ||
                  (name.size() > 1 && name[1] == ':');
  if (absolute || folder.empty() || name.empty()) return name;
  return folder + name;
}

}  // namespace lw
