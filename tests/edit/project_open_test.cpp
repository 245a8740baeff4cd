#include "edit/project_open.h"

#include <gtest/gtest.h>

namespace lw {
namespace {

TEST(ProjectOpenMessages, NoticesComeFirstAndAFailureLast) {
  const std::vector<Notice> notices = {{"hat.obj", "OBJエラー"}, {"skipped", "OJP"}};
  struct Case {
    int code;
    std::string message;
    size_t shown;
  };
  const Case cases[] = {{kProjectRead, "", 2},
                        {kProjectRead, "ignored", 2},
                        {kProjectTloNotFound, "no TLO", 3},
                        {kProjectModelObjFailed, "", 2}};
  for (const Case& c : cases) {
    const std::vector<Notice> shown =
        projectOpenMessages({c.code, c.message, "title " + std::to_string(c.code), notices});
    ASSERT_EQ(shown.size(), c.shown) << c.code;
    EXPECT_EQ(shown[0].text, "hat.obj");
    EXPECT_EQ(shown[1].title, "OJP");
    if (c.shown == 3) {
      EXPECT_EQ(shown[2].text, c.message);
      EXPECT_EQ(shown[2].title, "title 65");
    }
  }
}

}  // namespace
}  // namespace lw
