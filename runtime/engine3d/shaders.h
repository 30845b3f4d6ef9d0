// Shader slots of the 3D engine.
#pragma once

#include <cstdint>

class Lumenar3D;

// Makes a slot's program current; a slot of 255 or more (taken unsigned,
// so -1 too) selects program 0. Only while the shader entry points exist.
void UseShader(Lumenar3D* e, int32_t slot);
// Deletes the slot's program and shader objects.
void DeleteShaderSlot(Lumenar3D* e, uint32_t slot);
