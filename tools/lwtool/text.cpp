// lwtool's edge: names arrive and reports leave in UTF-8 (on Windows the
// command line arrives as UTF-16), while everything inside (the readers, the
// document, the messages) is CP932.
#ifdef _WIN32
#include <windows.h>
#else
#include <iconv.h>
#endif

#include "core/replacing_file.h"
#include "io/file_names.h"
#include "io/model_messages.h"
#include "io/project_save.h"
#include "tools/lwtool/commands.h"

namespace lw::tool {

namespace {

#ifdef _WIN32
constexpr UINT kCodePage932 = 932;
#else
// Converts `text` between encodings; false when a byte sequence has no
// counterpart (then `result` holds '?' in its place).
bool convertText(const char* to, const char* from, const std::string& text, std::string& result) {
  result.clear();
  iconv_t converter = iconv_open(to, from);
  if (converter == reinterpret_cast<iconv_t>(-1)) {
    result = text;
    return false;
  }
  bool exact = true;
  char buffer[1024];
  char* in = const_cast<char*>(text.data());
  size_t inLeft = text.size();
  while (inLeft > 0) {
    char* outPtr = buffer;
    size_t outLeft = sizeof buffer;
    size_t done = iconv(converter, &in, &inLeft, &outPtr, &outLeft);
    result.append(buffer, static_cast<size_t>(outPtr - buffer));
    if (done == static_cast<size_t>(-1) && outLeft == sizeof buffer) {
      // An invalid, cut-off or unmappable sequence: one byte becomes '?'.
      result += '?';
      ++in;
      --inLeft;
      exact = false;
    }
  }
  iconv_close(converter);
  return exact;
}
#endif

constexpr const char* kOutputIsInputSuffix =
    "は読み込むファイルと同じです。別の名前を指定してください。";

}  // namespace

#ifdef _WIN32
std::string cp932FromWide(const std::wstring& wide) {
  const int length = static_cast<int>(wide.size());
  const int size =
      WideCharToMultiByte(kCodePage932, 0, wide.data(), length, nullptr, 0, nullptr, nullptr);
  std::string text(static_cast<size_t>(size), '\0');
  WideCharToMultiByte(kCodePage932, 0, wide.data(), length, text.data(), size, nullptr, nullptr);
  return text;
}
#else
int argumentsFromUtf8(char** begin, char** end, Args& args, std::string& err) {
  args.clear();
  for (char** word = begin; word != end; ++word) {
    std::string converted;
    if (!convertText("CP932", "UTF-8", *word, converted)) {
      err += "lwtool: \"" + std::string(*word) +
             "\" is not UTF-8 text that Shift_JIS (CP932) can hold\n";
      return 2;
    }
    args.push_back(std::move(converted));
  }
  return 0;
}
#endif

std::string refusalLine(const std::string& title, const std::string& message) {
  return utf8FromCp932(title) + ": " + utf8FromCp932(message) + "\n";
}

std::string fileRefusalLine(const std::string& title, const std::string& message,
                            const std::string& path) {
  const bool named = message.find(path) != std::string::npos;
  return refusalLine(title, named ? message : withReason(message, path));
}

std::string fileTitleOf(const std::string& path) {
  size_t slash = path.find_last_of("/\\");
  return slash == std::string::npos ? path : path.substr(slash + 1);
}

bool outputIsAnInput(const std::string& output, const std::vector<std::string>& inputs,
                     std::string& err) {
  for (const std::string& input : inputs) {
    if (!input.empty() && sameFile(output, input)) {
      err += refusalLine(kSaveFailedTitle, output + kOutputIsInputSuffix);
      return true;
    }
  }
  return false;
}

std::vector<std::string> projectInputs(const SceneDocument& doc, const std::string& projectPath) {
  const std::string folder = folderOf(projectPath);
  std::vector<std::string> inputs = {projectPath, resolveInFolder(folder, doc.modelFileName),
                                     doc.materialLibraryName};
  for (const auto& [key, decoration] : doc.decorations) {
    inputs.push_back(resolveInFolder(folder, decoration->fileName));
  }
  if (doc.mesh) {
    for (const Material& material : doc.mesh->materials) inputs.push_back(material.texturePath);
  }
  return inputs;
}

}  // namespace lw::tool
