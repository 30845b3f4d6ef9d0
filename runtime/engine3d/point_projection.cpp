#include "engine3d/point_projection.h"

#include <GL/gl.h>

#include <cstring>

namespace {

// r := m × v for a column-major 4×4 matrix.
void Transform(const float m[16], const float v[4], float r[4]) {
  for (int row = 0; row < 4; ++row)
    r[row] = m[row] * v[0] + m[4 + row] * v[1] + m[8 + row] * v[2] + m[12 + row] * v[3];
}

// r := a × b (column-major).
void Multiply(const float a[16], const float b[16], float r[16]) {
  for (int c = 0; c < 4; ++c)
    for (int row = 0; row < 4; ++row) {
      float s = 0;
      for (int k = 0; k < 4; ++k) s += a[k * 4 + row] * b[c * 4 + k];
      r[c * 4 + row] = s;
    }
}

// Inverse by cofactors from the 2×2 sub-determinants of the lower and upper
// row pairs; the identity when the determinant is 0.
void Invert(const float m[16], float inv[16]) {
  // a(r, c) = element in row r, column c.
  auto a = [m](int r, int c) { return m[c * 4 + r]; };
  float s0 = a(0, 0) * a(1, 1) - a(1, 0) * a(0, 1);
  float s1 = a(0, 0) * a(1, 2) - a(1, 0) * a(0, 2);
  float s2 = a(0, 0) * a(1, 3) - a(1, 0) * a(0, 3);
  float s3 = a(0, 1) * a(1, 2) - a(1, 1) * a(0, 2);
  float s4 = a(0, 1) * a(1, 3) - a(1, 1) * a(0, 3);
  float s5 = a(0, 2) * a(1, 3) - a(1, 2) * a(0, 3);
  float c5 = a(2, 2) * a(3, 3) - a(3, 2) * a(2, 3);
  float c4 = a(2, 1) * a(3, 3) - a(3, 1) * a(2, 3);
  float c3 = a(2, 1) * a(3, 2) - a(3, 1) * a(2, 2);
  float c2 = a(2, 0) * a(3, 3) - a(3, 0) * a(2, 3);
  float c1 = a(2, 0) * a(3, 2) - a(3, 0) * a(2, 2);
  float c0 = a(2, 0) * a(3, 1) - a(3, 0) * a(2, 1);
  float det = s0 * c5 - s1 * c4 + s2 * c3 + s3 * c2 - s4 * c1 + s5 * c0;
  float r[4][4];
  if (det == 0) {
    for (int i = 0; i < 16; ++i) inv[i] = (i % 5 == 0) ? 1.0f : 0.0f;
    return;
  }
  float k = 1.0f / det;
  r[0][0] = (a(1, 1) * c5 - a(1, 2) * c4 + a(1, 3) * c3) * k;
  r[0][1] = (-a(0, 1) * c5 + a(0, 2) * c4 - a(0, 3) * c3) * k;
  r[0][2] = (a(3, 1) * s5 - a(3, 2) * s4 + a(3, 3) * s3) * k;
  r[0][3] = (-a(2, 1) * s5 + a(2, 2) * s4 - a(2, 3) * s3) * k;
  r[1][0] = (-a(1, 0) * c5 + a(1, 2) * c2 - a(1, 3) * c1) * k;
  r[1][1] = (a(0, 0) * c5 - a(0, 2) * c2 + a(0, 3) * c1) * k;
  r[1][2] = (-a(3, 0) * s5 + a(3, 2) * s2 - a(3, 3) * s1) * k;
  r[1][3] = (a(2, 0) * s5 - a(2, 2) * s2 + a(2, 3) * s1) * k;
  r[2][0] = (a(1, 0) * c4 - a(1, 1) * c2 + a(1, 3) * c0) * k;
  r[2][1] = (-a(0, 0) * c4 + a(0, 1) * c2 - a(0, 3) * c0) * k;
  r[2][2] = (a(3, 0) * s4 - a(3, 1) * s2 + a(3, 3) * s0) * k;
  r[2][3] = (-a(2, 0) * s4 + a(2, 1) * s2 - a(2, 3) * s0) * k;
  r[3][0] = (-a(1, 0) * c3 + a(1, 1) * c1 - a(1, 2) * c0) * k;
  r[3][1] = (a(0, 0) * c3 - a(0, 1) * c1 + a(0, 2) * c0) * k;
  r[3][2] = (-a(3, 0) * s3 + a(3, 1) * s1 - a(3, 2) * s0) * k;
  r[3][3] = (a(2, 0) * s3 - a(2, 1) * s1 + a(2, 2) * s0) * k;
  for (int row = 0; row < 4; ++row)
    for (int c = 0; c < 4; ++c) inv[c * 4 + row] = r[row][c];
}

void ReadGLState(int viewport[4], float projection[16], float modelview[16]) {
  GLint vp[4] = {0, 0, 0, 0};
  glGetIntegerv(GL_VIEWPORT, vp);
  for (int i = 0; i < 4; ++i) viewport[i] = vp[i];
  glGetFloatv(GL_PROJECTION_MATRIX, projection);
  glGetFloatv(GL_MODELVIEW_MATRIX, modelview);
}

}  // namespace

bool ProjectPointWith(const int viewport[4], const float projection[16], const float modelview[16],
                      float x, float y, float z, float* winX, float* winY, float* winZ) {
  float p[4] = {x, y, z, 1}, eye[4], clip[4];
  Transform(modelview, p, eye);
  Transform(projection, eye, clip);
  if (clip[3] == 0) return false;
  float nx = clip[0] / clip[3], ny = clip[1] / clip[3], nz = clip[2] / clip[3];
  float w = float(viewport[2]), h = float(viewport[3]);
  *winX = (nx + 1) * w * 0.5f + float(viewport[0]);
  *winY = h - ((ny + 1) * h * 0.5f + float(viewport[1]));
  *winZ = (nz + 1) * 0.5f;
  return true;
}

bool UnprojectPointWith(const int viewport[4], const float projection[16],
                        const float modelview[16], float winX, float winY, float winZ, float* x,
                        float* y, float* z) {
  float a[16], inv[16];
  Multiply(projection, modelview, a);
  Invert(a, inv);
  float ndc[4] = {2 * (winX - float(viewport[0])) / float(viewport[2]) - 1,
                  2 * (winY - float(viewport[1])) / float(viewport[3]) - 1, 2 * winZ - 1, 1};
  float o[4];
  Transform(inv, ndc, o);
  if (o[3] == 0) return false;
  *x = o[0] / o[3];
  *y = o[1] / o[3];
  *z = o[2] / o[3];
  return true;
}

bool ProjectPoint(float x, float y, float z, float* winX, float* winY, float* winZ) {
  int viewport[4];
  float projection[16], modelview[16];
  ReadGLState(viewport, projection, modelview);
  return ProjectPointWith(viewport, projection, modelview, x, y, z, winX, winY, winZ);
}

bool UnprojectPoint(float winX, float winY, float winZ, float* x, float* y, float* z) {
  int viewport[4];
  float projection[16], modelview[16];
  ReadGLState(viewport, projection, modelview);
  return UnprojectPointWith(viewport, projection, modelview, winX, winY, winZ, x, y, z);
}
