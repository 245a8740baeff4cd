// Lights, the planar stencil shadow and anti-aliasing.
#pragma once

#include <array>

#include "core/document.h"
#include "render/render_state.h"

namespace lw {

// The shadow plane y = 0.01 as (a, b, c, d) and the floor quad's half size.
inline constexpr float kShadowPlane[4] = {0.0f, 1.0f, 0.0f, -0.01f};
inline constexpr float kFloorHalfSize = 5.0f;
inline constexpr float kShadowAlpha = 0.3f;

// With the camera transform current: light 0 at (viewDirection, 0); light 1 at
// (viewDirection + (1,0,0), 0) with the right colour as diffuse and specular;
// light 2 at (viewDirection - (1,0,0), 0) with the left colour; lighting and
// light 0 on, lights 1 and 2 as rightLightOn / leftLightOn; smooth shading.
void setUpLights(const SceneDocument& doc);

// With antiAliasing 1: point, line and polygon smoothing with the nicest hints,
// and blending (source alpha, one minus source alpha). end switches them off.
void beginAntiAliasing(const SceneDocument& doc);
void endAntiAliasing(const SceneDocument& doc);

// The shadow matrix (column-major, as GL reads it) projecting along direction
// d onto plane p: element [col * 4 + row] = (p.d) * (row == col) - d[row] * p[col],
// d taken as (dx, dy, dz, 0).
std::array<float, 16> shadowMatrix(Vector3 d, const float plane[4]);

// The planar shadow, after the model's parts while lighting, depth testing and
// the vertex array are on: the model projected from shadowLightPosition (as a
// direction towards the root joint's `position`) onto y = 0.01 marks the
// stencil buffer, then the floor quad (+-5 on y = 0) is drawn black at alpha 0.3
// where it is marked, darkening the floor by 30 %. The parts are drawn from the
// skin buffers as the frame's preparation left them (the same corners as the
// model). Editing frames set point size 5 for drawMode 0 and leave out the
// parts in vertex weighting and point-pick view; playback frames draw every
// part. When the light sits exactly on the root
// joint the direction is undefined and the frame has no shadow. Leaves blending
// and the stencil test off.
void drawPlanarShadow(SceneDocument& doc, bool playback);

}  // namespace lw
