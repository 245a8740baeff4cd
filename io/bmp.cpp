#include "io/bmp.h"

#include <cstdio>
#include <vector>

#include "core/file_path.h"
#include "io/model_messages.h"

namespace lw {

namespace {

uint32_t read32(const uint8_t* p) {
  return static_cast<uint32_t>(p[0]) | static_cast<uint32_t>(p[1]) << 8 |
         static_cast<uint32_t>(p[2]) << 16 | static_cast<uint32_t>(p[3]) << 24;
}
uint16_t read16(const uint8_t* p) { return static_cast<uint16_t>(p[0] | p[1] << 8); }

// Textures above this size are refused rather than read into memory.
constexpr long kMaxBmpFileBytes = 1L << 30;

}  // namespace

bool decodeBmp(const uint8_t* data, size_t size, BmpTexture& texture) {
  if (size < kBmpHeaderBytes) return false;
  const uint8_t* info = data + 14;
  const uint32_t pixelOffset = read32(data + 10);
  const int32_t width = static_cast<int32_t>(read32(info + 4));
  const int32_t height = static_cast<int32_t>(read32(info + 8));
  const uint16_t bitsPerPixel = read16(info + 14);
  const uint32_t compression = read32(info + 16);
  if (compression != 0 || bitsPerPixel != 24 || data[0] != 'B' || data[1] != 'M') return false;
  if (width <= 0 || height <= 0 || pixelOffset < kBmpHeaderBytes) return false;
  // The rows must fit in the data; dividing first keeps the product of two
  // 31-bit sizes from overflowing.
  const int64_t rowBytes = bmpRowBytes(width);
  if (static_cast<uint64_t>(height) > size / static_cast<uint64_t>(rowBytes)) return false;
  const int64_t pixelBytes = rowBytes * height;
  if (static_cast<uint64_t>(pixelOffset) + static_cast<uint64_t>(pixelBytes) > size) return false;
  texture.width = width;
  texture.height = height;
  texture.pixels.assign(data + pixelOffset, data + pixelOffset + pixelBytes);
  texture.glTexture = 0;
  return true;
}

std::unique_ptr<BmpTexture> loadBmpTexture(const std::string& path, std::string& errorText) {
  std::vector<uint8_t> bytes;
  std::FILE* file = openFile(path, "rb");
  bool read = false;
  if (file) {
    long size = -1;
    if (std::fseek(file, 0, SEEK_END) == 0) size = std::ftell(file);
    if (size >= 0 && size <= kMaxBmpFileBytes && std::fseek(file, 0, SEEK_SET) == 0) {
      bytes.resize(static_cast<size_t>(size));
      read = std::fread(bytes.data(), 1, bytes.size(), file) == bytes.size();
    }
    std::fclose(file);
  }
  auto texture = std::make_unique<BmpTexture>();
  if (!read) {
    errorText = path + (isSpecialFile(path) ? kNotRegularFileSuffix : kCannotOpenSuffix);
    return nullptr;
  }
  if (!decodeBmp(bytes.data(), bytes.size(), *texture)) {
    errorText = path + kTextureNotBmpSuffix;
    return nullptr;
  }
  return texture;
}

}  // namespace lw
