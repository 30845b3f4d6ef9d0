#include "engine3d/commands3d.h"

#include <cmath>
#include <vector>

#include "core/basic_array.h"
#include "core/basic_string.h"
#include "core/number_truncate.h"
#include "core/project_settings.h"
#include "core/shoebox.h"
#include "engine3d/camera.h"
#include "engine3d/lights_fog.h"
#include "engine3d/lumenar3d.h"
#include "engine3d/mesh_draw.h"
#include "engine3d/object_collision.h"
#include "engine3d/point_projection.h"
#include "engine3d/shade_textures.h"
#include "engine3d/shaders.h"
#include "frame/fonts.h"
#include "frame/renderer.h"
#include "frame/sprite_draw.h"
#include "models/ddd_file.h"
#include "models/object_build.h"
#include "models/object_loading.h"
#include "models/object_slot.h"

int32_t gTextureSelection[3] = {-1, -1, 0};
int32_t gCullModeSetting = 0;

namespace {

uint32_t ColourArg(double v) { return uint32_t(uint64_t(TruncInt64(v))); }
float F(double v) { return float(v); }
float Clamped(double v) { return std::fmin(512.0f, std::fmax(1.0f, float(v))); }
bool Debugging() { return gProjectSettings.debugMode != 0 && g3DEngine; }

// Colour and width of the debug shapes of the collision commands.
constexpr uint32_t kDebugHit = 0x0000FFu;
constexpr uint32_t kDebugMiss = 0x00FF00u;

void BindSelectedTextures() {
  if (gRenderer)
    BindSpriteTexture(gRenderer, gTextureSelection[0], gTextureSelection[1], gTextureSelection[2],
                      nullptr);
}

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
  if (Debugging()) {
    const float centre[3] = {F(x), F(y), F(z)};
    DrawDebugSphere(g3DEngine, centre, F(radius), hit ? kDebugHit : kDebugMiss, hit ? 5 : 1);
  }
  return hit ? 1.0 : 0.0;
}

double CollideObjectBoxCmd(double n, double frame, double x, double y, double z, double width,
                           double height) {
  float centre[3] = {F(x), F(y), F(z)};
  float halfWidth = F(width / 2), halfHeight = F(height / 2);
  float a1[3] = {halfWidth, 0, 0}, a2[3] = {0, 0, halfWidth}, a3[3] = {0, halfHeight, 0};
  bool hit = CollideObjectBox(g3DEngine, TruncInt32(n), TruncInt32(frame), centre, a1, a2, a3);
  if (Debugging())
    DrawDebugBox(g3DEngine, centre, a1, a2, a3, hit ? kDebugHit : kDebugMiss, hit ? 5 : 1);
  return hit ? 1.0 : 0.0;
}

double RayObjectDistanceCmd(double n, double frame, double x, double y, double z, double dx,
                            double dy, double dz) {
  float d = RayObjectDistance(g3DEngine, TruncInt32(n), TruncInt32(frame), F(x), F(y), F(z), F(dx),
                              F(dy), F(dz));
  if (Debugging()) {
    // The line reaches the hit (or 1000 along) for a unit direction.
    double lengthSq = dx * dx + dy * dy + dz * dz;
    double s = lengthSq > 0 ? (d != 0 ? double(d) : 1000.0) / (lengthSq * lengthSq) : 0.0;
    const float from[3] = {F(x), F(y), F(z)};
    const float to[3] = {F(x + dx * s), F(y + dy * s), F(z + dz * s)};
    uint32_t colour = d == 0 ? 0x0000FFu : d > 0 ? 0x00FF00u : 0x00FFFFu;
    DrawLine3D(g3DEngine, from, to, colour, d == 0 ? 1.0f : 5.0f);
  }
  return d;
}

void PushMatrixCmd() { PushTransform(g3DEngine); }

void PopMatrixCmd() { PopTransform(g3DEngine); }

void AddRotationCmd(double angle, double x, double y, double z) {
  AddRotation(g3DEngine, F(angle), F(x), F(y), F(z));
}

void SetTranslationCmd(double x, double y, double z) {
  SetTranslation(g3DEngine, F(x), F(y), F(z));
}

void SetScaleCmd(double x, double y, double z) { SetScale(g3DEngine, F(x), F(y), F(z)); }

void MultMatrixCmd(const BasicArray& m) {
  if (!m.data || m.dimensionCount != 1 || m.size0 != 16) return;
  float values[16];
  for (int i = 0; i < 16; ++i) values[i] = F(m.data[i]);
  AddMatrix(g3DEngine, values);
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

void Make3DCmd(double nearPlane, double farPlane, double fov) {
  if (!g3DEngine) return;
  ClearBuffers(g3DEngine);
  Make3D(g3DEngine, F(nearPlane), F(farPlane), F(fov));
  gCullModeSetting = 0;
  SetCullMode(g3DEngine, 0);
  g3DEngine->lightMask = 0;
  g3DEngine->lightEffectOn = 0;
  gTextureSelection[0] = -1;
  gTextureSelection[1] = -1;
  if (gRenderer) BindSpriteTexture(gRenderer, -1, -1, gTextureSelection[2], nullptr);
}

void ClearBuffersCmd() { ClearBuffers(g3DEngine); }

void SetCameraUpCmd(double x, double y, double z) { SetCameraUp(g3DEngine, F(x), F(y), F(z)); }

void SetCameraCmd(double x, double y, double z, double tx, double ty, double tz) {
  SetCamera(g3DEngine, F(x), F(y), F(z), F(tx), F(ty), F(tz));
}

void SetCullModeCmd(double mode) {
  int32_t m = mode > 0 ? 1 : (mode == 0 ? 0 : -1);
  gCullModeSetting = m;
  SetCullMode(g3DEngine, m);
}

void SetFogCmd(double colour, double mode, double a, double b) {
  SetFog(g3DEngine, ColourArg(colour), TruncInt32(mode), F(a), F(b));
}

void SetCameraLightCmd(double n, double colour) {
  SetLightWrapper(g3DEngine, TruncInt32(n), ColourArg(colour));
}

void SetLightCmd(double n, double colour, double x, double y, double z, double dx, double dy,
                 double dz, double cutoff) {
  SetLight(g3DEngine, TruncInt32(n), ColourArg(colour), F(x), F(y), F(z), F(dx), F(dy), F(dz),
           F(cutoff), gProjectSettings.debugMode != 0);
}

void DrawAxesCmd(double x, double y, double z) { DrawAxes(g3DEngine, F(x), F(y), F(z)); }

void DrawLine3DCmd(double x1, double y1, double z1, double x2, double y2, double z2, double width,
                   double colour) {
  const float a[3] = {F(x1), F(y1), F(z1)}, b[3] = {F(x2), F(y2), F(z2)};
  DrawLine3D(g3DEngine, a, b, ColourArg(colour), Clamped(width));
}

void DrawDotCmd(double x, double y, double z, double size, double colour) {
  const float p[3] = {F(x), F(y), F(z)};
  DrawDot(g3DEngine, p, ColourArg(colour), Clamped(size));
}

void DrawSpriteBillboardCmd(double sprite, double x, double y, double z, double scale) {
  SetCullMode(g3DEngine, -1);
  if (gRenderer)
    DrawSpriteBillboard(gRenderer, int16_t(uint16_t(uint32_t(TruncInt32(sprite)) & 0xFFFFu)), F(x),
                        F(y), F(z), F(scale));
  SetCullMode(g3DEngine, gCullModeSetting);
}

void DrawObjectCmd(double n, double frame, double nextFrame, double tween, double flag) {
  BindSelectedTextures();
  if (g3DEngine)
    DrawObject(*g3DEngine, uint32_t(TruncInt32(n)), TruncInt32(frame), TruncInt32(nextFrame),
               F(tween), flag != 0);
}

void DrawObjectFrameCmd(double n, double frame) {
  BindSelectedTextures();
  if (g3DEngine)
    DrawObject(*g3DEngine, uint32_t(TruncInt32(n)), TruncInt32(frame), TruncInt32(frame), 0, false);
}

double LoadShaderCmd(double slot, const BasicString& vertexFile, const BasicString& fragmentFile) {
  bool linked = LoadShader(g3DEngine, uint32_t(TruncInt32(slot)), StrCStr(vertexFile),
                           StrCStr(fragmentFile), AppendTempErrorLog);
  return linked ? 1.0 : 0.0;
}

void SetShaderFloatCmd(const BasicString& name, double value) {
  SetShaderFloat(g3DEngine, StrCStr(name), F(value));
}

void SetShadeRampCmd(const BasicArray& values) {
  if (!g3DEngine) return;
  int32_t count = values.data ? int32_t(values.size0) : 0;
  std::vector<uint8_t> ramp(size_t(count > 0 ? count : 0));
  for (int32_t i = 0; i < count; ++i)
    ramp[size_t(i)] = uint8_t(int16_t(TruncInt32(values.data[i] * 255)));
  SetShadeRamp(*g3DEngine, ramp.data(), count);
}
