#include <gtest/gtest.h>

#include "app/program.h"
#include "gui_harness.h"

namespace lw {
namespace {

TEST(ProgramWindows, MainWindowOpensAndClosingItEndsTheLoop) {
  ASSERT_TRUE(test::startProgram());
  HWND main = FindWindowW(L"mainWindow", nullptr);
  ASSERT_NE(main, nullptr);
  EXPECT_EQ(main, program().windows.main);
  EXPECT_EQ(test::windowClass(main), L"mainWindow");
  EXPECT_EQ(test::windowText(main), L"Limbweaver");
  EXPECT_TRUE(IsWindowVisible(main));

  PostMessageW(main, WM_CLOSE, 0, 0);
  EXPECT_EQ(test::runLoopWithWatchdog(5000), 0);
  EXPECT_FALSE(IsWindow(main));
  test::endProgram();
}

}  // namespace
}  // namespace lw
