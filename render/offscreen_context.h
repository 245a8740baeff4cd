// An offscreen OpenGL context for tests, benchmarks and lwtool: a compatibility
// context (selection mode, stencil, GLSL) drawing into memory. Natively it is an
// OSMesa context; there is no offscreen context in the Windows build.
#pragma once

#include <memory>

namespace lw {

struct OffscreenContext;

struct OffscreenContextDeleter {
  void operator()(OffscreenContext* context) const;
};
using OffscreenContextPtr = std::unique_ptr<OffscreenContext, OffscreenContextDeleter>;

// A context with an RGBA colour buffer of width x height pixels, a depth buffer
// and a stencil buffer, made current, with the GL entry-point loader installed
// (setGlProcLoader). Null when the context cannot be created or the size is
// not positive.
OffscreenContextPtr createOffscreenContext(int width, int height);

// Makes the context current again (after another context was used).
bool makeOffscreenContextCurrent(OffscreenContext& context);

}  // namespace lw
