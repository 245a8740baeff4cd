#include "render/camera.h"

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
