// Dialog 111: version information of the program and of the OpenGL context.
#include <GL/gl.h>

#include <string>

#include "app/dialogs.h"
#include "app/program.h"
#include "app/win_text.h"
#include "resources/resource.h"

namespace lw {

namespace {

void setGlString(HWND dialog, int id, GLenum name) {
  const GLubyte* value = glGetString(name);
  setWindowTextCp932(GetDlgItem(dialog, id),
                     value != nullptr ? reinterpret_cast<const char*>(value) : "");
}

INT_PTR CALLBACK versionDialogProc(HWND dialog, UINT message, WPARAM wParam, LPARAM) {
  switch (message) {
    case WM_INITDIALOG:
      setGlString(dialog, IDC_VERSION_GL, GL_VERSION);
      setGlString(dialog, IDC_VERSION_VENDOR, GL_VENDOR);
      setGlString(dialog, IDC_VERSION_RENDERER, GL_RENDERER);
      setWindowTextCp932(GetDlgItem(dialog, IDC_VERSION_TEXTURE_UNITS),
                         std::to_string(program().maxTextureUnits));
      return TRUE;
    case WM_COMMAND:
      if (LOWORD(wParam) == IDC_VERSION_CLOSE) {
        EndDialog(dialog, IDC_VERSION_CLOSE);
        return TRUE;
      }
      break;
    default:
      break;
  }
  return FALSE;
}

}  // namespace

INT_PTR showVersionDialog(HWND owner) {
  makePresenterCurrent(program().presenter);
  return DialogBoxParamW(program().instance, MAKEINTRESOURCEW(IDD_VERSION), owner,
                         versionDialogProc, 0);
}

}  // namespace lw
