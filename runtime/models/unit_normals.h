// The table of unit vectors that normals, tangents and bitangents are
// stored as indexes into. Built from unit_normals.txt at configure time.
#pragma once

constexpr int kUnitNormalCount = 162;

extern const float UnitNormalTable[kUnitNormalCount][3];

// Index of the table entry nearest to direction (x, y, z). A direction of
// squared length 1e-7 or less is taken as it is; the zero vector gives 0.
// Where two entries tie, the later one is taken.
int NearestUnitNormal(float x, float y, float z);
