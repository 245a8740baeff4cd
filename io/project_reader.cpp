// Reading a project: its text into lines, up to the model it names, which is
// loaded with the decorations; the lines after the model are read by
// project_sections.cpp, and the document is set up for showing at the end.
#include "io/project_reader.h"

#include <cstdio>
#include <string_view>
#include <utility>

#include "core/file_path.h"
#include "io/file_names.h"
#include "io/model_load.h"
#include "io/model_messages.h"
#include "io/project_reader_detail.h"
#include "io/project_text.h"

namespace lw {

namespace {

bool readWholeFile(const std::string& path, std::string& text) {
  std::FILE* file = openFile(path, "rb");
  if (file == nullptr) return false;
  // One read into a buffer of the file's size; a file that grows meanwhile is
  // read on to its end.
  if (std::fseek(file, 0, SEEK_END) == 0) {
    long size = std::ftell(file);
    if (size > 0) text.resize(static_cast<size_t>(size));
    std::rewind(file);
  }
  size_t used = std::fread(text.data(), 1, text.size(), file);
  text.resize(used);
  char buffer[1 << 16];
  size_t n;
  while ((n = std::fread(buffer, 1, sizeof buffer, file)) > 0) text.append(buffer, n);
  bool ok = !std::ferror(file);
  std::fclose(file);
  return ok;
}

ProjectResult refusal(int code, std::string message) {
  return {code, std::move(message), projectReadErrorTitle(code), {}};
}

// Splits the next line off `text` (without its line end; a carriage return
// before the line feed is dropped as a text-mode read drops it).
bool nextLine(std::string_view& text, std::string_view& line) {
  if (text.empty()) return false;
  size_t end = text.find('\n');
  line = text.substr(0, end);
  text.remove_prefix(end == std::string_view::npos ? text.size() : end + 1);
  if (!line.empty() && line.back() == '\r') line.remove_suffix(1);
  return true;
}

}  // namespace

namespace project_reader_detail {

// The loader on `name`, in the project's folder. A model that loaded without
// its texture or material library is told as a notice.
ModelLoadResult ProjectReader::load(const std::string& name, std::unique_ptr<Mesh>& mesh,
                                    std::string& reason) {
  const ModelLoadResult loaded = loadModel_(resolveInFolder(folder_, name), mesh, reason);
  if (loaded == ModelLoadResult::Loaded && !reason.empty()) notice(reason, kTloErrorTitle);
  return loaded;
}

int ProjectReader::loadModel(std::string_view line) {
  std::string name;
  ValueScanner values = valuesAfter(line, "MODEL_FILENAME");
  if (!hasPrefix(line, "MODEL_FILENAME") || !values.scanWord(name)) {
    result_.message = kProjectNoModelNameText;
    return kProjectNoModelName;
  }
  std::unique_ptr<Mesh> mesh;
  std::string reason;
  switch (load(name, mesh, reason)) {
    case ModelLoadResult::ObjFailed:
      result_.message = reason;
      return kProjectModelObjFailed;
    case ModelLoadResult::TloFailed:
      result_.message = withReason(kProjectTloNotFoundText, reason);
      return kProjectTloNotFound;
    case ModelLoadResult::Loaded:
      break;
  }
  doc_.modelFileName = name;
  // Decorations bring libraries of their own; the model's is the one exported.
  doc_.materialLibraryName = resolveInFolder(folderOf(resolveInFolder(folder_, name)),
                                             mesh->materialLibrary);
  auto buffers = std::make_unique<SkinBuffers>();
  buffers->parts.resize(mesh->parts.size());
  for (size_t p = 0; p < mesh->parts.size(); ++p) {
    size_t corners = mesh->parts[p].positions.size();
    buffers->parts[p].skinPositions.assign(corners, Vector3{});
    buffers->parts[p].skinNormals.assign(corners, Vector3{});
    buffers->parts[p].skinWeights.resize(corners);
  }
  doc_.mesh = std::move(mesh);
  doc_.skinBuffers = std::move(buffers);
  return 0;
}

int ProjectReader::readSubModel(std::string_view line) {
  std::string name(restAfter(line, 19));
  std::unique_ptr<Mesh> mesh;
  std::string reason;
  switch (load(name, mesh, reason)) {
    case ModelLoadResult::ObjFailed:
      // A decoration that does not read is skipped; the rest of the project is
      // still read, so skin, joints and keyframes are not lost with it.
      notice(reason, "OBJエラー");
      return 0;
    case ModelLoadResult::TloFailed:
      notice(withReason(kProjectTloNotFoundText, reason),
             projectReadErrorTitle(kProjectTloNotFound));
      return 0;
    case ModelLoadResult::Loaded:
      break;
  }
  mesh->fileName = name;
  int key = static_cast<int>(doc_.decorations.size());
  doc_.decorations[key] = std::move(mesh);
  doc_.drawMode = 4;
  doc_.modelLoaded = 1;
  return 0;
}

void ProjectReader::finish() {
  if (!skipped_.empty()) {
    notice(kProjectSkippedLinesMessage + skipped_, projectReadErrorTitle(kProjectRead));
  }
  showNextKeyFrame(doc_);
  doc_.do_skinning = 1;
  doc_.keyFrames->keyframeBoneView = 1;
  doc_.animationView = 0;
}

}  // namespace project_reader_detail

using project_reader_detail::ProjectReader;

const char* projectReadErrorTitle(int code) {
  switch (code) {
    case kProjectTloNotFound:
      return "TLOファイル読み込みエラー";
    case kProjectModelObjFailed:
      return "OBJ読み込みエラー";
    default:
      return "OJPファイル読み込みエラー";
  }
}

ProjectResult readProject(SceneDocument& doc, const std::string& path, ShellUi& ui,
                          const ProjectModelLoader& loadModel) {
  std::string text;
  if (!readWholeFile(path, text)) {
    return refusal(kProjectCannotOpen, path + kProjectCannotOpenSuffix);
  }
  return readProjectText(doc, text, folderOf(path), ui, loadModel);
}

ProjectResult readProjectText(SceneDocument& doc, std::string_view text, const std::string& folder,
                              ShellUi& ui, const ProjectModelLoader& loadModel) {
  doc.skeleton.clear();
  if (!doc.keyFrames) doc.keyFrames = std::make_unique<KeyframeStore>();
  std::string_view rest = text;
  std::string_view line;
  bool found = false;
  int number = 0;
  while (nextLine(rest, line)) {
    ++number;
    if (line.substr(0, 12) == std::string_view("MODEL_FILENAME").substr(0, 12)) {
      found = true;
      break;
    }
  }
  if (!found) {
    return refusal(kProjectNoModelName, kProjectNoModelNameText);
  }
  doc.skinBuffers.reset();
  doc.mesh.reset();
  doc.decorations.clear();

  ProjectResult result;
  ProjectReader reader(doc, ui, loadModel, folder, result);
  result.code = reader.loadModel(line);
  while (result.code == kProjectRead && nextLine(rest, line)) {
    const int code = reader.readLine(line, ++number);
    if (code == ProjectReader::kStopReading) break;
    result.code = code;
  }
  if (result.code == kProjectRead) {
    reader.finish();
  } else {
    result.title = projectReadErrorTitle(result.code);
  }
  return result;
}

ModelLoadResult loadProjectModel(const std::string& objPath, std::unique_ptr<Mesh>& mesh,
                                 std::string& errorText) {
  ObjConversion conversion = convertObjToMesh(objPath, errorText);
  switch (conversion.status) {
    case ConvertStatus::ObjFailed:
      return ModelLoadResult::ObjFailed;
    case ConvertStatus::TloFailed:
      return ModelLoadResult::TloFailed;
    case ConvertStatus::Converted:
      break;
  }
  // A texture or material library that did not read: the model opens without
  // it, and errorText says which.
  mesh = std::move(conversion.mesh);
  return ModelLoadResult::Loaded;
}

ProjectResult readProject(SceneDocument& doc, const std::string& path, ShellUi& ui) {
  return readProject(doc, path, ui, loadProjectModel);
}

}  // namespace lw
