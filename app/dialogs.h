// The small modal dialogs of the shell. Each runs its numbered template owned by
// `owner`, edits only what it is given, and returns the dialog's end code
// (IDOK 1 / IDCANCEL 2, the version dialog 8; -1 when it could not be shown).
// Numbers typed into fields are read like "%f" would read them: text that is
// not a number reads as 0.
#pragma once

#include <windows.h>

#include <string>

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

// A dialog whose fields each show one number with "%f" and, on OK, read it back
// without a range check (unparsable text reads as 0); Cancel changes nothing.
struct NumberField {
  int id;
  float* value;
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

}  // namespace lw
