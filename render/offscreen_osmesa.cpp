#include <GL/osmesa.h>

#include <cstdint>
#include <vector>

#include "render/gl_loader.h"
#include "render/offscreen_context.h"

namespace lw {

struct OffscreenContext {
  OSMesaContext context = nullptr;
  std::vector<uint8_t> pixels;
  int width = 0;
  int height = 0;
};

namespace {

GlProc osmesaProcAddress(const char* name) {
  return reinterpret_cast<GlProc>(OSMesaGetProcAddress(name));
}

}  // namespace

void OffscreenContextDeleter::operator()(OffscreenContext* context) const {
  if (context->context) OSMesaDestroyContext(context->context);
  delete context;
}

bool makeOffscreenContextCurrent(OffscreenContext& context) {
  return OSMesaMakeCurrent(context.context, context.pixels.data(), GL_UNSIGNED_BYTE, context.width,
                           context.height) == GL_TRUE;
}

OffscreenContextPtr createOffscreenContext(int width, int height) {
  if (width <= 0 || height <= 0) return nullptr;
  OffscreenContextPtr result(new OffscreenContext);
  // 24 depth bits and 8 stencil bits: the formats the software rasteriser offers.
  result->context = OSMesaCreateContextExt(OSMESA_RGBA, 24, 8, 0, nullptr);
  if (!result->context) return nullptr;
  result->width = width;
  result->height = height;
  result->pixels.assign(static_cast<size_t>(width) * height * 4, 0);
  if (!makeOffscreenContextCurrent(*result)) return nullptr;
  setGlProcLoader(osmesaProcAddress);
  return result;
}

}  // namespace lw
