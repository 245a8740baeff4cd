#include <windows.h>

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "app/file_dialog.h"
#include "app/win_text.h"
#include "core/command_ids.h"
#include "sample_project.h"

namespace lw {
namespace {

// The save dialog after "はい": an empty path cancels it.
std::string gSavePath;

bool chooseSavePath(HWND, const FileDialogRequest&, FileChoice& choice) {
  if (gSavePath.empty()) return false;
  choice = {gSavePath, gSavePath.substr(gSavePath.rfind('\\') + 1)};
  return true;
}

enum class Answer { Cancel, YesThenCancelTheSaveDialog, No, YesAndSave };
enum class CloseWay { MainWindow, MotionPanel, BoneTree, ExitCommand };

class ClosePromptTest : public test::SampleProjectTest {
 protected:
  void TearDown() override {
    chooseFile = showCommonFileDialog;
    test::SampleProjectTest::TearDown();
  }

  // Closes the program the `way` given and answers the save question; returns
  // true when the program quits (its quit message was posted).
  bool close(CloseWay way, Answer answer) {
    const bool yes = answer == Answer::YesThenCancelTheSaveDialog || answer == Answer::YesAndSave;
    const int button = yes ? IDYES : answer == Answer::No ? IDNO : IDCANCEL;
    std::vector<test::DialogStep> steps = {
        {test::wide("保存"), [button](HWND box) { test::pressButton(box, button); }}};
    if (answer == Answer::YesAndSave) steps.push_back(test::acknowledge("保存"));
    gSavePath = answer == Answer::YesAndSave ? savedPath() : "";
    chooseFile = chooseSavePath;
    test::DialogScript script(steps);
    const ProgramWindows& w = program().windows;
    switch (way) {
      case CloseWay::MainWindow:
        SendMessageW(w.main, WM_CLOSE, 0, 0);
        break;
      case CloseWay::MotionPanel:
        SendMessageW(w.motionPanel, WM_CLOSE, 0, 0);
        break;
      case CloseWay::BoneTree:
        SendMessageW(w.boneTree, WM_CLOSE, 0, 0);
        break;
      case CloseWay::ExitCommand:
        command(IDM_FILE_EXIT);
        break;
    }
    chooseFile = showCommonFileDialog;
    EXPECT_EQ(script.stepsLeft(), 0u);
    EXPECT_EQ(script.unanswered(), 0);
    if (!script.seen().empty()) {
      EXPECT_EQ(script.seen()[0].text, test::wide("現在のデータを保存しますか？"));
    }
    MSG quit = {};
    return PeekMessageW(&quit, nullptr, WM_QUIT, WM_QUIT, PM_REMOVE) != 0;
  }

  static std::string savedPath() {
    return sampleCopyFolder() + "closed.ojp";
  }
};

TEST_F(ClosePromptTest, EveryWayOfClosingAsksAndOnlyYesOrNoQuits) {
  // Each way is tried with the answers that keep the program open, then with
  // one that quits (the program is started anew for the next way).
  const struct {
    CloseWay way;
    Answer quitting;
  } cases[] = {{CloseWay::MainWindow, Answer::No},
               {CloseWay::MotionPanel, Answer::YesAndSave},
               {CloseWay::BoneTree, Answer::No},
               {CloseWay::ExitCommand, Answer::YesAndSave}};
  for (size_t i = 0; i < std::size(cases); ++i) {
    if (i > 0) {
      TearDown();
      SetUp();
    }
    const auto way = cases[i].way;
    SCOPED_TRACE(static_cast<int>(way));
    for (Answer keeping : {Answer::Cancel, Answer::YesThenCancelTheSaveDialog}) {
      EXPECT_FALSE(close(way, keeping));
      EXPECT_TRUE(IsWindow(program().windows.main));
      EXPECT_TRUE(IsWindow(program().windows.motionPanel));
      EXPECT_TRUE(IsWindow(program().windows.boneTree));
      EXPECT_EQ(doc().modelLoaded, 1);
    }
    DeleteFileW(toWide(savedPath()).c_str());
    EXPECT_TRUE(close(way, cases[i].quitting));
    const bool saved = GetFileAttributesW(toWide(savedPath()).c_str()) != INVALID_FILE_ATTRIBUTES;
    EXPECT_EQ(saved, cases[i].quitting == Answer::YesAndSave);
  }
}

TEST(ClosePrompt, WithoutAModelTheProgramQuitsWithoutAsking) {
  ASSERT_TRUE(test::startProgram());
  test::DialogScript script({}, 1000);
  SendMessageW(program().windows.boneTree, WM_CLOSE, 0, 0);
  EXPECT_TRUE(script.seen().empty());
  EXPECT_FALSE(IsWindow(program().windows.boneTree));
  test::endProgram();
}

}  // namespace
}  // namespace lw
