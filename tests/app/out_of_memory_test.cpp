// Memory running out part way through Open, Add, a project's open and a
// keyframe's creation: the command shows its memory message, the document is
// as it was (Open from an empty program leaves it empty), and the program goes
// on. Each command is run with its first large allocation failing, then the
// 2nd, 4th, 8th, ... until one run gets through.
#include <windows.h>

#include <gtest/gtest.h>

#include <string>

#include "anim/keyframe_commands.h"
#include "app/file_dialog.h"
#include "app/program.h"
#include "app/win_text.h"
#include "gui_harness.h"
#include "resources/resource.h"
#include "support/failing_allocation.h"

namespace lw {
namespace {

constexpr char kMemoryTitle[] = "メモリ取得エラー";
constexpr char kOpenMemoryText[] = "メモリ取得できませんでした。　エラーコード：100";
// Reading a file or building a mesh: well above what the test harness and the
// messages allocate for themselves.
constexpr size_t kFileAllocation = 4096;
// A keyframe's poses are a few hundred bytes each.
constexpr size_t kKeyframeAllocation = 256;

std::string gChosen;
int gAllowed = -1;

// The file dialog's answer; memory starts failing once the file is chosen.
bool chooseAndArm(HWND, const FileDialogRequest&, FileChoice& choice) {
  const size_t slash = gChosen.find_last_of('\\');
  choice = {gChosen, gChosen.substr(slash + 1)};
  test::failAllocation(gAllowed, kFileAllocation);
  return true;
}

class OutOfMemoryTest : public ::testing::Test {
 protected:
  void SetUp() override {
    wchar_t current[MAX_PATH] = {};
    GetCurrentDirectoryW(MAX_PATH, current);
    folder_ = toCp932(current) + "\\gui_memory\\";
    CreateDirectoryW(toWide(folder_).c_str(), nullptr);
    for (const char* name : {"character.obj", "character.mtl", "character.bmp", "character.ojp"}) {
      ASSERT_TRUE(CopyFileW(toWide(test::samplesFolder() + name).c_str(),
                            toWide(folder_ + name).c_str(), FALSE));
    }
    ASSERT_TRUE(test::startProgram());
    chooseFile = chooseAndArm;
  }
  void TearDown() override {
    test::disarmAllocationFailure();
    chooseFile = showCommonFileDialog;
    test::endProgram();
  }

  SceneDocument& doc() { return program().doc; }
  LRESULT command(int id) { return SendMessageW(program().windows.main, WM_COMMAND, id, 0); }

  // Runs a file command on `title` with the allocation after `allowed` large
  // ones failing. True when it failed (and the hook is disarmed either way).
  bool fileCommandFails(int id, const char* title, int allowed) {
    gChosen = folder_ + title;
    gAllowed = allowed;
    command(id);
    return test::disarmAllocationFailure();
  }
  void openWhole(const char* title) {
    ASSERT_FALSE(fileCommandFails(IDM_FILE_OPEN, title, 1 << 30));
    ASSERT_EQ(doc().modelLoaded, 1);
  }

  std::string folder_;
};

TEST_F(OutOfMemoryTest, OpenShowsTheMessageAndLeavesTheProgramWithoutAModel) {
  // A failed project open starts from a fresh document, settings and all.
  const struct {
    const char* title;
    const char* text;
    bool keepsSettings;
  } cases[] = {
      {"character.obj", kOpenMemoryText, true},
      {"character.ojp", "メモリ取得に失敗しました。　エラーコード：THROW_LOADOJP_ALLOC_ERROR_1",
       false},
  };
  for (const auto& c : cases) {
    doc().backgroundColour = {0.1f, 0.2f, 0.3f, 1.0f};  // a setting chosen before any model
    int failures = 0;
    for (int allowed = 0;; allowed = 2 * allowed + 1) {
      test::DialogScript script({test::acknowledge(kMemoryTitle)});
      if (!fileCommandFails(IDM_FILE_OPEN, c.title, allowed)) break;
      ++failures;
      const std::string at = std::string(c.title) + " failing #" + std::to_string(allowed);
      ASSERT_EQ(script.seen().size(), 1u) << at;
      EXPECT_EQ(script.seen()[0].text, test::wide(c.text)) << at;
      EXPECT_EQ(doc().modelLoaded, 0) << at;
      EXPECT_EQ(doc().mesh, nullptr) << at;
      EXPECT_EQ(doc().skinBuffers, nullptr) << at;
      EXPECT_TRUE(doc().skeleton.empty()) << at;
      EXPECT_TRUE(doc().keyFrames->byNumber.empty()) << at;
      EXPECT_EQ(doc().backgroundColour.g == 0.2f, c.keepsSettings) << at;
    }
    EXPECT_GE(failures, 3) << c.title;
    EXPECT_EQ(doc().modelLoaded, 1) << c.title;  // the program went on and opened it
    test::endProgram();
    ASSERT_TRUE(test::startProgram());
  }
}

TEST_F(OutOfMemoryTest, AddShowsTheMessageAndKeepsTheModel) {
  openWhole("character.obj");
  const Mesh* model = doc().mesh.get();
  int failures = 0;
  for (int allowed = 0;; allowed = 2 * allowed + 1) {
    test::DialogScript script({test::acknowledge(kMemoryTitle)});
    if (!fileCommandFails(IDM_FILE_ADD, "character.obj", allowed)) break;
    ++failures;
    ASSERT_EQ(script.seen().size(), 1u) << allowed;
    EXPECT_EQ(script.seen()[0].text, test::wide(kOpenMemoryText)) << allowed;
    EXPECT_EQ(doc().mesh.get(), model) << allowed;
    EXPECT_TRUE(doc().decorations.empty()) << allowed;
    EXPECT_EQ(doc().modelLoaded, 1) << allowed;
  }
  EXPECT_GE(failures, 3);
  EXPECT_EQ(doc().decorations.size(), 1u);
}

TEST_F(OutOfMemoryTest, KeyframeCreationShowsTheMessageAndKeepsTheKeyframes) {
  openWhole("character.ojp");
  KeyframeStore& store = *doc().keyFrames;
  const auto numbered = store.byNumber;
  const auto timed = store.byTime;
  ASSERT_FALSE(timed.empty());
  int failures = 0;
  for (int allowed = 0;; allowed = 2 * allowed + 1) {
    test::DialogScript script(
        {{test::wide("キーフレームの作成"),
          [allowed](HWND dialog) {
            SetWindowTextW(GetDlgItem(dialog, IDC_KEYFRAME_TIME), L"1234");
            test::failAllocation(allowed, kKeyframeAllocation);
            test::pressButton(dialog, IDOK);
          }},
         test::acknowledge(kKeyframeErrorTitle)});
    command(IDM_KEYFRAME_CREATE);
    if (!test::disarmAllocationFailure()) break;
    ++failures;
    ASSERT_EQ(script.seen().size(), 2u) << allowed;
    EXPECT_EQ(script.seen()[1].text, test::wide(kKeyframeMemoryText)) << allowed;
    EXPECT_EQ(store.byNumber, numbered) << allowed;
    EXPECT_EQ(store.byTime, timed) << allowed;
  }
  EXPECT_GE(failures, 3);
  EXPECT_EQ(store.byTime.count(1234), 1u);
}

}  // namespace
}  // namespace lw
