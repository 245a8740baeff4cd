// Lights, the planar stencil shadow, anti-aliasing, their menu commands and
// dialog values, and the reduced frame drawn during animation playback.
#pragma once

#include <array>
#include <string>

#include "core/document.h"
#include "core/shell_ui.h"
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
// where it is marked, darkening the floor by 30 %. Editing frames deform the
// parts again when do_skinning is 1, set point size 5 for drawMode 0 and leave
// out the parts in vertex weighting and point-pick view; playback frames draw
// every part as it was last deformed. When the light sits exactly on the root
// joint the direction is undefined and the frame has no shadow. Leaves blending
// and the stencil test off.
void drawPlanarShadow(SceneDocument& doc, bool playback);

// The frame drawn for each playback frame, after setViewAndProjection: world
// axes and floor grid always, the playback pose (poseFrame of animationPoses),
// the model skinned from it part by part (deformPartForPlayback, whatever
// do_skinning says) and lit by light 0 only, the shadow when shadowMap is 1,
// the decorations when shown; no overlays, joints or numbers. The matrices are
// not read back.
void drawPlaybackFrame(SceneDocument& doc, RenderState& rs);

// Menu commands: the flag, the two check marks, a redraw. Returns false (and
// does nothing) for another id.
bool applyDisplayToggle(SceneDocument& doc, ShellUi& ui, int menuId);

// Dialog texts ("%f") and their reading back (anything that does not parse as a
// number reads as 0, no range check).
std::string formatDialogFloat(float value);
float parseDialogFloat(const std::string& text);

}  // namespace lw
