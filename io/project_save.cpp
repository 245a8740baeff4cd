#include "io/project_save.h"

#include "io/file_names.h"
#include "io/model_messages.h"
#include "io/obj_export.h"
#include "io/project_writer.h"

namespace lw {

SaveOutcome saveChosenFile(const SceneDocument& doc, ShellUi& ui, const std::string& path,
                           const std::string& fileTitle,
                           const std::function<bool(const std::string&)>& writeBitmap) {
  bool written = false;
  switch (fileKindOf(fileTitle)) {
    case FileKind::Project:
      written = writeProject(doc, path) == 0;
      break;
    case FileKind::Obj:
      written = exportObj(doc, path, fileTitle) == 0;
      break;
    case FileKind::Bitmap:
      written = writeBitmap(path);
      break;
    case FileKind::Other:
      ui.showMessage(kChooseExtensionMessage, kNoExtensionTitle);
      return SaveOutcome::MissingExtension;
  }
  if (written) return SaveOutcome::Written;
  ui.showMessage(path + kSaveFailedSuffix, kSaveFailedTitle);
  return SaveOutcome::NotWritten;
}

}  // namespace lw
