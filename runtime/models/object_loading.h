// Filling an object slot from a model file: a ";DDW" scene or one .ddd
// object (binary or DDDA text).
#pragma once

#include <cstdint>

class Lumenar3D;

// Empties slot n (storage released) and loads path into it. 1 when the slot
// holds the object (a scene always gives 1); 0 when the file did not load
// or its first frame has no vertex: the slot then stays empty, not in use,
// with one empty part. n outside the table gives 0 and changes nothing.
uint8_t LoadObject(Lumenar3D* engine, const char* path, int32_t n);
