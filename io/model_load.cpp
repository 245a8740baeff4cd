#include "io/model_load.h"

#include "core/command_ids.h"
#include "io/file_names.h"
#include "io/line_reader.h"
#include "io/mesh_builder.h"
#include "io/model_messages.h"
#include "io/obj_reader.h"

namespace lw {

namespace {

LoadResult refused(const std::string& message, const char* title) {
  return {LoadStatus::Refused, message, title};
}

// Extension rule, triangle check and conversion shared by both commands. On
// success `conversion` holds the mesh and the result is Loaded with no message.
LoadResult loadObj(const std::string& path, ObjConversion& conversion) {
  LoadResult check = checkTriangleFaces(path);
  if (check.status != LoadStatus::Loaded) return check;

  std::string reason;
  conversion = convertObjToMesh(path, reason);
  switch (conversion.status) {
    case ConvertStatus::ObjFailed:
      return refused(reason, kObjReadErrorTitle);
    case ConvertStatus::TloFailed:
      return {LoadStatus::Fatal, reason, kTloErrorTitle};
    case ConvertStatus::Converted:
      break;
  }
  return {LoadStatus::Loaded, reason, reason.empty() ? "" : kTloErrorTitle};
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
  conversion.mesh = buildMeshFromObj(*obj, folderOf(objPath), errorText);
  conversion.status = conversion.mesh ? ConvertStatus::Converted : ConvertStatus::TloFailed;
  return conversion;
}

LoadResult openModelFile(SceneDocument& doc, ShellUi& ui, const std::string& path,
                         const std::string& fileTitle) {
  const FileKind kind = fileKindOf(fileTitle);
  if (kind == FileKind::Project) return {LoadStatus::Project, "", ""};
  if (kind != FileKind::Obj) return refused(kChooseExtensionMessage, kNoExtensionTitle);

  ObjConversion conversion;
  LoadResult result = loadObj(path, conversion);
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
  LoadResult result = loadObj(path, conversion);
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
