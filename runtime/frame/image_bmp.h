// Windows bitmap pictures: reading 8-bit palette, 24-bit and 32-bit files
// into an RgbaImage, and writing 24-bit files.
#pragma once

#include <cstddef>
#include <cstdint>
#include <vector>

#include "frame/renderer.h"

// Colour key value meaning "no key".
constexpr uint32_t kNoColourKey = 0xFFFFFFFFu;

// Decodes a bitmap held in memory. A pixel whose r | g << 8 | b << 16 equals
// colourKey becomes (0, 0, 0, 0). 1 on success; on failure the image is left
// as it was.
uint8_t DecodeBmpImage(RgbaImage* image, const uint8_t* data, size_t size, uint32_t colourKey);

// Reads a bitmap file ('\' in the name is taken as '/'). 1 on success.
uint8_t LoadBmpImage(RgbaImage* image, const char* fileName, uint32_t colourKey);

// Writes a 24-bit bitmap. pixels are 3 bytes each (blue, green, red), rows
// bottom-up with row length bufferWidth as GL reads them back. A pixel equal
// to screenKey (packed R << 24 | G << 16 | B << 8; kNoColourKey for none) is
// written as the default sprite key colour (255, 0, 128). 1 when written.
uint8_t SaveBmpFile(const char* fileName, const uint8_t* pixels, int width, int height,
                    int bufferWidth, uint32_t screenKey);

// Shared by the readers: makes image hold width x height zeroed pixels,
// reusing its storage when large enough. 0 when the size is not positive or
// too large.
uint8_t SizeRgbaImage(RgbaImage* image, int width, int height);

// Reads a whole file ('\\' taken as '/') into memory; false when it cannot
// be opened or read, or is larger than maxBytes.
bool ReadWholeFile(const char* fileName, size_t maxBytes, std::vector<uint8_t>* out);
