#include <windows.h>

#include <gtest/gtest.h>

#include <cstdint>
#include <string>
#include <vector>

#include "app/file_dialog.h"
#include "app/win_text.h"
#include "core/command_ids.h"
#include "sample_project.h"

namespace lw {
namespace {

// The files the open dialogs of the custom choice "choose", in order.
std::vector<std::string> gShaderFiles;

bool chooseShaderFile(HWND, const FileDialogRequest&, FileChoice& choice) {
  if (gShaderFiles.empty()) return false;
  const std::string path = gShaderFiles.front();
  gShaderFiles.erase(gShaderFiles.begin());
  choice = {path, path.substr(path.rfind('\\') + 1)};
  return true;
}

// How many pixels of two frames differ.
int differingPixels(const std::vector<uint8_t>& a, const std::vector<uint8_t>& b) {
  int count = 0;
  for (size_t i = 0; i + 2 < a.size() && i + 2 < b.size(); i += 3) {
    if (a[i] != b[i] || a[i + 1] != b[i + 1] || a[i + 2] != b[i + 2]) ++count;
  }
  return count;
}

class ShadingMenuTest : public test::SampleProjectTest {
 protected:
  void TearDown() override {
    chooseFile = showCommonFileDialog;
    test::SampleProjectTest::TearDown();
  }
  bool checked(int id) const {
    return (GetMenuState(GetMenu(program().windows.main), static_cast<UINT>(id), MF_BYCOMMAND) &
            MF_CHECKED) != 0;
  }
  // Chooses a shading from its menu item; returns the titles of the boxes shown.
  std::vector<std::wstring> choose(int id, std::vector<std::string> files = {}) {
    gShaderFiles = std::move(files);
    chooseFile = chooseShaderFile;
    std::vector<test::DialogStep> steps;
    for (const char* title : {"Shader Info Log", "erroe File"})
      steps.push_back(test::acknowledge(title));
    test::DialogScript script(steps, 3000);
    command(id);
    chooseFile = showCommonFileDialog;
    std::vector<std::wstring> titles;
    for (const test::SeenBox& box : script.seen()) titles.push_back(box.title);
    return titles;
  }
  static std::string glslFile(const char* name) { return programFolder() + "glsl\\" + name; }
};

TEST_F(ShadingMenuTest, EachShadingChangesTheModelAndNoShadingBringsThePlainFrameBack) {
  const std::vector<uint8_t> plain = test::captureView();
  const int pixelCount = static_cast<int>(plain.size() / 3);

  EXPECT_TRUE(choose(IDM_SHADING_TOON).empty());
  EXPECT_TRUE(checked(IDM_SHADING_TOON));
  EXPECT_FALSE(checked(IDM_SHADING_OFF));
  const std::vector<uint8_t> toon = test::captureView();
  test::holdForScreenshot();
  const int toonChanged = differingPixels(plain, toon);
  EXPECT_GT(toonChanged, 500) << "the toon bands show on the model";
  EXPECT_LT(toonChanged, pixelCount / 4) << "the background stays as it was";

  EXPECT_TRUE(choose(IDM_SHADING_OFF).empty());
  EXPECT_TRUE(checked(IDM_SHADING_OFF));
  EXPECT_EQ(differingPixels(plain, test::captureView()), 0);

  // The toon pair as a custom program: no textureFlag is set, so unlike the
  // toon choice every part takes its material colour through the ramp.
  EXPECT_TRUE(choose(IDM_SHADING_CUSTOM, {glslFile("toon.vert"), glslFile("toon.frag")}).empty());
  EXPECT_TRUE(checked(IDM_SHADING_CUSTOM));
  EXPECT_FALSE(checked(IDM_SHADING_OFF));
  const std::vector<uint8_t> custom = test::captureView();
  EXPECT_GT(differingPixels(plain, custom), 500);
  EXPECT_GT(differingPixels(toon, custom), 0);
}

TEST_F(ShadingMenuTest, AFailedChoiceKeepsTheShadingInForceAndItsCheckMark) {
  ASSERT_TRUE(choose(IDM_SHADING_TOON).empty());
  const std::vector<uint8_t> toon = test::captureView();

  // A fragment source that does not compile: its log is shown, toon stays.
  wchar_t current[MAX_PATH] = {};
  GetCurrentDirectoryW(MAX_PATH, current);
  const std::string broken = toCp932(current) + "\\broken.frag";
  FILE* file = openFileCp932(broken, "wb");
  ASSERT_NE(file, nullptr);
  fputs("void main() { not glsl }\n", file);
  fclose(file);
  const std::vector<std::wstring> titles =
      choose(IDM_SHADING_CUSTOM, {glslFile("toon.vert"), broken});
  ASSERT_EQ(titles.size(), 1u);
  EXPECT_EQ(titles[0], L"Shader Info Log");
  EXPECT_TRUE(checked(IDM_SHADING_TOON));
  EXPECT_FALSE(checked(IDM_SHADING_CUSTOM));
  EXPECT_EQ(program().doc.shaderState.toonLoaded, 1);
  EXPECT_EQ(differingPixels(toon, test::captureView()), 0);

  // Cancelling the first file dialog changes nothing either.
  EXPECT_TRUE(choose(IDM_SHADING_CUSTOM).empty());
  EXPECT_TRUE(checked(IDM_SHADING_TOON));
  EXPECT_FALSE(checked(IDM_SHADING_CUSTOM));
}

}  // namespace
}  // namespace lw
