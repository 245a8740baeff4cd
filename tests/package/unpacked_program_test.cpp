// The program as a user gets it: scripts/test_package.sh unpacks the Windows
// package into a folder whose path holds spaces and Japanese characters, puts
// this test program beside limbweaver.exe and starts it from another current
// folder. Everything the program reads or writes beside itself must be found
// there, and the sample project must open, shade and save from the package.
#include <windows.h>

#include <gtest/gtest.h>

#include <filesystem>
#include <string>
#include <vector>

#include "anim/keyframe_commands.h"
#include "app/file_dialog.h"
#include "app/program.h"
#include "app/win_text.h"
#include "gui_harness.h"
#include "render/shaders.h"
#include "resources/resource.h"
#include "version.h"

namespace lw {
namespace {

std::string currentFolder() {
  wchar_t current[MAX_PATH] = {};
  GetCurrentDirectoryW(MAX_PATH, current);
  return toCp932(current) + "\\";
}

bool exists(const std::string& path) {
  return GetFileAttributesW(toWide(path).c_str()) != INVALID_FILE_ATTRIBUTES;
}

// One string of an executable's VERSIONINFO (Japanese, Unicode block).
std::wstring versionString(const std::string& exe, const wchar_t* name) {
  const std::wstring path = toWide(exe);
  std::vector<unsigned char> info(GetFileVersionInfoSizeW(path.c_str(), nullptr) + 1);
  void* value = nullptr;
  UINT length = 0;
  const std::wstring key = std::wstring(L"\\StringFileInfo\\041104B0\\") + name;
  if (!GetFileVersionInfoW(path.c_str(), 0, static_cast<DWORD>(info.size()), info.data()) ||
      !VerQueryValueW(info.data(), key.c_str(), &value, &length) || length == 0) {
    return L"(none)";
  }
  return static_cast<const wchar_t*>(value);
}

// The open and save dialogs' stand-in: it chooses `gChoice` and, like the real
// dialogs, leaves the current folder at the chosen file's folder.
FileChoice gChoice;
bool chooseInPackage(HWND, const FileDialogRequest&, FileChoice& choice) {
  choice = gChoice;
  const std::string folder = gChoice.path.substr(0, gChoice.path.size() - gChoice.title.size());
  SetCurrentDirectoryW(toWide(folder).c_str());
  return true;
}

class UnpackedProgramTest : public ::testing::Test {
 protected:
  void SetUp() override {
    folder_ = programFolder();
    startFolder_ = currentFolder();
    ASSERT_NE(folder_.find("テスト フォルダ\\Limbweaver\\"), std::string::npos) << toWide(folder_);
    ASSERT_NE(startFolder_, folder_);
    chooseFile = chooseInPackage;
    ASSERT_TRUE(test::startProgram());
  }
  void TearDown() override {
    test::endProgram();
    chooseFile = showCommonFileDialog;
  }

  void choose(const std::string& relative, const std::string& title) {
    gChoice = {folder_ + relative + title, title};
  }
  LRESULT command(int id) { return SendMessageW(program().windows.main, WM_COMMAND, id, 0); }

  std::string folder_;
  std::string startFolder_;
};

TEST_F(UnpackedProgramTest, BothExecutablesCarryTheProductNameAndVersion) {
  for (const char* exe : {"limbweaver.exe", "lwtool.exe"}) {
    EXPECT_EQ(versionString(folder_ + exe, L"ProductName"), L"Limbweaver") << exe;
    EXPECT_EQ(versionString(folder_ + exe, L"ProductVersion"), toWide(LW_VERSION)) << exe;
    EXPECT_EQ(versionString(folder_ + exe, L"OriginalFilename"), toWide(exe)) << exe;
  }
}

TEST_F(UnpackedProgramTest, TheSampleOpensTakesToonShadingAndSavesUnderANewName) {
  for (const char* name : {"toon.vert", "toon.frag", "toon.bmp"}) {
    EXPECT_TRUE(exists(folder_ + "glsl\\" + name)) << name;
  }
  choose("samples\\", "character.ojp");
  ASSERT_EQ(command(IDM_FILE_OPEN), 0);
  ASSERT_EQ(program().doc.modelLoaded, 1);
  ASSERT_EQ(currentFolder(), folder_ + "samples\\");

  {
    // The current folder (samples) has no glsl folder: the files must come
    // from the program's own folder, without a message.
    test::DialogScript noMessages({}, 3000);
    command(IDM_SHADING_TOON);
    for (const test::SeenBox& box : noMessages.seen()) ADD_FAILURE() << box.title << L": " << box.text;
  }
  const ShaderProgram* shader = program().renderState.shader.get();
  EXPECT_NE(shader, nullptr);
  if (shader != nullptr) {
    EXPECT_EQ(shader->vertexSourcePath, folder_ + "glsl\\toon.vert");
    EXPECT_EQ(shader->fragmentSourcePath, folder_ + "glsl\\toon.frag");
    EXPECT_NE(shader->program, 0u);
    EXPECT_NE(shader->toonTexture, nullptr);
  }
  EXPECT_EQ(program().doc.shaderState.toonLoaded, 1);

  // Saved under a new name with a space, and opened again: the same rig.
  const size_t joints = program().doc.skeleton.size();
  const size_t keyframes = program().doc.keyFrames->byTime.size();
  const std::string saved = "トゥーン 保存.ojp";
  DeleteFileW(toWide(folder_ + "samples\\" + saved).c_str());
  choose("samples\\", saved);
  command(IDM_FILE_SAVE_AS);
  ASSERT_TRUE(exists(folder_ + "samples\\" + saved));
  test::DialogScript keepNothing({{test::wide("保存"), [](HWND box) { test::pressButton(box, IDNO); }}});
  ASSERT_EQ(command(IDM_FILE_OPEN), 0);
  EXPECT_EQ(keepNothing.stepsLeft(), 0u);
  EXPECT_EQ(program().doc.modelLoaded, 1);
  EXPECT_EQ(program().doc.skeleton.size(), joints);
  EXPECT_EQ(program().doc.keyFrames->byTime.size(), keyframes);
  EXPECT_GT(keyframes, 1u);
}

TEST_F(UnpackedProgramTest, PlaybackFramesGoBesideTheProgramNotIntoTheCurrentFolder) {
  choose("samples\\", "character.ojp");
  ASSERT_EQ(command(IDM_FILE_OPEN), 0);
  SetCurrentDirectoryW(toWide(startFolder_).c_str());
  DeleteFileW(toWide(folder_ + "frame1.bmp").c_str());
  command(IDM_PLAY_ALL);
  command(IDM_SAVE_FRAMES);
  ASSERT_EQ(program().doc.saveFramesAsBmp, 1);
  SendMessageW(program().windows.view, WM_KEYDOWN, VK_SPACE, 0);
  test::pumpPending();
  std::error_code error;
  EXPECT_EQ(std::filesystem::file_size(toWide(folder_ + "frame1.bmp"), error),
            54u + static_cast<size_t>((program().doc.clientWidth * 3 + 3) / 4 * 4) *
                      static_cast<size_t>(program().doc.clientHeight));
  EXPECT_FALSE(exists(startFolder_ + "frame1.bmp"));
}

}  // namespace
}  // namespace lw
