// Reading the project file (OJP) into the document: the model is read again
// from its OBJ file beside the project, the skin data, joints, joint relations,
// flags and keyframes come from the project's lines.
#pragma once

#include <functional>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "core/document.h"
#include "core/mesh.h"
#include "core/shell_ui.h"
#include "io/model_messages.h"

namespace lw {

// Codes of readProject. 0 is success.
enum ProjectReadCode : int {
  kProjectRead = 0,
  kProjectTloNotFound = 65,     // the model's or a decoration's temporary TLO did not read
  kProjectModelObjFailed = 70,  // the model's OBJ did not read
  kProjectCannotOpen = 71,      // the project file cannot be opened
  kProjectNoModelName = 72,     // no usable "MODEL_FILENAME" line
};

// The message-box title of a failure code's message.
const char* projectReadErrorTitle(int code);

// One message box: its text and title.
struct Notice {
  std::string text;
  std::string title;
};

// What reading a project gives the Open command, which shows it: the notices
// met on the way (a decoration or texture that did not read, lines skipped), in
// order, then for a failure its message titled `title`.
struct ProjectResult {
  int code = kProjectRead;  // a ProjectReadCode
  std::string message;      // empty when the project was read
  std::string title;
  std::vector<Notice> notices;
};

// What the OBJ import pipeline (OBJ -> temporary TLO -> Mesh) reports.
enum class ModelLoadResult {
  Loaded,
  ObjFailed,  // the OBJ did not read; its message is in errorText
  TloFailed,  // the temporary TLO did not read back; the reason, if any, is in errorText
};

// Loads the OBJ at `objPath` through the import pipeline into `mesh`. A failure
// leaves its message in `errorText`; so does a model that loaded without its
// texture or material library (Loaded, a warning).
using ProjectModelLoader = std::function<ModelLoadResult(
    const std::string& objPath, std::unique_ptr<Mesh>& mesh, std::string& errorText)>;

// Reads the project file at `path` into `doc`. OBJ names in the file are taken
// relative to the project's folder. Steps: the joints are emptied; lines up to
// the first "MODEL_FILENAME" are skipped; the model (and with it the skin buffer
// table, zero-filled, one record per corner) replaces any loaded one, and the
// lines that follow fill skin data, decorations, joints, relations (with bone
// tree items through `ui`), flags and keyframes. At the end the keyframe after the
// last one read is shown and do_skinning = 1, keyframeBoneView = 1, animationView = 0.
// Malformed lines never read outside the file or the arrays: values for corners,
// joints or poses that do not exist are skipped. `ui` only gets the bone tree's
// items: every message is in the result.
ProjectResult readProject(SceneDocument& doc, const std::string& path, ShellUi& ui,
                          const ProjectModelLoader& loadModel);

// readProject over project text already in memory; OBJ names are resolved in
// `folder` (empty: as written). Never reports kProjectCannotOpen.
ProjectResult readProjectText(SceneDocument& doc, std::string_view text, const std::string& folder,
                              ShellUi& ui, const ProjectModelLoader& loadModel);

// The OBJ import pipeline as the project reader uses it (convertObjToMesh): a
// failure to build the mesh reads as a TLO failure.
ModelLoadResult loadProjectModel(const std::string& objPath, std::unique_ptr<Mesh>& mesh,
                                 std::string& errorText);

// readProject with loadProjectModel.
ProjectResult readProject(SceneDocument& doc, const std::string& path, ShellUi& ui);

}  // namespace lw
