// Reading text lines from a file the way the runtime's line and INI files
// do: LF ends a line, a CR just before it is dropped, a line holds at most
// max bytes (a longer one is cut there and its rest is the next line).
#pragma once

#include <cstddef>
#include <cstdio>

// Reads one line into buf (max + 1 bytes, NUL-terminated). Returns false at
// the end of the file (no byte read). *length receives the bytes kept.
bool ReadTextLine(std::FILE* f, char* buf, size_t max, size_t* length);
