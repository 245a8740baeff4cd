// The motion information panel ("ショートカットメニュー").
#include <windows.h>

#include "app/commands.h"
#include "app/program.h"
#include "app/side_panels.h"
#include "app/win_text.h"
#include "app/window_class.h"
#include "resources/resource.h"

namespace lw {

namespace {

constexpr int kPanelWidth = 1024;
constexpr int kPanelHeight = 150;
constexpr int kPanelAbove = 149;
constexpr int kPanelFontHeight = 12;
constexpr int kButtonRowX = 280;
constexpr int kButtonStep = 55;

enum class Guard { None, PositionsFixed, BoxPlaced, KeyframeStored };

struct PanelButton {
  int id;
  const char* text;
  int x, y, width;
  int command;
  Guard guard;
};

constexpr PanelButton kButtons[] = {
    {IDC_PANEL_BACK, "←back", 20, 20, 45, IDM_KEYFRAME_PREVIOUS, Guard::None},
    {IDC_PANEL_NEXT, "next→", 65, 20, 45, IDM_KEYFRAME_NEXT, Guard::None},
    {IDC_PANEL_KF_BONE, "KF_BONE表示", 110, 20, 70, IDM_KEYFRAME_BONES, Guard::KeyframeStored},
    {IDC_PANEL_BOX_PLACE, "BOX配置", kButtonRowX, 20, 55, IDM_PLACE_WEIGHT_BOX,
     Guard::PositionsFixed},
    {IDC_PANEL_BOX_FACE, "面移動", kButtonRowX + kButtonStep, 20, 55, IDM_MOVE_BOX_FACE,
     Guard::BoxPlaced},
    {IDC_PANEL_BOX_WEIGHT, "BOX重み", kButtonRowX + 2 * kButtonStep, 20, 55, IDM_WEIGHT_BOX,
     Guard::BoxPlaced},
    {IDC_PANEL_VERTEX_WEIGHT, "頂点重み", kButtonRowX + 3 * kButtonStep, 20, 55,
     IDM_WEIGHT_BY_VERTEX, Guard::PositionsFixed},
    {IDC_PANEL_VIEW_TOP, "上", kButtonRowX, 40, 55, IDM_VIEW_TOP, Guard::None},
    {IDC_PANEL_VIEW_BOTTOM, "下", kButtonRowX + kButtonStep, 40, 55, IDM_VIEW_BOTTOM, Guard::None},
    {IDC_PANEL_VIEW_RIGHT, "右", kButtonRowX + 2 * kButtonStep, 40, 55, IDM_VIEW_RIGHT,
     Guard::None},
    {IDC_PANEL_VIEW_LEFT, "左", kButtonRowX + 3 * kButtonStep, 40, 55, IDM_VIEW_LEFT, Guard::None},
    {IDC_PANEL_VIEW_FRONT, "正面", kButtonRowX + 4 * kButtonStep, 40, 55, IDM_VIEW_FRONT,
     Guard::None},
    {IDC_PANEL_VIEW_BACK, "背面", 555, 40, 55, IDM_VIEW_BACK, Guard::None},
    {IDC_PANEL_CAMERA_ROTATE, "回転", kButtonRowX, 60, 55, IDM_CAMERA_ROTATE, Guard::None},
    {IDC_PANEL_CAMERA_PAN_X, "左右", kButtonRowX + kButtonStep, 60, 55, IDM_CAMERA_PAN_X,
     Guard::None},
    {IDC_PANEL_CAMERA_PAN_Y, "上下", kButtonRowX + 2 * kButtonStep, 60, 55, IDM_CAMERA_PAN_Y,
     Guard::None},
    {IDC_PANEL_CAMERA_ZOOM, "拡大縮小", kButtonRowX + 3 * kButtonStep, 60, 55, IDM_CAMERA_ZOOM,
     Guard::None},
    {IDC_PANEL_DRAW_FACES, "面描画", kButtonRowX, 80, 55, IDM_DRAW_FACES, Guard::None},
    {IDC_PANEL_DRAW_LINES, "線描画", kButtonRowX + kButtonStep, 80, 55, IDM_DRAW_LINES,
     Guard::None},
    {IDC_PANEL_DRAW_POINTS, "点描画", kButtonRowX + 2 * kButtonStep, 80, 55, IDM_DRAW_POINTS,
     Guard::None},
};

HWND createControl(HWND panel, const wchar_t* className, const char* text, DWORD style, int x,
                   int y, int width, int height, int id) {
  HWND control = CreateWindowExW(0, className, toWide(text).c_str(), WS_CHILD | WS_VISIBLE | style,
                                 x, y, width, height, panel,
                                 reinterpret_cast<HMENU>(static_cast<INT_PTR>(id)),
                                 program().instance, nullptr);
  SendMessageW(control, WM_SETFONT, reinterpret_cast<WPARAM>(program().panelFont), FALSE);
  return control;
}

void onPanelCreate(HWND panel) {
  Program& p = program();
  p.panelFont = CreateFontW(kPanelFontHeight, 0, 0, 0, FW_DONTCARE, FALSE, FALSE, FALSE,
                            SHIFTJIS_CHARSET, OUT_DEFAULT_PRECIS, CLIP_DEFAULT_PRECIS,
                            PROOF_QUALITY, FIXED_PITCH | FF_MODERN, toWide("MS ゴシック").c_str());
  RECT client = {};
  GetClientRect(panel, &client);
  const int groupHeight = client.bottom - 3;
  createControl(panel, L"BUTTON", "キーフレーム情報", BS_GROUPBOX, 3, 0, 270, groupHeight,
                IDC_PANEL_KEYFRAME_GROUP);
  createControl(panel, L"BUTTON", "重み付け・視点・描画方法", BS_GROUPBOX, 275, 0, 340,
                groupHeight, IDC_PANEL_WEIGHT_GROUP);
  for (const PanelButton& b : kButtons) {
    createControl(panel, L"BUTTON", b.text, BS_PUSHBUTTON, b.x, b.y, b.width, 20, b.id);
  }
  createControl(panel, L"STATIC", "フレーム番号：", SS_LEFT, 20, 53, 145, 15, IDC_PANEL_LABEL);
  createControl(panel, L"STATIC", "フレーム時間（ミリ秒）：", SS_LEFT, 20, 69, 145, 15,
                IDC_PANEL_LABEL);
  p.windows.frameNumber =
      createControl(panel, L"STATIC", "NULL", SS_LEFT, 166, 53, 100, 15, IDC_PANEL_FRAME_VALUE);
  p.windows.frameTime =
      createControl(panel, L"STATIC", "NULL", SS_LEFT, 166, 69, 100, 15, IDC_PANEL_FRAME_VALUE);
}

void onPanelCommand(WPARAM wParam, LPARAM lParam) {
  if (HIWORD(wParam) != BN_CLICKED) return;
  const PanelButtonAction action = panelButtonAction(LOWORD(wParam), program().doc);
  if (action.text != nullptr) {
    showMessageBox(nullptr, action.text, action.title);
  } else if (action.command != 0) {
    SendMessageW(program().windows.main, WM_COMMAND, static_cast<WPARAM>(action.command), lParam);
  }
}

void onPanelDestroy() {
  Program& p = program();
  if (p.panelFont != nullptr) DeleteObject(p.panelFont);
  p.panelFont = nullptr;
  PostQuitMessage(0);
}

LRESULT CALLBACK motionPanelProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  switch (message) {
    case WM_CREATE:
      onPanelCreate(window);
      break;
    case WM_COMMAND:
      onPanelCommand(wParam, lParam);
      break;
    case WM_CLOSE:
      if (mayQuit()) DestroyWindow(window);
      return 0;
    case WM_DESTROY:
      onPanelDestroy();
      break;
    default:
      break;
  }
  return DefWindowProcW(window, message, wParam, lParam);
}

bool guardHolds(Guard guard, const SceneDocument& doc) {
  switch (guard) {
    case Guard::PositionsFixed:
      return doc.decitionJointPosition == 1;
    case Guard::BoxPlaced:
      return doc.weightBoxShown == 1;
    case Guard::KeyframeStored:
      return doc.keyFrames != nullptr && !doc.keyFrames->byNumber.empty() &&
             !doc.keyFrames->byTime.empty();
    case Guard::None:
      break;
  }
  return true;
}

PanelButtonAction guardMessage(Guard guard) {
  switch (guard) {
    case Guard::PositionsFixed:
      return {0, "ジョイントの位置確定処理がされていません", "位置確定前"};
    case Guard::BoxPlaced:
      return {0, "重み付けボックスが置かれていません", "重み付けボックス配置前"};
    case Guard::KeyframeStored:
      return {0, "キーフレームが1つも登録されていません", "キーフレーム無し"};
    case Guard::None:
      break;
  }
  return {};
}

}  // namespace

PanelButtonAction panelButtonAction(int buttonId, const SceneDocument& doc) {
  for (const PanelButton& b : kButtons) {
    if (b.id != buttonId) continue;
    if (!guardHolds(b.guard, doc)) return guardMessage(b.guard);
    return {b.command, nullptr, nullptr};
  }
  return {};
}

void registerMotionPanelClass(HINSTANCE instance) {
  registerProgramWindowClass(instance, motionPanelProc, kMotionPanelClass, whiteBrush(), L"");
}

HWND createMotionPanel(HWND main, HINSTANCE instance, POINT origin) {
  return CreateWindowExW(0, kMotionPanelClass, toWide("ショートカットメニュー").c_str(),
                         WS_CAPTION | WS_SYSMENU | WS_MINIMIZEBOX, origin.x, origin.y - kPanelAbove,
                         kPanelWidth, kPanelHeight, main, nullptr, instance, nullptr);
}

}  // namespace lw
