// File names as the load and save commands treat them: the type chosen by the
// extension, and names inside files resolved
// against the folder of the file that names them. Both '/' and '\\' separate
// folders.
#pragma once

#include <string>
#include <string_view>

namespace lw {

enum class FileKind { Obj, Project, Bitmap, Other };

// The type of a file title: the first three characters of its last piece between
// dots (empty pieces skipped, as strtok does) must read "OBJ"/"obj",
// "OJP"/"ojp" or "BMP"/"bmp"; any other case mixture, or a shorter piece, is
// Other. "model.v2.obj" is Obj; "model.Obj" is Other.
FileKind fileKindOf(std::string_view fileTitle);

// The folder part of `path` including its last separator; empty when `path`
// names no folder.
std::string folderOf(std::string_view path);

// `name` as written inside a file, opened relative to `folder`: unchanged when
// it is absolute (a leading separator or a drive letter), empty, or `folder` is
// empty.
std::string resolveInFolder(const std::string& folder, const std::string& name);

}  // namespace lw
