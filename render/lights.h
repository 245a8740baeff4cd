// Lights, the planar stencil shadow, anti-aliasing, their menu commands and
// dialog values.
#pragma once

#include <array>
#include <string>

#include "core/document.h"
#include "core/shell_ui.h"
#include "render/render_state.h"

namespace lw {

inline constexpr int kMenuAntiAliasingOn = 40081;
inline constexpr int kMenuAntiAliasingOff = 40082;
inline constexpr int kMenuRightLightOn = 40083;
inline constexpr int kMenuRightLightOff = 40084;
inline constexpr int kMenuLeftLightOn = 40086;
inline constexpr int kMenuLeftLightOff = 40087;
inline constexpr int kMenuShadowOn = 40089;
inline constexpr int kMenuShadowOff = 40090;

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

// Menu commands: the flag, the two check marks, a redraw. Returns false (and
// does nothing) for another id.
bool applyDisplayToggle(SceneDocument& doc, ShellUi& ui, int menuId);

// Dialog texts ("%f") and their reading back (anything that does not parse as a
// number reads as 0, no range check).
std::string formatDialogFloat(float value);
float parseDialogFloat(const std::string& text);

}  // namespace lw
