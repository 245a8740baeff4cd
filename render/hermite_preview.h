// The picture of the "Hermite Function" preview window: the curve two slopes
// give, from (0, 0) to (0.5, 0.5) inside a white square, with the two end
// tangents in green.
#pragma once

#include "anim/interpolation.h"

namespace lw {

// Draws the preview into the current context's viewport of width x height:
// black background, the square outline, the tangents and the 1001 curve points.
// The view maps (-0.01 .. 0.51) onto the viewport on both axes.
void drawHermitePreview(const HermitePreview& curve, int width, int height);

}  // namespace lw
