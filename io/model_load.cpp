#include "io/model_load.h"

#include <cstdio>

#include "core/file_path.h"
#include "io/file_names.h"
#include "io/line_reader.h"
#include "io/model_messages.h"
#include "io/obj_reader.h"
#include "io/tlo.h"
#include "resources/resource.h"

namespace lw {

namespace {

// The temporary TLO is written, read back and removed, so it must never be a
// file the user already has: when the usual name is taken, "_1", "_2", ... is
// added before ".TLO" until the name is free.
std::string freeTemporaryTloPath(const std::string& objPath) {
  const std::string usual = temporaryTloPath(objPath);
  if (!fileExists(usual)) return usual;
  const std::string stem = usual.substr(0, usual.size() - 4);
  for (int n = 1;; ++n) {
    std::string candidate = stem + "_" + std::to_string(n) + ".TLO";
    if (!fileExists(candidate)) return candidate;
  }
}

LoadResult refused(const std::string& message, const char* title) {
  return {LoadStatus::Refused, message, title};
}

// Extension rule, triangle check and conversion shared by both commands. On
// success `conversion` holds the mesh and the result is Loaded with the message
// of a temporary file that could not be removed, if any.
LoadResult loadObj(const std::string& path, ObjConversion& conversion, SceneDocument& doc) {
  LoadResult check = checkTriangleFaces(path);
  if (check.status != LoadStatus::Loaded) return check;

  conversion = convertObjToMesh(path, doc.ErrorText);
  LoadResult result;
  switch (conversion.status) {
    case ConvertStatus::ObjFailed:
      result = refused(doc.ErrorText, kObjReadErrorTitle);
      break;
    case ConvertStatus::TloNotWritten:
      result = refused(withReason(kConvertFailedMessage,
                                  conversion.temporaryPath + kTemporaryNotWrittenSuffix),
                       kConvertFailedTitle);
      break;
    case ConvertStatus::TloFailed:
      result = {LoadStatus::Fatal, doc.ErrorText, kTloErrorTitle};
      break;
    case ConvertStatus::Converted:
      result = {LoadStatus::Loaded, doc.ErrorText, doc.ErrorText.empty() ? "" : kTloErrorTitle};
      if (conversion.temporaryNotRemoved) {
        result.message = kTempRemoveFailedMessage;
        result.title = kTempRemoveFailedTitle;
      }
      break;
  }
  doc.ErrorText.clear();
  doc.ErrorCodeText.clear();
  return result;
}

}  // namespace

LoadResult checkTriangleFaces(const std::string& path) {
  LineReader reader;
  if (!reader.openFile(path)) return refused(kFileOpenErrorMessage, kFileOpenErrorTitle);
  if (firstNonTriangleLine(reader) != 0) return refused(kTrianglesOnlyMessage, kObjFormatTitle);
  return {LoadStatus::Loaded, "", ""};
}

ObjConversion convertObjToMesh(const std::string& objPath, std::string& errorText) {
  ObjConversion conversion;
  std::unique_ptr<ObjMesh> obj = readObjFile(objPath, errorText);
  if (!obj) return conversion;

  const std::string tloPath = freeTemporaryTloPath(objPath);
  conversion.temporaryPath = tloPath;
  if (writeTloFile(tloPath, *obj) != 0) {
    conversion.status = ConvertStatus::TloNotWritten;
    return conversion;
  }
  obj.reset();
  conversion.mesh = readTloFile(tloPath, folderOf(objPath), errorText);
  conversion.status = conversion.mesh ? ConvertStatus::Converted : ConvertStatus::TloFailed;
  conversion.temporaryNotRemoved = !removeFile(tloPath);
  return conversion;
}

LoadResult openModelFile(SceneDocument& doc, ShellUi& ui, const std::string& path,
                         const std::string& fileTitle) {
  const FileKind kind = fileKindOf(fileTitle);
  if (kind == FileKind::Project) return {LoadStatus::Project, "", ""};
  if (kind != FileKind::Obj) return refused(kChooseExtensionMessage, kNoExtensionTitle);

  ObjConversion conversion;
  LoadResult result = loadObj(path, conversion, doc);
  if (result.status != LoadStatus::Loaded) return result;

  doc.mesh = std::move(conversion.mesh);
  doc.skinBuffers = makeSkinBuffers(*doc.mesh);
  doc.drawMode = 4;
  doc.modelLoaded = 1;
  doc.saveFilter = fileFilter({kObjFilterLabel, kObjFilterPattern, kBmpFilterLabel,
                               kBmpFilterPattern});
  doc.modelFileName = fileTitle;
  doc.materialLibraryName = resolveInFolder(folderOf(path), doc.mesh->materialLibrary);
  for (int id : {IDM_DRAW_FACES, IDM_DRAW_LINES, IDM_DRAW_POINTS, IDM_PLACE_ROOT, IDM_FILE_ADD}) {
    ui.enableMenuItem(id, true);
  }
  ui.redraw();
  return result;
}

LoadResult addDecorationFile(SceneDocument& doc, ShellUi& ui, const std::string& path,
                             const std::string& fileTitle) {
  if (fileKindOf(fileTitle) != FileKind::Obj) {
    return refused(kChooseExtensionMessage, kNoExtensionTitle);
  }
  ObjConversion conversion;
  LoadResult result = loadObj(path, conversion, doc);
  if (result.status == LoadStatus::Fatal) result.status = LoadStatus::Refused;
  if (result.status != LoadStatus::Loaded) return result;

  conversion.mesh->fileName = fileTitle;
  const int key = static_cast<int>(doc.decorations.size());
  doc.decorations[key] = std::move(conversion.mesh);
  doc.drawMode = 4;
  doc.modelLoaded = 1;
  ui.redraw();
  return result;
}

}  // namespace lw
