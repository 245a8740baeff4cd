// The frames of the 3D window: the editing frame (also as a picking pass) and
// the playback frame. They only read the document: the pose and the skin come
// from the frame's preparation (edit/frame.h), done before a normal frame.
#pragma once

#include <cstdint>

#include "core/document.h"
#include "edit/view_input.h"
#include "render/render_state.h"

namespace lw {

inline constexpr int kDrawSceneFailed = -1;

// Draws one editing frame after setViewAndProjection, in this order: clear
// (colour, depth, stencil); applyCamera (matrices read back into rs.camera);
// anti-aliasing on. Unless pickingPass: world axes (when shown), the model from
// the skin buffers with lights, materials, textures and program, and its shadow
// (when modelLoaded), the decorations (when present and shown).
// Then in every pass: the weighting box overlay (weightBoxShown 1 and
// isWeightBoxMode), the vertex weighting overlay (isVertexWeightingMode, corner
// names 1000 + n), the placement or posed skeleton (names jointID, axis handles
// jointID + 10000) unless hidesSkeleton, and the joint numbers
// through rs.textDrawer; anti-aliasing off; the camera matrix popped.
// Returns 0, or kDrawSceneFailed when a joint number is not valid multibyte
// text (the matrix is popped and smoothing switched off first).
int drawScene(SceneDocument& doc, RenderState& rs, const ViewInputState& input, bool pickingPass);

// The frame drawn for each playback frame, after setViewAndProjection and
// preparePlaybackFrame: world axes and floor grid always, the model from the
// skin buffers lit by light 0 only, the shadow when shadowMap is 1, the
// decorations when shown; no overlays, joints or numbers. The matrices are not
// read back.
void drawPlaybackFrame(SceneDocument& doc, RenderState& rs);

// The two overlays and the skeleton, as drawScene draws them (overlays.cpp,
// skeleton_draw.cpp).
// Corner markers go out as one batch in normal frames (one marker for each
// distinct corner position, which is all the depth test lets show) and one by
// one, each under its name, in picking passes (where only markers inside the
// pick region are sent at all).
// The vertex weighting overlay records the corner picked in kModeVertexPicked in
// rs.clickedCorner.
void drawWeightBoxOverlay(SceneDocument& doc, RenderState& rs, const ViewInputState& input);
void drawVertexWeightOverlay(SceneDocument& doc, RenderState& rs, bool pickingPass);
void drawSkeleton(SceneDocument& doc, const ViewInputState& input);
// Returns false when a number could not be drawn as text.
bool drawJointNumbers(const SceneDocument& doc, const RenderState& rs);

}  // namespace lw
