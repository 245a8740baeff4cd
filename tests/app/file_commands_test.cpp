#include <windows.h>

#include <commctrl.h>
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "app/file_dialog.h"
#include "app/program.h"
#include "app/win_text.h"
#include "core/command_ids.h"
#include "gui_harness.h"
#include "skeleton/placement.h"

namespace lw {
namespace {

// The next file the open/save dialog "chooses"; an empty title cancels it.
FileChoice gNextChoice;
int gDialogsShown = 0;
FileDialogRequest gLastRequest;

bool fakeFileDialog(HWND, const FileDialogRequest& request, FileChoice& choice) {
  ++gDialogsShown;
  gLastRequest = request;
  if (gNextChoice.title.empty()) return false;
  choice = gNextChoice;
  return true;
}

std::string samplesFolder() {
  std::string folder = std::string("Z:") + LW_SAMPLES_DIR + "/";
  for (char& c : folder) {
    if (c == '/') c = '\\';
  }
  return folder;
}

class FileCommandsTest : public ::testing::Test {
 protected:
  void SetUp() override {
    folder_ = test::testScratchFolder("gui_files");
    for (const char* name : {"character.obj", "character.mtl", "character.bmp", "character.ojp"}) {
      CopyFileW(toWide(samplesFolder() + name).c_str(), toWide(folder_ + name).c_str(), FALSE);
    }
    chooseFile = fakeFileDialog;
    gDialogsShown = 0;
    ASSERT_TRUE(test::startProgram());
  }
  void TearDown() override {
    test::endProgram();
    chooseFile = showCommonFileDialog;
  }

  void choose(const std::string& title) { gNextChoice = {title.empty() ? "" : folder_ + title, title}; }
  LRESULT command(int id) { return SendMessageW(program().windows.main, WM_COMMAND, id, 0); }
  bool greyed(int id) const {
    return (GetMenuState(GetMenu(program().windows.main), static_cast<UINT>(id), MF_BYCOMMAND) &
            MF_GRAYED) != 0;
  }
  bool fileExists(const std::string& title) const {
    return GetFileAttributesW(toWide(folder_ + title).c_str()) != INVALID_FILE_ATTRIBUTES;
  }
  void openSampleModel() {
    choose("character.obj");
    command(IDM_FILE_OPEN);
    ASSERT_EQ(program().doc.modelLoaded, 1);
  }

  std::string folder_;
};

TEST_F(FileCommandsTest, OpeningTheSampleModelEnablesDrawingPlacementAndAdding) {
  for (int id : {IDM_DRAW_FACES, IDM_DRAW_LINES, IDM_DRAW_POINTS, IDM_PLACE_ROOT, IDM_FILE_ADD})
    EXPECT_TRUE(greyed(id)) << id;
  openSampleModel();
  const SceneDocument& doc = program().doc;
  EXPECT_EQ(gDialogsShown, 1);
  EXPECT_FALSE(gLastRequest.save);
  EXPECT_EQ(gLastRequest.title, "ファイルを開く");
  EXPECT_EQ(gLastRequest.filter,
            fileFilter({"OBJファイル(*.OBJ)", "*.OBJ", "OJPファイル(*.OJP)", "*.OJP"}));
  EXPECT_TRUE(gLastRequest.flags & OFN_FILEMUSTEXIST);
  ASSERT_NE(doc.mesh, nullptr);
  EXPECT_GT(doc.mesh->parts.size(), 1u);
  EXPECT_NE(doc.skinBuffers, nullptr);
  EXPECT_EQ(doc.drawMode, 4);
  EXPECT_EQ(doc.modelFileName, "character.obj");
  EXPECT_EQ(doc.saveFilter, fileFilter({"OBJファイル(*.OBJ)", "*.OBJ", "BMPファイル(*.bmp)", "*.bmp"}));
  for (int id : {IDM_DRAW_FACES, IDM_DRAW_LINES, IDM_DRAW_POINTS, IDM_PLACE_ROOT, IDM_FILE_ADD})
    EXPECT_FALSE(greyed(id)) << id;
  EXPECT_TRUE(greyed(IDM_FIX_POSITIONS));
  EXPECT_FALSE(fileExists("character.TLO"));  // the temporary file is gone
}

TEST_F(FileCommandsTest, FixingPositionsSwitchesTheMenuFromPlacingToPosing) {
  openSampleModel();
  command(IDM_PLACE_ROOT);
  for (int id : {IDM_PLACE_CHILD, IDM_PLACE_CHILD_XY, IDM_PLACE_CHILD_YZ, IDM_PLACE_CHILD_ZX})
    EXPECT_FALSE(greyed(id)) << id;
  command(IDM_PLACE_CHILD);
  SceneDocument& doc = program().doc;
  ASSERT_NE(placeBaseJoint(doc, {0, 1, 0}, program().ui), nullptr);
  ASSERT_NE(addChildJoint(doc, "Joint0", {0.5f, 1.4f, 0}, 1, program().ui), nullptr);
  EXPECT_FALSE(greyed(IDM_FIX_POSITIONS));

  command(IDM_FIX_POSITIONS);
  EXPECT_EQ(doc.decitionJointPosition, 1);
  for (int id : {IDM_FIX_POSITIONS, IDM_PLACE_CHILD, IDM_PLACE_CHILD_XY, IDM_PLACE_CHILD_YZ,
                 IDM_PLACE_CHILD_ZX, IDM_MOVE_CHILD, IDM_MIRROR_XY, IDM_MIRROR_YZ, IDM_MIRROR_ZX})
    EXPECT_TRUE(greyed(id)) << id;
  for (int id : {IDM_SHOW_JOINT_NUMBERS, IDM_SHOW_BONE_AXES, IDM_SHOW_FK_AXES, IDM_ROTATE_FK,
                 IDM_RESET_ROTATIONS, IDM_PLACE_WEIGHT_BOX, IDM_WEIGHT_BY_VERTEX, IDM_SKINNING_ON,
                 IDM_SKINNING_OFF, IDM_KEYFRAME_CREATE, IDM_EQUALISE_BONES, IDM_ROTATE_IK,
                 IDM_STOP_IK, IDM_SHADOW_ON, IDM_SHADOW_OFF, IDM_SHADOW_LIGHT, IDM_MOVE_ROOT_X,
                 IDM_MOVE_ROOT_Y, IDM_MOVE_ROOT_Z})
    EXPECT_FALSE(greyed(id)) << id;
  EXPECT_EQ(doc.saveFilter, fileFilter({"OBJファイル(*.OBJ)", "*.OBJ", "OJPファイル(*.OJP)",
                                        "*.OJP", "BMPファイル(*.bmp)", "*.bmp",
                                        "glTF (*.glb;*.gltf)", "*.glb;*.gltf"}));
  EXPECT_EQ(doc.keyFrames->keyframeBoneView, 1);
}

// Display settings chosen before the first model stay: there is nothing to
// discard yet. Opening over a loaded model (after No) resets them.
TEST_F(FileCommandsTest, TheFirstOpenKeepsDisplaySettings) {
  SceneDocument& doc = program().doc;
  doc.backgroundColour = {0.1f, 0.2f, 0.3f, 1.0f};
  doc.antiAliasing = 1;
  doc.showWorldAxes = 0;
  openSampleModel();
  EXPECT_EQ(doc.backgroundColour.g, 0.2f);
  EXPECT_EQ(doc.antiAliasing, 1);
  EXPECT_EQ(doc.showWorldAxes, 0);
  test::DialogScript script({{test::wide("保存"), [](HWND box) { test::pressButton(box, IDNO); }}});
  choose("character.obj");
  command(IDM_FILE_OPEN);
  EXPECT_EQ(doc.antiAliasing, 0);
  EXPECT_EQ(doc.showWorldAxes, 1);
}

TEST_F(FileCommandsTest, OpenRefusesBadExtensionsAndMissingFiles) {
  const struct {
    const char* title;
    const char* text;
    const char* boxTitle;
  } cases[] = {
      {"character.Obj", "拡張子を指定してください。", "拡張子無し"},
      {"missing.obj", "ファイルオープンエラー", "File Open Error"},
  };
  for (const auto& c : cases) {
    test::DialogScript script({test::acknowledge(c.boxTitle)});
    choose(c.title);
    command(IDM_FILE_OPEN);
    ASSERT_EQ(script.seen().size(), 1u) << c.title;
    EXPECT_EQ(script.seen()[0].text, test::wide(c.text)) << c.title;
    EXPECT_EQ(program().doc.modelLoaded, 0) << c.title;
  }
}

TEST_F(FileCommandsTest, CancelAtTheSavePromptKeepsTheDocument) {
  openSampleModel();
  const Mesh* mesh = program().doc.mesh.get();
  test::DialogScript script({{test::wide("保存"), [](HWND box) { test::pressButton(box, IDCANCEL); }}});
  choose("character.obj");
  command(IDM_FILE_OPEN);
  ASSERT_EQ(script.seen().size(), 1u);
  EXPECT_EQ(script.seen()[0].text, test::wide("現在のデータを保存しますか？"));
  EXPECT_EQ(gDialogsShown, 1);  // no second open dialog
  EXPECT_EQ(program().doc.mesh.get(), mesh);
  EXPECT_EQ(program().doc.modelLoaded, 1);
}

TEST_F(FileCommandsTest, CancellingTheSaveDialogAfterYesKeepsTheDocument) {
  openSampleModel();
  const Mesh* mesh = program().doc.mesh.get();
  test::DialogScript script({{test::wide("保存"), [](HWND box) { test::pressButton(box, IDYES); }}});
  choose("");
  command(IDM_FILE_OPEN);
  EXPECT_EQ(script.stepsLeft(), 0u);
  EXPECT_TRUE(gLastRequest.save);
  EXPECT_EQ(program().doc.mesh.get(), mesh);
  EXPECT_EQ(program().doc.editMode, RotateFk);  // the save flow entered FK mode
}

TEST_F(FileCommandsTest, NoAtTheSavePromptOpensTheNewFile) {
  openSampleModel();
  // Marks the loaded mesh: a newly read one names the file's material library
  // again. (Its address is no sign: a new mesh may get the old one's.)
  const std::string library = program().doc.mesh->materialLibrary;
  ASSERT_FALSE(library.empty());
  program().doc.mesh->materialLibrary = "marked";
  test::DialogScript script({{test::wide("保存"), [](HWND box) { test::pressButton(box, IDNO); }}});
  choose("character.obj");
  command(IDM_FILE_OPEN);
  EXPECT_EQ(script.stepsLeft(), 0u);
  EXPECT_EQ(gDialogsShown, 2);
  ASSERT_NE(program().doc.mesh, nullptr);
  EXPECT_EQ(program().doc.mesh->materialLibrary, library);
  EXPECT_EQ(program().doc.modelLoaded, 1);
}

TEST_F(FileCommandsTest, SaveAsWritesObjAndBmpAndNamesWithoutExtensionGetTwoMessages) {
  command(IDM_FILE_SAVE_AS);  // no model: nothing but a redraw
  EXPECT_EQ(gDialogsShown, 0);
  openSampleModel();
  DeleteFileW(toWide(folder_ + "posed.obj").c_str());
  DeleteFileW(toWide(folder_ + "shot.bmp").c_str());
  choose("posed.obj");
  command(IDM_FILE_SAVE_AS);
  EXPECT_TRUE(gLastRequest.save);
  EXPECT_EQ(gLastRequest.title, "名前をつけて保存");
  EXPECT_TRUE(gLastRequest.flags & OFN_OVERWRITEPROMPT);
  EXPECT_EQ(program().doc.editMode, RotateFk);
  EXPECT_TRUE(fileExists("posed.obj"));

  choose("shot.bmp");
  command(IDM_FILE_SAVE_AS);
  ASSERT_TRUE(fileExists("shot.bmp"));
  HANDLE file = CreateFileW(toWide(folder_ + "shot.bmp").c_str(), GENERIC_READ, FILE_SHARE_READ,
                            nullptr, OPEN_EXISTING, 0, nullptr);
  LARGE_INTEGER size = {};
  GetFileSizeEx(file, &size);
  CloseHandle(file);
  const SceneDocument& doc = program().doc;
  const LONGLONG row = (3LL * doc.clientWidth + 3) / 4 * 4;
  EXPECT_EQ(size.QuadPart, 54 + row * doc.clientHeight);

  test::DialogScript script({test::acknowledge("拡張子無し"), test::acknowledge("拡張子無し")});
  choose("noextension");
  command(IDM_FILE_SAVE_AS);
  ASSERT_EQ(script.seen().size(), 2u);
  EXPECT_EQ(script.seen()[0].text, test::wide("拡張子を指定してください。"));
  EXPECT_EQ(script.seen()[1].text, test::wide("拡張子をつけてください"));
}

TEST_F(FileCommandsTest, OpeningTheSampleProjectSetsTheProjectMenuState) {
  choose("character.ojp");
  EXPECT_EQ(command(IDM_FILE_OPEN), 0);
  const SceneDocument& doc = program().doc;
  EXPECT_EQ(doc.modelLoaded, 1);
  EXPECT_EQ(doc.decitionJointPosition, 1);
  EXPECT_FALSE(doc.skeleton.jointOrder.empty());
  for (int id :
       {IDM_DRAW_FACES,       IDM_DRAW_LINES,       IDM_DRAW_POINTS, IDM_SHOW_JOINT_NUMBERS,
        IDM_SHOW_BONE_AXES,   IDM_SHOW_FK_AXES,     IDM_ROTATE_FK,   IDM_RESET_ROTATIONS,
        IDM_PLACE_WEIGHT_BOX, IDM_WEIGHT_BY_VERTEX, IDM_SKINNING_ON, IDM_SKINNING_OFF,
        IDM_KEYFRAME_CREATE,  IDM_MOVE_ROOT_X,      IDM_MOVE_ROOT_Y, IDM_MOVE_ROOT_Z,
        IDM_EQUALISE_BONES,   IDM_ROTATE_IK,        IDM_STOP_IK,     IDM_FILE_ADD,
        IDM_SHADOW_ON,        IDM_SHADOW_OFF,       IDM_SHADOW_LIGHT}) {
    EXPECT_FALSE(greyed(id)) << id;
  }
  EXPECT_EQ(doc.saveFilter, fileFilter({"OBJファイル(*.OBJ)", "*.OBJ", "OJPファイル(*.OJP)",
                                        "*.OJP", "BMPファイル(*.bmp)", "*.bmp",
                                        "glTF (*.glb;*.gltf)", "*.glb;*.gltf"}));
  // Keyframes came with the project: the panel shows the one on display.
  EXPECT_NE(test::windowText(program().windows.frameNumber), L"NULL");
  EXPECT_GT(TreeView_GetCount(program().windows.treeView), 0u);
}

TEST_F(FileCommandsTest, SavingTheSampleProjectAsOjpReopensWithTheSameRig) {
  choose("character.ojp");
  ASSERT_EQ(command(IDM_FILE_OPEN), 0);
  const size_t joints = program().doc.skeleton.size();
  const size_t keyframes = program().doc.keyFrames->byTime.size();
  ASSERT_GT(joints, 1u);
  DeleteFileW(toWide(folder_ + "copy.ojp").c_str());
  choose("copy.ojp");
  command(IDM_FILE_SAVE_AS);
  ASSERT_TRUE(fileExists("copy.ojp"));

  test::DialogScript script({{test::wide("保存"), [](HWND box) { test::pressButton(box, IDNO); }}});
  choose("copy.ojp");
  command(IDM_FILE_OPEN);
  EXPECT_EQ(script.stepsLeft(), 0u);
  const SceneDocument& doc = program().doc;
  EXPECT_EQ(doc.modelLoaded, 1);
  EXPECT_EQ(doc.decitionJointPosition, 1);
  EXPECT_EQ(doc.skeleton.size(), joints);
  EXPECT_EQ(doc.keyFrames->byTime.size(), keyframes);
  EXPECT_EQ(doc.modelFileName, "character.obj");
}

// Pixel (x, y) of a 24-bit BMP file, y counted from the top.
COLORREF bmpPixel(const std::vector<unsigned char>& bmp, int width, int height, int x, int y) {
  const size_t row = (3 * static_cast<size_t>(width) + 3) / 4 * 4;
  const size_t at = 54 + row * static_cast<size_t>(height - 1 - y) + 3 * static_cast<size_t>(x);
  return RGB(bmp[at + 2], bmp[at + 1], bmp[at]);
}

std::vector<unsigned char> readWholeFile(const std::string& path) {
  std::vector<unsigned char> bytes;
  FILE* file = openFileCp932(path, "rb");
  if (file == nullptr) return bytes;
  unsigned char buffer[65536];
  size_t n = 0;
  while ((n = fread(buffer, 1, sizeof(buffer), file)) > 0) bytes.insert(bytes.end(), buffer, buffer + n);
  fclose(file);
  return bytes;
}

TEST_F(FileCommandsTest, TheViewShowsTheSampleProjectAsTheProgramsOwnCaptureHasIt) {
  choose("character.ojp");
  ASSERT_EQ(command(IDM_FILE_OPEN), 0);
  HWND view = program().windows.view;
  RedrawWindow(view, nullptr, nullptr, RDW_INVALIDATE | RDW_UPDATENOW);
  test::holdForScreenshot();
  choose("view.bmp");
  command(IDM_FILE_SAVE_AS);
  const SceneDocument& doc = program().doc;
  const int width = doc.clientWidth;
  const int height = doc.clientHeight;
  const std::vector<unsigned char> bmp = readWholeFile(folder_ + "view.bmp");
  const size_t row = (3 * static_cast<size_t>(width) + 3) / 4 * 4;
  ASSERT_EQ(bmp.size(), 54 + row * static_cast<size_t>(height));

  // GDI reads the 3D window's pixels back only when the picture is copied into
  // it (composited); a directly presented picture stays out of its reach under Wine.
  const bool readable = program().presenter.composited;
  HDC dc = GetDC(view);
  const POINT probes[] = {{5, 5},
                          {width - 6, 5},
                          {width / 2, height / 2},
                          {width / 2, height / 3},
                          {width / 2 + 30, height / 2 + 60},
                          {width / 3, height - 40}};
  for (const POINT& at : probes) {
    if (!readable) break;
    EXPECT_EQ(GetPixel(dc, at.x, at.y), bmpPixel(bmp, width, height, at.x, at.y))
        << at.x << "," << at.y;
  }
  // The grey background at a corner, and something else (the character) in the middle.
  const COLORREF corner = bmpPixel(bmp, width, height, 5, 5);
  EXPECT_NEAR(GetRValue(corner), 128, 1);
  EXPECT_EQ(GetRValue(corner), GetGValue(corner));
  int differing = 0;
  for (int y = height / 4; y < 3 * height / 4; y += 8) {
    const COLORREF captured = bmpPixel(bmp, width, height, width / 2, y);
    if (captured != corner) ++differing;
    if (readable) {
      EXPECT_EQ(GetPixel(dc, width / 2, y), captured) << width / 2 << "," << y;
    }
  }
  ReleaseDC(view, dc);
  EXPECT_GT(differing, 5);
}

TEST_F(FileCommandsTest, ABrokenProjectIsRefusedAndLeavesNoModel) {
  HANDLE file = CreateFileW(toWide(folder_ + "broken.ojp").c_str(), GENERIC_WRITE, 0, nullptr,
                            CREATE_ALWAYS, 0, nullptr);
  DWORD written = 0;
  WriteFile(file, "# nothing here\r\n", 16, &written, nullptr);
  CloseHandle(file);
  test::DialogScript script({test::acknowledge("OJPファイル読み込みエラー")});
  choose("broken.ojp");
  const LRESULT result = command(IDM_FILE_OPEN);
  EXPECT_NE(result, 0);
  EXPECT_EQ(program().doc.modelLoaded, 0);
  EXPECT_EQ(program().doc.mesh, nullptr);
  ASSERT_EQ(script.seen().size(), 1u);
  EXPECT_EQ(script.seen()[0].text,
            test::wide("プロジェクトファイルにモデルファイル名（MODEL_FILENAME）がありません。"));
  EXPECT_EQ(script.stepsLeft(), 0u);
  EXPECT_EQ(test::windowText(program().windows.frameNumber), L"NULL");
}

TEST_F(FileCommandsTest, SaveAsWritesGlbAndGltfOnlyOnceTheJointsAreFixed) {
  openSampleModel();  // no joints fixed yet: a glTF name is no known extension
  {
    test::DialogScript refusal({test::acknowledge("拡張子無し"), test::acknowledge("拡張子無し")});
    choose("early.glb");
    command(IDM_FILE_SAVE_AS);
    EXPECT_EQ(refusal.stepsLeft(), 0u);
    EXPECT_FALSE(fileExists("early.glb"));
  }

  test::DialogScript none({{test::wide("保存"), [](HWND box) { test::pressButton(box, IDNO); }}});
  choose("character.ojp");
  ASSERT_EQ(command(IDM_FILE_OPEN), 0);
  for (const char* title : {"rig.glb", "rig.gltf", "rig.bin", "rig_0.png"}) {
    DeleteFileW(toWide(folder_ + title).c_str());
  }
  choose("rig.glb");
  command(IDM_FILE_SAVE_AS);
  const std::vector<unsigned char> glb = readWholeFile(folder_ + "rig.glb");
  ASSERT_GT(glb.size(), 12u);
  EXPECT_EQ(std::string(glb.begin(), glb.begin() + 4), "glTF");
  choose("rig.gltf");
  command(IDM_FILE_SAVE_AS);
  for (const char* title : {"rig.gltf", "rig.bin", "rig_0.png"}) EXPECT_TRUE(fileExists(title)) << title;
}

}  // namespace
}  // namespace lw
