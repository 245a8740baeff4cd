#include "app/win_shell_ui.h"

#include <windows.h>

#include <commctrl.h>

#include "app/program.h"
#include "app/win_text.h"

namespace lw {

namespace {

constexpr char kNoFrame[] = "NULL";

void expandSubtree(HWND tree, HTREEITEM item) {
  for (; item != nullptr; item = TreeView_GetNextSibling(tree, item)) {
    TreeView_Expand(tree, item, TVE_EXPAND);
    expandSubtree(tree, TreeView_GetChild(tree, item));
  }
}

}  // namespace

void WinShellUi::enableMenuItem(int id, bool enabled) {
  EnableMenuItem(GetMenu(windows_.main), static_cast<UINT>(id),
                 MF_BYCOMMAND | (enabled ? MF_ENABLED : MF_GRAYED));
}

void WinShellUi::checkMenuItem(int id, bool checked) {
  CheckMenuItem(GetMenu(windows_.main), static_cast<UINT>(id),
                MF_BYCOMMAND | (checked ? MF_CHECKED : MF_UNCHECKED));
}

TreeItem WinShellUi::treeInsertItem(TreeItem parent, const std::string& text) {
  std::wstring wide = toWide(text);
  TVINSERTSTRUCTW insert = {};
  insert.hParent = parent != nullptr ? static_cast<HTREEITEM>(parent) : TVI_ROOT;
  insert.hInsertAfter = TVI_LAST;
  insert.item.mask = TVIF_TEXT;
  insert.item.pszText = wide.data();
  return reinterpret_cast<TreeItem>(SendMessageW(windows_.treeView, TVM_INSERTITEMW, 0,
                                                 reinterpret_cast<LPARAM>(&insert)));
}

void WinShellUi::treeDeleteRoot() { TreeView_DeleteItem(windows_.treeView, TVI_ROOT); }

void WinShellUi::treeExpandAll() {
  expandSubtree(windows_.treeView, TreeView_GetRoot(windows_.treeView));
}

void WinShellUi::resetFrameDisplay() {
  setWindowTextCp932(windows_.frameNumber, kNoFrame);
  setWindowTextCp932(windows_.frameTime, kNoFrame);
}

void WinShellUi::refreshMotionPanel() {
  if (doc_.keyFrames == nullptr) return;
  const auto& byNumber = doc_.keyFrames->byNumber;
  const auto found = byNumber.find(doc_.keyFrames->currentNumber);
  if (found == byNumber.end() || found->second == nullptr) return;
  setWindowTextCp932(windows_.frameNumber, std::to_string(found->second->number));
  setWindowTextCp932(windows_.frameTime, std::to_string(found->second->time));
}

void WinShellUi::redraw() { InvalidateRect(windows_.view, nullptr, FALSE); }

void WinShellUi::showMessage(const std::string& text, const std::string& title) {
  showMessageBox(nullptr, text, title);
}

}  // namespace lw
