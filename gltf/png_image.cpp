#include "gltf/png_image.h"

#define STB_IMAGE_WRITE_IMPLEMENTATION
#define STBI_WRITE_NO_STDIO
#include <stb/stb_image_write.h>

#include "io/bmp.h"

namespace lw {

namespace {

void appendBytes(void* context, void* data, int size) {
  auto* out = static_cast<std::vector<uint8_t>*>(context);
  const auto* bytes = static_cast<const uint8_t*>(data);
  out->insert(out->end(), bytes, bytes + size);
}

}  // namespace

std::vector<uint8_t> pngFromBmp(const BmpTexture& texture) {
  std::vector<uint8_t> png;
  if (texture.width <= 0 || texture.height <= 0) return png;
  const int64_t rowBytes = bmpRowBytes(texture.width);
  if (static_cast<int64_t>(texture.pixels.size()) < rowBytes * texture.height) return png;
  const size_t width = static_cast<size_t>(texture.width);
  std::vector<uint8_t> rgb(width * 3 * static_cast<size_t>(texture.height));
  for (int32_t y = 0; y < texture.height; ++y) {
    const uint8_t* row = texture.pixels.data() + (texture.height - 1 - y) * rowBytes;
    uint8_t* out = rgb.data() + static_cast<size_t>(y) * width * 3;
    for (size_t x = 0; x < width; ++x) {
      out[3 * x] = row[3 * x + 2];
      out[3 * x + 1] = row[3 * x + 1];
      out[3 * x + 2] = row[3 * x];
    }
  }
  if (stbi_write_png_to_func(appendBytes, &png, texture.width, texture.height, 3, rgb.data(),
                             static_cast<int>(width * 3)) == 0) {
    png.clear();
  }
  return png;
}

}  // namespace lw
