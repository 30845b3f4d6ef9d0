#include "engine3d/mesh_draw.h"

#include <cmath>
#include <cstddef>
#include <cstring>

#include "engine3d/camera.h"
#include "engine3d/lumenar3d.h"
#include "engine3d/shade_textures.h"
#include "engine3d/stencil_shadows.h"
#include "frame/gl_entry_points.h"
#include "frame/sprite_draw.h"
#include "models/mesh_packing.h"
#include "models/object_slot.h"

namespace {

constexpr GLsizei kStride = sizeof(MeshVertex);
constexpr size_t kNormalOffset = offsetof(MeshVertex, nx);
constexpr size_t kTexOffset = offsetof(MeshVertex, u);
constexpr size_t kLightOffset = offsetof(MeshVertex, light);
constexpr size_t kToonOffset = offsetof(MeshVertex, bitangent);
constexpr size_t kColourOffset = offsetof(MeshVertex, r);

bool IsIdentity3x3(const float* m) {
  return m[0] == 1 && m[1] == 0 && m[2] == 0 && m[4] == 0 && m[5] == 1 && m[6] == 0 &&
         m[8] == 0 && m[9] == 0 && m[10] == 1;
}

float ColumnLength(const float* m, int c) {
  return std::sqrt(m[c * 4] * m[c * 4] + m[c * 4 + 1] * m[c * 4 + 1] + m[c * 4 + 2] * m[c * 4 + 2]);
}

// Inverse of an orthonormal model matrix applied to a world point.
void ToObjectSpace(const float* m, const float p[3], float out[3]) {
  for (int k = 0; k < 3; ++k) {
    const float* col = m + 4 * k;
    out[k] = col[0] * p[0] + col[1] * p[1] + col[2] * p[2] -
             (col[0] * m[12] + col[1] * m[13] + col[2] * m[14]);
  }
}

void NormaliseSmall(float v[3]) {
  float sq = v[0] * v[0] + v[1] * v[1] + v[2] * v[2];
  if (sq > 1e-7f) {
    float len = std::sqrt(sq);
    for (int i = 0; i < 3; ++i) v[i] /= len;
  }
}

GLuint SlotTexture(const OpenGLLumenar* r, int32_t slot, const GrowArray<uint32_t>* names) {
  if (slot < 0) return 0;
  if (names) return slot < names->count ? names->data[slot] : 0;
  if (!r || !r->sprites || slot >= kSpriteSlotCount) return 0;
  return r->boundUseTexture2 ? r->sprites[slot].texture2 : r->sprites[slot].texture;
}

// Array pointer: an offset into the bound buffer, or into the source.
const void* At(const MeshVertex* source, bool buffered, size_t offset) {
  if (buffered) return reinterpret_cast<const void*>(offset);
  return reinterpret_cast<const uint8_t*>(source) + offset;
}

void ClientUnit(int unit) {
  if (pglClientActiveTextureARB) pglClientActiveTextureARB(GLenum(GL_TEXTURE0_ARB + unit));
}

void ServerUnit(int unit) {
  if (pglActiveTextureARB) pglActiveTextureARB(GLenum(GL_TEXTURE0_ARB + unit));
}

void TexCoords(const MeshVertex* src, bool buffered, size_t offset) {
  glEnableClientState(GL_TEXTURE_COORD_ARRAY);
  glTexCoordPointer(2, GL_FLOAT, kStride, At(src, buffered, offset));
}

void DisableArrays() {
  if (pglClientActiveTextureARB) {
    ClientUnit(1);
    glDisableClientState(GL_TEXTURE_COORD_ARRAY);
    ClientUnit(0);
  }
  glDisableClientState(GL_VERTEX_ARRAY);
  glDisableClientState(GL_TEXTURE_COORD_ARRAY);
  glDisableClientState(GL_COLOR_ARRAY);
  glDisableClientState(GL_NORMAL_ARRAY);
}

// Cull mode := -cullMode with the GL calls of SetCullMode.
void ReverseCull(Lumenar3D& e) { SetCullMode(&e, -e.cullMode); }

void DrawOutline(Lumenar3D& e, MeshObjectX& mesh, const MeshFrame& frameA, const float* m) {
  float eye[3];
  ToObjectSpace(m, e.cameraPos, eye);
  float d[3] = {eye[0] - frameA.centre[0], eye[1] - frameA.centre[1], eye[2] - frameA.centre[2]};
  float sq = d[0] * d[0] + d[1] * d[1] + d[2] * d[2];
  float dist = sq <= 1e-7f ? 0 : std::sqrt(sq);
  float width = dist * e.viewConeTangent * 0.003f;
  for (int32_t i = 0; i <= e.transformIndex; ++i) {
    const float* mm = CurrentModelMatrix(&e);
    if (IsIdentity3x3(mm)) continue;
    float mean = (ColumnLength(mm, 0) + ColumnLength(mm, 1) + ColumnLength(mm, 2)) / 3;
    width /= mean * mean;
  }
  if (width > frameA.radius * 0.5f) return;
  if (width < 1e-7f) width = 1e-7f;
  ReverseCull(e);
  int32_t count = mesh.drawVertices.count;
  MeshVertex* v = mesh.drawVertices.data;
  for (int32_t i = 0; i < count; ++i) {
    v[i].x += v[i].nx * width;
    v[i].y += v[i].ny * width;
    v[i].z += v[i].nz * width;
  }
  bool buffered = pglBindBufferARB != nullptr;
  if (buffered) {
    GLsizeiptrARB bytes = GLsizeiptrARB(count) * kStride;
    if (mesh.vertexBufferB == 0) {
      pglGenBuffersARB(1, &mesh.vertexBufferB);
      pglBindBufferARB(GL_ARRAY_BUFFER_ARB, mesh.vertexBufferB);
    } else {
      pglBindBufferARB(GL_ARRAY_BUFFER_ARB, mesh.vertexBufferB);
      GLint size = 0;
      if (pglGetBufferParameterivARB)
        pglGetBufferParameterivARB(GL_ARRAY_BUFFER_ARB, GL_BUFFER_SIZE_ARB, &size);
      if (size < bytes) {
        pglBindBufferARB(GL_ARRAY_BUFFER_ARB, 0);
        pglDeleteBuffersARB(1, &mesh.vertexBufferB);
        pglGenBuffersARB(1, &mesh.vertexBufferB);
        pglBindBufferARB(GL_ARRAY_BUFFER_ARB, mesh.vertexBufferB);
      }
    }
    pglBufferDataARB(GL_ARRAY_BUFFER_ARB, bytes, v, GL_STREAM_DRAW_ARB);
  }
  glEnableClientState(GL_VERTEX_ARRAY);
  glVertexPointer(3, GL_FLOAT, kStride, At(v, buffered, 0));
  if (pglActiveTextureARB) {
    ServerUnit(1);
    glDisable(GL_TEXTURE_2D);
    ServerUnit(0);
  }
  glDisable(GL_TEXTURE_2D);
  glEnable(GL_COLOR_MATERIAL);
  glDisable(GL_LIGHTING);
  glColor3f(0, 0, 0);
  glDepthFunc(GL_LEQUAL);
  glEnable(GL_BLEND);
  glBlendFunc(GL_SRC_ALPHA, GL_ONE_MINUS_SRC_ALPHA);
  glDrawArrays(GL_TRIANGLES, 0, count);
  glDisable(GL_BLEND);
  glDepthFunc(GL_LESS);
  glDisableClientState(GL_VERTEX_ARRAY);
  // Later objects are lit again while lights are on.
  if (e.lightMask) glEnable(GL_LIGHTING);
  ForgetTextureUnitState();
  if (OpenGLLumenar* r = e.renderer)
    BindSpriteTexture(r, r->boundSlot, r->boundSlot2, int(r->boundUseTexture2), nullptr);
  ReverseCull(e);
  if (buffered) pglBindBufferARB(GL_ARRAY_BUFFER_ARB, 0);
}

}  // namespace

FrameChoice ChooseFrames(int32_t frame, int32_t nextFrame, float tween, bool range,
                         int32_t frameCount) {
  int64_t a = nextFrame, b = frame;
  float t = tween;
  if (range) {
    if (tween > 1 || tween < 0) tween = std::fabs(std::fmod(tween, 1.0f));
    // A tween that is not a number (or was infinite) stays on the first frame.
    if (!(tween >= 0 && tween <= 1)) tween = 0;
    float pos = float(frame) + float(int64_t(nextFrame) - int64_t(frame)) * tween;
    // pos lies between the two frames, but rounding can carry it to 2^31:
    // it is held inside the int32 range before it is truncated.
    pos = std::fmin(std::fmax(pos, -2147483648.0f), 2147483520.0f);
    int64_t i = int64_t(pos);
    if (frame < nextFrame) {
      a = i;
      b = i + 1;
      t = 1 - (pos - float(i));
    } else if (frame > nextFrame) {
      a = i + 1;
      b = i;
      t = pos - float(i);
    } else {
      a = frame;
      b = nextFrame;
      t = 0;
    }
  }
  auto clamp = [&](int64_t x) { return int32_t(x < 0 ? 0 : x >= frameCount ? frameCount - 1 : x); };
  return FrameChoice{clamp(a), clamp(b), t};
}

void DrawObject(Lumenar3D& e, uint32_t object, int32_t frame, int32_t nextFrame, float tween,
                bool range) {
  FlushSprites();
  if (object >= uint32_t(kObjectCount) || int64_t(object) >= e.objects.count) return;
  ObjectSlot& slot = e.objects.data[object];
  if (!slot.multiPart) {
    if (slot.parts.count > 0)
      DrawMeshFrame(e, slot.parts.data[0], frame, nextFrame, tween, range, nullptr);
    return;
  }
  for (int32_t p = 0; p < slot.parts.count; ++p) {
    MeshObjectX& part = slot.parts.data[p];
    if (e.renderer) {
      if (slot.textures.count == 0)
        BindSpriteTexture(e.renderer, -1, -1, 0, nullptr);
      else
        BindSpriteTexture(e.renderer, part.textureUnit1, part.textureUnit2, 0, slot.textures.data);
    }
    DrawMeshFrame(e, part, frame, nextFrame, tween, range, &slot.textures);
  }
}

void DrawMeshFrame(Lumenar3D& e, MeshObjectX& mesh, int32_t frame, int32_t nextFrame, float tween,
                   bool range, const GrowArray<uint32_t>* textureNames) {
  FlushSprites();
  if (mesh.frames.count == 0 || mesh.frames.data[0].packed.count == 0) return;
  FrameChoice fc = ChooseFrames(frame, nextFrame, tween, range, mesh.frames.count);
  MeshFrame& frameA = mesh.frames.data[fc.a];
  const float* m = CurrentModelMatrix(&e);
  float c[3];
  for (int k = 0; k < 3; ++k)
    c[k] = m[k] * frameA.centre[0] + m[4 + k] * frameA.centre[1] + m[8 + k] * frameA.centre[2] +
           m[12 + k];
  float s = 1;
  if (!IsIdentity3x3(m)) s = std::fmin(ColumnLength(m, 0), std::fmin(ColumnLength(m, 1), ColumnLength(m, 2)));
  float radius = frameA.radius * s;
  for (const auto& p : e.frustumPlanes)
    if (p[0] * c[0] + p[1] * c[1] + p[2] * c[2] + p[3] <= -radius) return;
  OpenGLLumenar* r = e.renderer;
  float alpha = r ? r->currentAlpha : 1.0f;
  glColor4f(1, 1, 1, alpha);
  bool effect = e.lightEffectOn != 0;
  int mode = effect ? e.lightEffectMode : 0;
  if (mode == 2) {
    DecodeFrames(&mesh, true, false, false);
    BuildShadeTexture(mesh);
  } else if (mode == 1) {
    DecodeFrames(&mesh, true, e.frameDecodeMode == 2, true);
  } else if (mode == 3) {
    DecodeFrames(&mesh, true, false, false);
    BuildEdgeNeighbours(mesh);
  }
  if (mesh.drawVertices.count == 0) mesh.BuildTriangleArrays();
  MeshFrame& frameB = mesh.frames.data[fc.b];
  int32_t count = mesh.drawVertices.count;
  const MeshVertex* source;
  uint32_t* buffer;
  bool staticBuffer = false;
  if (!effect && fc.t == 0 && e.textureOffsetU == 0 && e.textureOffsetV == 0) {
    if (frameB.triangles.count < count) count = frameB.triangles.count;
    source = frameB.triangles.data;
    staticBuffer = fc.b == 0;
    buffer = staticBuffer ? &mesh.vertexBufferA : &mesh.vertexBufferB;
  } else {
    float lightObj[3] = {0, 0, 0};
    if (effect) ToObjectSpace(m, e.effectLightPos, lightObj);
    if (mode == 3) {
      const MeshVertex* tri = frameA.triangles.data;
      if (frameA.triangles.count < mesh.frames.data[0].triangles.count) return;
      glPushMatrix();
      glMultMatrixf(m);
      FlagSilhouetteEdges(mesh, tri, lightObj);
      DrawShadowVolume(&mesh, tri, lightObj, true);
      glPopMatrix();
      return;
    }
    MeshVertex* v = mesh.drawVertices.data;
    const MeshFrame& frA = frameA;
    if (frameB.triangles.count < count) count = frameB.triangles.count;
    if (frA.triangles.count < count) count = frA.triangles.count;
    for (int32_t i = 0; i < count; ++i) {
      const MeshVertex& b = frameB.triangles.data[i];
      if (fc.t != 0) {
        const MeshVertex& a = frA.triangles.data[i];
        const float* fa = &a.x;
        const float* fb = &b.x;
        float* out = &v[i].x;
        for (int w = 0; w < 6; ++w) out[w] = fb[w] + (fa[w] - fb[w]) * fc.t;
      } else {
        v[i] = b;
      }
      if (effect && pglMultiTexCoord2fARB) {
        float l[3] = {lightObj[0] - v[i].x, lightObj[1] - v[i].y, lightObj[2] - v[i].z};
        NormaliseSmall(l);
        if (mode == 1) {
          const float* t = b.tangent;
          const float* bi = b.bitangent;
          v[i].light[0] = (t[0] * l[0] + t[1] * l[1] + t[2] * l[2]) * 0.5f + 0.5f;
          v[i].light[1] = (bi[0] * l[0] + bi[1] * l[1] + bi[2] * l[2]) * 0.5f + 0.5f;
          v[i].light[2] = (v[i].nx * l[0] + v[i].ny * l[1] + v[i].nz * l[2]) * 0.5f + 0.5f;
        } else if (mode == 2) {
          v[i].bitangent[1] = (float(v[i].colourIndex) + 0.5f) * mesh.paletteTexelScale;
          // Shaded by the normal, so the bands follow the light at any
          // object size.
          float sv[3] = {v[i].nx, v[i].ny, v[i].nz};
          NormaliseSmall(sv);
          float shade = l[0] * sv[0] + l[1] * sv[1] + l[2] * sv[2];
          v[i].bitangent[0] = shade < 0.05f ? 0.05f : shade > 0.95f ? 0.95f : shade;
        }
      }
      v[i].u += e.textureOffsetU;
      v[i].v += e.textureOffsetV;
    }
    source = v;
    buffer = &mesh.vertexBufferB;
  }
  bool buffered = pglBindBufferARB && pglGenBuffersARB && pglBufferDataARB;
  if (buffered) {
    GLsizeiptrARB bytes = GLsizeiptrARB(count) * kStride;
    if (*buffer == 0) {
      pglGenBuffersARB(1, buffer);
      pglBindBufferARB(GL_ARRAY_BUFFER_ARB, *buffer);
      pglBufferDataARB(GL_ARRAY_BUFFER_ARB, bytes, source,
                       staticBuffer ? GL_STATIC_DRAW_ARB : GL_STREAM_DRAW_ARB);
    } else {
      pglBindBufferARB(GL_ARRAY_BUFFER_ARB, *buffer);
      if (!staticBuffer) pglBufferDataARB(GL_ARRAY_BUFFER_ARB, bytes, source, GL_STREAM_DRAW_ARB);
    }
  }
  glEnableClientState(GL_VERTEX_ARRAY);
  glVertexPointer(3, GL_FLOAT, kStride, At(source, buffered, 0));
  bool units = pglClientActiveTextureARB && pglActiveTextureARB;
  if (!effect || !pglClientActiveTextureARB) {
    if (r && r->boundSlot >= 0) {
      if (r->boundSlot2 >= 0 && units) {
        ClientUnit(1);
        ServerUnit(1);
        glBindTexture(GL_TEXTURE_2D, SlotTexture(r, r->boundSlot2, textureNames));
        TexCoords(source, buffered, kTexOffset);
        ClientUnit(0);
        ServerUnit(0);
      }
      glBindTexture(GL_TEXTURE_2D, SlotTexture(r, r->boundSlot, textureNames));
      TexCoords(source, buffered, kTexOffset);
    }
    if (mesh.hasVertexColours) {
      glEnableClientState(GL_COLOR_ARRAY);
      glColorPointer(3, GL_FLOAT, kStride, At(source, buffered, kColourOffset));
    }
  } else if (mode == 1) {
    if (units) {
      ClientUnit(1);
      ServerUnit(1);
      glTexEnvf(GL_TEXTURE_ENV, GL_TEXTURE_ENV_MODE, GL_MODULATE);
      TexCoords(source, buffered, kTexOffset);
      ClientUnit(0);
      ServerUnit(0);
    }
    if (HasGlExtension("GL_ARB_texture_env_combine") && HasGlExtension("GL_ARB_texture_env_dot3")) {
      glTexEnvf(GL_TEXTURE_ENV, GL_TEXTURE_ENV_MODE, GL_COMBINE_ARB);
      glTexEnvf(GL_TEXTURE_ENV, GL_COMBINE_RGB_ARB, GL_DOT3_RGB_ARB);
      glTexEnvf(GL_TEXTURE_ENV, GL_SOURCE0_RGB_ARB, GL_PRIMARY_COLOR_ARB);
      glTexEnvf(GL_TEXTURE_ENV, GL_OPERAND0_RGB_ARB, GL_SRC_COLOR);
      glTexEnvf(GL_TEXTURE_ENV, GL_SOURCE1_RGB_ARB, GL_TEXTURE);
      glTexEnvf(GL_TEXTURE_ENV, GL_OPERAND1_RGB_ARB, GL_SRC_COLOR);
    }
    TexCoords(source, buffered, kTexOffset);
    glEnableClientState(GL_COLOR_ARRAY);
    glColorPointer(3, GL_FLOAT, kStride, At(source, buffered, kLightOffset));
  } else if (mode == 2) {
    if (units) {
      ClientUnit(1);
      ServerUnit(1);
      glBindTexture(GL_TEXTURE_2D, mesh.paletteTexture);
      glEnable(GL_TEXTURE_2D);
      TexCoords(source, buffered, kToonOffset);
      ClientUnit(0);
      ServerUnit(0);
    }
    if (r && r->boundSlot >= 0) {
      glEnable(GL_TEXTURE_2D);
      glBindTexture(GL_TEXTURE_2D, SlotTexture(r, r->boundSlot, textureNames));
      TexCoords(source, buffered, kTexOffset);
    }
  }
  ForgetTextureUnitState();
  glEnable(GL_COLOR_MATERIAL);
  glPushMatrix();
  glMultMatrixf(m);
  if (e.lightMask || e.sphereMapping) {
    glEnableClientState(GL_NORMAL_ARRAY);
    glNormalPointer(GL_FLOAT, kStride, At(source, buffered, kNormalOffset));
    if (e.sphereMapping) {
      glTexGeni(GL_S, GL_TEXTURE_GEN_MODE, GL_SPHERE_MAP);
      glTexGeni(GL_T, GL_TEXTURE_GEN_MODE, GL_SPHERE_MAP);
      glEnable(GL_TEXTURE_GEN_S);
      glEnable(GL_TEXTURE_GEN_T);
    }
  }
  glDrawArrays(GL_TRIANGLES, 0, count);
  if (e.sphereMapping) {
    glDisable(GL_TEXTURE_GEN_S);
    glDisable(GL_TEXTURE_GEN_T);
  }
  DisableArrays();
  if (buffered) pglBindBufferARB(GL_ARRAY_BUFFER_ARB, 0);
  if (mode == 2 && e.cullMode != 0 && source == mesh.drawVertices.data)
    DrawOutline(e, mesh, frameA, m);
  if (pglActiveTextureARB) {
    ServerUnit(1);
    glTexEnvf(GL_TEXTURE_ENV, GL_TEXTURE_ENV_MODE, GL_MODULATE);
    ServerUnit(0);
    glTexEnvf(GL_TEXTURE_ENV, GL_TEXTURE_ENV_MODE, GL_MODULATE);
  }
  glPopMatrix();
  glColor4f(1, 1, 1, alpha);
}
