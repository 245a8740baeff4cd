#include "core/replacing_file.h"

#include <filesystem>
#include <system_error>

#include "core/file_path.h"

namespace lw {

ReplacingFile::ReplacingFile(std::string target, const char* mode) : target_(std::move(target)) {
  temporary_ = target_ + ".lwtmp";
  for (int n = 1; fileExists(temporary_) && n < 1000; ++n) {
    temporary_ = target_ + "." + std::to_string(n) + ".lwtmp";
  }
  if (!fileExists(temporary_)) file_ = openFile(temporary_, mode);
  created_ = file_ != nullptr;
  failed_ = !created_;
}

ReplacingFile::~ReplacingFile() {
  finish();
  if (created_ && !committed_) removeFile(temporary_);
}

bool ReplacingFile::write(std::string_view bytes) {
  if (!file_ || std::fwrite(bytes.data(), 1, bytes.size(), file_) != bytes.size()) failed_ = true;
  return !failed_;
}

bool ReplacingFile::finish() {
  if (!finished_) {
    finished_ = true;
    if (file_ && std::fclose(file_) != 0) failed_ = true;
    file_ = nullptr;
  }
  return !failed_;
}

bool ReplacingFile::commit() {
  if (!finish()) return false;
  std::error_code ec;
  std::filesystem::rename(filePath(temporary_), filePath(target_), ec);
  committed_ = !ec;
  return committed_;
}

bool commitAll(const std::vector<std::unique_ptr<ReplacingFile>>& files) {
  bool complete = true;
  for (const auto& file : files) complete = file->finish() && complete;
  if (!complete) return false;
  for (const auto& file : files) {
    if (!file->commit()) return false;
  }
  return true;
}

bool writeFileReplacing(const std::string& path, std::string_view bytes, const char* mode) {
  ReplacingFile file(path, mode);
  return file.write(bytes) && file.commit();
}

bool sameFile(const std::string& a, const std::string& b) {
  namespace fs = std::filesystem;
  std::error_code ec;
  const fs::path pa = filePath(a), pb = filePath(b);
  if (fs::exists(pa, ec) && fs::exists(pb, ec)) {
    const bool same = fs::equivalent(pa, pb, ec);
    if (!ec) return same;
  }
  return fs::absolute(pa, ec).lexically_normal() == fs::absolute(pb, ec).lexically_normal();
}

}  // namespace lw
