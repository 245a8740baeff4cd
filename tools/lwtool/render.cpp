// lwtool render PROJECT.ojp OUT.bmp [--time MS] [--size WxH] [--view NAME]: the
// project drawn on an offscreen context and written as a BMP, as the 3D window
// shows its stored pose or, with a time, as playback shows it then.
#include <charconv>
#include <cstdio>
#include <cstring>

#include "anim/playback.h"
#include "core/command_ids.h"
#include "edit/display_commands.h"
#include "edit/frame.h"
#include "io/project_save.h"
#include "render/camera.h"
#include "render/capture.h"
#include "render/gl_headers.h"
#include "render/offscreen_context.h"
#include "render/scene.h"
#include "tools/lwtool/commands.h"

namespace lw::tool {

namespace {

constexpr const char* kRenderUsage =
    "usage: lwtool render PROJECT.ojp OUT.bmp [--time MS] [--size WxH] [--view NAME]\n"
    "       NAME: front, back, top, bottom, left, right\n";
constexpr int kMaxImageSide = 8192;

struct RenderOptions {
  bool timed = false;
  int32_t timeMs = 0;
  int width = 1024;  // the 3D window's size before the first resize
  int height = 768;
  int viewMenuId = 0;  // 0: the front view the window starts with
};

bool parseInt(const char* begin, const char* end, int& value) {
  auto [stop, ec] = std::from_chars(begin, end, value);
  return ec == std::errc() && stop == end;
}

bool parseSize(const std::string& text, int& width, int& height) {
  const size_t x = text.find('x');
  if (x == std::string::npos) return false;
  const char* s = text.data();
  return parseInt(s, s + x, width) && parseInt(s + x + 1, s + text.size(), height) && width > 0 &&
         height > 0 && width <= kMaxImageSide && height <= kMaxImageSide;
}

int viewMenuId(const std::string& name) {
  struct View {
    const char* name;
    int id;
  };
  static constexpr View kViews[] = {{"top", IDM_VIEW_TOP},     {"bottom", IDM_VIEW_BOTTOM},
                                    {"right", IDM_VIEW_RIGHT}, {"left", IDM_VIEW_LEFT},
                                    {"front", IDM_VIEW_FRONT}, {"back", IDM_VIEW_BACK}};
  for (const View& v : kViews) {
    if (name == v.name) return v.id;
  }
  return 0;
}

bool parseOptions(const Args& args, RenderOptions& options) {
  if (args.size() < 2) return false;
  for (size_t i = 2; i < args.size(); i += 2) {
    if (i + 1 >= args.size()) return false;
    const std::string& value = args[i + 1];
    if (args[i] == "--time") {
      options.timed = parseInt(value.data(), value.data() + value.size(), options.timeMs);
      if (!options.timed) return false;
    } else if (args[i] == "--size") {
      if (!parseSize(value, options.width, options.height)) return false;
    } else if (args[i] == "--view") {
      options.viewMenuId = viewMenuId(value);
      if (options.viewMenuId == 0) return false;
    } else {
      return false;
    }
  }
  return true;
}

}  // namespace

int runRender(const Args& args, std::string& out, std::string& err) {
  RenderOptions options;
  if (!parseOptions(args, options)) {
    err = kRenderUsage;
    return 2;
  }
  SceneDocument doc;
  if (int status = readProjectFile(doc, args[0], err); status != 0) return status;
  const std::string& path = args[1];
  if (outputIsAnInput(path, projectInputs(doc, args[0]), err)) return 1;
  if (options.timed && tooFewKeyframesForTime(doc, "render", err)) return 1;
  // What the Open command sets once a project has been read.
  doc.modelLoaded = 1;
  doc.drawMode = 4;
  doc.decitionJointPosition = 1;
  OffscreenContextPtr context = createOffscreenContext(options.width, options.height);
  if (!context) {
    err += "lwtool: no offscreen OpenGL context could be created\n";
    return 1;
  }
  doc.clientWidth = options.width;
  doc.clientHeight = options.height;
  NullShellUi ui;
  if (options.viewMenuId != 0) setViewPreset(doc, ui, options.viewMenuId);

  RenderState rs;
  setViewAndProjection(doc, false);
  if (options.timed && !doc.skeleton.empty() && poseAtTime(doc, options.timeMs)) {
    // Playback skins only once a joint has been picked; any joint will do here.
    if (doc.editedJointName.empty()) doc.editedJointName = doc.skeleton.joints.begin()->first;
    preparePlaybackFrame(doc);
    drawPlaybackFrame(doc, rs);
  } else {
    ViewInputState input;
    prepareEditingFrame(doc);
    drawScene(doc, rs, input, false);
  }
  glFinish();

  if (writeFrameBmp(options.height, options.width, path) != 0) {
    err += refusalLine(kSaveFailedTitle, path + kSaveFailedSuffix);
    return 1;
  }
  out = "wrote " + utf8FromCp932(path) + "\n";
  return 0;
}

}  // namespace lw::tool
