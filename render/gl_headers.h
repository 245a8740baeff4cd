// OpenGL 1.x, its extension tokens and GLU, for every file of render/. On
// Windows the calling-convention macros the GL headers need are supplied
// here so that windows.h stays out of the drawing code.
#pragma once

#if defined(_WIN32) && !(defined(WINGDIAPI) && defined(APIENTRY))
#define WINGDIAPI __declspec(dllimport)
#define APIENTRY __stdcall
#endif
#if defined(_WIN32) && !defined(CALLBACK)
#define CALLBACK __stdcall
#endif

#include <GL/gl.h>
#include <GL/glext.h>
#include <GL/glu.h>
