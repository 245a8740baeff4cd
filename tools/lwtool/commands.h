// The commands of lwtool. Each takes the words after the command name, writes
// its report to `out` and its diagnostics to `err` (UTF-8), and returns the exit
// status: 0 done, 1 the file was refused (err holds "TITLE: MESSAGE"), 2 wrong
// usage.
#pragma once

#include <string>
#include <vector>

namespace lw::tool {

using Args = std::vector<std::string>;

// convert MODEL.obj OUT.tlo: the Open command's extension rule and checks, then
// the TLO the load pipeline writes for that model, written to OUT.tlo.
int runConvert(const Args& args, std::string& out, std::string& err);

// info FILE: a summary of an OBJ, TLO or OJP file, or the refusal.
int runInfo(const Args& args, std::string& out, std::string& err);

// The refusal line "TITLE: MESSAGE" from the program's CP932 texts, in UTF-8.
std::string refusalLine(const std::string& title, const std::string& message);

// CP932 text (names read from files, the program's messages) as UTF-8; bytes that
// are not CP932 become '?'.
std::string cp932ToUtf8(const std::string& text);

// The file title of a path: the part after its last '/' or '\\'.
std::string fileTitleOf(const std::string& path);

}  // namespace lw::tool
