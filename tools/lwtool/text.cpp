#ifdef _WIN32
#include <windows.h>
#else
#include <iconv.h>
#endif

#include "tools/lwtool/commands.h"

namespace lw::tool {

#ifdef _WIN32
namespace {

constexpr UINT kCodePage932 = 932;

std::string utf8FromWide(const wchar_t* wide, int length) {
  const int size = WideCharToMultiByte(CP_UTF8, 0, wide, length, nullptr, 0, nullptr, nullptr);
  std::string utf8(static_cast<size_t>(size), '\0');
  WideCharToMultiByte(CP_UTF8, 0, wide, length, utf8.data(), size, nullptr, nullptr);
  return utf8;
}

}  // namespace

std::string cp932ToUtf8(const std::string& text) {
  // One character at a time (a lead byte and its trail byte, or one byte), so
  // that a byte that is not CP932 becomes '?' alone, as with iconv elsewhere.
  std::string result;
  for (size_t at = 0; at < text.size();) {
    const bool lead = IsDBCSLeadByteEx(kCodePage932, static_cast<BYTE>(text[at])) != 0;
    const int length = lead && at + 1 < text.size() ? 2 : 1;
    wchar_t wide[2];
    const int count = MultiByteToWideChar(kCodePage932, MB_ERR_INVALID_CHARS, text.data() + at,
                                          length, wide, 2);
    if (count > 0) {
      result += utf8FromWide(wide, count);
      at += static_cast<size_t>(length);
    } else {
      result += '?';
      ++at;
    }
  }
  return result;
}

std::string cp932FromWide(const std::wstring& wide) {
  const int length = static_cast<int>(wide.size());
  const int size =
      WideCharToMultiByte(kCodePage932, 0, wide.data(), length, nullptr, 0, nullptr, nullptr);
  std::string text(static_cast<size_t>(size), '\0');
  WideCharToMultiByte(kCodePage932, 0, wide.data(), length, text.data(), size, nullptr, nullptr);
  return text;
}
#else
std::string cp932ToUtf8(const std::string& text) {
  iconv_t converter = iconv_open("UTF-8", "CP932");
  if (converter == reinterpret_cast<iconv_t>(-1)) return text;
  std::string result;
  char buffer[1024];
  char* in = const_cast<char*>(text.data());
  size_t inLeft = text.size();
  while (inLeft > 0) {
    char* outPtr = buffer;
    size_t outLeft = sizeof buffer;
    size_t done = iconv(converter, &in, &inLeft, &outPtr, &outLeft);
    result.append(buffer, static_cast<size_t>(outPtr - buffer));
    if (done == static_cast<size_t>(-1) && outLeft == sizeof buffer) {
      // Not CP932 (an invalid or cut-off sequence): one byte becomes '?'.
      result += '?';
      ++in;
      --inLeft;
    }
  }
  iconv_close(converter);
  return result;
}
#endif

std::string refusalLine(const std::string& title, const std::string& message) {
  return cp932ToUtf8(title) + ": " + cp932ToUtf8(message) + "\n";
}

std::string fileTitleOf(const std::string& path) {
  size_t slash = path.find_last_of("/\\");
  return slash == std::string::npos ? path : path.substr(slash + 1);
}

}  // namespace lw::tool
