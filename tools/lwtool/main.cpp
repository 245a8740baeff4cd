// lwtool: batch conversion and inspection with the program's own readers.
#include <cstdio>
#include <cstring>
#include <string>

#include "tools/lwtool/commands.h"

namespace {

struct Command {
  const char* name;
  int (*run)(const lw::tool::Args&, std::string&, std::string&);
  const char* help;
};

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
     "Writes the project's model as OBJ, with a copy of its material library beside\n"
     "it (OUT.mtl) and of the textures the library names. Without --time the mesh\n"
     "is written as the project stored it; with --time it is posed as playback\n"
     "shows it MS milliseconds after the first keyframe, which needs at least two\n"
     "keyframes.\n"},
    {"render", lw::tool::runRender,
     "usage: lwtool render PROJECT.ojp OUT.bmp [--time MS] [--size WxH] [--view NAME]\n"
     "Draws the project offscreen (1024x768, front view unless told) and writes the\n"
     "picture as a 24-bit BMP: the stored pose, or with --time the playback frame at\n"
     "MS milliseconds, which needs at least two keyframes.\n"},
    {"make-sample", lw::tool::runMakeSample,
     "usage: lwtool make-sample CHARACTER.obj OUT.ojp\n"
     "Rigs, weights and animates the sample character and writes its project.\n"},
};

constexpr const char* kUsage =
    "usage: lwtool convert MODEL.obj OUT.tlo\n"
    "       lwtool info FILE\n"
    "       lwtool export PROJECT.ojp OUT.obj [--time MS]\n"
    "       lwtool export PROJECT.ojp OUT.glb|OUT.gltf [--fps N]\n"
    "       lwtool render PROJECT.ojp OUT.bmp [--time MS] [--size WxH] [--view NAME]\n"
    "       lwtool make-sample CHARACTER.obj OUT.ojp\n"
    "       lwtool help [COMMAND]\n"
    "Names are UTF-8; every output replaces its file only once it is complete, and\n"
    "an output that is one of the command's inputs is refused.\n";

const Command* findCommand(const char* name) {
  for (const Command& command : kCommands) {
    if (std::strcmp(name, command.name) == 0) return &command;
  }
  return nullptr;
}

bool isHelp(const char* word) {
  return std::strcmp(word, "help") == 0 || std::strcmp(word, "--help") == 0 ||
         std::strcmp(word, "-h") == 0;
}

int help(int argc, char** argv) {
  if (argc < 3) {
    std::fputs(kUsage, stdout);
    return 0;
  }
  if (const Command* command = findCommand(argv[2])) {
    std::fputs(command->help, stdout);
    return 0;
  }
  std::fprintf(stderr, "lwtool: unknown command \"%s\"\n%s", argv[2], kUsage);
  return 2;
}

}  // namespace

int main(int argc, char** argv) {
  if (argc < 2) {
    std::fputs(kUsage, stderr);
    return 2;
  }
  if (isHelp(argv[1])) return help(argc, argv);
  const Command* command = findCommand(argv[1]);
  if (!command) {
    std::fprintf(stderr, "lwtool: unknown command \"%s\"\n%s", argv[1], kUsage);
    return 2;
  }
  std::string out, err;
  lw::tool::Args args;
  int status = lw::tool::argumentsFromUtf8(argv + 2, argv + argc, args, err);
  if (status == 0) status = command->run(args, out, err);
  std::fputs(out.c_str(), stdout);
  std::fputs(err.c_str(), stderr);
  return status;
}
