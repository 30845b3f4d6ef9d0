#include "engine3d/lumenar3d.h"

#include <GL/gl.h>

#include <cstring>

#include "engine3d/shaders.h"
#include "frame/primitives.h"
#include "frame/sprite_draw.h"
#include "models/object_slot.h"

Lumenar3D::Lumenar3D(OpenGLLumenar* r) {
  objects = GrowArray<ObjectSlot>();
  std::memset(frustumPlanes, 0, sizeof frustumPlanes);
  currentShader = kNoShader;
  std::memset(shaders, 0, sizeof shaders);
  shadowPass = 0;
  cullMode = 0;
  std::memset(transforms, 0, sizeof transforms);
  transformIndex = 0;
  std::memset(cameraMatrix, 0, sizeof cameraMatrix);
  textureOffsetU = textureOffsetV = 0;
  lightMask = 0;
  sphereMapping = 0;
  renderer = r;
  lightEffectOn = 0;
  lightEffectMode = 0;
  std::memset(effectLightPos, 0, sizeof effectLightPos);
  std::memset(effectLightColour, 0, sizeof effectLightColour);
  std::memset(cameraUp, 0, sizeof cameraUp);
  std::memset(cameraPos, 0, sizeof cameraPos);
  std::memset(cameraTarget, 0, sizeof cameraTarget);
  viewConeTangent = 0;
  nearPlane = farPlane = 0;
  frameDecodeMode = 2;
  // Every slot of the block starts empty; the numbers in use are the first
  // kObjectCount.
  ReserveObjectTable(objects, kObjectCount);
  for (int32_t i = 0; i < objects.capacity; ++i) ClearObjectSlot(&objects.data[i], true);
  objects.count = kObjectCount;
}

Lumenar3D::~Lumenar3D() {
  for (uint32_t s = 0; s < uint32_t(kShaderSlotCount); ++s) DeleteShaderSlot(this, s);
  // Slots are emptied from the last to the first, each releasing its parts
  // and texture names, then the table block is freed.
  for (int32_t i = objects.capacity - 1; i >= 0; --i) ClearObjectSlot(&objects.data[i], true);
  GrowArrayClear(objects);
}

void SetShadowPass(Lumenar3D* e, bool on) {
  FlushSprites();
  if (!e || uint8_t(on) == e->shadowPass) return;
  e->shadowPass = uint8_t(on);
  if (on) {
    glShadeModel(GL_FLAT);
    glColorMask(0, 0, 0, 0);
    glEnable(GL_STENCIL_TEST);
    glDepthMask(0);
    glStencilFunc(GL_ALWAYS, 0, 0);
    glStencilOp(GL_KEEP, GL_KEEP, GL_INVERT);
    return;
  }
  glCullFace(GL_BACK);
  glDepthMask(1);
  glDepthFunc(GL_LEQUAL);
  glColorMask(1, 1, 1, 1);
  glMatrixMode(GL_PROJECTION);
  glPushMatrix();
  glMatrixMode(GL_MODELVIEW);
  glPushMatrix();
  if (e->renderer) SetViewport2D(e->renderer, 0, 0, 0, 0);
  glEnable(GL_BLEND);
  glBlendFunc(GL_SRC_ALPHA, GL_ONE_MINUS_SRC_ALPHA);
  if (e->renderer) e->renderer->currentAlpha = 0.5f;
  glColor4f(1, 1, 1, 0.5f);
  glEnable(GL_STENCIL_TEST);
  glStencilFunc(GL_NOTEQUAL, 0, 0xFFFFFFFFu);
  glStencilOp(GL_KEEP, GL_KEEP, GL_KEEP);
  if (e->renderer) DrawRect(e->renderer, 0, 0, 3000, 2000, 0);
  glDisable(GL_BLEND);
  if (e->renderer) e->renderer->currentAlpha = 1.0f;
  glColor4f(1, 1, 1, 1);
  glMatrixMode(GL_PROJECTION);
  glPopMatrix();
  glMatrixMode(GL_MODELVIEW);
  glPopMatrix();
  glShadeModel(GL_SMOOTH);
  glDepthFunc(GL_LESS);
  glDisable(GL_STENCIL_TEST);
  glClear(GL_STENCIL_BUFFER_BIT);
  glEnable(GL_CULL_FACE);
  glCullFace(GL_BACK);
}
