#include "render/gl_loader.h"

namespace lw {

namespace {
GlProcLoader gLoader = nullptr;
}  // namespace

void setGlProcLoader(GlProcLoader loader) { gLoader = loader; }

GlProc loadGlProc(const char* name) { return gLoader ? gLoader(name) : nullptr; }

}  // namespace lw
