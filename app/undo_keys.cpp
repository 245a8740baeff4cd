#include "app/undo_keys.h"

#include <commctrl.h>

#include <new>
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

enum class Take { Reset, Absorb, Record };

// The command whose step is still to be taken: a command's step is taken just
// before the next command, 3D-window event or undo key, outside the command
// itself, so that the command alone meets its own memory failures.
struct PendingStep {
  bool waiting = false;
  Take take = Take::Record;
  std::string label;
};
PendingStep gPending;
// Memory ran out while a step was taken: the steps may not fit the document, so
// the next take starts a new history instead.
bool gHistoryLost = false;

void takeDocument(Take take, const std::string& label) {
  Program& p = program();
  drawPendingFrame();
  try {
    if (take == Take::Reset || gHistoryLost) {
      history().reset(p.doc, menuState());
      gHistoryLost = false;
    } else if (take == Take::Absorb) {
      history().absorb(p.doc, menuState());
    } else {
      history().record(p.doc, label, menuState());
    }
  } catch (const std::bad_alloc&) {
    gHistoryLost = true;
  }
}

}  // namespace

void startUndoHistory() {
  gPending = {};
  takeDocument(Take::Reset, {});
}

void recordPendingStep() {
  if (!gPending.waiting) return;
  gPending.waiting = false;
  takeDocument(gPending.take, gPending.label);
}

void recordCommand(int id) {
  if (id == IDM_FILE_EXIT) return;
  gPending.waiting = true;
  gPending.take = id == IDM_FILE_OPEN || id == IDM_FILE_ADD ? Take::Reset
                  : id == IDM_FILE_SAVE_AS                  ? Take::Absorb
                                                            : Take::Record;
  gPending.label = undoLabelForCommand(id, program().doc.editMode);
}

void recordViewAction(UINT message) {
  if (message == WM_MOUSEMOVE || message == WM_PAINT) return;
  Program& p = program();
  if (p.viewInput.dragActive || p.viewInput.cameraDragActive) return;
  takeDocument(Take::Record, undoLabelForEditMode(p.doc.editMode));
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
  recordPendingStep();
  if (gHistoryLost) takeDocument(Take::Reset, {});
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
