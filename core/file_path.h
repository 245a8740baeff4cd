// Opening files by their program-side names. Names inside the program are CP932
// bytes (what the dialogs, the project file and the OBJ/MTL references hold); on
// Windows they are turned into UTF-16 before they reach the file system, so a
// file whose name has Japanese characters opens whatever the system's ANSI code
// page is. Elsewhere they are turned into UTF-8, as file systems there spell
// names (a name that is not CP932 is used as its bytes).
#pragma once

#include <cstdio>
#include <filesystem>
#include <string>

namespace lw {

// The file-system path of a CP932 file name.
std::filesystem::path filePath(const std::string& name);

// fopen of a CP932 file name; nullptr when the file cannot be opened. A mode
// that reads ("r...") opens only regular files: a folder, device or pipe would
// read endlessly or not at all.
std::FILE* openFile(const std::string& name, const char* mode);

// True when `name` exists and is something other than a regular file.
bool isSpecialFile(const std::string& name);

// Removes a file; false when it could not be removed (or did not exist).
bool removeFile(const std::string& name);

// True when something exists under that name.
bool fileExists(const std::string& name);

}  // namespace lw
