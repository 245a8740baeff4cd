// The names undo steps are shown under in the status bar (CP932): the menu
// item, or the submenu, that chose the action.
#pragma once

#include <cstdint>
#include <string>

namespace lw {

// The label of the step menu command `id` made, taken while the 3D window was
// in `editMode`: the item's text, or its submenu's where the item alone says too
// little ("有効", "XY平面" ...); a command that only chooses a mode (and so rarely
// edits) is named after the mode it chose.
std::string undoLabelForCommand(int id, int32_t editMode);

// The label of a 3D-window action taken in `editMode` (an entry value of
// EditMode or one of the sub-states that follow it); a general label for Idle.
std::string undoLabelForEditMode(int32_t editMode);

}  // namespace lw
