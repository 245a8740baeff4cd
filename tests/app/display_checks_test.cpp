#include <windows.h>

#include <gtest/gtest.h>

#include <string>

#include "app/file_dialog.h"
#include "app/win_text.h"
#include "sample_project.h"

namespace lw {
namespace {

std::string gOpenPath;

bool chooseOpenPath(HWND, const FileDialogRequest&, FileChoice& choice) {
  choice = {gOpenPath, gOpenPath.substr(gOpenPath.rfind('\\') + 1)};
  return true;
}

class DisplayChecksTest : public test::SampleProjectTest {
 protected:
  bool checked(int id) const {
    return (GetMenuState(GetMenu(program().windows.main), static_cast<UINT>(id), MF_BYCOMMAND) &
            MF_CHECKED) != 0;
  }
};

TEST_F(DisplayChecksTest, TogglesThatAnOpenSwitchesOffLoseTheirCheckMarks) {
  // Joint numbers and bone axes on, FK axes left off.
  for (int id : {40007, 40014}) command(id);
  ASSERT_TRUE(checked(40007));
  ASSERT_TRUE(checked(40014));
  ASSERT_FALSE(checked(40008));

  wchar_t current[MAX_PATH] = {};
  GetCurrentDirectoryW(MAX_PATH, current);
  gOpenPath = toCp932(current) + "\\gui_sample\\character.ojp";
  chooseFile = chooseOpenPath;
  {
    test::DialogScript script(
        {{test::wide("保存"), [](HWND box) { test::pressButton(box, IDNO); }}});
    command(102);
  }
  chooseFile = showCommonFileDialog;
  ASSERT_EQ(doc().modelLoaded, 1);
  for (int id : {40007, 40014, 40008}) EXPECT_FALSE(checked(id)) << id;
  EXPECT_EQ(doc().showJointNumbers, 0);
  EXPECT_EQ(doc().showBoneAxes, 0);
}

}  // namespace
}  // namespace lw
