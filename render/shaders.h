// GLSL shading of the model: the built-in toon program (glsl/toon.vert,
// glsl/toon.frag, ramp glsl/toon.bmp beside the program), a user-chosen pair of
// source files, or none. Only the model is drawn through a program.
//
// doc.shaderState.toonLoaded / customChosen say which program is in use (at
// most one); the program itself lives in RenderState::shader.
#pragma once

#include <cstdint>
#include <memory>
#include <string>

#include "core/document.h"
#include "core/mesh.h"
#include "core/shell_ui.h"
#include "render/gl_headers.h"

namespace lw {

inline constexpr float kToonMixFactor = 0.5f;

// The GL 2.0 entry points, fetched through the installed loader.
struct ShaderEntryPoints {
  PFNGLCREATEPROGRAMPROC createProgram = nullptr;
  PFNGLCREATESHADERPROC createShader = nullptr;
  PFNGLSHADERSOURCEPROC shaderSource = nullptr;
  PFNGLCOMPILESHADERPROC compileShader = nullptr;
  PFNGLATTACHSHADERPROC attachShader = nullptr;
  PFNGLLINKPROGRAMPROC linkProgram = nullptr;
  PFNGLUSEPROGRAMPROC useProgram = nullptr;
  PFNGLGETSHADERIVPROC getShaderiv = nullptr;
  PFNGLGETSHADERINFOLOGPROC getShaderInfoLog = nullptr;
  PFNGLDELETESHADERPROC deleteShader = nullptr;
  PFNGLDELETEPROGRAMPROC deleteProgram = nullptr;
  PFNGLGETPROGRAMIVPROC getProgramiv = nullptr;
  PFNGLGETUNIFORMLOCATIONPROC getUniformLocation = nullptr;
  PFNGLUNIFORM1FPROC uniform1f = nullptr;
  PFNGLUNIFORM1IPROC uniform1i = nullptr;
  PFNGLACTIVETEXTUREPROC activeTexture = nullptr;
};

struct ShaderProgram {
  ShaderEntryPoints gl;
  GLuint program = 0;
  GLuint vertexShader = 0;    // deleted again right after linking
  GLuint fragmentShader = 0;
  std::unique_ptr<BmpTexture> toonTexture;  // the ramp, toon shading only
  std::string vertexSourcePath;
  std::string fragmentSourcePath;
  int32_t vertexChosen = 0;
  int32_t fragmentChosen = 0;
};

// Fills every entry point through loadGlProc. Returns false when any is missing
// (a program must then not be built: calling a missing entry point would crash).
bool fetchShaderEntryPoints(ShaderEntryPoints& gl);

// Reads the file at `path` (binary) as the source of `shader` and compiles it.
// Returns 1 when compiled. Otherwise -1 after a message box: "File is not
// found!!" / "erroe File" when the file cannot be read, "Memory is not enough for
// File" / "erroe File" when its buffer cannot be had, or up to 1024 bytes of the
// info log titled "Shader Info Log" when compilation failed (and the log is longer than 1).
int compileShaderFile(const ShaderEntryPoints& gl, const std::string& path, GLuint shader,
                      ShellUi& ui);

// A program from the vertex source alone / from both sources. The shaders are
// attached and deleted, the program linked (link failures show no message).
// Returns true when every source compiled and the program linked.
bool buildVertexProgram(ShaderProgram& sp, ShellUi& ui);
bool buildVertexFragmentProgram(ShaderProgram& sp, ShellUi& ui);

// Deletes the current program (selecting texture unit 0 first for toon shading)
// and the ramp texture, frees the record and clears both flags. A program kept
// after a document reset cleared the flags is deleted too.
void releaseShading(SceneDocument& doc, std::unique_ptr<ShaderProgram>& shader);

// Menu IDM_SHADING_TOON: flush, a new program from programFolder + "glsl\toon.vert" /
// "glsl\toon.frag", the ramp programFolder + "glsl\toon.bmp" uploaded on texture
// unit 1; then the program in use is released, toonLoaded := 1, check marks
// (IDM_SHADING_TOON on, IDM_SHADING_OFF and IDM_SHADING_CUSTOM off), redraw. programFolder ends
// with its separator (or is empty). A ramp that cannot be read leaves its file name in
// doc.ErrorText (nothing is shown) and the program runs without it.
// A choice that fails (no GL 2.0 entry points, a source that cannot be read or
// does not compile, a failed link) shows its message, builds nothing and leaves
// the shading in force and its check mark as they were.
void chooseToonShading(SceneDocument& doc, std::unique_ptr<ShaderProgram>& shader,
                       const std::string& programFolder, ShellUi& ui);

// Menu IDM_SHADING_OFF: check mark on IDM_SHADING_OFF only, release, redraw.
void chooseNoShading(SceneDocument& doc, std::unique_ptr<ShaderProgram>& shader, ShellUi& ui);

// The open-file dialogs of the custom choice. Returns false when cancelled;
// otherwise the chosen full path and its file title.
class ShaderFileChooser {
 public:
  virtual ~ShaderFileChooser() = default;
  // filterLabel is "頂点シェーダ(*.vert)" or "フラグメントシェーダ(*.frag)", pattern "*.vert" or "*.frag".
  virtual bool chooseFile(const std::string& filterLabel, const std::string& pattern,
                          std::string& path, std::string& title) = 0;
};

// Menu IDM_SHADING_CUSTOM: the vertex file is asked for (cancel: nothing changes, redraw); a
// title whose extension (after the last ".") does not start with "vert" or
// "VERT" gives "拡張子を指定してください。" / "拡張子無し", else it becomes the
// vertex source. Then the fragment file is asked for, tested with "frag"/"FRAG".
// With a vertex source the program is built (vertex only when no fragment source
// was chosen); when it builds, the program in use is released, customChosen := 1
// and the check marks become IDM_SHADING_CUSTOM on, IDM_SHADING_TOON and IDM_SHADING_OFF off. A
// choice without a vertex source or whose program fails keeps the shading in force, as the toon
// choice does. Redraws.
void chooseCustomShading(SceneDocument& doc, std::unique_ptr<ShaderProgram>& shader,
                         ShaderFileChooser& chooser, ShellUi& ui);

// The extension test of the custom choice: the text after the last "." of the
// title (the whole title without one) starts with `lower` or `upper`.
bool hasShaderExtension(const std::string& title, const char* lower, const char* upper);

// The program to draw the model with, or null when none is in use.
const ShaderProgram* activeProgram(const SceneDocument& doc, const ShaderProgram* shader);

// Makes the program current and sets the uniforms for one part: toon
// "textureFlag" (1 for a textured part), "mixFactor" 0.5, "sampler0" 0,
// "sampler1" 1; custom "sampler0" 0.
void useProgramForPart(const SceneDocument& doc, const ShaderProgram& sp, bool textured);

}  // namespace lw
