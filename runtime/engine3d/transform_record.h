// One level of the object transform stack.
#pragma once

#include <cstdint>

struct TransformRotation {
  float angle;  // degrees
  float axisX, axisY, axisZ;
};

struct TransformRecord {
  uint32_t matrixCount;    // entries used in matrices (0..16)
  uint32_t rotationCount;  // entries used in rotations (0..16)
  TransformRotation rotations[16];
  float scale[3];
  float translation[3];
  float matrices[16][16];
  float matrix[16];  // composed matrix of this level
  uint32_t valid;    // 1 = matrix includes everything above
};
