// The small modal dialogs of the shell. Each runs its numbered template owned by
// `owner`, edits only what it is given, and returns the dialog's end code
// (IDOK 1 / IDCANCEL 2, the version dialog 8; -1 when it could not be shown).
// Numbers typed into fields are read like "%f" would read them (trailing text is
// ignored); where a dialog says so, a field that holds no number is refused.
#pragma once

#include <windows.h>

#include <cstdint>
#include <string>
#include <vector>

#include "core/document.h"

namespace lw {

// Dialog 111: OpenGL version, vendor and renderer of the current context and
// the number of texture units. Ends with 8 ("Close").
INT_PTR showVersionDialog(HWND owner);

// Dialog 109: a new TreeName for the joint named doc.editedJointName. A text of
// more than 255 bytes (CP932) is refused with a message and the dialog stays
// open; an empty text is accepted.
INT_PTR showJointNameDialog(HWND owner, SceneDocument& doc);

// Dialog 108: the ik_stopFlg of the joint named doc.editedJointName.
INT_PTR showIkStopDialog(HWND owner, SceneDocument& doc);

// Dialog 114: both decorative light colours (right: lightColour[0], left: [1]).
INT_PTR showLightColourDialog(HWND owner, SceneDocument& doc);

// Dialog 115: shadowLightPosition.
INT_PTR showShadowLightDialog(HWND owner, SceneDocument& doc);

// Dialog 116: backgroundColour.
INT_PTR showBackgroundDialog(HWND owner, SceneDocument& doc);

// Dialog 103 "頂点を選択して重み付け" over doc.vertexSelection: with exactly one
// corner selected the rows start with that corner's entries, otherwise empty.
// OK checks the rows (a weight outside 0.0..1.0, a joint number no joint has):
// a refused row is explained in a message box and the dialog stays open with
// nothing changed; otherwise the selected corners get the rows' list, and, while
// the 3D window is in the picked sub-state of vertex weighting, so does every
// corner lying exactly on one of them. The selection itself is left to the
// caller.
INT_PTR showVertexWeightDialog(HWND owner, SceneDocument& doc);

// Dialog 105 "重み付けボックスで重み付け": empty rows; OK refuses a weight outside
// 0.0..1.0 (the dialog stays open), drops rows naming no joint, and gives the
// list to every corner inside the weighting box while the box is shown.
INT_PTR showBoxWeightDialog(HWND owner, SceneDocument& doc);

// Dialog 106 "キーフレームの作成": OK stores the pose on screen as a keyframe at the
// typed time (text that is not a number gives 0), with the menu and panel
// updates of keyframe creation; Cancel changes nothing.
INT_PTR showKeyframeDialog(HWND owner, SceneDocument& doc);

// Dialog 107 "部分アニメーションキーフレーム指定": the playback range from two lists of
// the keyframe times (both preselect the last). OK with a start that does not
// come before the end explains why and keeps the dialog open; Cancel keeps the
// range.
INT_PTR showPlayRangeDialog(HWND owner, SceneDocument& doc);

// Dialog 113 "補間方法の変更": linear or Hermite interpolation (with its two
// slopes) for one joint of one keyframe; "Hermite曲線表示" shows the curve in the
// "Hermite Function" window, which lives as long as the dialog. An empty slope
// with Hermite is refused and the dialog stays open.
INT_PTR showInterpolationDialog(HWND owner, SceneDocument& doc);

// A dialog whose fields each show one number with "%f" and, on OK, read it back
// without a range check. A field that holds no number at all (empty, or letters)
// is named in a message and the dialog stays open with nothing changed; Cancel
// changes nothing.
struct NumberField {
  int id;
  float* value;
  const char* name;  // the field as the message names it (CP932)
};
INT_PTR runNumberFieldsDialog(HWND owner, int templateId, const NumberField* fields, int count);

// A dialog over the document: onInit (may be null) fills the controls, onOk reads
// them back and ends the dialog with EndDialog(dialog, IDOK), or leaves it open
// (after telling the user why); Cancel ends it with IDCANCEL and changes nothing.
using DocumentDialogStep = void (*)(HWND dialog, SceneDocument& doc);
INT_PTR runDocumentDialog(HWND owner, int templateId, SceneDocument& doc,
                          DocumentDialogStep onInit, DocumentDialogStep onOk);

// Field helpers shared by the dialogs.
// Shows `value` formatted with "%f".
void setFieldFloat(HWND dialog, int id, double value);
// Reads a field as a decimal number; text that is not a number gives 0.
float fieldFloat(HWND dialog, int id);
// The text of a field as CP932.
std::string fieldText(HWND dialog, int id);
// Reads a field (or the chosen entry of a drop-down list) as a signed decimal
// integer, clamped to 32 bits; text that is not a number gives 0.
int32_t fieldInt(HWND dialog, int id);
// Fills a drop-down list with the numbers written with "%d", in the given order,
// and selects the last.
void fillNumberList(HWND dialog, int id, const std::vector<int32_t>& numbers);
// The same with the times of the keyframes in time order.
void fillKeyframeTimes(HWND dialog, int id, const KeyframeStore& store);

}  // namespace lw
