#include "core/file_path.h"

#include <system_error>

#ifdef _WIN32
#include <windows.h>
#endif

namespace lw {

namespace {

#ifdef _WIN32
constexpr UINT kCodePage932 = 932;

std::wstring wideFromCp932(const std::string& text) {
  if (text.empty()) return {};
  const int size = static_cast<int>(text.size());
  const int length = MultiByteToWideChar(kCodePage932, 0, text.data(), size, nullptr, 0);
  std::wstring wide(static_cast<size_t>(length), L'\0');
  MultiByteToWideChar(kCodePage932, 0, text.data(), size, wide.data(), length);
  return wide;
}
#endif

}  // namespace

std::filesystem::path filePath(const std::string& name) {
#ifdef _WIN32
  return std::filesystem::path(wideFromCp932(name));
#else
  return std::filesystem::path(name);
#endif
}

std::FILE* openFile(const std::string& name, const char* mode) {
#ifdef _WIN32
  return _wfopen(wideFromCp932(name).c_str(), wideFromCp932(mode).c_str());
#else
  return std::fopen(name.c_str(), mode);
#endif
}

bool removeFile(const std::string& name) {
  std::error_code error;
  return std::filesystem::remove(filePath(name), error);
}

bool fileExists(const std::string& name) {
  std::error_code error;
  return std::filesystem::exists(filePath(name), error);
}

}  // namespace lw
