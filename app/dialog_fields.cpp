// Field helpers shared by the small dialogs.
#include <functional>

#include "app/dialogs.h"
#include "app/program.h"
#include "app/win_text.h"
#include "core/number_text.h"
#include "edit/dialog_values.h"

namespace lw {

void setFieldFloat(HWND dialog, int id, double value) {
  setWindowTextCp932(GetDlgItem(dialog, id), formatDialogFloat(value));
}

float fieldFloat(HWND dialog, int id) { return parseDialogFloat(fieldText(dialog, id)); }

std::string fieldText(HWND dialog, int id) { return windowTextCp932(GetDlgItem(dialog, id)); }

namespace {

// A modal dialog whose OK and Cancel buttons are all it handles: onInit fills
// the controls, onOk reads them back and ends the dialog (or leaves it open);
// Cancel ends it with IDCANCEL.
struct FormDialog {
  std::function<void(HWND)> onInit;
  std::function<void(HWND)> onOk;
};

INT_PTR CALLBACK formDialogProc(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam) {
  switch (message) {
    case WM_INITDIALOG:
      SetWindowLongPtrW(dialog, DWLP_USER, lParam);
      reinterpret_cast<const FormDialog*>(lParam)->onInit(dialog);
      return TRUE;
    case WM_COMMAND:
      if (LOWORD(wParam) == IDOK) {
        reinterpret_cast<const FormDialog*>(GetWindowLongPtrW(dialog, DWLP_USER))->onOk(dialog);
        return TRUE;
      }
      if (LOWORD(wParam) == IDCANCEL) {
        EndDialog(dialog, IDCANCEL);
        return TRUE;
      }
      break;
    default:
      break;
  }
  return FALSE;
}

INT_PTR runFormDialog(HWND owner, int templateId, const FormDialog& form) {
  return DialogBoxParamW(program().instance, MAKEINTRESOURCEW(templateId), owner, formDialogProc,
                         reinterpret_cast<LPARAM>(&form));
}

}  // namespace

INT_PTR runNumberFieldsDialog(HWND owner, int templateId, const NumberField* fields, int count) {
  const FormDialog form{[&](HWND dialog) {
                          for (int i = 0; i < count; ++i) {
                            setFieldFloat(dialog, fields[i].id, *fields[i].value);
                          }
                        },
                        [&](HWND dialog) {
                          for (int i = 0; i < count; ++i) {
                            if (!holdsDecimal(fieldText(dialog, fields[i].id))) {
                              showMessageBox(dialog, notANumberMessage(fields[i].name),
                                             kNotANumberTitle);
                              return;
                            }
                          }
                          for (int i = 0; i < count; ++i) {
                            *fields[i].value = fieldFloat(dialog, fields[i].id);
                          }
                          EndDialog(dialog, IDOK);
                        }};
  return runFormDialog(owner, templateId, form);
}

INT_PTR runDocumentDialog(HWND owner, int templateId, SceneDocument& doc,
                          DocumentDialogStep onInit, DocumentDialogStep onOk) {
  const FormDialog form{[&](HWND dialog) {
                          if (onInit != nullptr) onInit(dialog, doc);
                        },
                        [&](HWND dialog) { onOk(dialog, doc); }};
  return runFormDialog(owner, templateId, form);
}

}  // namespace lw
