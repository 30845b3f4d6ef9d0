// Builders of small PNG and BMP files for the image tests.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace drawtest {

// Folder for files the tests write (created on first use).
std::string ScratchPath(const std::string& name);

bool WriteBytes(const std::string& path, const std::vector<uint8_t>& bytes);
std::vector<uint8_t> ReadBytes(const std::string& path);

struct PngSpec {
  int width = 0, height = 0;
  int colourType = 2;  // PNG_COLOR_TYPE_*
  int bitDepth = 8;
  bool interlaced = false;
  std::vector<uint8_t> samples = {};  // packed rows exactly as libpng takes them
  std::vector<uint8_t> palette = {};  // r, g, b triples
  std::vector<uint8_t> trns = {};  // palette alpha entries
  int trnsGrey = -1;               // grey level made transparent, -1 = none
};
// Writes a PNG with libpng; false on failure.
bool WritePng(const std::string& path, const PngSpec& spec);

// A bitmap with a 40-byte info header (infoHeaderSize: a longer version,
// its extra bytes zero). pixels: rows as stored in the file
// (bottom-up unless height is negative), without padding; bits 8, 24 or 32.
std::vector<uint8_t> MakeBmp(int width, int height, int bits, const std::vector<uint8_t>& rows,
                             const std::vector<uint8_t>& paletteBgra = {}, uint32_t coloursUsed = 0,
                             uint32_t infoHeaderSize = 40);

}  // namespace drawtest
