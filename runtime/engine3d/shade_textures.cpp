#include "engine3d/shade_textures.h"

#include <GL/gl.h>

#include <cmath>
#include <vector>

#include "engine3d/lumenar3d.h"
#include "models/object_slot.h"
#include "frame/sprite_draw.h"

GrowArray<uint8_t> gShadeRamp;

namespace {

const uint8_t kDefaultRamp[16] = {100, 160, 160, 160, 160, 160, 160, 207,
                                  255, 255, 255, 255, 255, 255, 255, 255};

void SetRamp(const uint8_t* bytes, int32_t count) {
  gShadeRamp.count = 0;
  for (int32_t i = 0; i < count; ++i) GrowArrayAppend(gShadeRamp, bytes[i]);
}

}  // namespace

void BuildShadeTexture(MeshObjectX& mesh) {
  FlushSprites();
  if (mesh.paletteTexture != 0) return;
  int32_t count = mesh.palette.count;
  int32_t height = count;
  for (int32_t h = 1; h <= 16384; h *= 2)
    if (h >= count) {
      height = h;
      break;
    }
  if (height < 1) height = 1;
  mesh.paletteTexelScale = 1.0f / float(height);
  glPixelStorei(GL_UNPACK_ALIGNMENT, 1);
  glPixelStorei(GL_UNPACK_ROW_LENGTH, 0);
  glPixelStorei(GL_UNPACK_SKIP_ROWS, 0);
  glPixelStorei(GL_UNPACK_SKIP_PIXELS, 0);
  GLuint name = 0;
  glGenTextures(1, &name);
  mesh.paletteTexture = name;
  glBindTexture(GL_TEXTURE_2D, name);
  glTexParameterf(GL_TEXTURE_2D, GL_TEXTURE_WRAP_S, GL_CLAMP);
  glTexParameterf(GL_TEXTURE_2D, GL_TEXTURE_WRAP_T, GL_REPEAT);
  glTexParameterf(GL_TEXTURE_2D, GL_TEXTURE_MAG_FILTER, GL_LINEAR);
  glTexParameterf(GL_TEXTURE_2D, GL_TEXTURE_MIN_FILTER, GL_LINEAR);
  if (gShadeRamp.count == 0) SetRamp(kDefaultRamp, 16);
  int32_t ramp = gShadeRamp.count;
  int32_t width = 64;
  while (width < 4 * ramp && width < 512) width *= 2;
  std::vector<uint8_t> pixels(size_t(width) * size_t(height) * 4);
  for (int32_t r = 0; r < height; ++r) {
    // An empty palette draws white.
    uint32_t colour = r < count ? mesh.palette.data[r] : count > 0 ? mesh.palette.data[0] : 0xFFFFFFFFu;
    for (int32_t c = 0; c < width; ++c) {
      uint32_t s = gShadeRamp.data[int64_t(c) * ramp / width];
      uint8_t* px = &pixels[(size_t(r) * size_t(width) + size_t(c)) * 4];
      if (colour >= kFirstMarkerColour) {
        px[0] = px[1] = px[2] = uint8_t(s);
      } else {
        px[0] = uint8_t((colour & 0xFF) * s / 255);
        px[1] = uint8_t(((colour >> 8) & 0xFF) * s / 255);
        px[2] = uint8_t(((colour >> 16) & 0xFF) * s / 255);
      }
      px[3] = 255;
    }
  }
  glTexImage2D(GL_TEXTURE_2D, 0, GL_RGBA8, width, height, 0, GL_RGBA, GL_UNSIGNED_BYTE,
               pixels.data());
}

void SetShadeRamp(Lumenar3D& e, const uint8_t* bytes, int32_t count) {
  FlushSprites();
  if (count < 1 || !bytes) {
    // The textures already built follow the new ramp too.
    const uint8_t flat = 255;
    SetRamp(&flat, 1);
  } else {
    SetRamp(bytes, count);
  }
  int32_t slots = e.objects.count < kObjectCount ? e.objects.count : kObjectCount;
  for (int32_t i = 0; i < slots; ++i) {
    ObjectSlot& slot = e.objects.data[i];
    for (int32_t p = 0; p < slot.parts.count; ++p) {
      MeshObjectX& part = slot.parts.data[p];
      if (part.paletteTexture == 0) continue;
      GLuint name = part.paletteTexture;
      glDeleteTextures(1, &name);
      part.paletteTexture = 0;
    }
  }
}

bool TriangleFacesPoint(const MeshVertex* c, const float point[3]) {
  // n = (P0 - P1) x (P2 - P1), the face normal of mesh packing.
  float e0[3] = {c[0].x - c[1].x, c[0].y - c[1].y, c[0].z - c[1].z};
  float e1[3] = {c[2].x - c[1].x, c[2].y - c[1].y, c[2].z - c[1].z};
  float n[3] = {e0[1] * e1[2] - e0[2] * e1[1], e0[2] * e1[0] - e0[0] * e1[2],
                e0[0] * e1[1] - e0[1] * e1[0]};
  float to[3] = {point[0] - c[1].x, point[1] - c[1].y, point[2] - c[1].z};
  return n[0] * to[0] + n[1] * to[1] + n[2] * to[2] > 0;
}

void FlagSilhouetteEdges(MeshObjectX& mesh, const MeshVertex* triangles, const float lightPos[3]) {
  int32_t count = mesh.shadowEdges.count / 3;
  mesh.shadowFacing.count = 0;
  GrowArrayReserve(mesh.shadowFacing, count);
  for (int32_t t = 0; t < count; ++t)
    GrowArrayAppend(mesh.shadowFacing, uint8_t(TriangleFacesPoint(triangles + 3 * t, lightPos)));
  const uint8_t* facing = mesh.shadowFacing.data;
  for (int32_t e = 0; e < 3 * count; ++e) {
    EdgeNeighbour& edge = mesh.shadowEdges.data[e];
    edge.silhouette = facing[e / 3] == 1 &&
                      (edge.neighbour == kNoNeighbour ||
                       (edge.neighbour < uint32_t(count) && facing[edge.neighbour] == 0));
  }
}
