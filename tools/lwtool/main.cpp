// lwtool: batch conversion and inspection with the program's own readers.
#include <cstdio>
#include <cstring>
#include <string>

#include "tools/lwtool/commands.h"

namespace {

struct Command {
  const char* name;
  int (*run)(const lw::tool::Args&, std::string&, std::string&);
};

constexpr Command kCommands[] = {
    {"convert", lw::tool::runConvert},
    {"info", lw::tool::runInfo},
    {"export", lw::tool::runExport},
    {"render", lw::tool::runRender},
    {"make-sample", lw::tool::runMakeSample},
};

constexpr const char* kUsage =
    "usage: lwtool convert MODEL.obj OUT.tlo\n"
    "       lwtool info FILE\n"
    "       lwtool export PROJECT.ojp OUT.obj [--time MS]\n"
    "       lwtool export PROJECT.ojp OUT.glb|OUT.gltf [--fps N]\n"
    "       lwtool render PROJECT.ojp OUT.bmp [--time MS] [--size WxH] [--view NAME]\n"
    "       lwtool make-sample CHARACTER.obj OUT.ojp\n";

}  // namespace

int main(int argc, char** argv) {
  if (argc < 2) {
    std::fputs(kUsage, stderr);
    return 2;
  }
  for (const Command& command : kCommands) {
    if (std::strcmp(argv[1], command.name) != 0) continue;
    lw::tool::Args args(argv + 2, argv + argc);
    std::string out, err;
    int status = command.run(args, out, err);
    std::fputs(out.c_str(), stdout);
    std::fputs(err.c_str(), stderr);
    return status;
  }
  std::fprintf(stderr, "lwtool: unknown command \"%s\"\n%s", argv[1], kUsage);
  return 2;
}
