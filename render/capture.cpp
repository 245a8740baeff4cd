#include "render/capture.h"

#include <cstring>
#include <memory>
#include <new>
#include <string_view>

#include "core/replacing_file.h"
#include "render/gl_headers.h"

namespace lw {

namespace {

void put16(uint8_t* p, uint32_t v) {
  p[0] = static_cast<uint8_t>(v);
  p[1] = static_cast<uint8_t>(v >> 8);
}

void put32(uint8_t* p, uint32_t v) {
  put16(p, v & 0xFFFFu);
  put16(p + 2, v >> 16);
}

}  // namespace

int32_t bmpRowSize(int32_t width) { return (width * 3 + 3) / 4 * 4; }

std::array<uint8_t, kBmpHeaderSize> bmpHeader(int32_t width, int32_t height) {
  std::array<uint8_t, kBmpHeaderSize> h{};
  h[0] = 'B';
  h[1] = 'M';
  put32(&h[2], static_cast<uint32_t>(kBmpHeaderSize + height * bmpRowSize(width)));
  put32(&h[10], kBmpHeaderSize);
  put32(&h[14], 40);
  put32(&h[18], static_cast<uint32_t>(width));
  put32(&h[22], static_cast<uint32_t>(height));
  put16(&h[26], 1);
  put16(&h[28], 24);
  return h;  // compression, image size, resolutions and colour counts stay 0
}

void encodeBmp(const uint8_t* rgbRows, int32_t width, int32_t height, std::vector<uint8_t>& out) {
  const int32_t rowSize = bmpRowSize(width);
  out.assign(kBmpHeaderSize + static_cast<size_t>(rowSize) * height, 0);
  const auto header = bmpHeader(width, height);
  std::memcpy(out.data(), header.data(), header.size());
  for (int32_t y = 0; y < height; ++y) {
    const uint8_t* src = rgbRows + static_cast<size_t>(y) * width * 3;
    uint8_t* dst = out.data() + kBmpHeaderSize + static_cast<size_t>(y) * rowSize;
    for (int32_t x = 0; x < width; ++x) {
      dst[3 * x + 0] = src[3 * x + 2];
      dst[3 * x + 1] = src[3 * x + 1];
      dst[3 * x + 2] = src[3 * x + 0];
    }
  }
}

int writeFrameBmp(int32_t height, int32_t width, const std::string& path) {
  if (width <= 0 || height <= 0) return 1;
  const size_t size = static_cast<size_t>(width) * height * 4;
  std::unique_ptr<uint8_t[]> pixels(new (std::nothrow) uint8_t[size]());
  if (!pixels) return 1;
  GLboolean doubleBuffered = GL_FALSE;
  glGetBooleanv(GL_DOUBLEBUFFER, &doubleBuffered);
  if (doubleBuffered) glReadBuffer(GL_BACK);
  GLint alignment = 4;
  glGetIntegerv(GL_PACK_ALIGNMENT, &alignment);
  glPixelStorei(GL_PACK_ALIGNMENT, 1);
  glReadPixels(0, 0, width, height, GL_RGB, GL_UNSIGNED_BYTE, pixels.get());
  glPixelStorei(GL_PACK_ALIGNMENT, alignment);
  glFlush();
  std::vector<uint8_t> bytes;
  encodeBmp(pixels.get(), width, height, bytes);
  const std::string_view data(reinterpret_cast<const char*>(bytes.data()), bytes.size());
  return writeFileReplacing(path, data) ? 0 : 1;
}

}  // namespace lw
