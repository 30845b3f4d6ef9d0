// Command layer of the 3D engine.
#pragma once

#include <cstdint>

// {first sprite slot, second sprite slot, texture flag} of the 3D texture
// commands; -1, -1, 0 at program start.
extern int32_t gTextureSelection[3];

// Texture flag of gTextureSelection := value truncated toward zero.
void SetTextureFlagCmd(double value);
