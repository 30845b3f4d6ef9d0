// Projection, camera, view frustum and the object transform stack.
#pragma once

#include <cstdint>

class Lumenar3D;
struct TransformRecord;

void Make3D(Lumenar3D* e, float nearPlane, float farPlane, float fov);
void ClearBuffers(Lumenar3D* e);
void SetCameraUp(Lumenar3D* e, float x, float y, float z);
void SetCamera(Lumenar3D* e, float x, float y, float z, float tx, float ty, float tz);
// Loads a look-at matrix into the current GL matrix.
void LoadCameraMatrix(float ex, float ey, float ez, float cx, float cy, float cz, float ux,
                      float uy, float uz);
void ExtractFrustumPlanes(Lumenar3D* e);
bool PointInFrustum(const Lumenar3D* e, float x, float y, float z, float radius);
// -1: cull with counter-clockwise front faces, 1: clockwise front faces,
// 0: no culling; other values are only stored.
void SetCullMode(Lumenar3D* e, int32_t mode);

void ResetTransformRecord(TransformRecord* r);
// A push on the last record is ignored and counted, so that the matching
// pop undoes nothing below it.
void PushTransform(Lumenar3D* e);
void PopTransform(Lumenar3D* e);
void AddRotation(Lumenar3D* e, float angle, float x, float y, float z);
void SetTranslation(Lumenar3D* e, float x, float y, float z);
void SetScale(Lumenar3D* e, float x, float y, float z);
void AddMatrix(Lumenar3D* e, const float m[16]);
void BuildRotationMatrix(Lumenar3D* e);
void MultObjectMatrix(Lumenar3D* e);
// The current record's matrix, composed first.
const float* CurrentModelMatrix(Lumenar3D* e);
// out = a x b, column-major.
void MultiplyMatrix(const float a[16], const float b[16], float out[16]);
