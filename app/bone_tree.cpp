// The bone tree window ("ボーンツリー"): the joints in a SysTreeView32.
#include <windows.h>

#include <commctrl.h>

#include "app/commands.h"
#include "app/program.h"
#include "app/side_panels.h"
#include "app/win_text.h"
#include "app/window_class.h"
#include "resources/resource.h"

namespace lw {

namespace {

constexpr int kTreeWidth = 200;
constexpr int kTreeHeight = 918;
constexpr int kTreeLeft = 197;
constexpr int kTreeAbove = 150;
constexpr int kMaxItemText = 255;

void onTreeCreate(HWND window) {
  INITCOMMONCONTROLSEX controls = {sizeof(controls), ICC_TREEVIEW_CLASSES | ICC_BAR_CLASSES};
  InitCommonControlsEx(&controls);
  program().windows.treeView = CreateWindowExW(
      0, WC_TREEVIEWW, L"bTree",
      WS_CHILD | WS_VISIBLE | WS_BORDER | TVS_HASBUTTONS | TVS_HASLINES | TVS_LINESATROOT, 0, 0, 0,
      0, window, reinterpret_cast<HMENU>(IDC_BONE_TREE), program().instance, nullptr);
}

void onTreeSize(HWND window, LPARAM lParam) {
  MoveWindow(program().windows.treeView, 0, 0, LOWORD(lParam), HIWORD(lParam), TRUE);
  InvalidateRect(window, nullptr, TRUE);
}

void expandEveryJoint() {
  const Program& p = program();
  if (p.doc.treeAlwaysExpanded != 1) return;
  for (const auto& [name, joint] : p.doc.skeleton.joints) {
    if (joint->treeItem != nullptr) {
      TreeView_Expand(p.windows.treeView, static_cast<HTREEITEM>(joint->treeItem), TVE_EXPAND);
    }
  }
}

void onTreeDoubleClick() {
  Program& p = program();
  HWND tree = p.windows.treeView;
  wchar_t text[kMaxItemText + 1] = {};
  TVITEMW item = {};
  item.mask = TVIF_TEXT;
  item.hItem = TreeView_GetSelection(tree);
  item.pszText = text;
  item.cchTextMax = kMaxItemText;
  if (item.hItem != nullptr && TreeView_GetItem(tree, &item)) {
    const int32_t id = jointIdByTreeName(p.doc, toCp932(text));
    if (id != kNoTreeSelection) p.doc.treeSelectedJoint = id;
  }
  InvalidateRect(p.windows.main, nullptr, FALSE);
}

LRESULT CALLBACK boneTreeProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  switch (message) {
    case WM_CREATE:
      onTreeCreate(window);
      break;
    case WM_SIZE:
      onTreeSize(window, lParam);
      break;
    case WM_PAINT:
      expandEveryJoint();
      break;
    case WM_NOTIFY: {
      const auto* header = reinterpret_cast<const NMHDR*>(lParam);
      if (header->hwndFrom == program().windows.treeView && header->code == NM_DBLCLK) {
        onTreeDoubleClick();
      }
      break;
    }
    case WM_CLOSE:
      if (mayQuit()) DestroyWindow(window);
      return 0;
    case WM_DESTROY:
      PostQuitMessage(0);
      break;
    default:
      break;
  }
  return DefWindowProcW(window, message, wParam, lParam);
}

}  // namespace

int32_t jointIdByTreeName(const SceneDocument& doc, const std::string& treeName) {
  for (const auto& [name, joint] : doc.skeleton.joints) {
    if (joint->TreeName == treeName) return joint->jointID;
  }
  return kNoTreeSelection;
}

void registerBoneTreeClass(HINSTANCE instance) {
  registerProgramWindowClass(instance, boneTreeProc, kBoneTreeClass, whiteBrush(), L"");
}

HWND createBoneTree(HWND main, HINSTANCE instance, POINT origin) {
  return CreateWindowExW(0, kBoneTreeClass, toWide("ボーンツリー").c_str(), WS_OVERLAPPEDWINDOW,
                         origin.x - kTreeLeft, origin.y - kTreeAbove, kTreeWidth, kTreeHeight, main,
                         nullptr, instance, nullptr);
}

}  // namespace lw
