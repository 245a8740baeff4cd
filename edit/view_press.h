// The left press of the 3D window's input, kept apart from the state machine in
// view_input.cpp, and the two steps both use.
#pragma once

#include <cstdint>

#include "edit/view_input.h"

namespace lw {

namespace view_input_detail {

// Shows kDrawFailedText and closes the window.
inline void showDrawFailure(ViewInputContext& ctx) {
  ctx.ui.showMessage(kDrawFailedText, kDrawFailedTitle);
  ctx.host.closeWindow();
}

// Window-to-world of the cursor at pickDepth into pickPoint. A failed conversion
// leaves pickPoint and the reason in ErrorText as they are.
inline bool cursorToWorld(ViewInputContext& ctx, int16_t x, int16_t y) {
  return ctx.host.windowToWorld(x, y, ctx.state.pickDepth, ctx.doc.pickPoint) == 0;
}

// Runs the operation a left press starts in the current editMode. Returns true
// when the press goes on to remember the selection in pressedPick and redraw
// (every editMode without an operation of its own); false when the operation
// has finished the press itself.
bool pressInMode(ViewInputContext& ctx, int16_t x, int16_t y);

}  // namespace view_input_detail

}  // namespace lw
