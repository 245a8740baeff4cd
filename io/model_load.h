// Bringing an OBJ model into the document: the Open command ("ファイルを開く")
// for the model and the Add command ("ファイルを追加する") for decorations.
// Every OBJ takes the same way: triangle check, read into an ObjMesh, then the
// Mesh the program uses, built in memory exactly as writing the model's TLO and
// reading it back would give it. These functions do the work on the document
// and return what the command shows; the window code only shows it.
#pragma once

#include <memory>
#include <string>

#include "core/document.h"
#include "core/mesh.h"
#include "core/shell_ui.h"

namespace lw {

enum class LoadStatus {
  Loaded,    // the model or decoration is in the document
  Project,   // the file is a project (OJP): the caller opens it as one
  Refused,   // nothing was loaded; show the message
  Fatal,     // the mesh could not be built (material library or texture): show the
             // message, then close the program
};

// What a load command shows when it ends.
struct LoadResult {
  LoadStatus status = LoadStatus::Refused;
  std::string message;  // empty: no message box
  std::string title;
};

// How far convertObjToMesh got.
enum class ConvertStatus {
  Converted,
  ObjFailed,  // readObjFile failed; its message is in errorText
  TloFailed,  // the mesh could not be built (buildMeshFromObj); its message is in errorText
};

struct ObjConversion {
  ConvertStatus status = ConvertStatus::ObjFailed;
  std::unique_ptr<Mesh> mesh;  // set when Converted
};

// The triangle check: every line of the OBJ at `path` that begins with "f" must
// hold exactly six '/'. Returns a Loaded result when it passes (no message), or the
// Refused result with the command's message ("ファイルオープンエラー" when the file
// cannot be opened, the triangles-only message otherwise).
LoadResult checkTriangleFaces(const std::string& path);

// OBJ -> Mesh (readObjFile, then buildMeshFromObj), without the triangle check and
// without touching a document. Names inside the files (material library,
// textures) are taken from the OBJ's folder. No file is written. A material
// library or texture that does not read leaves the mesh Converted without it
// and its file and reason in errorText (a warning, not a failure).
ObjConversion convertObjToMesh(const std::string& objPath, std::string& errorText);

// The Open command after its save prompt, discard and file dialog: `path` and
// `fileTitle` are the chosen file. A project title returns Project and changes
// nothing. For an OBJ: on success the mesh and its skin buffers replace the
// document's, drawMode = 4, modelLoaded = 1, saveFilter offers OBJ and BMP,
// modelFileName = fileTitle, materialLibraryName = the mesh's library, and the
// menu items for face, line and point drawing, base joint placement and adding a
// decoration are enabled; the 3D window is redrawn. A texture or library that
// did not read is told in the Loaded result's message ("TLOエラー"). Failures of
// the OBJ leave the document untouched (Refused); a failure to build the mesh is
// Fatal. The document's ErrorText is not used.
LoadResult openModelFile(SceneDocument& doc, ShellUi& ui, const std::string& path,
                         const std::string& fileTitle);

// The Add command after its file dialog: only OBJ titles are accepted. On success
// the mesh (its fileName = fileTitle) joins doc.decorations under the next key
// (the number of decorations before it), drawMode = 4, modelLoaded = 1, and the 3D
// window is redrawn; no skin buffers, no menu changes. Every failure, including a
// failure to build the mesh, is Refused and leaves the document as it was.
LoadResult addDecorationFile(SceneDocument& doc, ShellUi& ui, const std::string& path,
                             const std::string& fileTitle);

}  // namespace lw
