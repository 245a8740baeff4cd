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

// The label of a command's step: the item's text, or its submenu's where the
// item alone says too little ("有効", "XY平面" ...).
const char* commandLabel(int id) {
  switch (id) {
    case IDM_FIX_POSITIONS:
      return "ジョイントの位置を確定する";
    case IDM_ROTATE_FK:
      return "FKでジョイントを回転";
    case IDM_ROTATE_IK:
      return "IKでジョイントを回転";
    case IDM_RESET_ROTATIONS:
      return "すべてのジョイント回転を元に戻す";
    case IDM_WEIGHT_BOX:
      return "重み付けボックス内の頂点に重みをつける";
    case IDM_SHOW_WEIGHT_BOX:
      return "重み付けボックスの表示/非表示";
    case IDM_WEIGHT_BY_VERTEX:
      return "頂点選択で重み付け";
    case IDM_SKINNING_ON:
    case IDM_SKINNING_OFF:
      return "スキニング処理";
    case IDM_AXIS_REVERSED:
      return "回転軸を逆方向にする";
    case IDM_KEYFRAME_CREATE:
      return "現在の姿勢をキーフレームにする";
    case IDM_KEYFRAME_NEXT:
      return "次のキーフレームを参照";
    case IDM_KEYFRAME_PREVIOUS:
      return "前のキーフレームを参照";
    case IDM_KEYFRAME_DELETE:
      return "表示しているキーフレームを削除";
    case IDM_KEYFRAME_BONES:
      return "キーフレームのボーン表示";
    case IDM_INTERPOLATION:
      return "補間方法";
    case IDM_PLAY_ALL:
    case IDM_PLAY_RANGE:
      return "フレーム選択";
    default:
      return nullptr;
  }
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
  // A mode command that also edits (the placement modes leave the joints as
  // they are) is named after the mode it chose.
  const char* label = commandLabel(id);
  history().record(p.doc, label ? std::string(label) : undoLabelForEditMode(p.doc.editMode),
                   menuState());
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
