#include "render/textures.h"

#include "render/gl_headers.h"

namespace lw {

unsigned int ensureTextureUploaded(BmpTexture& texture, bool glslActive) {
  if (texture.glTexture != 0) return texture.glTexture;
  if (texture.width <= 0 || texture.height <= 0) return 0;
  const uint64_t rowBytes = (static_cast<uint64_t>(texture.width) * 3 + 3) / 4 * 4;
  if (rowBytes * static_cast<uint64_t>(texture.height) > texture.pixels.size()) return 0;
  GLuint name = 0;
  glGenTextures(1, &name);
  glBindTexture(GL_TEXTURE_2D, name);
  if (!glslActive) glTexEnvi(GL_TEXTURE_ENV, GL_TEXTURE_ENV_MODE, GL_MODULATE);
  glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_WRAP_S, GL_CLAMP);
  glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_WRAP_T, GL_CLAMP);
  glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MIN_FILTER, GL_NEAREST);
  glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MAG_FILTER, GL_NEAREST);
  glPixelStorei(GL_UNPACK_ALIGNMENT, 4);
  glTexImage2D(GL_TEXTURE_2D, 0, GL_RGBA, texture.width, texture.height, 0, GL_BGR,
               GL_UNSIGNED_BYTE, texture.pixels.data());
  glBindTexture(GL_TEXTURE_2D, 0);
  texture.glTexture = name;
  return name;
}

}  // namespace lw
