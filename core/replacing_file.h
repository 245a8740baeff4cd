// Saving without ever losing the previous file: the new contents go to a fresh
// temporary file in the target's folder, and only once every byte of the save
// is written and the file closed does it take the target's name. On any failure
// the temporary file is removed and the target keeps what it had. Several files
// saved as one unit (a model, its material library and textures) are all
// written before the first of them replaces its target.
#pragma once

#include <cstdio>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

namespace lw {

class ReplacingFile {
 public:
  // Creates the temporary file for `target` ("<target>.lwtmp", or with a number
  // before ".lwtmp" when that name is taken). `mode` is "wb" or "w".
  explicit ReplacingFile(std::string target, const char* mode = "wb");
  ReplacingFile(const ReplacingFile&) = delete;
  ReplacingFile& operator=(const ReplacingFile&) = delete;
  ~ReplacingFile();  // removes the temporary file unless it replaced the target

  // The open temporary file, nullptr when it could not be created.
  std::FILE* file() const { return file_; }
  const std::string& target() const { return target_; }

  // Writes bytes; false (and the save fails) when not all were written, also
  // after finish().
  bool write(std::string_view bytes);
  // Closes the temporary file; true when it was created and every write and the
  // close succeeded. Idempotent.
  bool finish();
  // finish(), then moves the temporary file over the target.
  bool commit();

 private:
  std::string target_;
  std::string temporary_;
  std::FILE* file_ = nullptr;
  bool created_ = false;
  bool failed_ = false;
  bool finished_ = false;
  bool committed_ = false;
};

// Files saved together: each is finished before any replaces its target. True
// when all of them replaced their targets.
bool commitAll(const std::vector<std::unique_ptr<ReplacingFile>>& files);

// Writes `bytes` to `path` through a ReplacingFile opened with `mode`.
bool writeFileReplacing(const std::string& path, std::string_view bytes, const char* mode = "wb");

// True when `a` and `b` name the same file: the same file on disk when both
// exist, otherwise the same absolute path after "." and ".." are folded.
bool sameFile(const std::string& a, const std::string& b);

}  // namespace lw
