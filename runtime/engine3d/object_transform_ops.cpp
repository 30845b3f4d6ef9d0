#include "engine3d/object_transform_ops.h"

#include <cstring>

#include "engine3d/lumenar3d.h"
#include "engine3d/object_matrix.h"

namespace {

constexpr int32_t kDeepestLevel = 15;

TransformRecord* Current(Lumenar3D* e) {
  if (!e || e->transformIndex < 0 || e->transformIndex > kDeepestLevel) return nullptr;
  return &e->transforms[e->transformIndex];
}

void LoadIdentity(float m[16]) {
  std::memset(m, 0, 16 * sizeof(float));
  m[0] = m[5] = m[10] = m[15] = 1;
}

// The matrix a record starts from: its parent's, or the identity at level 0.
void ParentMatrix(const Lumenar3D* e, float m[16]) {
  if (e->transformIndex > 0)
    std::memcpy(m, e->transforms[e->transformIndex - 1].matrix, 16 * sizeof(float));
  else
    LoadIdentity(m);
}

// Set translation and set scale start the record again from the parent.
TransformRecord* Restart(Lumenar3D* e) {
  TransformRecord* r = Current(e);
  if (!r) return nullptr;
  ParentMatrix(e, r->matrix);
  r->valid = 0;
  r->rotationCount = 0;
  r->matrixCount = 0;
  return r;
}

}  // namespace

void ComposeObjectMatrix(Lumenar3D* e) {
  TransformRecord* r = Current(e);
  if (!r || r->valid == 1) return;
  float m[16];
  CurrentObjectMatrix(e, m);
  std::memcpy(r->matrix, m, sizeof m);
  r->valid = 1;
}

void ResetObjectTransform(Lumenar3D* e, int32_t level) {
  if (!e || level < 0 || level > kDeepestLevel) return;
  TransformRecord& r = e->transforms[level];
  r.matrixCount = 0;
  r.rotationCount = 0;
  r.scale[0] = r.scale[1] = r.scale[2] = 1;
  r.translation[0] = r.translation[1] = r.translation[2] = 0;
  LoadIdentity(r.matrix);
  r.valid = 1;
}

void PushObjectTransform(Lumenar3D* e) {
  if (!Current(e)) return;
  ComposeObjectMatrix(e);
  if (e->transformIndex >= kDeepestLevel) return;
  e->transformIndex += 1;
  ResetObjectTransform(e, e->transformIndex);
  ParentMatrix(e, e->transforms[e->transformIndex].matrix);
}

void PopObjectTransform(Lumenar3D* e) {
  if (!Current(e)) return;
  if (e->transformIndex > 0)
    e->transformIndex -= 1;
  else
    ResetObjectTransform(e, 0);
}

void SetObjectTranslation(Lumenar3D* e, float x, float y, float z) {
  TransformRecord* r = Restart(e);
  if (!r) return;
  r->translation[0] = x;
  r->translation[1] = y;
  r->translation[2] = z;
}

void SetObjectScale(Lumenar3D* e, float x, float y, float z) {
  TransformRecord* r = Restart(e);
  if (!r) return;
  r->scale[0] = x;
  r->scale[1] = y;
  r->scale[2] = z;
}

void AddObjectRotation(Lumenar3D* e, float angle, float x, float y, float z) {
  TransformRecord* r = Current(e);
  if (!r) return;
  r->valid = 0;
  if (r->rotationCount > 15) return;
  r->rotations[r->rotationCount++] = TransformRotation{angle, x, y, z};
}

void AddObjectMatrix(Lumenar3D* e, const float m[16]) {
  TransformRecord* r = Current(e);
  if (!r) return;
  r->valid = 0;
  if (r->matrixCount > 15) return;
  std::memcpy(r->matrices[r->matrixCount++], m, 16 * sizeof(float));
}
