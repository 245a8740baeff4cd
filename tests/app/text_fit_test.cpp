#include <windows.h>

#include <commctrl.h>
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "resources/resource.h"
#include "sample_project.h"

namespace lw {
namespace {

// Lays a dialog's template out and nothing more.
INT_PTR CALLBACK bareDialogProc(HWND, UINT message, WPARAM, LPARAM) {
  return message == WM_INITDIALOG ? TRUE : FALSE;
}

// The rectangle DrawText needs for `text` in `control`'s font, breaking lines
// at `width` as a static control does.
RECT textRect(HWND control, const std::wstring& text, int width, UINT flags) {
  HDC dc = GetDC(control);
  auto font = reinterpret_cast<HFONT>(SendMessageW(control, WM_GETFONT, 0, 0));
  HGDIOBJ old = SelectObject(dc, font != nullptr ? font : GetStockObject(SYSTEM_FONT));
  RECT rect = {0, 0, width, 0};
  DrawTextW(dc, text.c_str(), static_cast<int>(text.size()), &rect, flags | DT_CALCRECT);
  SelectObject(dc, old);
  ReleaseDC(control, dc);
  return rect;
}

// Ink pixels of "_" drawn at the top of a cell as high as the font's cells: an
// underscore below the cell is clipped away by every control that draws it.
int underscoreInk(HFONT font) {
  HDC dc = CreateCompatibleDC(nullptr);
  HGDIOBJ oldFont = SelectObject(dc, font);
  TEXTMETRICW metrics = {};
  GetTextMetricsW(dc, &metrics);
  const int width = metrics.tmMaxCharWidth + 4;
  HBITMAP bitmap = CreateBitmap(width, metrics.tmHeight, 1, 1, nullptr);
  HGDIOBJ oldBitmap = SelectObject(dc, bitmap);
  PatBlt(dc, 0, 0, width, metrics.tmHeight, WHITENESS);
  SetTextColor(dc, RGB(0, 0, 0));
  SetBkMode(dc, TRANSPARENT);
  TextOutW(dc, 1, 0, L"_", 1);
  int ink = 0;
  for (int y = 0; y < metrics.tmHeight; ++y) {
    for (int x = 0; x < width; ++x) ink += GetPixel(dc, x, y) == RGB(0, 0, 0) ? 1 : 0;
  }
  SelectObject(dc, oldBitmap);
  SelectObject(dc, oldFont);
  DeleteObject(bitmap);
  DeleteDC(dc);
  return ink;
}

using TextFitTest = test::SampleProjectTest;

TEST_F(TextFitTest, EveryDialogsLabelsFitTheirControls) {
  const int dialogs[] = {IDD_VERTEX_WEIGHT, IDD_BOX_WEIGHT,   IDD_KEYFRAME,  IDD_PLAY_RANGE,
                         IDD_IK_STOP,       IDD_JOINT_NAME,   IDD_VERSION,   IDD_INTERPOLATION,
                         IDD_LIGHT_RGBA,    IDD_SHADOW_LIGHT, IDD_BACKGROUND};
  int labels = 0;
  for (int id : dialogs) {
    HWND dialog = CreateDialogParamW(program().instance, MAKEINTRESOURCEW(id),
                                     program().windows.main, bareDialogProc, 0);
    ASSERT_NE(dialog, nullptr) << id;
    for (HWND child = GetWindow(dialog, GW_CHILD); child != nullptr;
         child = GetWindow(child, GW_HWNDNEXT)) {
      const std::wstring text = test::windowText(child);
      if (test::windowClass(child) != L"Static" || text.empty()) continue;
      ++labels;
      RECT client = {};
      GetClientRect(child, &client);
      const LONG style = GetWindowLongW(child, GWL_STYLE);
      const UINT flags = DT_WORDBREAK | DT_EXPANDTABS | ((style & SS_NOPREFIX) ? DT_NOPREFIX : 0);
      const RECT need = textRect(child, text, client.right, flags);
      EXPECT_LE(need.right, client.right) << "dialog " << id << ": wider than its label";
      EXPECT_LE(need.bottom, client.bottom) << "dialog " << id << ": taller than its label";
    }
    // With LW_HOLD_MS set each dialog stays up that long for a screenshot.
    ShowWindow(dialog, SW_SHOWNA);
    test::holdForScreenshot();
    DestroyWindow(dialog);
  }
  EXPECT_GT(labels, 20);
}

TEST_F(TextFitTest, TreeItemsShowWhole) {
  HWND tree = program().windows.treeView;
  RECT client = {};
  GetClientRect(tree, &client);
  int items = 0;
  std::vector<HTREEITEM> pending = {TreeView_GetRoot(tree)};
  while (!pending.empty()) {
    HTREEITEM item = pending.back();
    pending.pop_back();
    if (item == nullptr) continue;
    ++items;
    wchar_t text[256] = {};
    TVITEMW info = {};
    info.mask = TVIF_TEXT;
    info.hItem = item;
    info.pszText = text;
    info.cchTextMax = 256;
    TreeView_GetItem(tree, &info);
    RECT shown = {};
    ASSERT_TRUE(TreeView_GetItemRect(tree, item, &shown, TRUE));
    const RECT need = textRect(tree, text, 0, DT_SINGLELINE | DT_NOPREFIX);
    EXPECT_LE(need.right, shown.right - shown.left) << "item rectangle narrower than the text";
    // The text (centred in its rectangle) ends inside the tree, or where
    // scrolling reaches.
    const LONG textEnd = shown.right - (shown.right - shown.left - need.right) / 2;
    SCROLLINFO scroll = {};
    scroll.cbSize = sizeof(scroll);
    scroll.fMask = SIF_RANGE | SIF_POS;
    if (textEnd > client.right && GetScrollInfo(tree, SB_HORZ, &scroll)) {
      EXPECT_GE(scroll.nMax + 1, textEnd + scroll.nPos) << "beyond the scroll range";
    } else {
      EXPECT_LE(textEnd, client.right) << "cut at the tree's right edge";
    }
    pending.push_back(TreeView_GetNextSibling(tree, item));
    pending.push_back(TreeView_GetChild(tree, item));
  }
  EXPECT_GT(items, 10);
}

TEST_F(TextFitTest, UnderscoresAndCaptionGlyphsHaveTheirFonts) {
  HWND dialog = CreateDialogParamW(program().instance, MAKEINTRESOURCEW(IDD_BACKGROUND),
                                   program().windows.main, bareDialogProc, 0);
  ASSERT_NE(dialog, nullptr);
  const struct {
    const char* what;
    HFONT font;
  } fonts[] = {
      {"dialog", reinterpret_cast<HFONT>(SendMessageW(dialog, WM_GETFONT, 0, 0))},
      {"panel", program().panelFont},
      {"tree", reinterpret_cast<HFONT>(SendMessageW(program().windows.treeView, WM_GETFONT, 0, 0))},
  };
  for (const auto& f : fonts) {
    EXPECT_GT(
        underscoreInk(f.font != nullptr ? f.font
                                        : static_cast<HFONT>(GetStockObject(DEFAULT_GUI_FONT))),
        0)
        << f.what;
  }
  DestroyWindow(dialog);

  // Caption buttons are glyphs of the Marlett font; without it they read "0 1 r".
  HFONT marlett =
      CreateFontW(-12, 0, 0, 0, FW_NORMAL, FALSE, FALSE, FALSE, SYMBOL_CHARSET, OUT_DEFAULT_PRECIS,
                  CLIP_DEFAULT_PRECIS, DEFAULT_QUALITY, DEFAULT_PITCH, L"Marlett");
  HDC dc = CreateCompatibleDC(nullptr);
  HGDIOBJ old = SelectObject(dc, marlett);
  wchar_t face[LF_FACESIZE] = {};
  GetTextFaceW(dc, LF_FACESIZE, face);
  SelectObject(dc, old);
  DeleteDC(dc);
  DeleteObject(marlett);
  EXPECT_EQ(std::wstring(face), L"Marlett");
}

}  // namespace
}  // namespace lw
