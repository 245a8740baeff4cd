// The standard open and save dialogs, reached through one replaceable function
// so that tests can choose files without a dialog.
#pragma once

#include <windows.h>

#include <string>

namespace lw {

struct FileDialogRequest {
  bool save = false;   // save dialog (else open dialog)
  std::string title;   // CP932
  std::string filter;  // CP932 (label, pattern) pairs, each NUL-ended, then an empty string
  DWORD flags = 0;     // OFN_* flags besides OFN_EXPLORER
};

// The chosen file as CP932: the full path and its file title (the name after
// the folder, as the dialog's nFileOffset gives it).
struct FileChoice {
  std::string path;
  std::string title;
};

// Shows the dialog (260-character path, 64-character title); false when the
// user cancelled. The dialog leaves the current folder at the chosen file's.
using FileDialogFunction = bool (*)(HWND owner, const FileDialogRequest& request,
                                    FileChoice& choice);

// The function the commands call; showCommonFileDialog unless a test set another.
extern FileDialogFunction chooseFile;

bool showCommonFileDialog(HWND owner, const FileDialogRequest& request, FileChoice& choice);

}  // namespace lw
