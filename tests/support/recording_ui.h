// A ShellUi that records every request, for tests of code that drives the windows.
#pragma once

#include <map>
#include <string>
#include <vector>

#include "core/shell_ui.h"

namespace lw::test {

class RecordingUi : public ShellUi {
 public:
  struct TreeNode {
    TreeItem parent;
    std::string text;
  };
  struct Message {
    std::string text;
    std::string title;
  };

  std::map<int, bool> enabled;  // last enable state per menu id
  std::map<int, bool> checked;  // last check state per menu id
  std::map<TreeItem, TreeNode> tree;
  std::vector<TreeItem> treeOrder;  // items in insertion order
  std::vector<Message> messages;
  int treeDeletes = 0;
  int treeExpands = 0;
  int frameDisplayResets = 0;
  int motionPanelRefreshes = 0;
  int redraws = 0;

  void enableMenuItem(int id, bool on) override { enabled[id] = on; }
  void checkMenuItem(int id, bool on) override { checked[id] = on; }
  TreeItem treeInsertItem(TreeItem parent, const std::string& text) override {
    TreeItem item = reinterpret_cast<TreeItem>(++nextItem_);
    tree[item] = {parent, text};
    treeOrder.push_back(item);
    return item;
  }
  void treeDeleteRoot() override {
    ++treeDeletes;
    tree.clear();
    treeOrder.clear();
  }
  void treeExpandAll() override { ++treeExpands; }
  void resetFrameDisplay() override { ++frameDisplayResets; }
  void refreshMotionPanel() override { ++motionPanelRefreshes; }
  void redraw() override { ++redraws; }
  void showMessage(const std::string& text, const std::string& title) override {
    messages.push_back({text, title});
  }

  bool isEnabled(int id) const {
    auto it = enabled.find(id);
    return it != enabled.end() && it->second;
  }
  bool isGreyed(int id) const {
    auto it = enabled.find(id);
    return it != enabled.end() && !it->second;
  }
  bool isChecked(int id) const {
    auto it = checked.find(id);
    return it != checked.end() && it->second;
  }

 private:
  uintptr_t nextItem_ = 0;
};

}  // namespace lw::test
