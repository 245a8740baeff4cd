// What the portable code asks of the windows around it: menu grey/check state,
// the bone tree panel, the motion information panel, redraws and message boxes.
// The Win32 shell implements it; tests use a recording stand-in.
#pragma once

#include <string>

namespace lw {

using TreeItem = void*;

class ShellUi {
 public:
  virtual ~ShellUi() = default;

  virtual void enableMenuItem(int id, bool enabled) = 0;
  virtual void checkMenuItem(int id, bool checked) = 0;

  // Bone tree panel. A null parent inserts a root item. Returns the new item.
  virtual TreeItem treeInsertItem(TreeItem parent, const std::string& text) = 0;
  // Deletes the root item and with it every item of the tree.
  virtual void treeDeleteRoot() = 0;
  virtual void treeExpandAll() = 0;

  // Motion information panel.
  virtual void resetFrameDisplay() = 0;
  virtual void refreshMotionPanel() = 0;

  virtual void redraw() = 0;

  // A task-modal message box with an OK button. Texts are CP932.
  virtual void showMessage(const std::string& text, const std::string& title) = 0;
};

// A ShellUi that does nothing, for batch tools that have no windows.
class NullShellUi : public ShellUi {
 public:
  void enableMenuItem(int, bool) override {}
  void checkMenuItem(int, bool) override {}
  TreeItem treeInsertItem(TreeItem, const std::string&) override { return nullptr; }
  void treeDeleteRoot() override {}
  void treeExpandAll() override {}
  void resetFrameDisplay() override {}
  void refreshMotionPanel() override {}
  void redraw() override {}
  void showMessage(const std::string&, const std::string&) override {}
};

}  // namespace lw
