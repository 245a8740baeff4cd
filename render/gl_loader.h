// The one way render/ reaches OpenGL entry points beyond version 1.1: a loader
// function that the platform layer installs once (wglGetProcAddress on Windows,
// OSMesaGetProcAddress for the offscreen context).
#pragma once

namespace lw {

using GlProc = void (*)();
using GlProcLoader = GlProc (*)(const char* name);

// Installs the loader used by every later loadGlProc; null uninstalls it.
void setGlProcLoader(GlProcLoader loader);

// The entry point of that name from the installed loader; null when no loader
// is installed or the name is unknown to it.
GlProc loadGlProc(const char* name);

// loadGlProc cast to the function pointer type T.
template <typename T>
T loadGlProcAs(const char* name) {
  return reinterpret_cast<T>(loadGlProc(name));
}

}  // namespace lw
