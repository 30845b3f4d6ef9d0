// Line files: a small text file treated as up to 256 numbered lines. One
// file is held in memory; naming another writes the held one back when it
// was changed. Reading goes through the first resource archive; writing
// always goes to a real file of the name the program gave.
//
// Errors record a runtime error code (3 unreadable file, 7 bad line number)
// and do not end the program; the get answers "NO_FILE" or "NO_DATA".
#pragma once

#include <cstdint>
#include <string>

#include "core/basic_string.h"

constexpr int kLineFileLines = 256;
constexpr int kLineFileLineSize = 1024;  // a line holds at most 1023 bytes

struct LineFileCache {
  char currentName[1024];
  char lines[kLineFileLines][kLineFileLineSize];
  // Bytes of each line, NUL bytes read from the file included.
  uint16_t lengths[kLineFileLines];
  uint32_t highest;
  uint8_t dirty;
  // cut[i]: line i was longer than a slot and goes on in line i + 1.
  uint8_t cut[kLineFileLines];
  // Bytes of the file after its 256th line, written back unchanged.
  std::string rest;
};

extern LineFileCache gLineFile;

// Holds newName afterwards (null: writes back and empties). 0, or 3 when the
// file could not be read (error 3 recorded; the name stays current).
double SwitchLineFile(LineFileCache& cache, const char* newName);
double LineFileGet(const char* name, uint32_t n, BasicString& out);
void LineFilePut(const char* name, uint32_t n, const char* text);

// Command layer.
void GetLineFileText(const BasicString& name, double n, BasicString& out);
void GetLineFileNumber(const BasicString& name, double n, double& out);
void PutLineFileNumber(const BasicString& name, double n, double value);
void PutLineFileText(const BasicString& name, double n, const BasicString& text);

// Exit step: writes a changed file back.
void FinaliseLineFile();
