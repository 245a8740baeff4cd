// lwtool: batch conversion and inspection with the program's own readers.
#include <cstdio>
#include <cstring>
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
};

// render draws on an offscreen Mesa context, which only the Linux build has.
constexpr Command kCommands[] = {
    {"convert", lw::tool::runConvert},
    {"info", lw::tool::runInfo},
    {"export", lw::tool::runExport},
#ifndef _WIN32
    {"render", lw::tool::runRender},
#endif
    {"make-sample", lw::tool::runMakeSample},
};

constexpr const char* kUsage =
    "usage: lwtool convert MODEL.obj OUT.tlo\n"
    "       lwtool info FILE\n"
    "       lwtool export PROJECT.ojp OUT.obj [--time MS]\n"
#ifdef _WIN32
    "       lwtool make-sample CHARACTER.obj OUT.ojp\n"
    "       lwtool --version\n"
    "(render is left out of the Windows build: it needs the offscreen Mesa OpenGL\n"
    "context of the Linux build.)\n";
#else
    "       lwtool render PROJECT.ojp OUT.bmp [--time MS] [--size WxH] [--view NAME]\n"
    "       lwtool make-sample CHARACTER.obj OUT.ojp\n"
    "       lwtool --version\n";
#endif

int runTool(const std::vector<std::string>& words) {
  if (words.empty()) {
    std::fputs(kUsage, stderr);
    return 2;
  }
  if (words[0] == "--version") {
    std::printf("lwtool %s\n", LW_VERSION);
    return 0;
  }
  for (const Command& command : kCommands) {
    if (words[0] != command.name) continue;
    lw::tool::Args args(words.begin() + 1, words.end());
    std::string out, err;
    int status = command.run(args, out, err);
    std::fputs(out.c_str(), stdout);
    std::fputs(err.c_str(), stderr);
    return status;
  }
  std::fprintf(stderr, "lwtool: unknown command \"%s\"\n%s", words[0].c_str(), kUsage);
  return 2;
}

}  // namespace

#ifdef _WIN32
// The arguments come as UTF-16 and become the program's CP932 (file names that
// CP932 cannot hold become '?', as everywhere in the program); the reports are
// UTF-8, so the console is told to show UTF-8.
int wmain(int argc, wchar_t** argv) {
  SetConsoleOutputCP(CP_UTF8);
  std::vector<std::string> words;
  for (int i = 1; i < argc; ++i) words.push_back(lw::tool::cp932FromWide(argv[i]));
  return runTool(words);
}
#else
int main(int argc, char** argv) { return runTool(std::vector<std::string>(argv + 1, argv + argc)); }
#endif
