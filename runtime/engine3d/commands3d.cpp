#include "engine3d/commands3d.h"

#include <cmath>

#include "core/basic_array.h"
#include "core/basic_string.h"
#include "core/number_truncate.h"
#include "core/shoebox.h"
#include "engine3d/lumenar3d.h"
#include "engine3d/object_collision.h"
#include "engine3d/object_transform_ops.h"
#include "engine3d/point_projection.h"
#include "engine3d/shaders.h"
#include "frame/fonts.h"
#include "frame/renderer.h"
#include "frame/sprite_draw.h"
#include "models/ddd_file.h"
#include "models/object_build.h"
#include "models/object_loading.h"
#include "models/object_slot.h"

int32_t gTextureSelection[3] = {-1, -1, 0};

namespace {

uint32_t ColourArg(double v) { return uint32_t(uint64_t(TruncInt64(v))); }
float F(double v) { return float(v); }

// The slot of an object number, or null outside the table.
ObjectSlot* SlotOf(double n) {
  int32_t i = TruncInt32(n);
  if (!g3DEngine || i < 0 || i >= kObjectCount || i >= g3DEngine->objects.count) return nullptr;
  return &g3DEngine->objects.data[i];
}

// Triangles in the triangle list of one frame of a part; 0 when the part
// has no such frame.
int32_t FrameTriangles(const MeshObjectX& part, int32_t frame) {
  if (frame < 0 || frame >= part.frames.count) return 0;
  return part.frames.data[frame].triangles.count / 3;
}

}  // namespace

void SetTextureFlagCmd(double value) { gTextureSelection[2] = TruncInt32(value); }

void Make2DCmd() {
  SetShadowPass(g3DEngine, false);
  if (gRenderer) SetViewport2D(gRenderer, 0, 0, 0, 0);
}

void SetTextureCmd(double first, double second) {
  gTextureSelection[0] = TruncInt32(first);
  gTextureSelection[1] = TruncInt32(second);
  if (gRenderer)
    BindSpriteTexture(gRenderer, gTextureSelection[0], gTextureSelection[1], gTextureSelection[2],
                      nullptr);
}

void SetTextureOffsetCmd(double u, double v) {
  if (!g3DEngine) return;
  g3DEngine->textureOffsetU = F(u);
  g3DEngine->textureOffsetV = F(v);
}

void SetFrameDecodeModeCmd(double mode) {
  if (g3DEngine) g3DEngine->frameDecodeMode = TruncInt32(mode) % 3;
}

void SetSphereMapCmd(double on) {
  if (g3DEngine) g3DEngine->sphereMapping = on != 0 ? 1 : 0;
}

void UseShaderCmd(double slot) { UseShader(g3DEngine, TruncInt32(slot)); }

void ObjStartCmd(double n) { ObjStart(g3DEngine, TruncInt32(n), 1); }

void ObjAddVertexCmd(double x, double y, double z, double u, double v, double colour) {
  ObjAddVertex(g3DEngine, F(x), F(y), F(z), F(u), F(v), ColourArg(colour));
}

void ObjStartGroupCmd() { ObjStartGroup(g3DEngine, 1); }

void ObjEndCmd() { ObjEnd(g3DEngine); }

void LoadObjectCmd(BasicString& file, double n) {
  char* path = StrGetBuffer(file, kShoeboxPathSize);
  char resolved[kShoeboxPathSize];
  if (!ResolveShoeboxFile(gShoeboxes[0], path, resolved)) return;
  path = StrGetBuffer(file, kShoeboxPathSize);
  for (int i = 0; i < kShoeboxPathSize; ++i) {
    path[i] = resolved[i];
    if (!resolved[i]) break;
  }
  path[kShoeboxPathSize - 1] = 0;
  StrSyncLength(file);
  LoadObject(g3DEngine, StrCStr(file), TruncInt32(n));
}

void SaveObjectCmd(const BasicString& file, double n) {
  SaveObject(g3DEngine, StrCStr(file), TruncInt32(n));
}

void ProjectPointCmd(double x, double y, double z, double* sx, double* sy, double* sz) {
  float wx, wy, wz;
  if (!ProjectPoint(F(x), F(y), F(z), &wx, &wy, &wz)) return;
  *sx = wx;
  *sy = wy;
  *sz = wz;
}

void UnprojectPointCmd(double sx, double sy, double sz, double* x, double* y, double* z) {
  double screenHeight = gRenderer ? double(gRenderer->height) : 0.0;
  float ox, oy, oz;
  if (!UnprojectPoint(F(sx), F(screenHeight - 1 - sy), F(sz), &ox, &oy, &oz)) return;
  *x = ox;
  *y = oy;
  *z = oz;
}

void PrintText3DCmd(const BasicString& text, double x, double y, double z, double size) {
  if (gRenderer) PrintText3D(gRenderer, gCurrentFont, StrCStr(text), F(x), F(y), F(z), F(size));
}

double CollideObjectSphereCmd(double n, double frame, double radius, double x, double y,
                              double z) {
  bool hit = CollideObjectSphere(g3DEngine, TruncInt32(n), TruncInt32(frame), F(radius), F(x), F(y),
                                 F(z));
  return hit ? 1.0 : 0.0;
}

double CollideObjectBoxCmd(double n, double frame, double x, double y, double z, double width,
                           double height) {
  float centre[3] = {F(x), F(y), F(z)};
  float halfWidth = F(width / 2), halfHeight = F(height / 2);
  float a1[3] = {halfWidth, 0, 0}, a2[3] = {0, 0, halfWidth}, a3[3] = {0, halfHeight, 0};
  bool hit = CollideObjectBox(g3DEngine, TruncInt32(n), TruncInt32(frame), centre, a1, a2, a3);
  return hit ? 1.0 : 0.0;
}

double RayObjectDistanceCmd(double n, double frame, double x, double y, double z, double dx,
                            double dy, double dz) {
  return RayObjectDistance(g3DEngine, TruncInt32(n), TruncInt32(frame), F(x), F(y), F(z), F(dx),
                           F(dy), F(dz));
}

void PushMatrixCmd() { PushObjectTransform(g3DEngine); }

void PopMatrixCmd() { PopObjectTransform(g3DEngine); }

void AddRotationCmd(double angle, double x, double y, double z) {
  AddObjectRotation(g3DEngine, F(angle), F(x), F(y), F(z));
}

void SetTranslationCmd(double x, double y, double z) {
  SetObjectTranslation(g3DEngine, F(x), F(y), F(z));
}

void SetScaleCmd(double x, double y, double z) { SetObjectScale(g3DEngine, F(x), F(y), F(z)); }

void MultMatrixCmd(const BasicArray& m) {
  if (!m.data || m.dimensionCount != 1 || m.size0 != 16) return;
  float values[16];
  for (int i = 0; i < 16; ++i) values[i] = F(m.data[i]);
  AddObjectMatrix(g3DEngine, values);
}

double CountFacesCmd(double n) {
  const ObjectSlot* slot = SlotOf(n);
  if (!slot) return 0;
  int64_t vertices = 0;
  for (int32_t i = 0; i < slot->parts.count; ++i) {
    const MeshObjectX& part = slot->parts.data[i];
    if (part.frames.count > 0) vertices += part.frames.data[0].triangles.count;
  }
  return double(vertices / 3);
}

void GetFaceCmd(double n, double frame, double face, BasicArray& out) {
  ArrayDim(out, 3, 9);
  const ObjectSlot* slot = SlotOf(n);
  if (!slot || !(face >= 0)) return;
  int32_t f = TruncInt32(frame);
  double before = 0;
  for (int32_t i = 0; i < slot->parts.count; ++i) {
    const MeshObjectX& part = slot->parts.data[i];
    if (part.frames.count == 0) continue;
    int32_t count = FrameTriangles(part, f);
    if (face < before + count) {
      int32_t k = TruncInt32(face - before);
      const MeshVertex* v = &part.frames.data[f].triangles.data[3 * k];
      for (int32_t j = 0; j < 3; ++j) {
        double values[9] = {v[j].x, v[j].y, v[j].z, v[j].u, v[j].v, double(v[j].colour),
                            v[j].nx, v[j].ny, v[j].nz};
        for (int32_t c = 0; c < 9; ++c) *ArrayElement(out, j, c) = values[c];
      }
      return;
    }
    before += count;
  }
}
