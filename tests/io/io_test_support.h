// Small helpers for the io tests: a scratch folder removed at the end of a test,
// and whole-file reads and writes.
#pragma once

#include <atomic>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>

namespace lw::test {

class TempFolder {
 public:
  TempFolder() {
    static std::atomic<int> counter{0};
    namespace fs = std::filesystem;
    for (;;) {
      path_ = fs::temp_directory_path() /
              ("lw_io_test_" + std::to_string(reinterpret_cast<uintptr_t>(this) % 100000) + "_" +
               std::to_string(counter++));
      std::error_code error;
      if (fs::create_directory(path_, error)) break;
    }
  }
  ~TempFolder() {
    std::error_code error;
    std::filesystem::remove_all(path_, error);
  }
  TempFolder(const TempFolder&) = delete;
  TempFolder& operator=(const TempFolder&) = delete;

  // The folder with a trailing separator.
  std::string folder() const { return path_.string() + "/"; }
  std::string file(const std::string& name) const { return folder() + name; }

 private:
  std::filesystem::path path_;
};

inline void writeFile(const std::string& path, const std::string& bytes) {
  std::ofstream out(path, std::ios::binary);
  out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
}

inline std::string readFile(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

inline bool fileExists(const std::string& path) { return std::filesystem::exists(path); }

inline std::string dataPath(const std::string& name) {
  return std::string(LW_TEST_DATA_DIR) + "/" + name;
}

}  // namespace lw::test
