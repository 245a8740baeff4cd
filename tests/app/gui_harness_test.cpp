// The dialog scripts the GUI tests answer boxes with: a script made inside
// another's lifetime answers alone until it ends, then the outer one answers
// again, and neither sees the other's boxes.
#include <gtest/gtest.h>
#include <windows.h>

#include "gui_harness.h"

namespace lw::test {
namespace {

TEST(DialogScriptTest, NestedScriptsAnswerInTurnAndEndCleanly) {
  DialogScript outer({{L"outer", [](HWND box) { pressButton(box, IDOK); }}});
  {
    DialogScript inner({{L"inner", [](HWND box) { pressButton(box, IDCANCEL); }}});
    EXPECT_EQ(MessageBoxW(nullptr, L"first", L"inner", MB_OKCANCEL), IDCANCEL);
    EXPECT_EQ(inner.stepsLeft(), 0u);
    ASSERT_EQ(inner.seen().size(), 1u);
    EXPECT_EQ(inner.seen()[0].text, L"first");
  }
  EXPECT_EQ(MessageBoxW(nullptr, L"second", L"outer", MB_OKCANCEL), IDOK);
  EXPECT_EQ(outer.stepsLeft(), 0u);
  ASSERT_EQ(outer.seen().size(), 1u);
  EXPECT_EQ(outer.seen()[0].text, L"second");
  EXPECT_EQ(outer.unanswered(), 0);
}

}  // namespace
}  // namespace lw::test
