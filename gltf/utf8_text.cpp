#include <string>

#include "gltf/gltf_writer.h"

#ifdef _WIN32
#include "core/file_path.h"
#else
#include <iconv.h>
#endif

namespace lw {

std::string utf8FromCp932(const std::string& text) {
#ifdef _WIN32
  // The file-name conversion already turns CP932 into UTF-16.
  const std::u8string utf8 = filePath(text).u8string();
  return std::string(utf8.begin(), utf8.end());
#else
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
      result += '?';  // not CP932: one byte stands for itself as '?'
      ++in;
      --inLeft;
    }
  }
  iconv_close(converter);
  return result;
#endif
}

}  // namespace lw
