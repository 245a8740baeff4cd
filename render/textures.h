// Upload of a BMP texture image (rows bottom-up, blue-green-red, padded to 4
// bytes) as an OpenGL texture.
#pragma once

#include "core/mesh.h"

namespace lw {

// The texture's GL name, uploading it first when it has none: one 2D texture,
// modulate environment unless GLSL shading is active, clamp in S and T,
// nearest filters, level 0 as RGBA from BGR bytes with unpack alignment 4, then
// unbound. An image whose pixel bytes are fewer than its sizes need, or whose
// sizes are not positive, is not uploaded and gives 0 (drawn untextured).
unsigned int ensureTextureUploaded(BmpTexture& texture, bool glslActive);

}  // namespace lw
