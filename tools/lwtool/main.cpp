// lwtool: batch conversion and inspection with the program's own readers.
#include <cstdio>
#include <functional>
#include <string>
#include <vector>

#ifdef _WIN32
#include <windows.h>
#endif

#include "tools/lwtool/commands.h"
#include "version.h"

namespace {

struct Command {
  const char* name;
  int (*run)(const lw::tool::Args&, std::string&, std::string&);
  const char* help;
};

// render draws on an offscreen Mesa context, which only the Linux build has.
constexpr Command kCommands[] = {
    {"convert", lw::tool::runConvert,
     "usage: lwtool convert MODEL.obj OUT.tlo\n"
     "Reads MODEL.obj as the Open command does (triangle faces only, at most 20\n"
     "material groups) and writes the TLO file the load pipeline makes of it.\n"},
    {"info", lw::tool::runInfo,
     "usage: lwtool info FILE\n"
     "Prints a summary of an OBJ, TLO or OJP file, or why it is refused. Writes no file.\n"},
    {"export", lw::tool::runExport,
     "usage: lwtool export PROJECT.ojp OUT.obj [--time MS]\n"
     "       lwtool export PROJECT.ojp OUT.glb|OUT.gltf [--fps N]\n"
     "Writes the project's model as OBJ, with a copy of its material library beside\n"
     "it (OUT.mtl) and of the textures the library names. Without --time the mesh\n"
     "is written as the project stored it; with --time it is posed as playback\n"
     "shows it MS milliseconds after the first keyframe, which needs at least two\n"
     "keyframes.\n"
     "With a .glb or .gltf name it writes glTF 2.0: the rest mesh, the joints as a\n"
     "skin and the keyframes as one animation sampled N times a second (default 30),\n"
     "and prints how closely the skin follows the program's own deformation.\n"},
#ifndef _WIN32
    {"render", lw::tool::runRender,
     "usage: lwtool render PROJECT.ojp OUT.bmp [--time MS] [--size WxH] [--view NAME]\n"
     "Draws the project offscreen (1024x768, front view unless told) and writes the\n"
     "picture as a 24-bit BMP: the stored pose, or with --time the playback frame at\n"
     "MS milliseconds, which needs at least two keyframes.\n"},
#endif
    {"make-sample", lw::tool::runMakeSample,
     "usage: lwtool make-sample CHARACTER.obj OUT.ojp\n"
     "Rigs, weights and animates the sample character and writes its project.\n"},
};

constexpr const char* kUsage =
    "usage: lwtool convert MODEL.obj OUT.tlo\n"
    "       lwtool info FILE\n"
    "       lwtool export PROJECT.ojp OUT.obj [--time MS]\n"
    "       lwtool export PROJECT.ojp OUT.glb|OUT.gltf [--fps N]\n"
#ifndef _WIN32
    "       lwtool render PROJECT.ojp OUT.bmp [--time MS] [--size WxH] [--view NAME]\n"
#endif
    "       lwtool make-sample CHARACTER.obj OUT.ojp\n"
    "       lwtool help [COMMAND]\n"
    "       lwtool --version\n"
#ifdef _WIN32
    "(render is left out of the Windows build: it needs the offscreen Mesa OpenGL\n"
    "context of the Linux build.)\n"
#endif
    "Names are UTF-8; every output replaces its file only once it is complete, and\n"
    "an output that is one of the command's inputs is refused.\n";

const Command* findCommand(const std::string& name) {
  for (const Command& command : kCommands) {
    if (name == command.name) return &command;
  }
  return nullptr;
}

bool isHelp(const std::string& word) { return word == "help" || word == "--help" || word == "-h"; }

int help(const std::vector<std::string>& words) {
  if (words.size() < 2) {
    std::fputs(kUsage, stdout);
    return 0;
  }
  if (const Command* command = findCommand(words[1])) {
    std::fputs(command->help, stdout);
    return 0;
  }
  std::fprintf(stderr, "lwtool: unknown command \"%s\"\n%s", words[1].c_str(), kUsage);
  return 2;
}

using ArgsReader = std::function<int(lw::tool::Args&, std::string&)>;

// Runs one command line. `words` are the arguments after the program name;
// `readArgs` gives the words after the command as the CP932 names the
// commands work with (0, or 2 with the message in `err`).
int runTool(const std::vector<std::string>& words, const ArgsReader& readArgs) {
  if (words.empty()) {
    std::fputs(kUsage, stderr);
    return 2;
  }
  if (words[0] == "--version") {
    std::printf("lwtool %s\n", LW_VERSION);
    return 0;
  }
  if (isHelp(words[0])) return help(words);
  const Command* command = findCommand(words[0]);
  if (!command) {
    std::fprintf(stderr, "lwtool: unknown command \"%s\"\n%s", words[0].c_str(), kUsage);
    return 2;
  }
  std::string out, err;
  lw::tool::Args args;
  int status = readArgs(args, err);
  if (status == 0) status = command->run(args, out, err);
  std::fputs(out.c_str(), stdout);
  std::fputs(err.c_str(), stderr);
  return status;
}

}  // namespace

#ifdef _WIN32
// The arguments come as UTF-16 and are made CP932 here (file names that CP932
// cannot hold become '?', as everywhere in the program); the reports are UTF-8,
// so the console is told to show UTF-8.
int wmain(int argc, wchar_t** argv) {
  SetConsoleOutputCP(CP_UTF8);
  std::vector<std::string> words;
  for (int i = 1; i < argc; ++i) words.push_back(lw::tool::cp932FromWide(argv[i]));
  return runTool(words, [&](lw::tool::Args& args, std::string&) {
    args.assign(words.begin() + 1, words.end());
    return 0;
  });
}
#else
int main(int argc, char** argv) {
  return runTool(std::vector<std::string>(argv + 1, argv + argc),
                 [&](lw::tool::Args& args, std::string& err) {
                   return lw::tool::argumentsFromUtf8(argv + 2, argv + argc, args, err);
                 });
}
#endif
