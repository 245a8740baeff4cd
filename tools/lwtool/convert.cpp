// lwtool convert MODEL.obj OUT.tlo
#include <memory>

#include "io/file_names.h"
#include "io/model_load.h"
#include "io/model_messages.h"
#include "io/obj_reader.h"
#include "io/tlo.h"
#include "tools/lwtool/commands.h"

namespace lw::tool {

int runConvert(const Args& args, std::string& out, std::string& err) {
  if (args.size() != 2) {
    err = "usage: lwtool convert MODEL.obj OUT.tlo\n";
    return 2;
  }
  const std::string& objPath = args[0];
  const std::string& tloPath = args[1];
  if (fileKindOf(fileTitleOf(objPath)) != FileKind::Obj) {
    err = refusalLine(kNoExtensionTitle, kChooseExtensionMessage);
    return 1;
  }
  if (outputIsAnInput(tloPath, {objPath}, err)) return 1;
  LoadResult check = checkTriangleFaces(objPath);
  if (check.status != LoadStatus::Loaded) {
    err = fileRefusalLine(check.title, check.message, objPath);
    return 1;
  }
  std::string errorText;
  std::unique_ptr<ObjMesh> obj = readObjFile(objPath, errorText);
  if (!obj) {
    err = fileRefusalLine(kObjReadErrorTitle, errorText, objPath);
    return 1;
  }
  if (writeTloFile(tloPath, *obj) != 0) {
    err = fileRefusalLine(kConvertFailedTitle, kConvertFailedMessage, tloPath);
    return 1;
  }
  out = "wrote " + utf8FromCp932(tloPath) + ": " + std::to_string(obj->faceCount) + " faces, " +
        std::to_string(obj->groupCount) + " material groups\n";
  return 0;
}

}  // namespace lw::tool
