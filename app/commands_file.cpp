// The file commands: Open (save prompt, open dialog, OBJ model or project),
// Add decoration, Save as, and the end of a project open.
#include <windows.h>

#include <new>

#include "app/commands.h"
#include "app/file_dialog.h"
#include "app/program.h"
#include "app/view_input_host.h"
#include "app/win_text.h"
#include "edit/file_commands.h"
#include "edit/project_open.h"
#include "gltf/gltf_save.h"
#include "io/file_names.h"
#include "io/model_load.h"
#include "io/model_messages.h"
#include "io/project_reader.h"
#include "io/project_save.h"
#include "render/capture.h"
#include "resources/resource.h"
#include "skeleton/fk.h"

namespace lw {

namespace {

constexpr char kSaveAsNoExtensionText[] = "拡張子をつけてください";
constexpr char kMemoryTitle[] = "メモリ取得エラー";
constexpr char kOpenMemoryText[] = "メモリ取得できませんでした。　エラーコード：100";
constexpr char kProjectMemoryText[] =
    "メモリ取得に失敗しました。　エラーコード：THROW_LOADOJP_ALLOC_ERROR_1";
// The project reader's code for the skin buffer table's allocation failure.
constexpr int kProjectOutOfMemory = 66;

enum class SaveResult { Written, Cancelled, NotWritten, MissingExtension };

void redrawView() { InvalidateRect(program().windows.view, nullptr, FALSE); }

void showIfAny(const std::string& text, const std::string& title) {
  if (!text.empty()) showMessageBox(nullptr, text, title);
}

// The 3D window's current picture as a BMP file, read while the window paints,
// before the frame is presented; false when it cannot be written.
bool writeViewBitmap(const std::string& path) {
  Program& p = program();
  int result = 1;
  repaintCapturingView([&] { result = writeFrameBmp(p.doc.clientHeight, p.doc.clientWidth, path); });
  return result == 0;
}

// The save flow shared by Save as and the Open command's prompt: FK mode, the
// save dialog, then the writer chosen by the extension.
SaveResult saveAs() {
  Program& p = program();
  enterFkMode(p.doc, p.ui);
  FileDialogRequest request;
  request.save = true;
  request.title = "名前をつけて保存";
  request.filter = p.doc.saveFilter;
  request.flags = OFN_OVERWRITEPROMPT;
  FileChoice choice;
  if (!chooseFile(p.windows.main, request, choice)) return SaveResult::Cancelled;
  p.doc.filePath = choice.path;
  p.doc.fileTitle = choice.title;
  const FileSaveResult saved =
      savesAsGltf(p.doc, choice.title)
          ? saveGltfFile(p.doc, choice.path, choice.title)
          : saveChosenFile(p.doc, choice.path, choice.title, writeViewBitmap);
  showIfAny(saved.message, saved.title);
  switch (saved.outcome) {
    case SaveOutcome::Written:
      return SaveResult::Written;
    case SaveOutcome::MissingExtension:
      return SaveResult::MissingExtension;
    case SaveOutcome::NotWritten:
      break;
  }
  return SaveResult::NotWritten;
}

// The save prompt before Open discards a loaded model, and before the program
// quits with one. Returns false when the command must end with the document
// kept: Cancel, a cancelled or failed save, or a name without extension.
bool offerToSave() {
  const int answer = MessageBoxW(nullptr, toWide(kSavePromptMessage).c_str(),
                                 toWide(kSavePromptTitle).c_str(), MB_YESNOCANCEL | MB_TASKMODAL);
  if (answer == IDNO) return true;
  if (answer != IDYES) return false;
  switch (saveAs()) {
    case SaveResult::Written:
      showMessageBox(nullptr, kSavedMessage, kSavePromptTitle);
      return true;
    case SaveResult::MissingExtension:
      showMessageBox(nullptr, kSaveNoExtensionMessage, kNoExtensionTitle);
      return false;
    case SaveResult::Cancelled:
    case SaveResult::NotWritten:
      break;
  }
  return false;
}

bool chooseModelFile(FileChoice& choice) {
  FileDialogRequest request;
  request.title = kOpenDialogTitle;
  request.filter =
      fileFilter({kObjFilterLabel, kObjFilterPattern, kOjpFilterLabel, kOjpFilterPattern});
  request.flags = OFN_FILEMUSTEXIST;
  if (!chooseFile(program().windows.main, request, choice)) return false;
  program().doc.filePath = choice.path;
  program().doc.fileTitle = choice.title;
  return true;
}

// The project branch of Open. Returns the reader's result (0 on success).
int openProject(const FileChoice& choice) {
  Program& p = program();
  SceneDocument& doc = p.doc;
  ProjectResult result;
  try {
    result = readProject(doc, choice.path, p.ui);
  } catch (const std::bad_alloc&) {
    result = {kProjectOutOfMemory, kProjectMemoryText, kMemoryTitle, {}};
  }
  for (const Notice& shown : projectOpenMessages(result)) {
    showMessageBox(nullptr, shown.text, shown.title);
  }
  if (result.code == kProjectRead) {
    finishProjectOpen(doc, p.ui);
  } else {
    discardAfterFailedProjectOpen(doc, p.ui);
  }
  return result.code;
}

// Menu IDM_FILE_OPEN. Returns true, with the reader's code in `result`, when a project
// open failed.
bool openCommand(LRESULT& result) {
  Program& p = program();
  // Only a loaded model is discarded: display settings chosen before the first
  // model stay. The view is redrawn at once, so a model that is gone is not
  // still shown while the dialog is open or after a failed open.
  if (p.doc.modelLoaded) {
    if (!offerToSave()) return false;
    discardDocument(p.doc, p.ui);
    RedrawWindow(p.windows.view, nullptr, nullptr, RDW_INVALIDATE | RDW_UPDATENOW);
  } else if (!p.doc.keyFrames->byNumber.empty()) {
    discardDocument(p.doc, p.ui);  // keyframes a failed project open left behind
  }
  FileChoice choice;
  if (!chooseModelFile(choice)) return false;
  try {
    const LoadResult load = openModelFile(p.doc, p.ui, choice.path, choice.title);
    if (load.status == LoadStatus::Project) {
      result = openProject(choice);
      return result != kProjectRead;
    }
    showIfAny(load.message, load.title);
    if (load.status == LoadStatus::Fatal) SendMessageW(p.windows.main, WM_CLOSE, 0, 0);
  } catch (const std::bad_alloc&) {
    // Out of memory part way: a mesh without its skin buffers does not stay.
    if (!p.doc.modelLoaded) {
      p.doc.mesh.reset();
      p.doc.skinBuffers.reset();
    }
    showMessageBox(nullptr, kOpenMemoryText, kMemoryTitle);
    redrawView();
  }
  return false;
}

void addCommand() {
  Program& p = program();
  FileChoice choice;
  if (!chooseModelFile(choice)) return;
  try {
    const LoadResult load = addDecorationFile(p.doc, p.ui, choice.path, choice.title);
    showIfAny(load.message, load.title);
  } catch (const std::bad_alloc&) {
    // The decoration joins the document last, so the document is as it was.
    showMessageBox(nullptr, kOpenMemoryText, kMemoryTitle);
  }
}

void saveAsCommand() {
  Program& p = program();
  if (p.doc.modelLoaded) {
    p.doc.fileTitle.clear();
    p.doc.filePath.clear();
    if (saveAs() == SaveResult::MissingExtension) {
      showMessageBox(nullptr, kSaveAsNoExtensionText, kNoExtensionTitle);
    }
  }
  redrawView();
}

}  // namespace

bool mayQuit() { return program().doc.modelLoaded == 0 || offerToSave(); }

bool runFileCommand(int id, LRESULT& result) {
  switch (id) {
    case IDM_FILE_OPEN:
      return openCommand(result);
    case IDM_FILE_ADD:
      addCommand();
      break;
    case IDM_FILE_SAVE_AS:
      saveAsCommand();
      break;
    case IDM_FILE_EXIT:
      SendMessageW(program().windows.main, WM_CLOSE, 0, 0);
      break;
    default:
      break;
  }
  return false;
}

}  // namespace lw
