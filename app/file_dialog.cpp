#include "app/file_dialog.h"

#include <commdlg.h>

#include "app/win_text.h"

namespace lw {

namespace {

constexpr DWORD kPathChars = 260;
constexpr DWORD kTitleChars = 64;

}  // namespace

FileDialogFunction chooseFile = showCommonFileDialog;

bool showCommonFileDialog(HWND owner, const FileDialogRequest& request, FileChoice& choice) {
  wchar_t path[kPathChars] = {};
  wchar_t title[kTitleChars] = {};
  const std::wstring filter = toWide(request.filter);
  const std::wstring dialogTitle = toWide(request.title);
  OPENFILENAMEW ofn = {};
  ofn.lStructSize = sizeof(ofn);
  ofn.hwndOwner = owner;
  ofn.lpstrFilter = filter.c_str();
  ofn.lpstrFile = path;
  ofn.nMaxFile = kPathChars;
  ofn.lpstrFileTitle = title;
  ofn.nMaxFileTitle = kTitleChars;
  ofn.lpstrTitle = dialogTitle.c_str();
  ofn.Flags = OFN_EXPLORER | request.flags;
  const BOOL chosen = request.save ? GetSaveFileNameW(&ofn) : GetOpenFileNameW(&ofn);
  if (!chosen) return false;
  choice.path = toCp932(path);
  choice.title = toCp932(path + ofn.nFileOffset);
  return true;
}

}  // namespace lw
