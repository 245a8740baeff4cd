// Frame capture: the 3D window's picture as an uncompressed 24-bit BMP file
// (54-byte header, rows bottom-up, blue-green-red, rows padded to 4 bytes).
#pragma once

#include <array>
#include <cstdint>
#include <string>
#include <vector>

namespace lw {

inline constexpr int kBmpHeaderSize = 54;

// Bytes per pixel row in the file: 3 * width rounded up to a multiple of 4.
int32_t bmpRowSize(int32_t width);

// The 14-byte file header and 40-byte info header for a width x height image:
// "BM", file size 54 + height * rowSize, pixel offset 54, info size 40, the two
// sizes, 1 plane, 24 bits, and zeros for compression, image size, resolutions
// and colour counts; all little-endian.
std::array<uint8_t, kBmpHeaderSize> bmpHeader(int32_t width, int32_t height);

// The whole file for an image given as tightly packed RGB rows, bottom row
// first (as glReadPixels returns them with pack alignment 1). `out` is resized.
void encodeBmp(const uint8_t* rgbRows, int32_t width, int32_t height, std::vector<uint8_t>& out);

// Reads the drawn frame (the back buffer where there is one) as width x height
// pixels from the window's lower-left corner and saves it as a BMP at `path`
// (a CP932 name) through a temporary file, so a failed save keeps the file that
// was there. Returns 0 on success, 1 when the size was not positive, the pixel
// buffer could not be had or the file could not be written completely. The GL
// pack alignment is restored.
int writeFrameBmp(int32_t height, int32_t width, const std::string& path);

}  // namespace lw
