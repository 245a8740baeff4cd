// A recording 3D window for the input state machine's tests, and a rig that
// feeds it events.
#pragma once

#include <array>
#include <string>
#include <vector>

#include "core/document.h"
#include "edit/view_input.h"
#include "support/recording_ui.h"

namespace lw::test {

class FakeViewHost : public ViewInputHost {
 public:
  struct Pick {
    int x, y;
    PickChoice choice;
  };

  explicit FakeViewHost(SceneDocument& doc) : doc_(doc) {}

  // Scripted answers.
  PickResult nextPick;
  PickResult nextProbe;
  bool frameOk = true;
  bool worldFails = false;  // windowToWorld fails with a reason in ErrorText
  bool acceptName = true;
  std::string nameTyped;

  // What was asked.
  std::vector<Pick> picks;
  std::vector<std::array<int, 2>> probes;
  std::vector<float> worldDepths;
  int frames = 0, captures = 0, releases = 0, closes = 0;
  std::vector<std::array<int, 2>> cameraSteps;
  int vertexDialogs = 0, ikStopDialogs = 0, nameDialogs = 0, playbacks = 0;
  std::vector<RecordingUi::Message> viewMessages;

  PickResult pick(int x, int y, PickChoice choice) override {
    picks.push_back({x, y, choice});
    return nextPick;
  }
  bool drawFrame() override {
    ++frames;
    return frameOk;
  }
  PickResult probeDepth(int x, int y) override {
    probes.push_back({x, y});
    return nextProbe;
  }
  // The world point is (x / 100, y / 100, depth), so a test can read the depth used.
  int windowToWorld(int x, int y, float depth, double point[3]) override {
    worldDepths.push_back(depth);
    if (worldFails) {
      doc_.ErrorText = "ウインドウ座標をワールド座標変換できません";
      return 1;
    }
    point[0] = x / 100.0;
    point[1] = y / 100.0;
    point[2] = depth;
    return 0;
  }
  void captureMouse() override { ++captures; }
  void releaseMouse() override { ++releases; }
  void closeWindow() override { ++closes; }
  void dragCamera(int dx, int dy) override { cameraSteps.push_back({dx, dy}); }
  void openVertexWeightDialog() override { ++vertexDialogs; }
  void openIkStopDialog() override { ++ikStopDialogs; }
  bool askJointName(std::string& treeName) override {
    ++nameDialogs;
    if (acceptName) treeName = nameTyped;
    return acceptName;
  }
  void showViewMessage(const std::string& text, const std::string& title) override {
    viewMessages.push_back({text, title});
  }
  void startPlayback() override { ++playbacks; }

 private:
  SceneDocument& doc_;
};

// A document, the input state, the fake window and the shell, with one call per event.
struct ViewRig {
  SceneDocument doc;
  ViewInputState state;
  FakeViewHost host{doc};
  RecordingUi ui;
  ViewInputContext ctx{doc, state, host, ui};

  void move(int16_t x, int16_t y) { handleViewMouseMove(ctx, x, y); }
  void down(int16_t x, int16_t y) { handleViewLeftDown(ctx, x, y); }
  void up() { handleViewLeftUp(ctx); }
  void rightDown(int16_t x, int16_t y) { handleViewRightDown(ctx, x, y); }
  void rightUp() { handleViewRightUp(ctx); }
  void paint() { handleViewPaint(ctx); }
  // A repaint whose pick hits `name` at `depth`.
  void paintHit(int32_t name, float depth = 0.5f) {
    host.nextPick = PickResult{true, 1, name, depth};
    paint();
  }
  void paintMiss() {
    host.nextPick = PickResult{true, 0, -1, 0};
    paint();
  }
  // Arms and picks in one go: a move to (x, y) and a repaint hitting `name`.
  void hover(int16_t x, int16_t y, int32_t name, float depth = 0.5f) {
    move(x, y);
    paintHit(name, depth);
  }
};

}  // namespace lw::test
