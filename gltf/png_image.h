// Texture images for export: a BMP texture (rows bottom-up, blue-green-red)
// encoded as a PNG file (rows top-down, red-green-blue).
#pragma once

#include <cstdint>
#include <vector>

#include "core/mesh.h"

namespace lw {

// The PNG file of the texture; empty when the texture holds no whole image.
std::vector<uint8_t> pngFromBmp(const BmpTexture& texture);

}  // namespace lw
