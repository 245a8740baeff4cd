// What the 3D window keeps for drawing between frames. The input state the
// frame reads (the drag in progress, the remembered pick) is the input state
// machine's own ViewInputState (edit/view_input.h).
#pragma once

#include <array>
#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "core/math.h"
#include "core/skin_data.h"
#include "render/camera.h"
#include "render/primitives.h"
#include "render/shaders.h"

namespace lw {

// Draws joint numbers for the frame. The Win32 shell implements it with the
// joint-number font (bitmap display lists); tests use a stand-in.
class TextDrawer {
 public:
  virtual ~TextDrawer() = default;
  // Draws `text` (CP932 bytes) starting at the current raster position in the
  // current colour. Returns false, drawing nothing, when the text is not valid
  // multibyte text.
  virtual bool drawText(const std::string& text) = 0;
};

// The corner picked in vertex weighting, as the last frame recorded it.
// position stays kNoDirectionVector when no corner was picked in that frame.
struct ClickedCorner {
  int32_t part = -1;
  int32_t corner = -1;
  Vector3 position = kNoDirectionVector;
};

inline constexpr int kSelectBufferWords = 100;

// Vertex weighting's corner markers, kept between frames: one marker for each
// distinct corner position, standing for the first corner there.
struct VertexMarkers {
  std::vector<Vector3> cornerPositions;  // every corner's position when `firsts` was made
  std::vector<CornerRef> firsts;         // the first corner at each position, in corner order
  MarkerMesh mesh;                       // one marker per entry of `firsts`
};

// The 3D window's drawing resources.
struct RenderState {
  CameraMatrices camera;  // read back by the last editing frame's applyCamera
  std::array<uint32_t, kSelectBufferWords> selectBuffer{};
  TextDrawer* textDrawer = nullptr;  // joint numbers are skipped without one
  std::unique_ptr<ShaderProgram> shader;  // the program of the chosen shading, if any
  MarkerBatch markers;  // corner markers of the weighting box overlay, reused every frame
  VertexMarkers vertexMarkers;
  ClickedCorner clickedCorner;  // written by the vertex weighting overlay
  std::vector<Vector3> pickedPositions;  // corner positions sent in a vertex picking pass
};

}  // namespace lw
