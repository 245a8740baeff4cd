#include <windows.h>

#include <gtest/gtest.h>

#include <string>

#include "app/file_dialog.h"
#include "app/win_text.h"
#include "core/command_ids.h"
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
  for (int id : {IDM_SHOW_JOINT_NUMBERS, IDM_SHOW_BONE_AXES}) command(id);
  ASSERT_TRUE(checked(IDM_SHOW_JOINT_NUMBERS));
  ASSERT_TRUE(checked(IDM_SHOW_BONE_AXES));
  ASSERT_FALSE(checked(IDM_SHOW_FK_AXES));

  gOpenPath = sampleCopyFolder() + "character.ojp";
  chooseFile = chooseOpenPath;
  {
    test::DialogScript script(
        {{test::wide("保存"), [](HWND box) { test::pressButton(box, IDNO); }}});
    command(IDM_FILE_OPEN);
  }
  chooseFile = showCommonFileDialog;
  ASSERT_EQ(doc().modelLoaded, 1);
  for (int id : {IDM_SHOW_JOINT_NUMBERS, IDM_SHOW_BONE_AXES, IDM_SHOW_FK_AXES})
    EXPECT_FALSE(checked(id)) << id;
  EXPECT_EQ(doc().showJointNumbers, 0);
  EXPECT_EQ(doc().showBoneAxes, 0);
}

}  // namespace
}  // namespace lw
