#include "models/mesh_packing.h"

#include <cmath>
#include <unordered_map>
#include <unordered_set>
#include <vector>

#include "models/unit_normals.h"

namespace {

constexpr int kAddressableColours = 256;

bool IsRunOpener(uint32_t colour) { return colour >= kFirstMarkerColour; }

// Squared distance of two 0x00BBGGRR colours.
int ColourDistance(uint32_t a, uint32_t b) {
  int d = 0;
  for (int shift = 0; shift < 24; shift += 8) {
    int x = int((a >> shift) & 0xFF) - int((b >> shift) & 0xFF);
    d += x * x;
  }
  return d;
}

// Index of colour in the palette's addressable entries, adding it while there
// is room. A colour that finds no room takes the nearest colour entry; a run
// marker that finds no room gives -1.
int PaletteIndex(GrowArray<uint32_t>& palette, uint32_t colour) {
  int32_t addressable = palette.count < kAddressableColours ? palette.count : kAddressableColours;
  for (int32_t i = 0; i < addressable; ++i)
    if (palette.data[i] == colour) return i;
  if (palette.count < kAddressableColours) {
    GrowArrayAppend(palette, colour);
    return palette.count - 1;
  }
  if (IsRunOpener(colour)) return -1;
  int best = -1, bestDistance = 0;
  for (int32_t i = 0; i < addressable; ++i) {
    if (IsRunOpener(palette.data[i])) continue;
    int d = ColourDistance(palette.data[i], colour);
    if (best < 0 || d < bestDistance) {
      best = i;
      bestDistance = d;
    }
  }
  return best;
}

// When the built colours will not all fit, the run markers are entered
// first so that no run loses its kind to a full palette.
void ReserveMarkersWhenCrowded(MeshObject* mesh) {
  GrowArray<uint32_t>& palette = mesh->palette;
  std::unordered_set<uint32_t> distinct(palette.data, palette.data + palette.count);
  std::vector<uint32_t> markers;
  for (int32_t fi = 0; fi < mesh->frames.count; ++fi) {
    const MeshFrame& f = mesh->frames.data[fi];
    for (int32_t i = 0; i < f.built.count; ++i) {
      uint32_t c = f.built.data[i].colour;
      if (distinct.insert(c).second && IsRunOpener(c)) markers.push_back(c);
    }
  }
  if (distinct.size() <= size_t(kAddressableColours)) return;
  for (uint32_t m : markers) PaletteIndex(palette, m);
}

}  // namespace

void ComputeNormalsAndBounds(MeshObject* mesh) {
  if (!mesh) return;
  GrowArrayClear(mesh->texU);
  GrowArrayClear(mesh->texV);
  ReserveMarkersWhenCrowded(mesh);
  for (int32_t fi = 0; fi < mesh->frames.count; ++fi) {
    MeshFrame& f = mesh->frames.data[fi];
    f.packed.count = 0;
    float lo[3] = {0, 0, 0}, hi[3] = {0, 0, 0};
    bool any = false;
    for (int32_t i = 0; i < f.built.count; ++i) {
      const MeshVertex& r = f.built.data[i];
      if (IsRunOpener(r.colour)) continue;
      const float p[3] = {r.x, r.y, r.z};
      for (int a = 0; a < 3; ++a) {
        if (!any || p[a] < lo[a]) lo[a] = p[a];
        if (!any || p[a] > hi[a]) hi[a] = p[a];
      }
      any = true;
    }
    for (int a = 0; a < 3; ++a) {
      // The offset comes from the unrounded scale, so that the minimum maps
      // to 0 exactly; the stored scale is its f32 rounding.
      double scale = (double(hi[a]) - double(lo[a])) / 255.0;
      if (scale == 0.0) scale = 1.0;
      f.scale[a] = float(scale);
      f.offset[a] = float(-double(lo[a]) / scale);
    }
    GrowArrayReserve(f.packed, f.built.count);
    if (fi == 0) {
      GrowArrayReserve(mesh->texU, f.built.count);
      GrowArrayReserve(mesh->texV, f.built.count);
    }
    PackedVertex previous = {0, 0, 0, 0, 0, 0, 0};
    for (int32_t i = 0; i < f.built.count; ++i) {
      const MeshVertex& r = f.built.data[i];
      int index = PaletteIndex(mesh->palette, r.colour);
      if (index < 0) continue;  // a run marker with no palette room left
      PackedVertex p = previous;
      p.colourIndex = uint8_t(index);
      if (!IsRunOpener(r.colour)) {
        p.normalIndex = uint8_t(NearestUnitNormal(r.nx, r.ny, r.nz));
        const float position[3] = {r.x, r.y, r.z};
        uint8_t* q[3] = {&p.x, &p.y, &p.z};
        for (int a = 0; a < 3; ++a) {
          double v = double(position[a]) / double(f.scale[a]) + double(f.offset[a]);
          *q[a] = v >= 255.0 ? 255 : v > 0.0 ? uint8_t(v) : 0;
        }
      }
      p.tangentIndex = p.bitangentIndex = 0;
      if (fi == 0) {
        GrowArrayAppend(mesh->texU, r.u);
        GrowArrayAppend(mesh->texV, r.v);
      }
      GrowArrayAppend(f.packed, p);
      previous = p;
    }
    f.built.count = 0;
  }
  mesh->normalsReady = 0;
}

namespace {

struct SumRecord {
  float normal[3];
  float tangent[3];
  float bitangent[3];
};

struct Corner {
  float p[3];
  float u, v;
  int32_t entry;
};

void Add(float* sum, const float* v) {
  for (int a = 0; a < 3; ++a) sum[a] += v[a];
}

}  // namespace

void DecodeFrames(MeshObject* mesh, bool computeNormals, bool mergeByPosition,
                  bool computeTangents) {
  if (!mesh || mesh->frames.count <= 0 || mesh->frames.data[0].packed.count <= 0) return;
  const PackedVertex& first = mesh->frames.data[0].packed.data[0];
  bool normals = computeNormals && mesh->normalsReady == 0;
  bool tangents = computeTangents && first.tangentIndex == 0 && first.bitangentIndex == 0;
  if (!normals && !tangents) return;
  mesh->normalsReady = 1;

  std::vector<SumRecord> sums;
  std::unordered_map<uint32_t, int32_t> entryOfKey;
  std::vector<int32_t> entryOfVertex;
  uint32_t runKind = ListMarker;
  float lastT[3] = {0, 0, 0}, lastB[3] = {0, 0, 0};
  for (int32_t fi = 0; fi < mesh->frames.count; ++fi) {
    MeshFrame& f = mesh->frames.data[fi];
    // Entry 0 belongs to the run openers.
    sums.assign(1, SumRecord{});
    entryOfKey.clear();
    entryOfVertex.assign(size_t(f.packed.count), 0);
    Corner c[3];
    int k = 0, parity = 0;
    for (int32_t i = 0; i < f.packed.count; ++i) {
      const PackedVertex& p = f.packed.data[i];
      uint32_t colour =
          p.colourIndex < mesh->palette.count ? mesh->palette.data[p.colourIndex] : 0x00FFFFFFu;
      if (IsRunOpener(colour)) {
        runKind = colour;
        k = 0;
        parity = 0;
        continue;
      }
      MeshVertex v;
      ExpandPackedVertex(*mesh, f, i, &v);
      uint32_t key = mergeByPosition ? uint32_t(p.x) | uint32_t(p.y) << 8 | uint32_t(p.z) << 16
                                     : uint32_t(i);
      auto found = entryOfKey.find(key);
      int32_t entry;
      if (found != entryOfKey.end()) {
        entry = found->second;
      } else {
        entry = int32_t(sums.size());
        sums.push_back(SumRecord{});
        entryOfKey.emplace(key, entry);
      }
      entryOfVertex[size_t(i)] = entry;
      c[k] = Corner{{v.x, v.y, v.z}, v.u, v.v, entry};
      if (++k < 3) continue;
      parity = 1 - parity;
      bool flip = runKind == StripMarker && parity == 0;
      if (normals) {
        float e1[3], e0[3], n[3];
        for (int a = 0; a < 3; ++a) {
          e1[a] = c[2].p[a] - c[1].p[a];
          e0[a] = c[1].p[a] - c[0].p[a];
        }
        // (P2 - P1) x (P1 - P0): outward for triangles running clockwise
        // seen from outside.
        n[0] = e1[1] * e0[2] - e1[2] * e0[1];
        n[1] = e1[2] * e0[0] - e1[0] * e0[2];
        n[2] = e1[0] * e0[1] - e1[1] * e0[0];
        if (flip)
          for (float& x : n) x = -x;
        for (int j = 0; j < 3; ++j) Add(sums[size_t(c[j].entry)].normal, n);
      }
      if (tangents) {
        float du1 = c[1].u - c[0].u, dv1 = c[1].v - c[0].v;
        float du2 = c[2].u - c[0].u, dv2 = c[2].v - c[0].v;
        float det = du1 * dv2 - dv1 * du2;
        if (std::fabs(det) > 1e-05f) {
          for (int a = 0; a < 3; ++a) {
            float dp1 = c[1].p[a] - c[0].p[a], dp2 = c[2].p[a] - c[0].p[a];
            lastT[a] = (dv2 * dp1 - dv1 * dp2) / det;
            lastB[a] = (du1 * dp2 - du2 * dp1) / det;
          }
        }
        for (int j = 0; j < 3; ++j) {
          Add(sums[size_t(c[j].entry)].tangent, lastT);
          Add(sums[size_t(c[j].entry)].bitangent, lastB);
        }
      }
      if (runKind == ListMarker) {
        k = 0;
        parity = 0;
      } else if (runKind == FanMarker) {
        // A fan keeps its first vertex: A B C, A C D, A D E.
        c[1] = c[2];
        k = 2;
      } else {
        c[0] = c[1];
        c[1] = c[2];
        k = 2;
      }
    }
    for (int32_t i = 0; i < f.packed.count; ++i) {
      const SumRecord& s = sums[size_t(entryOfVertex[size_t(i)])];
      PackedVertex& p = f.packed.data[i];
      if (normals) p.normalIndex = uint8_t(NearestUnitNormal(s.normal[0], s.normal[1], s.normal[2]));
      if (tangents) {
        p.bitangentIndex = uint8_t(NearestUnitNormal(s.bitangent[0], s.bitangent[1], s.bitangent[2]));
        p.tangentIndex = uint8_t(NearestUnitNormal(s.tangent[0], s.tangent[1], s.tangent[2]));
      }
    }
  }
  mesh->BuildTriangleArrays();
}

void ComputeBoundingSpheres(MeshObject* mesh) {
  if (!mesh) return;
  for (int32_t fi = 0; fi < mesh->frames.count; ++fi) {
    MeshFrame& f = mesh->frames.data[fi];
    const GrowArray<MeshVertex>& t = f.triangles;
    if (t.count <= 0) {
      // No triangle: nothing to average; the sphere is a point at the origin.
      f.centre[0] = f.centre[1] = f.centre[2] = 0;
      f.radius = 0;
      continue;
    }
    long double sum[3] = {0, 0, 0};
    for (int32_t i = 0; i < t.count; ++i) {
      sum[0] += t.data[i].x;
      sum[1] += t.data[i].y;
      sum[2] += t.data[i].z;
    }
    long double inverse = 1.0L / t.count;
    for (int a = 0; a < 3; ++a) f.centre[a] = float(sum[a] * inverse);
    float radius = 0;
    for (int32_t i = 0; i < t.count; ++i) {
      float dx = t.data[i].x - f.centre[0], dy = t.data[i].y - f.centre[1],
            dz = t.data[i].z - f.centre[2];
      float d2 = dx * dx + dy * dy + dz * dz;
      float d = d2 <= 1e-07f ? 0.0f : std::sqrt(d2);
      if (d > radius) radius = d;
    }
    f.radius = std::fabs(radius);
  }
}
