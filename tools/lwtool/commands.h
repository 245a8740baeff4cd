// The commands of lwtool. Each takes the words after the command name (CP932,
// converted by main from UTF-8), writes
// its report to `out` and its diagnostics to `err` (UTF-8), and returns the exit
// status: 0 done, 1 the file was refused (err holds "TITLE: MESSAGE"), 2 wrong
// usage.
#pragma once

#include <string>
#include <vector>

#include "core/document.h"
#include "core/text_encoding.h"

namespace lw::tool {

using Args = std::vector<std::string>;

// convert MODEL.obj OUT.tlo: the Open command's extension rule and checks, then
// the TLO the load pipeline writes for that model, written to OUT.tlo.
int runConvert(const Args& args, std::string& out, std::string& err);

// info FILE: a summary of an OBJ, TLO or OJP file, or the refusal.
int runInfo(const Args& args, std::string& out, std::string& err);

// export PROJECT.ojp OUT.obj [--time MS]: the project's model as OBJ, in its
// stored pose or, with a time, in the pose playback shows at that time.
// export PROJECT.ojp OUT.glb|OUT.gltf [--fps N]: the rig, weights and animation
// as glTF (sampled at every keyframe and N times a second, 30 unless told),
// followed by how many corners the skin cannot reproduce exactly and the
// largest difference at the sampled times, relative to the model's height.
int runExport(const Args& args, std::string& out, std::string& err);

// render PROJECT.ojp OUT.bmp [--time MS] [--size WxH] [--view NAME]: the project
// drawn offscreen (1024x768 and the front view unless told) as a BMP, in its
// stored pose or, with a time, as the playback frame at that time (render.cpp).
int runRender(const Args& args, std::string& out, std::string& err);

// make-sample CHARACTER.obj OUT.ojp: the sample project for the sample character.
int runMakeSample(const Args& args, std::string& out, std::string& err);

// Reads a project for the project commands. Returns 0, or 1 with the refusal in
// `err`; messages of a project that opened are added to `err` as warnings.
int readProjectFile(SceneDocument& doc, const std::string& path, std::string& err);

// The summary of a project file for info.
int projectInfo(const std::string& path, std::string& out, std::string& err);

// The refusal line "TITLE: MESSAGE" from the program's CP932 texts, in UTF-8.
std::string refusalLine(const std::string& title, const std::string& message);

// refusalLine for a refusal about the file at `path`: the path is added on a
// line of its own unless the message already names it.
std::string fileRefusalLine(const std::string& title, const std::string& message,
                            const std::string& path);


#ifdef _WIN32
// UTF-16 text (the command line on Windows) as CP932; characters that CP932
// cannot hold become '?'.
std::string cp932FromWide(const std::wstring& wide);
#else
// The command-line words (UTF-8) as the CP932 names the commands work with.
// Returns 0, or 2 with the message in `err` when a word is not UTF-8 or has a
// character CP932 cannot hold.
int argumentsFromUtf8(char** begin, char** end, Args& args, std::string& err);
#endif

// True, with the refusal in `err`, when `output` is the same file as one of
// `inputs` (empty names are skipped): no command writes over what it reads.
bool outputIsAnInput(const std::string& output, const std::vector<std::string>& inputs,
                     std::string& err);

// The files a read project came from: the project, its model and decoration
// OBJs, the model's material library and its loaded textures.
std::vector<std::string> projectInputs(const SceneDocument& doc, const std::string& projectPath);

// For --time: true, with the refusal in `err`, when the project has fewer than
// two keyframes to play.
bool tooFewKeyframesForTime(const SceneDocument& doc, const char* command, std::string& err);

// The file title of a path: the part after its last '/' or '\\'.
std::string fileTitleOf(const std::string& path);

}  // namespace lw::tool
