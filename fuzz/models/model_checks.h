// What every mesh a reader accepts must satisfy, checked by the fuzzers
// (abort on a breach), and the derived data built from it.
#pragma once

#include <cstdlib>

#include "core/runtime_error.h"
#include "models/mesh_object.h"
#include "models/mesh_packing.h"
#include "models/unit_normals.h"

inline void CheckAndDerive(MeshObjectX& mesh, bool loaded) {
  if (!loaded) {
    if (mesh.frames.count != 0 || mesh.palette.count != 0 || mesh.texU.count != 0) std::abort();
    return;
  }
  if (mesh.texU.count != mesh.texV.count) std::abort();
  for (int32_t f = 0; f < mesh.frames.count; ++f) {
    const MeshFrame& frame = mesh.frames.data[f];
    for (int32_t i = 0; i < frame.packed.count; ++i) {
      const PackedVertex& p = frame.packed.data[i];
      if (p.colourIndex >= mesh.palette.count || p.normalIndex >= kUnitNormalCount) std::abort();
    }
  }
  mesh.BuildTriangleArrays();
  ComputeBoundingSpheres(&mesh);
  DecodeFrames(&mesh, true, true, true);
  for (int32_t f = 0; f < mesh.frames.count; ++f)
    if (mesh.frames.data[f].triangles.count % 3 != 0) std::abort();
}

// The readers log every refused file; keep the log from growing without end.
inline void TrimErrorLog() {
  static unsigned runs = 0;
  if (++runs % 4096 == 0) DeleteErrorLog();
}
