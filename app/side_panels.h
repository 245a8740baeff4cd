// The two tool windows owned by the main window: the motion information panel
// ("motionInfo", buttons that re-send menu commands plus the frame display) and
// the bone tree ("BoneTree", a SysTreeView32 of the joints).
#pragma once

#include <windows.h>

#include <string>

#include "core/document.h"

namespace lw {

// Register "motionInfo" and "BoneTree" (white background, no menu; repeats fail
// harmlessly).
void registerMotionPanelClass(HINSTANCE instance);
void registerBoneTreeClass(HINSTANCE instance);

// The panel at (origin.x, origin.y - 149), 1024 x 150, owned by `main`, with its
// buttons, labels, frame display fields ("NULL") and font.
HWND createMotionPanel(HWND main, HINSTANCE instance, POINT origin);

// The bone tree window at (origin.x - 197, origin.y - 150), 200 x 918, owned by
// `main`; its tree view fills the client area.
HWND createBoneTree(HWND main, HINSTANCE instance, POINT origin);

// What a click on a panel button does: the menu command it sends, or, when its
// guard fails, the message shown instead (command 0). Unknown buttons give
// command 0 and no message.
struct PanelButtonAction {
  int command = 0;
  const char* text = nullptr;  // CP932
  const char* title = nullptr;
};
PanelButtonAction panelButtonAction(int buttonId, const SceneDocument& doc);

// The jointID of the first joint, in name order, whose TreeName is `treeName`;
// kNoTreeSelection when none has it.
inline constexpr int32_t kNoTreeSelection = -999;
int32_t jointIdByTreeName(const SceneDocument& doc, const std::string& treeName);

}  // namespace lw
