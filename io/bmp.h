// Texture images: 24-bit uncompressed BMP files decoded into BmpTexture. The
// pixel rows are kept as the file stores them (bottom-up, blue-green-red, each
// row padded to a multiple of 4 bytes), ready for an upload with an unpack
// alignment of 4. Uploading to the GPU is the renderer's job.
#pragma once

#include <cstddef>
#include <cstdint>
#include <memory>
#include <string>

#include "core/mesh.h"

namespace lw {

// Bytes of the file header plus the information header.
inline constexpr size_t kBmpHeaderBytes = 54;

// Bytes of one pixel row of a 24-bit image `width` pixels wide.
inline int64_t bmpRowBytes(int64_t width) { return (width * 3 + 3) / 4 * 4; }

// Decodes a whole BMP file held in memory. Accepts only the signature "BM", 24
// bits per pixel, no compression, a positive width and height, a pixel data
// offset past the two headers, and pixel data (height rows of bmpRowBytes) that
// lies wholly inside `size`. Returns false for anything else; `texture` is then
// left as it was.
bool decodeBmp(const uint8_t* data, size_t size, BmpTexture& texture);

// Reads and decodes the BMP file at `path`. Returns nullptr with the path and
// the reason in `errorText` when the file cannot be read, is not a regular file,
// or is not a BMP decodeBmp accepts.
std::unique_ptr<BmpTexture> loadBmpTexture(const std::string& path, std::string& errorText);

}  // namespace lw
