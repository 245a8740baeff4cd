// Reading the project file (OJP) into the document: the model is read again
// from its OBJ file beside the project, the skin data, joints, joint relations,
// flags and keyframes come from the project's lines.
#pragma once

#include <functional>
#include <memory>
#include <string>
#include <string_view>

#include "core/document.h"
#include "core/mesh.h"
#include "core/shell_ui.h"

namespace lw {

// Results of readProject. 0 is success; the failures leave their message in
// doc.ErrorText (except kProjectModelObjFailed, whose message has been shown).
enum ProjectReadResult : int {
  kProjectRead = 0,
  kProjectTloNotFound = 65,      // the model's or a decoration's temporary TLO did not read
  kProjectModelObjFailed = 70,   // the model's OBJ did not read; already reported
  kProjectCannotOpen = 71,       // the project file cannot be opened
  kProjectNoModelName = 72,      // no usable "MODEL_FILENAME" line
};

inline constexpr const char* kProjectTloNotFoundText =
    "TLOファイルがOJPと同じ場所に見つかりません。　エラーコード：THROW_LOADOJP_NOTFOUND_TLO";
inline constexpr const char* kProjectCannotOpenSuffix = "を開くことができません";
// The start of the one message an opened project shows when some of its lines
// did not fit the model or the joints and were skipped; "\nN行目：..." follows
// for each of them.
inline constexpr const char* kProjectSkippedLinesMessage =
    "プロジェクトファイルの次の行はモデルやジョイントと合わないため読み飛ばしました。";
inline constexpr const char* kProjectNoModelNameText =
    "プロジェクトファイルにモデルファイル名（MODEL_FILENAME）がありません。";

// The message-box title the Open command uses for a failure code's ErrorText.
const char* projectReadErrorTitle(int code);

// What the OBJ import pipeline (OBJ -> temporary TLO -> Mesh) reports.
enum class ModelLoadResult {
  Loaded,
  ObjFailed,  // the OBJ did not read; its message is in doc.ErrorText
  TloFailed,  // the temporary TLO did not read back
};

// Loads the OBJ at `objPath` through the import pipeline into `mesh`. It shows
// the pipeline's own messages (conversion failure, temporary file not removed)
// through `ui` and leaves an OBJ reading failure's message in doc.ErrorText.
using ProjectModelLoader = std::function<ModelLoadResult(
    const std::string& objPath, std::unique_ptr<Mesh>& mesh, SceneDocument& doc, ShellUi& ui)>;

// Reads the project file at `path` into `doc`. OBJ names in the file are taken
// relative to the project's folder. Steps: the joints are emptied; lines up to
// the first "MODEL_FILENAME" are skipped; the model (and with it the skin buffer
// table, zero-filled, one record per corner) replaces any loaded one, and the
// lines that follow fill skin data, decorations, joints, relations (with bone
// tree items through `ui`), flags and keyframes. At the end the keyframe after the
// last one read is shown and do_skinning = 1, keyframeBoneView = 1, animationView = 0.
// Malformed lines never read outside the file or the arrays: values for corners,
// joints or poses that do not exist are skipped. Returns a ProjectReadResult.
int readProject(SceneDocument& doc, const std::string& path, ShellUi& ui,
                const ProjectModelLoader& loadModel);

// readProject over project text already in memory; OBJ names are resolved in
// `folder` (empty: as written). Never reports kProjectCannotOpen.
int readProjectText(SceneDocument& doc, std::string_view text, const std::string& folder,
                    ShellUi& ui, const ProjectModelLoader& loadModel);

// The OBJ import pipeline as the project reader uses it (convertObjToMesh): a
// failure to build the mesh reads as a TLO failure and shows nothing here. On
// success the mesh's material library,
// resolved in the OBJ's folder, becomes doc.materialLibraryName (the library
// read last).
ModelLoadResult loadProjectModel(const std::string& objPath, std::unique_ptr<Mesh>& mesh,
                                 SceneDocument& doc, ShellUi& ui);

// readProject with loadProjectModel.
int readProject(SceneDocument& doc, const std::string& path, ShellUi& ui);

}  // namespace lw
