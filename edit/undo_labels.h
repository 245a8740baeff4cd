// The names undo steps are shown under in the status bar (CP932): the menu
// item, or the submenu, that chose the action.
#pragma once

#include <cstdint>
#include <string>

namespace lw {

// The label of a 3D-window action taken in `editMode` (an entry value of
// EditMode or one of the sub-states that follow it); a general label for Idle.
std::string undoLabelForEditMode(int32_t editMode);

}  // namespace lw
