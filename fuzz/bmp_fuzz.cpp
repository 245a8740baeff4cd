// BMP bytes through the texture decoder: it accepts only what it can read whole.
#include <cstddef>
#include <cstdint>
#include <cstdlib>

#include "io/bmp.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  lw::BmpTexture texture;
  if (!lw::decodeBmp(data, size, texture)) return 0;
  const int64_t expected = lw::bmpRowBytes(texture.width) * texture.height;
  if (texture.width <= 0 || texture.height <= 0 ||
      static_cast<int64_t>(texture.pixels.size()) != expected) {
    std::abort();
  }
  return 0;
}
