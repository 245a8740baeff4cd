#include "render/camera.h"

#include "core/command_ids.h"
#include "render/gl_headers.h"

namespace lw {

void setViewAndProjection(const SceneDocument& doc, bool keepProjection) {
  const Colour& bg = doc.backgroundColour;
  glClearColor(bg.r, bg.g, bg.b, bg.a);
  const int height = doc.clientHeight < 1 ? 1 : doc.clientHeight;
  glViewport(0, 0, doc.clientWidth, doc.clientHeight);
  glInitNames();
  if (!keepProjection) {
    glMatrixMode(GL_PROJECTION);
    glLoadIdentity();
  }
  gluPerspective(kFieldOfViewDegrees, static_cast<double>(doc.clientWidth) / height, kNearPlane,
                 kFarPlane);
  glMatrixMode(GL_MODELVIEW);
}

void multiplyCameraTransform(const SceneDocument& doc) {
  glTranslatef(doc.cameraPanX, doc.cameraPanY, doc.cameraDistance);
  glRotated(doc.viewElevation, 1.0, 0.0, 0.0);
  glRotated(doc.viewAzimuth, 0.0, 1.0, 0.0);
}

void applyCamera(const SceneDocument& doc, CameraMatrices& out) {
  glPushMatrix();
  multiplyCameraTransform(doc);
  glGetDoublev(GL_MODELVIEW_MATRIX, out.modelView);
  glGetDoublev(GL_PROJECTION_MATRIX, out.projection);
}

bool setViewPreset(SceneDocument& doc, ShellUi& ui, int menuId) {
  struct Preset {
    int id;
    double elevation;
    double azimuth;
  };
  static constexpr Preset kPresets[] = {
      {IDM_VIEW_TOP, 90, 0},  {IDM_VIEW_BOTTOM, 270, 0}, {IDM_VIEW_RIGHT, 0, 270},
      {IDM_VIEW_LEFT, 0, 90}, {IDM_VIEW_FRONT, 0, 0},    {IDM_VIEW_BACK, 0, 180},
  };
  for (const Preset& p : kPresets) {
    if (p.id != menuId) continue;
    doc.viewElevation = p.elevation;
    doc.viewAzimuth = p.azimuth;
    doc.viewDirection = cameraDirection(doc.viewElevation, doc.viewAzimuth);
    ui.redraw();
    return true;
  }
  return false;
}

bool setCameraDragMode(SceneDocument& doc, int menuId) {
  switch (menuId) {
    case IDM_CAMERA_ROTATE:
      doc.cameraDrag = 0;
      return true;
    case IDM_CAMERA_PAN_X:
      doc.cameraDrag = 1;
      return true;
    case IDM_CAMERA_PAN_Y:
      doc.cameraDrag = 2;
      return true;
    case IDM_CAMERA_ZOOM:
      doc.cameraDrag = 3;
      return true;
    default: return false;
  }
}

void dragCamera(SceneDocument& doc, ShellUi& ui, int dx, int dy) {
  switch (doc.cameraDrag) {
    case 0:
      doc.viewElevation += dy * 360.0 / 568.0;
      doc.viewAzimuth += dx * 360.0 / 824.0;
      doc.viewDirection = cameraDirection(doc.viewElevation, doc.viewAzimuth);
      break;
    case 1: doc.cameraPanX += dx < 0 ? -kPanStep : kPanStep; break;
    case 2: doc.cameraPanY += dy > 0 ? -kPanStep : kPanStep; break;
    case 3: doc.cameraDistance += dx < 0 ? -kZoomStep : kZoomStep; break;
    default: break;
  }
  ui.redraw();
}

void toggleWorldAxes(SceneDocument& doc, ShellUi& ui) {
  doc.showWorldAxes = doc.showWorldAxes ? 0 : 1;
  ui.checkMenuItem(IDM_SHOW_WORLD_AXES, doc.showWorldAxes == 1);
  ui.redraw();
}

void drawWorldAxes() {
  glDisable(GL_LIGHTING);
  glBegin(GL_LINES);
  glColor3f(1, 0, 0);
  glVertex3f(0, 0, 0);
  glVertex3f(4, 0, 0);
  glColor3f(0, 1, 0);
  glVertex3f(0, 0, 0);
  glVertex3f(0, 4, 0);
  glColor3f(0, 0, 1);
  glVertex3f(0, 0, 0);
  glVertex3f(0, 0, 4);
  glEnd();

  glColor3f(1, 1, 1);
  glBegin(GL_LINE_LOOP);
  glVertex3f(-4, 0, -4);
  glVertex3f(4, 0, -4);
  glVertex3f(4, 0, 4);
  glVertex3f(-4, 0, 4);
  glEnd();

  glBegin(GL_LINES);
  for (int step = -7; step <= 7; ++step) {
    const float c = step * 0.5f;
    if (step == 0) {
      glVertex3f(-4, 0, 0);
      glVertex3f(0, 0, 0);
      glVertex3f(0, 0, -4);
      glVertex3f(0, 0, 0);
      continue;
    }
    glVertex3f(-4, 0, c);
    glVertex3f(4, 0, c);
    glVertex3f(c, 0, -4);
    glVertex3f(c, 0, 4);
  }
  glEnd();
}

}  // namespace lw
