// Joint numbers in the 3D window: CP932 text drawn at the GL raster position as
// bitmaps of the joint-number font ("MS ゴシック", 25 pixels, bold).
#pragma once

#include <windows.h>

#include <GL/gl.h>

#include <string>

#include "render/render_state.h"

namespace lw {

class WglTextDrawer : public TextDrawer {
 public:
  // Builds display lists for the 256 single-byte characters of `font` on the
  // current context; `dc` carries that context's pixel format.
  void create(HDC dc, HFONT font);
  // Deletes the display lists (the context must be current).
  void destroy();
  // Draws `text`; false, drawing nothing, when it ends inside a double-byte
  // character. Double-byte characters get a list of their own while drawn.
  bool drawText(const std::string& text) override;

 private:
  HDC dc_ = nullptr;
  HFONT font_ = nullptr;
  GLuint base_ = 0;
};

}  // namespace lw
