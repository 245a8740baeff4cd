// Field helpers shared by the small dialogs.
#include <cstdio>
#include <cstdlib>

#include "app/dialogs.h"
#include "app/program.h"
#include "app/win_text.h"

namespace lw {

void setFieldFloat(HWND dialog, int id, double value) {
  char text[64];
  std::snprintf(text, sizeof(text), "%f", value);
  setWindowTextCp932(GetDlgItem(dialog, id), text);
}

float fieldFloat(HWND dialog, int id) {
  const std::string text = fieldText(dialog, id);
  return static_cast<float>(std::strtod(text.c_str(), nullptr));
}

std::string fieldText(HWND dialog, int id) { return windowTextCp932(GetDlgItem(dialog, id)); }

namespace {

struct NumberFieldsDialog {
  const NumberField* fields;
  int count;
};

INT_PTR CALLBACK numberFieldsDialogProc(HWND dialog, UINT message, WPARAM wParam,
                                        LPARAM lParam) {
  switch (message) {
    case WM_INITDIALOG: {
      SetWindowLongPtrW(dialog, DWLP_USER, lParam);
      const auto* form = reinterpret_cast<const NumberFieldsDialog*>(lParam);
      for (int i = 0; i < form->count; ++i) {
        setFieldFloat(dialog, form->fields[i].id, *form->fields[i].value);
      }
      return TRUE;
    }
    case WM_COMMAND: {
      const auto* form =
          reinterpret_cast<const NumberFieldsDialog*>(GetWindowLongPtrW(dialog, DWLP_USER));
      if (LOWORD(wParam) == IDOK) {
        for (int i = 0; i < form->count; ++i) {
          *form->fields[i].value = fieldFloat(dialog, form->fields[i].id);
        }
        EndDialog(dialog, IDOK);
        return TRUE;
      }
      if (LOWORD(wParam) == IDCANCEL) {
        EndDialog(dialog, IDCANCEL);
        return TRUE;
      }
      break;
    }
    default:
      break;
  }
  return FALSE;
}

}  // namespace

INT_PTR runNumberFieldsDialog(HWND owner, int templateId, const NumberField* fields, int count) {
  NumberFieldsDialog form{fields, count};
  return DialogBoxParamW(program().instance, MAKEINTRESOURCEW(templateId), owner,
                         numberFieldsDialogProc, reinterpret_cast<LPARAM>(&form));
}

namespace {

struct DocumentDialog {
  SceneDocument* doc;
  DocumentDialogStep onInit;
  DocumentDialogStep onOk;
};

INT_PTR CALLBACK documentDialogProc(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam) {
  switch (message) {
    case WM_INITDIALOG: {
      SetWindowLongPtrW(dialog, DWLP_USER, lParam);
      const auto* form = reinterpret_cast<const DocumentDialog*>(lParam);
      if (form->onInit != nullptr) form->onInit(dialog, *form->doc);
      return TRUE;
    }
    case WM_COMMAND: {
      const auto* form =
          reinterpret_cast<const DocumentDialog*>(GetWindowLongPtrW(dialog, DWLP_USER));
      if (LOWORD(wParam) == IDOK) {
        form->onOk(dialog, *form->doc);
        return TRUE;
      }
      if (LOWORD(wParam) == IDCANCEL) {
        EndDialog(dialog, IDCANCEL);
        return TRUE;
      }
      break;
    }
    default:
      break;
  }
  return FALSE;
}

}  // namespace

INT_PTR runDocumentDialog(HWND owner, int templateId, SceneDocument& doc,
                          DocumentDialogStep onInit, DocumentDialogStep onOk) {
  DocumentDialog form{&doc, onInit, onOk};
  return DialogBoxParamW(program().instance, MAKEINTRESOURCEW(templateId), owner,
                         documentDialogProc, reinterpret_cast<LPARAM>(&form));
}

}  // namespace lw
