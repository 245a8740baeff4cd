// The 3D window's camera: viewport and perspective, the camera transform with
// its matrices read back for window-to-world, the camera drag, and the world
// axes with the floor grid.
//
// Every function that issues GL calls needs the 3D window's context current.
#pragma once

#include <cstdint>

#include "core/document.h"
#include "core/shell_ui.h"

namespace lw {

// Perspective used by every frame and every picking pass.
inline constexpr double kFieldOfViewDegrees = 50.0;
inline constexpr double kNearPlane = 1.0;
inline constexpr double kFarPlane = 30.0;

// Camera-drag steps.
inline constexpr float kPanStep = 0.01f;
inline constexpr float kZoomStep = 0.04f;

// The model-view and projection matrices (column-major, as GL returns them) of
// the last editing frame.
struct CameraMatrices {
  double modelView[16] = {1, 0, 0, 0, 0, 1, 0, 0, 0, 0, 1, 0, 0, 0, 0, 1};
  double projection[16] = {1, 0, 0, 0, 0, 1, 0, 0, 0, 0, 1, 0, 0, 0, 0, 1};
};

// Clear colour := backgroundColour; viewport := (0, 0, clientWidth, clientHeight);
// resets the selection name stack. Unless keepProjection is set (a picking pass
// or depth probe, whose projection matrix is current and already holds the pick
// matrix) the projection matrix is selected and reset. Then the 50-degree
// perspective (near 1, far 30, aspect clientWidth / clientHeight) is multiplied
// on and the model-view matrix selected. A client height below 1 counts as 1,
// so a minimised window never yields a non-finite projection.
void setViewAndProjection(const SceneDocument& doc, bool keepProjection);

// First step of every editing frame, with the model-view matrix current: pushes
// it, translates by (cameraPanX, cameraPanY, cameraDistance), rotates by
// viewElevation about X and viewAzimuth about Y, and reads both matrices back
// into `out`. The caller pops the matrix when the frame ends.
void applyCamera(const SceneDocument& doc, CameraMatrices& out);

// The same transform without the push and without reading back (the playback
// frame pushes itself).
void multiplyCameraTransform(const SceneDocument& doc);

// One step of a camera drag; dx, dy are the pixel differences from the previous
// mouse position (y grows downwards). Rotation adds dy * 360 / 568 to the
// elevation and dx * 360 / 824 to the azimuth (no wrapping) and recomputes
// viewDirection; the pans and the zoom move by a fixed step whose sign alone
// comes from the mouse (a zero move counts as positive for dx, as upward for
// dy). Redraws.
void dragCamera(SceneDocument& doc, ShellUi& ui, int dx, int dy);

// With lighting off: the red, green and blue axes of length 4, the white
// square (-4..4) on y = 0 and the 30 white grid segments at 0.5 spacing (only
// the negative halves at 0, where the axes lie). Leaves the colour white.
void drawWorldAxes();

}  // namespace lw
