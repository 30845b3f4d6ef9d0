// Fixed-function lights, the effect light, fog and wire debug drawing.
// Colours are 0x00BBGGRR.
#pragma once

#include <cstdint>

class Lumenar3D;

// n >= 0: GL light n & 7 (cutoff 0 switches it off; 180 directional, above
// 90 a point light, else a spot light). n < 0: the effect light (-1 bump,
// -3 stencil shadows, any other cel shading), on while cutoff != 0.
void SetLight(Lumenar3D* e, int32_t n, uint32_t colour, float x, float y, float z, float dx,
              float dy, float dz, float cutoff, bool debug);
// A directional light shining from the camera's side of the origin.
void SetLightWrapper(Lumenar3D* e, int32_t n, uint32_t colour);
// colour 0xFFFFFFFF switches fog off; mode 0 linear from a to b (both 0:
// the near and far planes), any other mode exponential with density a.
void SetFog(Lumenar3D* e, uint32_t colour, int32_t mode, float a, float b);
void DrawDot(Lumenar3D* e, const float p[3], uint32_t colour, float size);
void DrawLine3D(Lumenar3D* e, const float a[3], const float b[3], uint32_t colour, float width);
void DrawAxes(Lumenar3D* e, float x, float y, float z);
void DrawDebugSphere(Lumenar3D* e, const float centre[3], float radius, uint32_t colour,
                     int32_t width);
void DrawDebugBox(Lumenar3D* e, const float centre[3], const float a[3], const float b[3],
                  const float c[3], uint32_t colour, int32_t width);
void DrawSphereTriangle(const float centre[3], float radius, const float a[3], const float b[3],
                        const float c[3], int32_t depth);
