// The running program: its windows, its one document and the services around
// them, and the entry point's steps (class registration, window creation, the
// message loop). Everything runs on the one GUI thread.
#pragma once

#include <windows.h>

#include <string>

#include "app/gl_presenter.h"
#include "app/joint_number_text.h"
#include "app/win_shell_ui.h"
#include "core/document.h"
#include "edit/view_input.h"
#include "render/render_state.h"

namespace lw {

struct ProgramWindows {
  HWND main = nullptr;         // "mainWindow", carries the menu
  HWND view = nullptr;         // "wOpenGL", the 3D window (child 500)
  HWND statusBar = nullptr;    // child 417, simple mode
  HWND motionPanel = nullptr;  // "motionInfo", owned by the main window
  HWND boneTree = nullptr;     // "BoneTree", owned by the main window
  HWND treeView = nullptr;     // "SysTreeView32" inside the bone tree (child 200)
  HWND frameNumber = nullptr;  // the panel's frame display fields
  HWND frameTime = nullptr;
};

struct Program {
  HINSTANCE instance = nullptr;
  ProgramWindows windows;
  SceneDocument doc;
  WinShellUi ui{windows, doc};
  GlPresenter presenter;
  RenderState renderState;     // camera read-back, selection buffer, shader program
  ViewInputState viewInput;    // the 3D window's input state, read by its drawing too
  WglTextDrawer jointNumbers;  // joint numbers drawn with jointNumberFont
  HFONT jointNumberFont = nullptr;  // the 3D window's label font
  HFONT panelFont = nullptr;        // the motion information panel's font
  int maxTextureUnits = 0;          // GL_MAX_TEXTURE_UNITS of the 3D window's context
};

// The program's single instance.
Program& program();

// Window class names.
inline constexpr wchar_t kMainWindowClass[] = L"mainWindow";
inline constexpr wchar_t kViewWindowClass[] = L"wOpenGL";
inline constexpr wchar_t kMotionPanelClass[] = L"motionInfo";
inline constexpr wchar_t kBoneTreeClass[] = L"BoneTree";

// Where the main window goes on a screen of the given size: centred as a block
// together with the panel above it and the bone tree on its left.
POINT mainWindowOrigin(int screenWidth, int screenHeight);

// Registers "mainWindow". Failure is not reported (a second registration in the
// same process fails harmlessly).
void registerMainWindowClass(HINSTANCE instance);

// Creates the main window (which creates the 3D window, the status bar, the
// keyframe store and the defaults), then the motion information panel and the
// bone tree, and shows them with `showCommand`. Starts from a fresh document.
// Returns false when the main window could not be created.
bool createProgramWindows(HINSTANCE instance, int showCommand);

// Runs the message loop until a quit message arrives; returns its value.
int runMessageLoop();

// The whole entry point: registration, windows, loop. Returns the exit code
// (0 when the windows could not be created).
int runProgram(HINSTANCE instance, HINSTANCE previousInstance, int showCommand);

// The drive and folder of the running program file, ending with '\' (CP932), or
// an empty text when the system cannot tell.
std::string programFolder();

}  // namespace lw
