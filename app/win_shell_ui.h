// The ShellUi of the running program: menu grey/check state on the main
// window's menu, items of the bone tree's SysTreeView32, the motion information
// panel's frame display, redraws of the 3D window and message boxes.
#pragma once

#include "core/document.h"
#include "core/shell_ui.h"

namespace lw {

struct ProgramWindows;

class WinShellUi : public ShellUi {
 public:
  WinShellUi(const ProgramWindows& windows, const SceneDocument& doc)
      : windows_(windows), doc_(doc) {}

  // Menu items by command id (MF_BYCOMMAND), also inside submenus.
  void enableMenuItem(int id, bool enabled) override;
  void checkMenuItem(int id, bool checked) override;
  // Inserts `text` (CP932) as the last child of `parent`, or as a root item.
  TreeItem treeInsertItem(TreeItem parent, const std::string& text) override;
  void treeDeleteRoot() override;
  void treeExpandAll() override;
  // Both frame display fields show "NULL".
  void resetFrameDisplay() override;
  // The frame display shows the number and time of the keyframe at the store's
  // cursor (currentNumber); with no such keyframe the fields keep their text.
  void refreshMotionPanel() override;
  // Invalidates the 3D window.
  void redraw() override;
  // Task-modal message box, OK button, no owner.
  void showMessage(const std::string& text, const std::string& title) override;

 private:
  const ProgramWindows& windows_;
  const SceneDocument& doc_;
};

}  // namespace lw
