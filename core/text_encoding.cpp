#include "core/text_encoding.h"

// On Windows the conversion is the system's, in core/file_path.cpp: the one
// file of the portable code that speaks to the Windows API.
#ifndef _WIN32
#include <iconv.h>
#endif

namespace lw {

#ifndef _WIN32
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
