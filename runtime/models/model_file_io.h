// Whole-file reads and writes for the model files. Names may use '\' or '/'
// and may differ from the real file in letter case.
#pragma once

#include <cstdint>
#include <vector>

constexpr int kModelPathSize = 1024;

// Reads the whole file into bytes; false when it does not open or the path
// does not fit kModelPathSize.
bool ReadModelFile(const char* path, std::vector<uint8_t>& bytes);

// True when the file opens; reads up to n of its first bytes into out and
// sets *got to how many were read.
bool ReadModelFileHead(const char* path, uint8_t* out, int n, int* got);

// Replaces the file with bytes. False when it cannot be created or not all
// bytes reach it; a file that was not written whole is removed.
bool WriteModelFile(const char* path, const std::vector<uint8_t>& bytes);
