#include "render/hermite_preview.h"

#include "render/gl_headers.h"

namespace lw {

void drawHermitePreview(const HermitePreview& curve, int width, int height) {
  glViewport(0, 0, width, height);
  glMatrixMode(GL_PROJECTION);
  glLoadIdentity();
  glOrtho(-0.01, 0.51, -0.01, 0.51, 0, 0.51);
  glMatrixMode(GL_MODELVIEW);
  glLoadIdentity();
  glDisable(GL_LIGHTING);
  glDisable(GL_DEPTH_TEST);
  glDisable(GL_TEXTURE_2D);
  glClearColor(0, 0, 0, 1);
  glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);

  glColor3d(1, 1, 1);
  glLineWidth(1);
  glBegin(GL_LINE_LOOP);
  glVertex2d(0, 0);
  glVertex2d(0.5, 0);
  glVertex2d(0.5, 0.5);
  glVertex2d(0, 0.5);
  glEnd();

  glColor3d(0, 1, 0);
  glLineWidth(2);
  glBegin(GL_LINES);
  glVertex2d(0, 0);
  glVertex2d(curve.startTangentEnd.x, curve.startTangentEnd.y);
  glVertex2d(0.5, 0.5);
  glVertex2d(curve.endTangentEnd.x, curve.endTangentEnd.y);
  glEnd();
  glLineWidth(1);

  glColor3d(1, 1, 1);
  glBegin(GL_POINTS);
  for (const Vector2d& point : curve.points) glVertex2d(point.x, point.y);
  glEnd();
}

}  // namespace lw
