#include "engine3d/lights_fog.h"

#include <GL/gl.h>

#include <cmath>
#include <initializer_list>

#include "engine3d/lumenar3d.h"
#include "frame/sprite_draw.h"

namespace {

void Unpack(uint32_t colour, float out[3]) {
  out[0] = float(colour & 0xFF) / 255.0f;
  out[1] = float((colour >> 8) & 0xFF) / 255.0f;
  out[2] = float((colour >> 16) & 0xFF) / 255.0f;
}

void NormaliseSmall(float v[3]) {
  float sq = v[0] * v[0] + v[1] * v[1] + v[2] * v[2];
  if (sq > 1e-7f) {
    float len = std::sqrt(sq);
    for (int i = 0; i < 3; ++i) v[i] /= len;
  }
}

float Alpha(const Lumenar3D* e) { return e->renderer ? e->renderer->currentAlpha : 1.0f; }

void NoTexture(Lumenar3D* e) {
  if (e->renderer) BindSpriteTexture(e->renderer, -1, -1, 0, nullptr);
}

const float kX = 0.525731086730957f, kZ = 0.8506507873535156f;
const float kIcosahedron[12][3] = {{-kX, 0, kZ}, {kX, 0, kZ},   {-kX, 0, -kZ}, {kX, 0, -kZ},
                                   {0, kZ, kX},  {0, kZ, -kX},  {0, -kZ, kX},  {0, -kZ, -kX},
                                   {kZ, kX, 0},  {-kZ, kX, 0},  {kZ, -kX, 0},  {-kZ, -kX, 0}};
const int kFaces[20][3] = {{0, 4, 1},  {0, 9, 4},  {9, 5, 4},  {4, 5, 8},  {4, 8, 1},
                           {8, 10, 1}, {8, 3, 10}, {5, 3, 8},  {5, 2, 3},  {2, 7, 3},
                           {7, 10, 3}, {7, 6, 10}, {7, 11, 6}, {11, 0, 6}, {0, 1, 6},
                           {6, 1, 10}, {9, 0, 11}, {9, 11, 2}, {9, 2, 5},  {7, 2, 11}};

// Shared frame of DrawDot and DrawLine3D.
void DrawMarker(Lumenar3D* e, uint32_t colour, bool dot, float size, const float* a,
                const float* b) {
  float rgb[3];
  Unpack(colour, rgb);
  glPushMatrix();
  glEnable(GL_COLOR_MATERIAL);
  glColor3f(rgb[0], rgb[1], rgb[2]);
  glEnable(dot ? GL_POINT_SMOOTH : GL_LINE_SMOOTH);
  if (e->lightMask) glDisable(GL_LIGHTING);
  NoTexture(e);
  if (dot) {
    glPointSize(size);
    glBegin(GL_POINTS);
    glVertex3fv(a);
    glEnd();
    glPointSize(1);
  } else {
    glLineWidth(size);
    glBegin(GL_LINES);
    glVertex3fv(a);
    glVertex3fv(b);
    glEnd();
    glLineWidth(1);
  }
  glDisable(dot ? GL_POINT_SMOOTH : GL_LINE_SMOOTH);
  glDisable(GL_COLOR_MATERIAL);
  if (e->lightMask) glEnable(GL_LIGHTING);
  glColor4f(1, 1, 1, Alpha(e));
  glPopMatrix();
}

}  // namespace

void SetLight(Lumenar3D* e, int32_t n, uint32_t colour, float x, float y, float z, float dx,
              float dy, float dz, float cutoff, bool debug) {
  FlushSprites();
  if (!e) return;
  float rgb[3];
  Unpack(colour, rgb);
  if (n < 0) {
    e->lightEffectOn = cutoff != 0;
    e->effectLightPos[0] = x;
    e->effectLightPos[1] = y;
    e->effectLightPos[2] = z;
    for (int i = 0; i < 3; ++i) e->effectLightColour[i] = rgb[i];
    if (n == -3) {
      e->lightEffectMode = 3;
      SetShadowPass(e, e->lightEffectOn != 0);
    } else {
      e->lightEffectMode = n == -1 ? 1 : 2;
    }
    return;
  }
  GLenum light = GLenum(GL_LIGHT0 + (n & 7));
  uint8_t bit = uint8_t(1u << (n & 7));
  if (cutoff == 0) {
    glDisable(light);
    e->lightMask &= uint8_t(~bit);
    if (e->lightMask == 0) glDisable(GL_LIGHTING);
    return;
  }
  float position[4] = {x, y, z, 1};
  float direction[3] = {dx, dy, dz};
  float colour4[4] = {rgb[0], rgb[1], rgb[2], 1};
  const float noSpecular[4] = {0, 0, 0, 1};
  glEnable(GL_LIGHTING);
  glEnable(light);
  e->lightMask |= bit;
  glEnable(GL_COLOR_MATERIAL);
  glColorMaterial(GL_FRONT_AND_BACK, GL_DIFFUSE);
  glMatrixMode(GL_MODELVIEW);
  glPushMatrix();
  bool defaultLight = x == 0 && y == 0 && z == 0 && dx == 0 && dy == 0 && dz == 0;
  if (defaultLight) {
    const float p[4] = {0, 0, 1, 0};
    glLightfv(light, GL_POSITION, p);
    glLightfv(light, GL_DIFFUSE, colour4);
    glLightfv(light, GL_SPECULAR, noSpecular);
    glLightf(light, GL_SPOT_CUTOFF, 180);
  } else if (cutoff == 180) {
    glLightf(light, GL_SPOT_CUTOFF, 180);
    float v[3] = {-dx, -dy, -dz};
    NormaliseSmall(v);
    const float p[4] = {v[0], v[1], v[2], 0};
    glLightfv(light, GL_POSITION, p);
    glLightfv(light, GL_DIFFUSE, colour4);
    glLightfv(light, GL_SPECULAR, noSpecular);
  } else if (cutoff > 90) {
    glLightf(light, GL_SPOT_CUTOFF, 180);
    glLightfv(light, GL_POSITION, position);
    glLightfv(light, GL_DIFFUSE, colour4);
    glLightfv(light, GL_SPECULAR, colour4);
  } else {
    glLightf(light, GL_SPOT_CUTOFF, cutoff);
    NormaliseSmall(direction);
    glLightfv(light, GL_POSITION, position);
    glLightfv(light, GL_SPOT_DIRECTION, direction);
    glLightfv(light, GL_DIFFUSE, colour4);
    glLightfv(light, GL_SPECULAR, colour4);
  }
  glPopMatrix();
  if (debug && !defaultLight) {
    DrawDot(e, position, 0x80C8FF, 40);
    if (cutoff <= 90) {
      float d[3] = {dx, dy, dz};
      NormaliseSmall(d);
      float end[3] = {x + d[0] * 500, y + d[1] * 500, z + d[2] * 500};
      DrawLine3D(e, position, end, 0x6CAAE1, 3);
    }
  }
}

void SetLightWrapper(Lumenar3D* e, int32_t n, uint32_t colour) {
  FlushSprites();
  if (!e) return;
  const float* c = e->cameraPos;
  SetLight(e, n, colour, c[0], c[1], c[2], -c[0], -c[1], -c[2], 180, false);
}

void SetFog(Lumenar3D* e, uint32_t colour, int32_t mode, float a, float b) {
  FlushSprites();
  if (!e) return;
  if (colour == 0xFFFFFFFFu) {
    glDisable(GL_FOG);
    return;
  }
  glEnable(GL_FOG);
  if (mode != 0) {
    glFogi(GL_FOG_MODE, GL_EXP);
    glFogf(GL_FOG_DENSITY, a);
  } else {
    glFogi(GL_FOG_MODE, GL_LINEAR);
    if (a == 0 && b == 0) {
      a = e->nearPlane;
      b = e->farPlane;
    }
    glFogf(GL_FOG_START, a);
    glFogf(GL_FOG_END, b);
  }
  float rgb[3];
  Unpack(colour, rgb);
  const float fog[4] = {rgb[0], rgb[1], rgb[2], 0};
  glFogfv(GL_FOG_COLOR, fog);
}

void DrawDot(Lumenar3D* e, const float p[3], uint32_t colour, float size) {
  FlushSprites();
  if (e) DrawMarker(e, colour, true, size, p, nullptr);
}

void DrawLine3D(Lumenar3D* e, const float a[3], const float b[3], uint32_t colour, float width) {
  FlushSprites();
  if (e) DrawMarker(e, colour, false, width, a, b);
}

void DrawAxes(Lumenar3D* e, float x, float y, float z) {
  FlushSprites();
  if (!e) return;
  bool textured = e->renderer && e->renderer->boundSlot >= 0;
  glPushMatrix();
  glLoadMatrixf(e->cameraMatrix);
  glEnable(GL_COLOR_MATERIAL);
  glEnable(GL_LINE_SMOOTH);
  if (textured) glDisable(GL_TEXTURE_2D);
  if (e->lightMask) glDisable(GL_LIGHTING);
  glTranslatef(x, y, z);
  glScalef(20, 20, 20);
  static const float kArrows[3][8][3] = {
      {{0, 0, 0}, {1, 0, 0}, {0.75f, 0.25f, 0}, {0.75f, -0.25f, 0}, {1, 0, 0}, {0.75f, 0, 0.25f},
       {0.75f, 0, -0.25f}, {1, 0, 0}},
      {{0, 0, 0}, {0, 1, 0}, {0, 0.75f, 0.25f}, {0, 0.75f, -0.25f}, {0, 1, 0}, {0.25f, 0.75f, 0},
       {-0.25f, 0.75f, 0}, {0, 1, 0}},
      {{0, 0, 0}, {0, 0, 1}, {0.25f, 0, 0.75f}, {-0.25f, 0, 0.75f}, {0, 0, 1}, {0, 0.25f, 0.75f},
       {0, -0.25f, 0.75f}, {0, 0, 1}}};
  for (int axis = 0; axis < 3; ++axis) {
    glColor3f(axis == 0, axis == 1, axis == 2);
    glBegin(GL_LINE_STRIP);
    for (const auto& v : kArrows[axis]) glVertex3fv(v);
    glEnd();
  }
  if (e->lightMask) glEnable(GL_LIGHTING);
  glDisable(GL_LINE_SMOOTH);
  glDisable(GL_COLOR_MATERIAL);
  if (textured) glEnable(GL_TEXTURE_2D);
  glColor4f(1, 1, 1, Alpha(e));
  glPopMatrix();
}

void DrawSphereTriangle(const float centre[3], float radius, const float a[3], const float b[3],
                        const float c[3], int32_t depth) {
  FlushSprites();
  if (depth != 0) {
    float ab[3], bc[3], ca[3];
    for (int i = 0; i < 3; ++i) {
      ab[i] = a[i] + b[i];
      bc[i] = b[i] + c[i];
      ca[i] = c[i] + a[i];
    }
    NormaliseSmall(ab);
    NormaliseSmall(bc);
    NormaliseSmall(ca);
    DrawSphereTriangle(centre, radius, a, ab, ca, depth - 1);
    DrawSphereTriangle(centre, radius, b, bc, ab, depth - 1);
    DrawSphereTriangle(centre, radius, c, ca, bc, depth - 1);
    DrawSphereTriangle(centre, radius, ab, bc, ca, depth - 1);
    return;
  }
  glBegin(GL_LINE_LOOP);
  for (const float* v : {a, b, c})
    glVertex3f(centre[0] + radius * v[0], centre[1] + radius * v[1], centre[2] + radius * v[2]);
  glEnd();
}

void DrawDebugSphere(Lumenar3D* e, const float centre[3], float radius, uint32_t colour,
                     int32_t width) {
  FlushSprites();
  if (!e) return;
  float rgb[3];
  Unpack(colour, rgb);
  if (e->lightMask) glDisable(GL_LIGHTING);
  NoTexture(e);
  glDisable(GL_BLEND);
  glEnable(GL_COLOR_MATERIAL);
  glLineWidth(float(width));
  glPushMatrix();
  glColor3f(rgb[0], rgb[1], rgb[2]);
  for (const auto& f : kFaces)
    DrawSphereTriangle(centre, radius, kIcosahedron[f[0]], kIcosahedron[f[1]], kIcosahedron[f[2]],
                       1);
  glLineWidth(1);
  glDisable(GL_COLOR_MATERIAL);
  glPopMatrix();
  if (e->lightMask) glEnable(GL_LIGHTING);
  glColor4f(1, 1, 1, Alpha(e));
}

void DrawDebugBox(Lumenar3D* e, const float centre[3], const float a[3], const float b[3],
                  const float c[3], uint32_t colour, int32_t width) {
  FlushSprites();
  if (!e) return;
  float rgb[3];
  Unpack(colour, rgb);
  NoTexture(e);
  glDisable(GL_BLEND);
  glEnable(GL_COLOR_MATERIAL);
  glLineWidth(float(width));
  glPushMatrix();
  glColor3f(rgb[0], rgb[1], rgb[2]);
  if (e->lightMask) glDisable(GL_LIGHTING);
  float corner[8][3];
  for (int i = 0; i < 8; ++i) {
    float sa = (i & 1) ? 1 : -1, sb = (i & 2) ? 1 : -1, sc = (i & 4) ? 1 : -1;
    for (int k = 0; k < 3; ++k) corner[i][k] = centre[k] + sa * a[k] + sb * b[k] + sc * c[k];
  }
  glBegin(GL_LINES);
  for (int i = 0; i < 8; ++i)
    for (int bit = 1; bit < 8; bit <<= 1)
      if (!(i & bit)) {
        glVertex3fv(corner[i]);
        glVertex3fv(corner[i | bit]);
      }
  glEnd();
  glLineWidth(1);
  glDisable(GL_COLOR_MATERIAL);
  glPopMatrix();
  glColor4f(1, 1, 1, Alpha(e));
  if (e->lightMask) glEnable(GL_LIGHTING);
}
