// Triangle lists of a part: the packed vertices of each frame expanded and
// walked run by run (lists, strips, fans).
#include <cstring>

#include "models/mesh_object.h"
#include "models/unit_normals.h"

void SetVertexColour(MeshVertex* v, uint32_t colour) {
  if (colour >= kFirstMarkerColour) {
    v->r = v->g = v->b = 1.0f;
    return;
  }
  v->r = float(colour & 0xFF) / 255.0f;
  v->g = float((colour >> 8) & 0xFF) / 255.0f;
  v->b = float((colour >> 16) & 0xFF) / 255.0f;
}

namespace {

void TableEntry(uint8_t index, float out[3]) {
  int i = index < kUnitNormalCount ? index : 0;
  out[0] = UnitNormalTable[i][0];
  out[1] = UnitNormalTable[i][1];
  out[2] = UnitNormalTable[i][2];
}

uint32_t RunColour(const GrowArray<uint32_t>& palette, const PackedVertex& p) {
  return p.colourIndex < palette.count ? palette.data[p.colourIndex] : 0x00FFFFFFu;
}

// Triangles the walk below makes of a frame.
int32_t CountTriangles(const GrowArray<uint32_t>& palette, const MeshFrame& f) {
  int64_t triangles = 0;
  int64_t run = 0;
  bool list = true;
  auto close = [&] { triangles += list ? run / 3 : (run >= 3 ? run - 2 : 0); };
  for (int32_t i = 0; i < f.packed.count; ++i) {
    uint32_t c = RunColour(palette, f.packed.data[i]);
    if (c == StripMarker || c == ListMarker || c == FanMarker) {
      close();
      run = 0;
      list = c == ListMarker;
      continue;
    }
    ++run;
  }
  close();
  return int32_t(triangles);
}

}  // namespace

void ExpandPackedVertex(const MeshObject& mesh, const MeshFrame& frame, int32_t i,
                        MeshVertex* out) {
  const PackedVertex& p = frame.packed.data[i];
  const uint8_t q[3] = {p.x, p.y, p.z};
  float* position[3] = {&out->x, &out->y, &out->z};
  for (int a = 0; a < 3; ++a) *position[a] = (float(q[a]) - frame.offset[a]) * frame.scale[a];
  float n[3];
  TableEntry(p.normalIndex, n);
  out->nx = n[0];
  out->ny = n[1];
  out->nz = n[2];
  TableEntry(p.tangentIndex, out->tangent);
  TableEntry(p.bitangentIndex, out->bitangent);
  uint32_t c = RunColour(mesh.palette, p);
  out->colour = c;
  SetVertexColour(out, c);
  out->colourIndex = p.colourIndex;
  out->u = i < mesh.texU.count ? mesh.texU.data[i] : 0.0f;
  out->v = i < mesh.texV.count ? -mesh.texV.data[i] : 0.0f;
}

void MeshObjectX::BuildTriangleArrays() {
  if (frames.count <= 0) return;
  for (int32_t fi = 0; fi < frames.count; ++fi) {
    MeshFrame& f = frames.data[fi];
    f.triangles.count = 0;
    f.positions.count = 0;
    // Room for every triangle at once: a block growing in fixed steps would
    // copy a large mesh over and over.
    GrowArrayReserve(f.triangles, 3 * CountTriangles(palette, f));
    enum { kList, kStrip, kFan } mode = kList;
    int n = 0;
    int parity = 0;
    MeshVertex w[3] = {};
    for (int32_t i = 0; i < f.packed.count; ++i) {
      const PackedVertex& p = f.packed.data[i];
      uint32_t c = RunColour(palette, p);
      if (c == StripMarker) {
        mode = kStrip;
        n = 0;
        parity = 0;
        continue;
      }
      if (c == ListMarker) {
        mode = kList;
        n = 0;
        continue;
      }
      if (c == FanMarker) {
        mode = kFan;
        n = 0;
        continue;
      }
      ExpandPackedVertex(*this, f, i, &w[n]);
      if (++n < 3) continue;
      if (f.triangles.count + 3 > f.triangles.capacity) GrowArrayReserve(f.triangles, f.triangles.count + 3);
      MeshVertex* out = f.triangles.data + f.triangles.count;
      out[0] = w[0];
      out[1] = w[1];
      out[2] = w[2];
      f.triangles.count += 3;
      if (mode == kList) {
        n = 0;
      } else if (mode == kStrip) {
        // Every second triangle swaps its first two corners so that all
        // keep one winding: A B C, C B D, C D E.
        parity = 1 - parity;
        n = 2;
        if (parity == 1)
          w[0] = w[2];
        else
          w[1] = w[2];
      } else {
        n = 2;
        w[1] = w[2];
      }
    }
  }
  drawVertices.count = 0;
  const MeshFrame& f0 = frames.data[0];
  GrowArrayReserve(drawVertices, f0.triangles.count);
  if (f0.triangles.count > 0)
    std::memcpy(drawVertices.data, f0.triangles.data, sizeof(MeshVertex) * size_t(f0.triangles.count));
  drawVertices.count = f0.triangles.count;
  hasVertexColours = 0;
  for (int32_t i = 0; i < palette.count; ++i) {
    uint32_t c = palette.data[i];
    if (c != 0x00FFFFFFu && c < kFirstMarkerColour) {
      hasVertexColours = 1;
      break;
    }
  }
}

const float* TrianglePositions(const MeshFrame& f) {
  int32_t n = f.triangles.count;
  if (n > 0 && f.positions.count == 3 * n && f.positionsOf == f.triangles.data)
    return f.positions.data;
  f.positions.count = 0;
  if (n <= 0) return nullptr;
  // Exactly the room needed: the array is rebuilt only with its frame.
  if (f.positions.capacity < 3 * n) {
    GrowArrayClear(f.positions);
    f.positions.firstCapacity = 3 * n;
    GrowArrayReserve(f.positions, 3 * n);
  }
  float* out = f.positions.data;
  for (int32_t i = 0; i < n; ++i) {
    const MeshVertex& v = f.triangles.data[i];
    out[3 * i] = v.x;
    out[3 * i + 1] = v.y;
    out[3 * i + 2] = v.z;
  }
  f.positions.count = 3 * n;
  f.positionsOf = f.triangles.data;
  return out;
}
