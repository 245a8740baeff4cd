#include <gtest/gtest.h>

#include <cstdio>
#include <filesystem>
#include <string>
#include <vector>

#include "core/command_ids.h"
#include "render/gl_loader.h"
#include "render/shaders.h"
#include "scene_fixture.h"
#include "support/recording_ui.h"

namespace lw {
namespace {

using test::Rgb;
using test::SceneTest;

const std::string kProgramFolder = LW_SOURCE_DIR;

// Answers the open-file dialogs of the custom choice from a list; an empty path cancels.
class ScriptedChooser : public ShaderFileChooser {
 public:
  std::vector<std::string> answers;
  std::vector<std::string> patterns;
  bool chooseFile(const std::string&, const std::string& pattern, std::string& path,
                  std::string& title) override {
    patterns.push_back(pattern);
    if (answers.empty() || answers.front().empty()) return false;
    path = answers.front();
    answers.erase(answers.begin());
    title = path.substr(path.find_last_of('/') + 1);
    return true;
  }
};

std::string writeTempFile(const std::string& name, const std::string& text) {
  const std::string path = ::testing::TempDir() + name;
  std::FILE* f = std::fopen(path.c_str(), "wb");
  std::fputs(text.c_str(), f);
  std::fclose(f);
  return path;
}

class ShadingTest : public SceneTest {
 protected:
  void SetUp() override {
    SceneTest::SetUp();
    // Light 0 at 60 degrees to the square's normal: diffuse 0.5.
    doc.viewDirection = {0.8660254f, 0.0f, 0.5f};
  }
  GLint uniformInt(const char* name) {
    auto getUniformiv = loadGlProcAs<PFNGLGETUNIFORMIVPROC>("glGetUniformiv");
    GLint value = -1;
    getUniformiv(rs.shader->program, rs.shader->gl.getUniformLocation(rs.shader->program, name),
                 &value);
    return value;
  }
  test::RecordingUi ui;
};

TEST_F(ShadingTest, ToonShadingBandsTheLightAndSetsTheUniforms) {
  test::loadModel(doc, test::squarePart(1.0f, 0.0f), test::plainMaterial(1, 1, 1));
  frame();
  const auto centre = project(rs.camera, 0.3, -0.3, 0);
  EXPECT_NEAR(pixel(centre[0], centre[1])[0], 128, 2) << "fixed pipeline: diffuse 0.5";

  chooseToonShading(doc, rs.shader, kProgramFolder, ui);
  ASSERT_TRUE(ui.messages.empty()) << ui.messages[0].title << ": " << ui.messages[0].text;
  EXPECT_EQ(doc.shaderState.toonLoaded, 1);
  EXPECT_TRUE(ui.isChecked(IDM_SHADING_TOON));
  EXPECT_FALSE(ui.isChecked(IDM_SHADING_OFF));
  ASSERT_NE(rs.shader->toonTexture, nullptr);
  EXPECT_NE(rs.shader->toonTexture->glTexture, 0u);
  frame();
  dump("toon");
  EXPECT_EQ(pixel(centre[0], centre[1]), (Rgb{180, 180, 180})) << "the ramp's middle band";
  EXPECT_EQ(uniformInt("textureFlag"), 0);
  EXPECT_EQ(uniformInt("sampler0"), 0);
  EXPECT_EQ(uniformInt("sampler1"), 1);

  // Choosing it again rebuilds the program; no shading goes back to the fixed pipeline.
  chooseToonShading(doc, rs.shader, kProgramFolder, ui);
  EXPECT_EQ(doc.shaderState.toonLoaded, 1);
  chooseNoShading(doc, rs.shader, ui);
  EXPECT_EQ(doc.shaderState.toonLoaded, 0);
  EXPECT_EQ(rs.shader, nullptr);
  EXPECT_TRUE(ui.isChecked(IDM_SHADING_OFF));
  frame();
  EXPECT_NEAR(pixel(centre[0], centre[1])[0], 128, 2);
}

TEST_F(ShadingTest, ToonRampShadesTheTexturesColour) {
  Material material = test::plainMaterial(1, 1, 1);
  material.texture = std::make_unique<BmpTexture>();
  material.texture->width = 1;
  material.texture->height = 1;
  material.texture->pixels = {0, 30, 200, 0};  // one texel, blue-green-red
  test::loadModel(doc, test::squarePart(1.0f, 0.0f), std::move(material));
  chooseToonShading(doc, rs.shader, kProgramFolder, ui);
  frame();
  EXPECT_EQ(uniformInt("textureFlag"), 1);
  const auto centre = project(rs.camera, 0.3, -0.3, 0);
  // texel * ramp with ramp 180/255 and texel (200, 30, 0)/255: no grey is added.
  const Rgb got = pixel(centre[0], centre[1]);
  EXPECT_NEAR(got[0], 180 * 200 / 255.0, 2);
  EXPECT_NEAR(got[1], 180 * 30 / 255.0, 2);
  EXPECT_EQ(got[2], 0);
  GLint unit = 0;
  glGetIntegerv(GL_ACTIVE_TEXTURE, &unit);
  EXPECT_EQ(unit, GL_TEXTURE1) << "unit 1 stays active after a toon-textured part";
}

TEST_F(ShadingTest, MissingToonFilesAreReportedAndTheFrameStillDraws) {
  test::loadModel(doc, test::squarePart(1.0f, 0.0f), test::plainMaterial(1, 1, 1));
  chooseToonShading(doc, rs.shader, "/nonexistent/", ui);
  ASSERT_EQ(ui.messages.size(), 2u);
  EXPECT_EQ(ui.messages[0].text, "File is not found!!");
  EXPECT_EQ(ui.messages[0].title, "erroe File");
  EXPECT_EQ(doc.shaderState.toonLoaded, 0);
  EXPECT_EQ(rs.shader, nullptr);
  EXPECT_FALSE(ui.isChecked(IDM_SHADING_TOON)) << "a failed choice is not checked";
  EXPECT_TRUE(ui.isChecked(IDM_SHADING_OFF));
  EXPECT_EQ(frame(), 0);

  // A ramp that cannot be read alone leaves its name behind; the program still runs.
  const std::string folder = ::testing::TempDir() + "noramp/";
  std::filesystem::create_directories(folder + "glsl");
  for (const char* name : {"toon.vert", "toon.frag"}) {
    std::filesystem::copy_file(kProgramFolder + "glsl/" + name, folder + "glsl/" + name,
                               std::filesystem::copy_options::overwrite_existing);
  }
  ui.messages.clear();
  chooseToonShading(doc, rs.shader, folder, ui);
  EXPECT_TRUE(ui.messages.empty());
  EXPECT_EQ(doc.shaderState.toonLoaded, 1);
  EXPECT_NE(doc.ErrorText.find("toon.bmp"), std::string::npos);
}

TEST_F(ShadingTest, CompileErrorsShowTheInfoLog) {
  const std::string bad = writeTempFile("bad.vert", "void main() { this is not glsl }\n");
  chooseToonShading(doc, rs.shader, kProgramFolder, ui);
  ScriptedChooser chooser;
  chooser.answers = {bad, ""};
  chooseCustomShading(doc, rs.shader, chooser, ui);
  ASSERT_EQ(ui.messages.size(), 1u);
  EXPECT_EQ(ui.messages[0].title, "Shader Info Log");
  EXPECT_FALSE(ui.messages[0].text.empty());
  EXPECT_EQ(doc.shaderState.customChosen, 0) << "a program that failed to compile is not used";
  EXPECT_TRUE(ui.isChecked(IDM_SHADING_TOON)) << "the toon shading chosen before stays in force";
  EXPECT_FALSE(ui.isChecked(IDM_SHADING_CUSTOM));
  EXPECT_EQ(doc.shaderState.toonLoaded, 1);
  EXPECT_EQ(frame(), 0);
}

TEST_F(ShadingTest, CustomVertexOnlyProgramWhenTheFragmentDialogIsCancelled) {
  test::loadModel(doc, test::squarePart(1.0f, 0.0f), test::plainMaterial(1, 1, 1));
  const std::string vert = writeTempFile(
      "flat.vert", "void main() { gl_FrontColor = vec4(0.0, 1.0, 0.0, 1.0); gl_Position = ftransform(); }\n");
  ScriptedChooser chooser;
  chooser.answers = {vert, ""};
  chooseCustomShading(doc, rs.shader, chooser, ui);
  EXPECT_TRUE(ui.messages.empty());
  EXPECT_EQ(chooser.patterns, (std::vector<std::string>{"*.vert", "*.frag"}));
  EXPECT_EQ(doc.shaderState.customChosen, 1);
  EXPECT_EQ(rs.shader->fragmentChosen, 0);
  EXPECT_TRUE(ui.isChecked(IDM_SHADING_CUSTOM));
  frame();
  const auto centre = project(rs.camera, 0.3, -0.3, 0);
  EXPECT_EQ(pixel(centre[0], centre[1]), (Rgb{0, 255, 0}));
}

TEST_F(ShadingTest, CustomChoiceChecksTheExtensions) {
  const std::string wrong = writeTempFile("shader.VERT.bak", "void main() {}\n");
  ScriptedChooser chooser;
  chooser.answers = {wrong, ""};
  chooseCustomShading(doc, rs.shader, chooser, ui);
  ASSERT_EQ(ui.messages.size(), 1u);
  EXPECT_EQ(ui.messages[0].text, "拡張子を指定してください。");
  EXPECT_EQ(ui.messages[0].title, "拡張子無し");
  EXPECT_EQ(doc.shaderState.customChosen, 0);

  ui.messages.clear();
  chooser.answers = {};  // the first dialog is cancelled
  chooseCustomShading(doc, rs.shader, chooser, ui);
  EXPECT_TRUE(ui.messages.empty());
  EXPECT_EQ(doc.shaderState.customChosen, 0);

  EXPECT_TRUE(hasShaderExtension("a.vertex", "vert", "VERT"));
  EXPECT_TRUE(hasShaderExtension("a.b.FRAG", "frag", "FRAG"));
  EXPECT_FALSE(hasShaderExtension("a.Vert", "vert", "VERT"));
  EXPECT_TRUE(hasShaderExtension("vert", "vert", "VERT")) << "no dot: the whole title";
}

TEST_F(ShadingTest, ReleasingAfterAResetDeletesTheProgramToo) {
  chooseToonShading(doc, rs.shader, kProgramFolder, ui);
  doc.shaderState.toonLoaded = 0;  // a document reset clears the flags only
  EXPECT_EQ(activeProgram(doc, rs.shader.get()), nullptr);
  releaseShading(doc, rs.shader);
  EXPECT_EQ(rs.shader, nullptr);
}

}  // namespace
}  // namespace lw
