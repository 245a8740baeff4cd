#include "render/shaders.h"

#include <cstdio>
#include <memory>
#include <new>

#include "core/command_ids.h"
#include "core/file_path.h"
#include "io/bmp.h"
#include "render/gl_loader.h"
#include "render/textures.h"

namespace lw {

namespace {

constexpr char kFileErrorTitle[] = "erroe File";
constexpr char kFileNotFound[] = "File is not found!!";
constexpr char kNoMemory[] = "Memory is not enough for File";
constexpr char kInfoLogTitle[] = "Shader Info Log";
constexpr char kNoShaderSupport[] = "GLSL のシェーダ関数を取得できません。";
constexpr char kNoExtension[] = "拡張子を指定してください。";
constexpr char kNoExtensionTitle[] = "拡張子無し";
constexpr int kInfoLogLimit = 1024;
#ifdef _WIN32
constexpr char kToonFolder[] = "glsl\\";
#else
constexpr char kToonFolder[] = "glsl/";
#endif

template <typename T>
bool fetch(T& slot, const char* name) {
  slot = loadGlProcAs<T>(name);
  return slot != nullptr;
}

void setShadingChecks(ShellUi& ui, int checkedId) {
  for (int id : {IDM_SHADING_TOON, IDM_SHADING_OFF, IDM_SHADING_CUSTOM}) {
    ui.checkMenuItem(id, id == checkedId);
  }
}

// A new shader of `type` compiled from the file at `path`; `ok` turns false
// when the file could not be read or did not compile.
GLuint compiledShader(ShaderProgram& sp, GLenum type, const std::string& path, ShellUi& ui,
                      bool& ok) {
  const GLuint shader = sp.gl.createShader(type);
  if (compileShaderFile(sp.gl, path, shader, ui) != 1) ok = false;
  return shader;
}

// Links the program; link failures are not reported, only returned.
bool linkProgram(ShaderProgram& sp) {
  sp.gl.linkProgram(sp.program);
  GLint linked = GL_FALSE;
  sp.gl.getProgramiv(sp.program, GL_LINK_STATUS, &linked);
  return linked == GL_TRUE;
}

// The check mark of the shading in force.
int checkOfShadingInForce(const SceneDocument& doc) {
  if (doc.shaderState.toonLoaded == 1) return IDM_SHADING_TOON;
  if (doc.shaderState.customChosen == 1) return IDM_SHADING_CUSTOM;
  return IDM_SHADING_OFF;
}

// A choice that failed: its program goes, the shading in force and its check
// mark stay as they were.
void keepShadingInForce(const SceneDocument& doc, ShaderProgram& failed, ShellUi& ui) {
  if (failed.program != 0) failed.gl.deleteProgram(failed.program);
  setShadingChecks(ui, checkOfShadingInForce(doc));
  ui.redraw();
}

// The text after the last "." of a file title, or the whole title.
std::string extensionOf(const std::string& title) {
  const size_t dot = title.rfind('.');
  return dot == std::string::npos ? title : title.substr(dot + 1);
}

}  // namespace

bool fetchShaderEntryPoints(ShaderEntryPoints& gl) {
  bool ok = true;
  ok &= fetch(gl.createProgram, "glCreateProgram");
  ok &= fetch(gl.createShader, "glCreateShader");
  ok &= fetch(gl.shaderSource, "glShaderSource");
  ok &= fetch(gl.compileShader, "glCompileShader");
  ok &= fetch(gl.attachShader, "glAttachShader");
  ok &= fetch(gl.linkProgram, "glLinkProgram");
  ok &= fetch(gl.useProgram, "glUseProgram");
  ok &= fetch(gl.getShaderiv, "glGetShaderiv");
  ok &= fetch(gl.getShaderInfoLog, "glGetShaderInfoLog");
  ok &= fetch(gl.deleteShader, "glDeleteShader");
  ok &= fetch(gl.deleteProgram, "glDeleteProgram");
  ok &= fetch(gl.getProgramiv, "glGetProgramiv");
  ok &= fetch(gl.getUniformLocation, "glGetUniformLocation");
  ok &= fetch(gl.uniform1f, "glUniform1f");
  ok &= fetch(gl.uniform1i, "glUniform1i");
  ok &= fetch(gl.activeTexture, "glActiveTexture");
  return ok;
}

int compileShaderFile(const ShaderEntryPoints& gl, const std::string& path, GLuint shader,
                      ShellUi& ui) {
  std::FILE* file = openFile(path, "rb");
  long length = -1;
  if (file && std::fseek(file, 0, SEEK_END) == 0) length = std::ftell(file);
  if (!file || length < 0) {
    if (file) std::fclose(file);
    ui.showMessage(kFileNotFound, kFileErrorTitle);
    return -1;
  }
  std::unique_ptr<char[]> source(new (std::nothrow) char[static_cast<size_t>(length) + 1]);
  if (!source) {
    std::fclose(file);
    ui.showMessage(kNoMemory, kFileErrorTitle);
    return -1;
  }
  std::fseek(file, 0, SEEK_SET);
  const size_t read = std::fread(source.get(), 1, static_cast<size_t>(length), file);
  std::fclose(file);
  source[read] = '\0';
  const GLchar* text = source.get();
  const GLint size = static_cast<GLint>(read);
  gl.shaderSource(shader, 1, &text, &size);
  source.reset();

  gl.compileShader(shader);
  GLint compiled = GL_FALSE;
  gl.getShaderiv(shader, GL_COMPILE_STATUS, &compiled);
  if (compiled == GL_TRUE) return 1;
  GLint logLength = 0;
  gl.getShaderiv(shader, GL_INFO_LOG_LENGTH, &logLength);
  if (logLength > 1) {
    char log[kInfoLogLimit] = {};
    GLsizei written = 0;
    gl.getShaderInfoLog(shader, kInfoLogLimit, &written, log);
    ui.showMessage(std::string(log, static_cast<size_t>(written)), kInfoLogTitle);
  }
  return -1;
}

bool buildVertexProgram(ShaderProgram& sp, ShellUi& ui) {
  bool ok = true;
  sp.vertexShader = compiledShader(sp, GL_VERTEX_SHADER, sp.vertexSourcePath, ui, ok);
  sp.program = sp.gl.createProgram();
  sp.gl.attachShader(sp.program, sp.vertexShader);
  sp.gl.deleteShader(sp.vertexShader);
  return linkProgram(sp) && ok;
}

bool buildVertexFragmentProgram(ShaderProgram& sp, ShellUi& ui) {
  bool ok = true;
  sp.vertexShader = compiledShader(sp, GL_VERTEX_SHADER, sp.vertexSourcePath, ui, ok);
  sp.fragmentShader = compiledShader(sp, GL_FRAGMENT_SHADER, sp.fragmentSourcePath, ui, ok);
  sp.program = sp.gl.createProgram();
  sp.gl.attachShader(sp.program, sp.vertexShader);
  sp.gl.attachShader(sp.program, sp.fragmentShader);
  sp.gl.deleteShader(sp.vertexShader);
  sp.gl.deleteShader(sp.fragmentShader);
  return linkProgram(sp) && ok;
}

void releaseShading(SceneDocument& doc, std::unique_ptr<ShaderProgram>& shader) {
  if (shader) {
    if (doc.shaderState.toonLoaded == 1) shader->gl.activeTexture(GL_TEXTURE0);
    // A program left behind by a document reset is deleted as well.
    if (shader->program != 0) shader->gl.deleteProgram(shader->program);
    if (shader->toonTexture && shader->toonTexture->glTexture != 0) {
      glDeleteTextures(1, &shader->toonTexture->glTexture);
    }
    shader.reset();
  }
  doc.shaderState.toonLoaded = 0;
  doc.shaderState.customChosen = 0;
}

void chooseToonShading(SceneDocument& doc, std::unique_ptr<ShaderProgram>& shader,
                       const std::string& programFolder, ShellUi& ui) {
  glFlush();
  auto sp = std::make_unique<ShaderProgram>();
  if (!fetchShaderEntryPoints(sp->gl)) {
    ui.showMessage(kNoShaderSupport, kInfoLogTitle);
    keepShadingInForce(doc, *sp, ui);
    return;
  }
  const std::string folder = programFolder + kToonFolder;
  sp->vertexSourcePath = folder + "toon.vert";
  sp->fragmentSourcePath = folder + "toon.frag";
  if (!buildVertexFragmentProgram(*sp, ui)) {
    keepShadingInForce(doc, *sp, ui);
    return;
  }
  sp->gl.activeTexture(GL_TEXTURE1);
  std::string errorText;
  sp->toonTexture = loadBmpTexture(folder + "toon.bmp", errorText);
  if (sp->toonTexture) {
    ensureTextureUploaded(*sp->toonTexture, true);
  } else {
    doc.ErrorText = errorText;
  }
  sp->gl.activeTexture(GL_TEXTURE0);
  releaseShading(doc, shader);
  shader = std::move(sp);
  doc.shaderState.toonLoaded = 1;
  setShadingChecks(ui, IDM_SHADING_TOON);
  ui.redraw();
}

void chooseNoShading(SceneDocument& doc, std::unique_ptr<ShaderProgram>& shader, ShellUi& ui) {
  setShadingChecks(ui, IDM_SHADING_OFF);
  releaseShading(doc, shader);
  ui.redraw();
}

bool hasShaderExtension(const std::string& title, const char* lower, const char* upper) {
  const std::string ext = extensionOf(title).substr(0, 4);
  return ext == lower || ext == upper;
}

void chooseCustomShading(SceneDocument& doc, std::unique_ptr<ShaderProgram>& shader,
                         ShaderFileChooser& chooser, ShellUi& ui) {
  std::string path, title;
  if (!chooser.chooseFile("頂点シェーダ(*.vert)", "*.vert", path, title)) {
    ui.redraw();
    return;
  }
  auto sp = std::make_unique<ShaderProgram>();
  if (!hasShaderExtension(title, "vert", "VERT")) {
    ui.showMessage(kNoExtension, kNoExtensionTitle);
  } else {
    sp->vertexSourcePath = path;
    sp->vertexChosen = 1;
  }
  if (chooser.chooseFile("フラグメントシェーダ(*.frag)", "*.frag", path, title)) {
    if (!hasShaderExtension(title, "frag", "FRAG")) {
      ui.showMessage(kNoExtension, kNoExtensionTitle);
    } else {
      sp->fragmentSourcePath = path;
      sp->fragmentChosen = 1;
    }
  }
  bool built = false;
  if (sp->vertexChosen == 1) {
    if (!fetchShaderEntryPoints(sp->gl)) {
      ui.showMessage(kNoShaderSupport, kInfoLogTitle);
    } else {
      built = sp->fragmentChosen == 0 ? buildVertexProgram(*sp, ui)
                                      : buildVertexFragmentProgram(*sp, ui);
    }
  }
  if (!built) {
    keepShadingInForce(doc, *sp, ui);
    return;
  }
  // Only the new program may run now: whatever was in use goes.
  releaseShading(doc, shader);
  shader = std::move(sp);
  doc.shaderState.customChosen = 1;
  setShadingChecks(ui, IDM_SHADING_CUSTOM);
  ui.redraw();
}

const ShaderProgram* activeProgram(const SceneDocument& doc, const ShaderProgram* shader) {
  if (!shader || shader->program == 0) return nullptr;
  return doc.shaderState.toonLoaded == 1 || doc.shaderState.customChosen == 1 ? shader : nullptr;
}

void useProgramForPart(const SceneDocument& doc, const ShaderProgram& sp, bool textured) {
  sp.gl.useProgram(sp.program);
  if (doc.shaderState.toonLoaded == 1) {
    sp.gl.uniform1i(sp.gl.getUniformLocation(sp.program, "textureFlag"), textured ? 1 : 0);
    sp.gl.uniform1f(sp.gl.getUniformLocation(sp.program, "mixFactor"), kToonMixFactor);
    sp.gl.uniform1i(sp.gl.getUniformLocation(sp.program, "sampler0"), 0);
    sp.gl.uniform1i(sp.gl.getUniformLocation(sp.program, "sampler1"), 1);
  } else {
    sp.gl.uniform1i(sp.gl.getUniformLocation(sp.program, "sampler0"), 0);
  }
}

}  // namespace lw
