#include <iconv.h>

#include "tools/lwtool/commands.h"

namespace lw::tool {

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

std::string refusalLine(const std::string& title, const std::string& message) {
  return cp932ToUtf8(title) + ": " + cp932ToUtf8(message) + "\n";
}

std::string fileTitleOf(const std::string& path) {
  size_t slash = path.find_last_of("/\\");
  return slash == std::string::npos ? path : path.substr(slash + 1);
}

}  // namespace lw::tool
