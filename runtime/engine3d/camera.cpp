#include "engine3d/camera.h"

#include <GL/gl.h>

#include <cmath>
#include <initializer_list>
#include <cstring>

#include "engine3d/lumenar3d.h"
#include "frame/sprite_draw.h"

namespace {

// Pushes ignored on the last record; their pops are ignored as well.
int32_t gIgnoredPushes = 0;

const float kIdentity[16] = {1, 0, 0, 0, 0, 1, 0, 0, 0, 0, 1, 0, 0, 0, 0, 1};

float HalfAngleTangent(float a) {
  float s = a * a;
  return a * (1 + s * (0.3333314f +
                       s * (0.1333924f +
                            s * (0.05337406f +
                                 s * (0.02456509f + s * (0.002900525f + s * 0.009516809f))))));
}

void Normalise(float v[3]) {
  float len = std::sqrt(v[0] * v[0] + v[1] * v[1] + v[2] * v[2]);
  if (len != 0)
    for (int i = 0; i < 3; ++i) v[i] /= len;
}

void Cross(const float a[3], const float b[3], float out[3]) {
  out[0] = a[1] * b[2] - a[2] * b[1];
  out[1] = a[2] * b[0] - a[0] * b[2];
  out[2] = a[0] * b[1] - a[1] * b[0];
}

void ResetStack(Lumenar3D* e) {
  e->transformIndex = 0;
  gIgnoredPushes = 0;
  ResetTransformRecord(&e->transforms[0]);
}

const float* ParentMatrix(Lumenar3D* e) {
  return e->transformIndex > 0 ? e->transforms[e->transformIndex - 1].matrix : kIdentity;
}

void MultiplyInPlace(float m[16], const float b[16]) {
  float out[16];
  MultiplyMatrix(m, b, out);
  std::memcpy(m, out, sizeof out);
}

}  // namespace

void MultiplyMatrix(const float a[16], const float b[16], float out[16]) {
  for (int c = 0; c < 4; ++c)
    for (int r = 0; r < 4; ++r) {
      float s = 0;
      for (int k = 0; k < 4; ++k) s += a[k * 4 + r] * b[c * 4 + k];
      out[c * 4 + r] = s;
    }
}

void Make3D(Lumenar3D* e, float nearPlane, float farPlane, float fov) {
  FlushSprites();
  if (!e) return;
  SetShadowPass(e, false);
  float widened = fov + 5;
  e->viewConeTangent = std::tan(widened <= 89 ? widened * 0.017453292f : 1.553343f);
  e->cameraUp[0] = 0;
  e->cameraUp[1] = 1;
  e->cameraUp[2] = 0;
  e->farPlane = farPlane;
  e->nearPlane = nearPlane;
  OpenGLLumenar* r = e->renderer;
  int vx = 0, vy = 0, vw = 1, vh = 1, sh = 1;
  if (r) {
    vx = r->viewport[0];
    vy = r->viewport[1];
    vw = r->viewport[2];
    vh = r->viewport[3];
    sh = r->height;
  }
  float aspect = vh != 0 ? float(vw) / float(vh) : 1.0f;
  glViewport(vx, sh - vh - vy, vw, vh);
  glMatrixMode(GL_PROJECTION);
  glLoadIdentity();
  if (fov > 0) {
    float top = HalfAngleTangent(fov * 3.1415927f / 360) * nearPlane;
    glFrustum(-aspect * top, aspect * top, -top, top, nearPlane, farPlane);
  } else {
    float top = HalfAngleTangent(fov * -3.1415927f / 360) * nearPlane * 100;
    glOrtho(-aspect * top, aspect * top, -top, top, nearPlane, farPlane);
    e->viewConeTangent = std::tan(1.5533430576324463f);
  }
  glMatrixMode(GL_MODELVIEW);
  glLoadIdentity();
  glEnable(GL_DEPTH_TEST);
  glDepthFunc(GL_LESS);
  glEnable(GL_CULL_FACE);
  glFrontFace(GL_CCW);
  glEnable(GL_ALPHA_TEST);
  glAlphaFunc(GL_GREATER, 0);
  glColor4f(1, 1, 1, r ? r->currentAlpha : 1.0f);
  glClearColor(0, 0, 0, 1);
  for (GLenum cap : {GL_FOG, GL_LINE_SMOOTH, GL_POINT_SMOOTH, GL_POLYGON_SMOOTH, GL_STENCIL_TEST,
                     GL_POLYGON_OFFSET_POINT, GL_AUTO_NORMAL, GL_NORMALIZE, GL_LIGHTING})
    glDisable(cap);
  glShadeModel(GL_SMOOTH);
  glEnable(GL_COLOR_MATERIAL);
  glEnable(GL_DITHER);
  glHint(GL_PERSPECTIVE_CORRECTION_HINT, GL_NICEST);
  glHint(GL_POLYGON_SMOOTH_HINT, GL_NICEST);
  glGetFloatv(GL_MODELVIEW_MATRIX, e->cameraMatrix);
  glEnable(GL_DEPTH_TEST);
  glDepthFunc(GL_LESS);
  glLightModelf(GL_LIGHT_MODEL_TWO_SIDE, 0);
  e->sphereMapping = 0;
  e->lightEffectOn = 0;
  ResetStack(e);
  e->cullMode = 0;
  glDisable(GL_CULL_FACE);
  e->textureOffsetU = e->textureOffsetV = 0;
  if (r) BindSpriteTexture(r, -1, -1, 0, nullptr);
}

void ClearBuffers(Lumenar3D*) { glClear(GL_DEPTH_BUFFER_BIT); }

void SetCameraUp(Lumenar3D* e, float x, float y, float z) {
  if (!e) return;
  e->cameraUp[0] = x;
  e->cameraUp[1] = y;
  e->cameraUp[2] = z;
}

void SetCamera(Lumenar3D* e, float x, float y, float z, float tx, float ty, float tz) {
  FlushSprites();
  if (!e) return;
  e->cameraPos[0] = x;
  e->cameraPos[1] = y;
  e->cameraPos[2] = z;
  e->cameraTarget[0] = tx;
  e->cameraTarget[1] = ty;
  e->cameraTarget[2] = tz;
  LoadCameraMatrix(x, y, z, tx, ty, tz, e->cameraUp[0], e->cameraUp[1], e->cameraUp[2]);
  glGetFloatv(GL_MODELVIEW_MATRIX, e->cameraMatrix);
  ResetStack(e);
  ExtractFrustumPlanes(e);
}

void LoadCameraMatrix(float ex, float ey, float ez, float cx, float cy, float cz, float ux,
                      float uy, float uz) {
  float f[3] = {ex - cx, ey - cy, ez - cz};
  float u[3] = {ux, uy, uz};
  Normalise(f);
  float s[3], v[3];
  Cross(u, f, s);
  Cross(f, s, v);
  Normalise(s);
  Normalise(v);
  float m[16] = {s[0], v[0], f[0], 0, s[1], v[1], f[1], 0, s[2], v[2], f[2], 0, 0, 0, 0, 1};
  glLoadIdentity();
  glMultMatrixf(m);
  glTranslatef(-ex, -ey, -ez);
}

void ExtractFrustumPlanes(Lumenar3D* e) {
  FlushSprites();
  if (!e) return;
  float p[16], m[16], c[16];
  glGetFloatv(GL_PROJECTION_MATRIX, p);
  glGetFloatv(GL_MODELVIEW_MATRIX, m);
  MultiplyMatrix(p, m, c);
  auto row = [&](int i, int k) { return c[k * 4 + i]; };
  const int rowOf[6] = {0, 0, 1, 1, 2, 2};
  const float sign[6] = {-1, 1, 1, -1, -1, 1};
  for (int pl = 0; pl < 6; ++pl) {
    float* out = e->frustumPlanes[pl];
    for (int k = 0; k < 4; ++k) out[k] = row(3, k) + sign[pl] * row(rowOf[pl], k);
    float len = std::sqrt(out[0] * out[0] + out[1] * out[1] + out[2] * out[2]);
    if (len != 0)
      for (int k = 0; k < 4; ++k) out[k] /= len;
  }
}

bool PointInFrustum(const Lumenar3D* e, float x, float y, float z, float radius) {
  if (!e) return false;
  for (const auto& p : e->frustumPlanes)
    if (!(p[0] * x + p[1] * y + p[2] * z + p[3] > -radius)) return false;
  return true;
}

void SetCullMode(Lumenar3D* e, int32_t mode) {
  FlushSprites();
  if (!e) return;
  e->cullMode = int8_t(mode);
  if (mode == 0) {
    glDisable(GL_CULL_FACE);
  } else if (mode == 1) {
    glFrontFace(GL_CW);
    glEnable(GL_CULL_FACE);
  } else if (mode == -1) {
    glEnable(GL_CULL_FACE);
    glFrontFace(GL_CCW);
  }
}

void ResetTransformRecord(TransformRecord* r) {
  r->matrixCount = 0;
  r->rotationCount = 0;
  r->scale[0] = r->scale[1] = r->scale[2] = 1;
  r->translation[0] = r->translation[1] = r->translation[2] = 0;
  std::memcpy(r->matrix, kIdentity, sizeof kIdentity);
  r->valid = 1;
}

void PushTransform(Lumenar3D* e) {
  if (!e) return;
  BuildRotationMatrix(e);
  if (e->transformIndex >= 15) {
    ++gIgnoredPushes;
    return;
  }
  const float* parent = e->transforms[e->transformIndex].matrix;
  e->transformIndex += 1;
  TransformRecord& r = e->transforms[e->transformIndex];
  ResetTransformRecord(&r);
  std::memcpy(r.matrix, parent, sizeof r.matrix);
}

void PopTransform(Lumenar3D* e) {
  if (!e) return;
  if (gIgnoredPushes > 0) {
    --gIgnoredPushes;
    return;
  }
  if (e->transformIndex > 0)
    e->transformIndex -= 1;
  else
    ResetTransformRecord(&e->transforms[0]);
}

void AddRotation(Lumenar3D* e, float angle, float x, float y, float z) {
  if (!e) return;
  TransformRecord& r = e->transforms[e->transformIndex];
  r.valid = 0;
  if (r.rotationCount <= 15) r.rotations[r.rotationCount++] = {angle, x, y, z};
}

static void ResetToParent(Lumenar3D* e) {
  TransformRecord& r = e->transforms[e->transformIndex];
  std::memcpy(r.matrix, ParentMatrix(e), sizeof r.matrix);
  r.valid = 0;
  r.rotationCount = 0;
  r.matrixCount = 0;
}

void SetTranslation(Lumenar3D* e, float x, float y, float z) {
  if (!e) return;
  ResetToParent(e);
  TransformRecord& r = e->transforms[e->transformIndex];
  r.translation[0] = x;
  r.translation[1] = y;
  r.translation[2] = z;
}

void SetScale(Lumenar3D* e, float x, float y, float z) {
  if (!e) return;
  ResetToParent(e);
  TransformRecord& r = e->transforms[e->transformIndex];
  r.scale[0] = x;
  r.scale[1] = y;
  r.scale[2] = z;
}

void AddMatrix(Lumenar3D* e, const float m[16]) {
  if (!e) return;
  TransformRecord& r = e->transforms[e->transformIndex];
  r.valid = 0;
  if (r.matrixCount <= 15) std::memcpy(r.matrices[r.matrixCount++], m, 16 * sizeof(float));
}

static void RotationMatrix(float angle, float x, float y, float z, float out[16]) {
  double rad = double(angle * 0.017453292f);
  float c = float(std::cos(rad)), s = float(std::sin(rad));
  std::memcpy(out, kIdentity, sizeof kIdentity);
  if (x != 0 && y == 0 && z == 0) {
    if (x < 0) s = -s;
    out[5] = c, out[6] = s, out[9] = -s, out[10] = c;
    return;
  }
  if (x == 0 && y != 0 && z == 0) {
    if (y < 0) s = -s;
    out[0] = c, out[2] = -s, out[8] = s, out[10] = c;
    return;
  }
  if (x == 0 && y == 0 && z != 0) {
    if (z < 0) s = -s;
    out[0] = c, out[1] = s, out[4] = -s, out[5] = c;
    return;
  }
  float a[3] = {x, y, z};
  Normalise(a);
  float t = 1 - c;
  out[0] = a[0] * a[0] * t + c;
  out[1] = a[1] * a[0] * t + a[2] * s;
  out[2] = a[0] * a[2] * t - a[1] * s;
  out[4] = a[0] * a[1] * t - a[2] * s;
  out[5] = a[1] * a[1] * t + c;
  out[6] = a[1] * a[2] * t + a[0] * s;
  out[8] = a[0] * a[2] * t + a[1] * s;
  out[9] = a[1] * a[2] * t - a[0] * s;
  out[10] = a[2] * a[2] * t + c;
}

void BuildRotationMatrix(Lumenar3D* e) {
  if (!e) return;
  TransformRecord& r = e->transforms[e->transformIndex];
  if (r.valid == 1) return;
  for (uint32_t i = 0; i < r.matrixCount && i < 16; ++i) MultiplyInPlace(r.matrix, r.matrices[i]);
  if (r.translation[0] != 0 || r.translation[1] != 0 || r.translation[2] != 0) {
    float t[16];
    std::memcpy(t, kIdentity, sizeof t);
    t[12] = r.translation[0], t[13] = r.translation[1], t[14] = r.translation[2];
    MultiplyInPlace(r.matrix, t);
  }
  for (uint32_t i = r.rotationCount > 16 ? 16 : r.rotationCount; i-- > 0;) {
    const TransformRotation& q = r.rotations[i];
    if (std::sqrt(q.axisX * q.axisX + q.axisY * q.axisY + q.axisZ * q.axisZ) <= 0.0001f) continue;
    float m[16];
    RotationMatrix(q.angle, q.axisX, q.axisY, q.axisZ, m);
    MultiplyInPlace(r.matrix, m);
  }
  if (r.scale[0] != 1 || r.scale[1] != 1 || r.scale[2] != 1) {
    float s[16];
    std::memcpy(s, kIdentity, sizeof s);
    s[0] = r.scale[0], s[5] = r.scale[1], s[10] = r.scale[2];
    MultiplyInPlace(r.matrix, s);
  }
  r.valid = 1;
}

void MultObjectMatrix(Lumenar3D* e) {
  FlushSprites();
  if (!e) return;
  BuildRotationMatrix(e);
  glMultMatrixf(e->transforms[e->transformIndex].matrix);
}

const float* CurrentModelMatrix(Lumenar3D* e) {
  BuildRotationMatrix(e);
  return e->transforms[e->transformIndex].matrix;
}
