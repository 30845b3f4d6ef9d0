// Operations on the object transform stack that the command layer
// forwards: push, pop, translation, scale, rotations and added matrices.
#pragma once

#include <cstdint>

class Lumenar3D;

// Composes the current record's matrix into the record when it is not up
// to date (parent × matrices × translation × rotations, last first × scale).
void ComposeObjectMatrix(Lumenar3D* engine);
// Record reset: no matrices or rotations, scale 1, translation 0, identity.
void ResetObjectTransform(Lumenar3D* engine, int32_t level);
// Composes the current record and opens a child starting from its matrix.
// The deepest level takes no child: a push there only composes.
void PushObjectTransform(Lumenar3D* engine);
// Back to the parent; at level 0 the record is reset.
void PopObjectTransform(Lumenar3D* engine);
void SetObjectTranslation(Lumenar3D* engine, float x, float y, float z);
void SetObjectScale(Lumenar3D* engine, float x, float y, float z);
// Appended while fewer than 16 are held, else dropped.
void AddObjectRotation(Lumenar3D* engine, float angle, float x, float y, float z);
void AddObjectMatrix(Lumenar3D* engine, const float m[16]);
