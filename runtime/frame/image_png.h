// PNG pictures through libpng: reading into an RgbaImage (8 and 16-bit
// samples, palettes with transparency, grey, interlaced files) and writing
// 8-bit RGBA files.
#pragma once

#include <cstdint>

#include "frame/renderer.h"

// One reader at a time. Opening a new reader destroys what an earlier one
// left. Reports the picture after the 8-bit expansions; 1 on success.
uint8_t PngOpenReader(const char* fileName, int32_t* width, int32_t* height, uint32_t* rowBytes,
                      int32_t* channels);
// Reads every row of the open reader into buffer (rowBytes x height bytes);
// rowPointers holds height entries. 0 when the file is damaged or truncated.
uint8_t PngReadRows(uint8_t* buffer, uint8_t** rowPointers);
void PngCloseReader();
// What libpng reported about the last PNG read that failed; "" when the last
// open found no libpng error (a missing file, or a success).
const char* LastPngError();

// Reads a PNG file. With 3-channel pictures a pixel whose r | g << 8 | b << 16
// equals colourKey (not 0xFFFFFFFF) becomes (0, 0, 0, 0). 1 on success.
uint8_t LoadPngImage(RgbaImage* image, const char* fileName, uint32_t colourKey);

// Writes pixels (blue, green, red, alpha per pixel, rows top-down, row
// length width) as an 8-bit RGBA PNG. 1 when the whole file was written.
uint8_t SavePngFile(const char* fileName, const uint8_t* pixels, int width, int height);
