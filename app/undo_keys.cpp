#include "app/undo_keys.h"

#include <commctrl.h>

#include <string>

#include "app/program.h"
#include "app/win_text.h"
#include "edit/undo_history.h"
#include "edit/undo_labels.h"
#include "resources/resource.h"

namespace lw {

namespace {

constexpr WPARAM kSimplePart = 255;

UndoHistory& history() {
  static UndoHistory instance;
  return instance;
}

// The menu items whose check mark follows the document; every other mark is a
// display setting that undo leaves as it is.
bool checkFollowsDocument(UINT id) { return id == IDM_SHOW_WEIGHT_BOX || id == IDM_AXIS_REVERSED; }

void addMenuItems(HMENU menu, MenuState& out) {
  const int count = GetMenuItemCount(menu);
  for (int i = 0; i < count; ++i) {
    if (HMENU sub = GetSubMenu(menu, i)) {
      addMenuItems(sub, out);
      continue;
    }
    const UINT id = GetMenuItemID(menu, i);
    if (id == 0 || id == static_cast<UINT>(-1)) continue;  // a separator
    const UINT state = GetMenuState(menu, static_cast<UINT>(i), MF_BYPOSITION);
    const int8_t checked = checkFollowsDocument(id) ? ((state & MF_CHECKED) ? 1 : 0) : -1;
    out.push_back(
        {static_cast<int32_t>(id), static_cast<int8_t>((state & MF_GRAYED) ? 0 : 1), checked});
  }
}

MenuState menuState() {
  MenuState menu;
  if (HMENU bar = GetMenu(program().windows.main)) addMenuItems(bar, menu);
  return menu;
}

void setStatus(const std::string& text) {
  SendMessageW(program().windows.statusBar, SB_SETTEXTW, kSimplePart,
               reinterpret_cast<LPARAM>(toWide(text).c_str()));
}

// After an undo or redo: the 3D window shows the document as it now is.
void refreshView() {
  Program& p = program();
  RedrawWindow(p.windows.main, nullptr, nullptr, RDW_INVALIDATE | RDW_ALLCHILDREN);
  InvalidateRect(p.windows.boneTree, nullptr, TRUE);
}

// Drawing brings the joints' drawn positions up to date with their pose; a
// frame still to be drawn is drawn before the document is taken, so that what
// the history holds is what the picture shows, and drawing it again later
// changes nothing the history would take for an edit.
void drawPendingFrame() { UpdateWindow(program().windows.view); }

}  // namespace

void startUndoHistory() { history().reset(program().doc, menuState()); }

void recordCommand(int id) {
  Program& p = program();
  if (id == IDM_FILE_EXIT) return;
  drawPendingFrame();
  switch (id) {
    case IDM_FILE_OPEN:
    case IDM_FILE_ADD:
      history().reset(p.doc, menuState());
      return;
    case IDM_FILE_SAVE_AS:
      history().absorb(p.doc, menuState());
      return;
    default:
      break;
  }
  history().record(p.doc, undoLabelForCommand(id, p.doc.editMode), menuState());
}

void recordViewAction(UINT message) {
  if (message == WM_MOUSEMOVE || message == WM_PAINT) return;
  Program& p = program();
  if (p.viewInput.dragActive || p.viewInput.cameraDragActive) return;
  drawPendingFrame();
  history().record(p.doc, undoLabelForEditMode(p.doc.editMode), menuState());
}

bool isUndoKey(WPARAM key) {
  return (key == 'Z' || key == 'Y') && (GetKeyState(VK_CONTROL) & 0x8000) != 0;
}

bool handleUndoKey(WPARAM key) {
  if (!isUndoKey(key)) return false;
  const bool redo = key == 'Y' || (GetKeyState(VK_SHIFT) & 0x8000) != 0;
  Program& p = program();
  // Not in the middle of a drag: it becomes a step only when it ends.
  if (p.viewInput.dragActive || p.viewInput.cameraDragActive) return true;
  const auto label = redo ? history().redo(p.doc, p.ui) : history().undo(p.doc, p.ui);
  if (label) {
    refreshView();
    setStatus(redo ? redoneText(*label) : undoneText(*label));
  } else {
    setStatus(redo ? kNothingToRedoText : kNothingToUndoText);
  }
  return true;
}

}  // namespace lw
