#include "core/text_encoding.h"

#ifdef _WIN32
#include <windows.h>
#else
#include <iconv.h>
#endif

namespace lw {

#ifdef _WIN32
std::string utf8FromCp932(const std::string& text) {
  constexpr UINT kCodePage932 = 932;
  // One character at a time (a lead byte and its trail byte, or one byte), so
  // that a byte that is not CP932 becomes '?' alone.
  std::string result;
  for (size_t at = 0; at < text.size();) {
    const bool lead = IsDBCSLeadByteEx(kCodePage932, static_cast<BYTE>(text[at])) != 0;
    const int length = lead && at + 1 < text.size() ? 2 : 1;
    wchar_t wide[2];
    const int count = MultiByteToWideChar(kCodePage932, MB_ERR_INVALID_CHARS, text.data() + at,
                                          length, wide, 2);
    if (count > 0) {
      char utf8[8];
      const int size = WideCharToMultiByte(CP_UTF8, 0, wide, count, utf8, sizeof utf8, nullptr,
                                           nullptr);
      result.append(utf8, static_cast<size_t>(size));
      at += static_cast<size_t>(length);
    } else {
      result += '?';
      ++at;
    }
  }
  return result;
}
#else
std::string utf8FromCp932(const std::string& text) {
  iconv_t converter = iconv_open("UTF-8", "CP932");
  if (converter == reinterpret_cast<iconv_t>(-1)) return text;
  std::string result;
  char buffer[1024];
  char* in = const_cast<char*>(text.data());
  size_t inLeft = text.size();
  while (inLeft > 0) {
    char* out = buffer;
    size_t outLeft = sizeof buffer;
    const size_t done = iconv(converter, &in, &inLeft, &out, &outLeft);
    result.append(buffer, static_cast<size_t>(out - buffer));
    if (done == static_cast<size_t>(-1) && outLeft == sizeof buffer) {
      result += '?';  // an invalid or cut-off sequence: one byte becomes '?'
      ++in;
      --inLeft;
    }
  }
  iconv_close(converter);
  return result;
}
#endif

}  // namespace lw
