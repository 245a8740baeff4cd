#include "core/file_path.h"

#include <system_error>

#include "core/text_encoding.h"

#ifdef _WIN32
#include <windows.h>
#else
#include <iconv.h>
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
#else
// The UTF-8 form of a CP932 name, as file systems here spell names; a name that
// is not CP932 is used as its bytes.
std::string fileSystemName(const std::string& text) {
  bool ascii = true;
  for (char c : text) ascii = ascii && static_cast<unsigned char>(c) < 0x80;
  if (ascii) return text;
  iconv_t converter = iconv_open("UTF-8", "CP932");
  if (converter == reinterpret_cast<iconv_t>(-1)) return text;
  std::string result(text.size() * 3 / 2 + 4, '\0');
  char* in = const_cast<char*>(text.data());
  size_t inLeft = text.size();
  char* out = result.data();
  size_t outLeft = result.size();
  const bool converted = iconv(converter, &in, &inLeft, &out, &outLeft) != static_cast<size_t>(-1);
  iconv_close(converter);
  if (!converted) return text;
  result.resize(result.size() - outLeft);
  return result;
}
#endif

}  // namespace

std::filesystem::path filePath(const std::string& name) {
#ifdef _WIN32
  return std::filesystem::path(wideFromCp932(name));
#else
  return std::filesystem::path(fileSystemName(name));
#endif
}

bool isSpecialFile(const std::string& name) {
  std::error_code error;
  const std::filesystem::file_status status = std::filesystem::status(filePath(name), error);
  return !error && std::filesystem::exists(status) && !std::filesystem::is_regular_file(status);
}

std::FILE* openFile(const std::string& name, const char* mode) {
  if (mode[0] == 'r' && isSpecialFile(name)) return nullptr;
#ifdef _WIN32
  return _wfopen(wideFromCp932(name).c_str(), wideFromCp932(mode).c_str());
#else
  return std::fopen(fileSystemName(name).c_str(), mode);
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

#ifdef _WIN32
// text_encoding.h on Windows.
std::string utf8FromCp932(const std::string& text) {
  // One character at a time (a lead byte and its trail byte, or one byte), so
  // that a byte that is not CP932 becomes '?' alone.
  std::string result;
  for (size_t at = 0; at < text.size();) {
    const bool lead = IsDBCSLeadByteEx(kCodePage932, static_cast<BYTE>(text[at])) != 0;
    const int length = lead && at + 1 < text.size() ? 2 : 1;
    wchar_t wide[2];
    const int count =
        MultiByteToWideChar(kCodePage932, MB_ERR_INVALID_CHARS, text.data() + at, length, wide, 2);
    if (count > 0) {
      char utf8[8];
      const int size =
          WideCharToMultiByte(CP_UTF8, 0, wide, count, utf8, sizeof utf8, nullptr, nullptr);
      result.append(utf8, static_cast<size_t>(size));
      at += static_cast<size_t>(length);
    } else {
      result += '?';
      ++at;
    }
  }
  return result;
}
#endif

}  // namespace lw
