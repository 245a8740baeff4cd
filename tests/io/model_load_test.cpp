// The Open and Add commands' OBJ pipeline on a document.
#include "io/model_load.h"

#include <gtest/gtest.h>

#include <string>

#include "core/command_ids.h"
#include "io/file_names.h"
#include "io/model_messages.h"
#include "io_test_support.h"
#include "support/recording_ui.h"

namespace lw {
namespace {

class ModelLoad : public ::testing::Test {
 protected:
  void SetUp() override {
    for (const char* name : {"quad.obj", "tricky.obj", "lib.mtl", "tex.bmp"}) {
      test::writeFile(temp.file(name), test::readFile(test::dataPath(name)));
    }
  }
  LoadResult open(const std::string& title) {
    return openModelFile(doc, ui, temp.file(title), title);
  }

  test::TempFolder temp;
  SceneDocument doc;
  test::RecordingUi ui;
};

TEST_F(ModelLoad, OpenBuildsTheModelSkinBuffersAndMenuState) {
  LoadResult result = open("tricky.obj");
  ASSERT_EQ(result.status, LoadStatus::Loaded) << result.message;
  EXPECT_TRUE(result.message.empty());
  ASSERT_NE(doc.mesh, nullptr);
  EXPECT_EQ(doc.mesh->partCount(), 5);
  ASSERT_NE(doc.skinBuffers, nullptr);
  ASSERT_EQ(doc.skinBuffers->parts.size(), 5u);
  EXPECT_EQ(doc.skinBuffers->parts[2].skinPositions[1], doc.mesh->parts[2].positions[1]);
  EXPECT_EQ(doc.skinBuffers->parts[3].skinNormals[0], doc.mesh->parts[3].normals[0]);
  EXPECT_EQ(doc.drawMode, 4);
  EXPECT_EQ(doc.modelLoaded, 1);
  EXPECT_EQ(doc.modelFileName, "tricky.obj");
  EXPECT_EQ(doc.materialLibraryName, temp.file("lib.mtl"));  // resolved beside the model
  EXPECT_EQ(doc.saveFilter, fileFilter({"OBJファイル(*.OBJ)", "*.OBJ", "BMPファイル(*.bmp)", "*.bmp"}));
  for (int id : {IDM_DRAW_FACES, IDM_DRAW_LINES, IDM_DRAW_POINTS, IDM_PLACE_ROOT, IDM_FILE_ADD}) {
    EXPECT_TRUE(ui.isEnabled(id)) << id;
  }
  EXPECT_EQ(ui.redraws, 1);
  EXPECT_FALSE(test::fileExists(temp.file("tricky.TLO")));
  EXPECT_TRUE(doc.ErrorText.empty());
}

TEST_F(ModelLoad, ExtensionRuleDecidesBeforeAnythingIsRead) {
  EXPECT_EQ(open("x.ojp").status, LoadStatus::Project);
  EXPECT_EQ(open("x.OJP").status, LoadStatus::Project);
  for (const char* title : {"quad.Obj", "quad", "quad.txt", "quad.ob"}) {
    LoadResult result = open(title);
    EXPECT_EQ(result.status, LoadStatus::Refused) << title;
    EXPECT_EQ(result.message, kChooseExtensionMessage);
    EXPECT_EQ(result.title, kNoExtensionTitle);
  }
  EXPECT_EQ(doc.mesh, nullptr);
  EXPECT_EQ(ui.redraws, 0);
}

TEST_F(ModelLoad, FileNameRules) {
  EXPECT_EQ(fileKindOf("model.v2.obj"), FileKind::Obj);
  EXPECT_EQ(fileKindOf("model.OBJX"), FileKind::Obj);
  EXPECT_EQ(fileKindOf("shot.bmp"), FileKind::Bitmap);
  EXPECT_EQ(fileKindOf("model.obj."), FileKind::Obj);  // empty pieces are skipped
  EXPECT_EQ(fileKindOf("obj"), FileKind::Obj);
  EXPECT_EQ(fileKindOf("model.oBJ"), FileKind::Other);
  EXPECT_EQ(resolveInFolder("/m/", ""), "");
  EXPECT_EQ(folderOf("C:\\m\\x.obj"), "C:\\m\\");
  EXPECT_EQ(resolveInFolder("/m/", "t.bmp"), "/m/t.bmp");
  EXPECT_EQ(resolveInFolder("/m/", "/abs/t.bmp"), "/abs/t.bmp");
  EXPECT_EQ(resolveInFolder("/m/", "D:\\t.bmp"), "D:\\t.bmp");
}

TEST_F(ModelLoad, TwoDotTitleUsesTheNameCutAtTheFirstDot) {
  test::writeFile(temp.file("quad.v2.obj"), test::readFile(test::dataPath("quad.obj")));
  LoadResult result = open("quad.v2.obj");
  ASSERT_EQ(result.status, LoadStatus::Loaded) << result.message;
  EXPECT_FALSE(test::fileExists(temp.file("quad.TLO")));  // nothing is written beside it
}

TEST_F(ModelLoad, TemporaryFileNeverReplacesAFileTheUserHas) {
  test::writeFile(temp.file("quad.TLO"), "the user's own file");
  test::writeFile(temp.file("quad_1.TLO"), "another one");
  LoadResult result = open("quad.obj");
  ASSERT_EQ(result.status, LoadStatus::Loaded) << result.message;
  EXPECT_EQ(test::readFile(temp.file("quad.TLO")), "the user's own file");
  EXPECT_EQ(test::readFile(temp.file("quad_1.TLO")), "another one");
  EXPECT_FALSE(test::fileExists(temp.file("quad_2.TLO")));  // nothing is written beside it
  ASSERT_NE(doc.mesh, nullptr);
  EXPECT_EQ(doc.mesh->faceCount, 2);
}

TEST_F(ModelLoad, QuadFaceAndMissingFileStopAtTheTriangleCheck) {
  test::writeFile(temp.file("q.obj"), "v 0 0 0\nvt 0 0\nvn 0 0 1\nf 1/1/1 1/1/1 1/1/1 1/1/1\n");
  LoadResult result = open("q.obj");
  EXPECT_EQ(result.status, LoadStatus::Refused);
  EXPECT_EQ(result.message, kTrianglesOnlyMessage);
  EXPECT_EQ(result.title, kObjFormatTitle);
  result = open("absent.obj");
  EXPECT_EQ(result.message, kFileOpenErrorMessage);
  EXPECT_EQ(result.title, kFileOpenErrorTitle);
  EXPECT_FALSE(test::fileExists(temp.file("q.TLO")));
}

TEST_F(ModelLoad, ReaderFailureShowsErrorTextUnderTheObjTitle) {
  test::writeFile(temp.file("novt.obj"), "v 0 0 0\nvn 0 0 1\nf 1/1/1 1/1/1 1/1/1\n");
  doc.ErrorText = "stale";
  LoadResult result = open("novt.obj");
  EXPECT_EQ(result.status, LoadStatus::Refused);
  EXPECT_EQ(result.message, kObjCountsMessage);
  EXPECT_EQ(result.title, kObjReadErrorTitle);
  EXPECT_EQ(doc.ErrorText, "stale") << "the reason is in the result only";
  EXPECT_EQ(doc.modelLoaded, 0);
}

TEST_F(ModelLoad, OpenWritesNothingSoAFolderWhereNoFileCanBeWrittenStillOpens) {
  // A 255-byte file name: the name a TLO beside it would take is a folder, and any
  // other name is longer than a file name may be. Open builds the mesh in memory.
#ifdef _WIN32
  GTEST_SKIP() << "a 255-byte name in the test folder is past the Windows path limit";
#endif
  const std::string stem(251, 'q');
  test::writeFile(temp.file(stem + ".obj"), test::readFile(test::dataPath("quad.obj")));
  std::filesystem::create_directory(temp.file(stem + ".TLO"));
  LoadResult result = open(stem + ".obj");
  EXPECT_EQ(result.status, LoadStatus::Loaded) << result.message;
  EXPECT_TRUE(result.message.empty());
  ASSERT_NE(doc.mesh, nullptr);
  EXPECT_EQ(doc.mesh->faceCount, 2);
  EXPECT_TRUE(std::filesystem::is_directory(temp.file(stem + ".TLO")));  // left as it was
}

// A library or texture that does not read: the model opens (and a decoration
// is added) without it, with one message naming the file and the reason.
TEST_F(ModelLoad, UnreadableLibraryOrTextureOpensTheModelWithAMessage) {
  const std::string lib = temp.file("lib.mtl"), tex = temp.file("tex.bmp");
  struct Case {
    const char* name;
    void (*spoil)(const std::string& lib, const std::string& tex);
    std::string message;
    int materials;
  };
  const Case cases[] = {
      {"library missing", [](const std::string& l, const std::string&) { std::filesystem::remove(l); },
       std::string(kTloMaterialOpenMessage) + "\n" + lib + kMtlReadFailedSuffix, 0},
      {"library is a folder",
       [](const std::string& l, const std::string&) {
         std::filesystem::remove(l);
         std::filesystem::create_directory(l);
       },
       std::string(kTloMaterialOpenMessage) + "\n" + lib + kNotRegularFileSuffix, 0},
      {"texture 32-bit", [](const std::string&, const std::string& t) {
         std::string bmp = test::readFile(t);
         bmp[28] = 32;
         test::writeFile(t, bmp);
       },
       "tex.bmp\n" + tex + kTextureNotBmpSuffix, 2},
      {"texture missing", [](const std::string&, const std::string& t) { std::filesystem::remove(t); },
       "tex.bmp\n" + tex + kCannotOpenSuffix, 2},
  };
  for (const Case& c : cases) {
    SetUp();
    c.spoil(lib, tex);
    doc = SceneDocument();
    LoadResult result = open("tricky.obj");
    ASSERT_EQ(result.status, LoadStatus::Loaded) << c.name;
    EXPECT_EQ(result.message, c.message) << c.name;
    EXPECT_EQ(result.title, kTloErrorTitle) << c.name;
    EXPECT_EQ(doc.mesh->materialCount(), c.materials) << c.name;
    for (const Material& m : doc.mesh->materials) EXPECT_EQ(m.texture, nullptr) << c.name;
    EXPECT_FALSE(test::fileExists(temp.file("tricky.TLO"))) << c.name;
    result = addDecorationFile(doc, ui, temp.file("quad.obj"), "quad.obj");
    EXPECT_EQ(result.status, LoadStatus::Loaded) << c.name;
    EXPECT_EQ(doc.decorations.size(), 1u) << c.name;
    std::filesystem::remove_all(lib);
    std::filesystem::remove_all(tex);
  }
}

TEST_F(ModelLoad, DecorationsTakeTheNextKeyAndTheirTitle) {
  ASSERT_EQ(open("quad.obj").status, LoadStatus::Loaded);
  ui.enabled.clear();
  doc.drawMode = 0;
  ASSERT_EQ(addDecorationFile(doc, ui, temp.file("tricky.obj"), "tricky.obj").status,
            LoadStatus::Loaded);
  ASSERT_EQ(addDecorationFile(doc, ui, temp.file("quad.obj"), "quad.obj").status,
            LoadStatus::Loaded);
  ASSERT_EQ(doc.decorations.size(), 2u);
  EXPECT_EQ(doc.decorations.at(0)->fileName, "tricky.obj");
  EXPECT_EQ(doc.decorations.at(1)->fileName, "quad.obj");
  EXPECT_EQ(doc.drawMode, 4);
  EXPECT_TRUE(ui.enabled.empty());  // no menu changes
  EXPECT_EQ(doc.skinBuffers->parts.size(), 1u);  // the model's, untouched
  EXPECT_EQ(addDecorationFile(doc, ui, temp.file("x.ojp"), "x.ojp").message,
            kChooseExtensionMessage);
}

TEST_F(ModelLoad, ObjWithoutMaterialsOpensAsOnePartWithoutMaterial) {
  test::writeFile(temp.file("plain.obj"),
                  "v 0 0 0\nv 1 0 0\nv 0 1 0\nvt 0 0\nvn 0 0 1\nf 1/1/1 2/1/1 3/1/1\n");
  ASSERT_EQ(open("plain.obj").status, LoadStatus::Loaded);
  ASSERT_EQ(doc.mesh->partCount(), 1);
  EXPECT_EQ(doc.mesh->parts[0].materialIndex, -1);
  EXPECT_EQ(doc.mesh->parts[0].positions[1], (Vector3{1, 0, 0}));
}

TEST_F(ModelLoad, SampleCharacterLoads) {
  const std::string folder = std::string(LW_TEST_DATA_DIR) + "/../../../samples/";
  ASSERT_TRUE(test::fileExists(folder + "character.obj"));
  LoadResult result = openModelFile(doc, ui, folder + "character.obj", "character.obj");
  ASSERT_EQ(result.status, LoadStatus::Loaded) << result.message;
  ASSERT_GE(doc.mesh->partCount(), 2);
  int corners = 0;
  for (const MeshPart& part : doc.mesh->parts) {
    EXPECT_GE(part.materialIndex, 0);
    corners += part.vertexCount;
  }
  EXPECT_GE(corners / 3, 1000);
  bool textured = false;
  for (const Material& m : doc.mesh->materials) textured = textured || m.texture != nullptr;
  EXPECT_TRUE(textured);
}

}  // namespace
}  // namespace lw
