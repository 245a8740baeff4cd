#include "sample_project.h"

#include "app/file_dialog.h"
#include "app/win_text.h"
#include "core/command_ids.h"

namespace lw::test {

namespace {

std::string gProjectPath;

bool chooseSampleProject(HWND, const FileDialogRequest&, FileChoice& choice) {
  choice = {gProjectPath, "character.ojp"};
  return true;
}

}  // namespace

DialogStep remember(HWND& dialog, DialogStep step) {
  return {step.title, [&dialog, act = step.act](HWND box) {
            dialog = box;
            act(box);
          }};
}

DialogStep acknowledgeThen(const char* cp932Title, const HWND& dialog,
                           std::function<void(HWND)> next) {
  return {wide(cp932Title), [&dialog, next](HWND box) {
            pressButton(box, IDOK);
            EXPECT_TRUE(IsWindow(dialog));
            if (IsWindow(dialog)) next(dialog);
          }};
}

void SampleProjectTest::SetUp() {
  const std::string folder = sampleCopyFolder();
  for (const char* name : {"character.obj", "character.mtl", "character.bmp", "character.ojp"}) {
    ASSERT_TRUE(CopyFileW(toWide(samplesFolder() + name).c_str(), toWide(folder + name).c_str(),
                          FALSE))
        << name;
  }
  gProjectPath = folder + "character.ojp";
  ASSERT_TRUE(startProgram());
  chooseFile = chooseSampleProject;
  command(IDM_FILE_OPEN);
  chooseFile = showCommonFileDialog;
  ASSERT_EQ(doc().modelLoaded, 1);
  ASSERT_EQ(doc().decitionJointPosition, 1);
}

void SampleProjectTest::TearDown() {
  chooseFile = showCommonFileDialog;
  endProgram();
}

LRESULT SampleProjectTest::command(int id) {
  return SendMessageW(program().windows.main, WM_COMMAND, id, 0);
}

bool SampleProjectTest::greyed(int id) const {
  return (GetMenuState(GetMenu(program().windows.main), static_cast<UINT>(id), MF_BYCOMMAND) &
          MF_GRAYED) != 0;
}

}  // namespace lw::test
