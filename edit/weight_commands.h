// Menu commands of the weighting, skinning and tree items, the modes that are
// chosen without anything else, and the steps of the keyframe commands that
// change the document around their dialogs. Where a command must show the 3D
// window before it goes on (a dialog opens over it), the caller passes that
// step as a function, so the order stays the same.
#pragma once

#include <functional>

#include "core/document.h"
#include "core/shell_ui.h"

namespace lw {

// Paints the 3D window now (not merely marks it for painting).
using RepaintNow = std::function<void()>;

// Weighting by vertex: clears the vertex selection, hides the weight box, and
// when the joint numbers are hidden shows them for the while (tempJointNumbers
// = 1, IDM_SHOW_JOINT_NUMBERS checked) and calls repaintNow; then editMode = WeightByVertex and
// skinning on. The caller redraws the main window.
void beginVertexWeighting(SceneDocument& doc, ShellUi& ui, const RepaintNow& repaintNow);

// Weighting by the box: without a shown box nothing but skinning on. With one,
// the joint numbers show (repaintNow called if they were hidden) while
// runDialog runs, and are hidden again afterwards if they were hidden before.
// Skinning is on afterwards whether or not the dialog weighted anything.
void weightWithBox(SceneDocument& doc, const RepaintNow& repaintNow,
                   const std::function<void()>& runDialog);

// Menus IDM_TREE_EXPANDED (tree always expanded) and IDM_SHOW_WEIGHT_BOX (weight box shown): flips
// the flag (any non-zero value counts as set) and its check mark. False for any other id. The
// caller redraws.
bool toggleEditFlag(SceneDocument& doc, int id, ShellUi& ui);

// The items that only set editMode (IDM_PLACE_WEIGHT_BOX, IDM_MOVE_BOX_FACE, IDM_EQUALISE_BONES,
// IDM_DELETE_CHILD, IDM_NAME_JOINT, and IDM_STOP_IK, which also redraws) and skinning on/off
// (IDM_SKINNING_ON, IDM_SKINNING_OFF). False for any other id.
bool chooseModeItem(SceneDocument& doc, int id, ShellUi& ui);

// Runs whileShown with the joint numbers shown, then restores what was shown.
void withJointNumbersShown(SceneDocument& doc, const std::function<void()>& whileShown);

// Next (true) or previous keyframe, with the menu states that follow.
void showAdjacentKeyframe(SceneDocument& doc, ShellUi& ui, bool next);

}  // namespace lw
