#include "io/project_save.h"

#include "io/file_names.h"
#include "io/model_messages.h"
#include "io/obj_export.h"
#include "io/project_writer.h"

namespace lw {

FileSaveResult saveFailed(const std::string& path) {
  return {SaveOutcome::NotWritten, path + kSaveFailedSuffix, kSaveFailedTitle};
}

FileSaveResult saveChosenFile(const SceneDocument& doc, const std::string& path,
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
      return {SaveOutcome::MissingExtension, kChooseExtensionMessage, kNoExtensionTitle};
  }
  if (written) return {SaveOutcome::Written, "", ""};
  return saveFailed(path);
}

}  // namespace lw
