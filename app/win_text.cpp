#include "app/win_text.h"

#include <vector>

#include "core/file_path.h"

namespace lw {

namespace {

constexpr UINT kCodePage932 = 932;

}  // namespace

std::wstring toWide(std::string_view cp932) {
  if (cp932.empty()) return {};
  const int size = static_cast<int>(cp932.size());
  const int length = MultiByteToWideChar(kCodePage932, 0, cp932.data(), size, nullptr, 0);
  std::wstring wide(static_cast<size_t>(length), L'\0');
  MultiByteToWideChar(kCodePage932, 0, cp932.data(), size, wide.data(), length);
  return wide;
}

std::string toCp932(std::wstring_view wide) {
  if (wide.empty()) return {};
  const int size = static_cast<int>(wide.size());
  const int length =
      WideCharToMultiByte(kCodePage932, 0, wide.data(), size, nullptr, 0, "?", nullptr);
  std::string narrow(static_cast<size_t>(length), '\0');
  WideCharToMultiByte(kCodePage932, 0, wide.data(), size, narrow.data(), length, "?", nullptr);
  return narrow;
}

std::string cp932PathOf(const std::wstring& path) {
  std::string cp932 = toCp932(path);
  if (toWide(cp932) == path) return cp932;
  const DWORD length = GetShortPathNameW(path.c_str(), nullptr, 0);
  if (length == 0) return cp932;
  std::wstring shortPath(length, L'\0');
  const DWORD copied = GetShortPathNameW(path.c_str(), shortPath.data(), length);
  if (copied == 0 || copied >= length) return cp932;
  shortPath.resize(copied);
  std::string shortCp932 = toCp932(shortPath);
  return toWide(shortCp932) == shortPath ? shortCp932 : cp932;
}

FILE* openFileCp932(const std::string& path, const char* mode) { return openFile(path, mode); }

std::string windowTextCp932(HWND window) {
  const int length = GetWindowTextLengthW(window);
  std::vector<wchar_t> buffer(static_cast<size_t>(length) + 1, L'\0');
  const int copied = GetWindowTextW(window, buffer.data(), length + 1);
  return toCp932(std::wstring_view(buffer.data(), static_cast<size_t>(copied)));
}

void setWindowTextCp932(HWND window, const std::string& text) {
  SetWindowTextW(window, toWide(text).c_str());
}

void showMessageBox(HWND owner, const std::string& text, const std::string& title) {
  MessageBoxW(owner, toWide(text).c_str(), toWide(title).c_str(), MB_OK | MB_TASKMODAL);
}

}  // namespace lw
