// Eight numbered file channels (0..7) for byte and line input and output.
// Numbers on disk are little-endian; lines are written with CR LF and read
// up to LF (a CR before it dropped), at most 1024 bytes per line.
//
// A channel number outside 0..7 ends the program with runtime error 7; a
// read or write on a closed channel, a failed or short transfer, or a read at
// the end of the file ends it with runtime error 3.
#pragma once

#include <cstdint>

#include "core/basic_string.h"

struct FileChannel {
  int handle;         // platform file, -1 when closed
  uint64_t size;      // size when opened for reading; 0 for writing
  uint64_t position;  // bytes consumed by reads since opening
};

constexpr int kFileChannelCount = 8;
extern FileChannel gFileChannels[kFileChannelCount];

// Mode 0 creates the file anew for reading and writing; any other mode opens
// an existing file for reading. 1.0 when opened, 0.0 (channel closed) if not.
double OpenFileChannel(double ch, const BasicString& name, double mode);
void CloseFileChannel(double ch);
// 1.0 once every byte was read (also for a closed or writing channel and
// for numbers outside 0..7).
double ChannelAtEnd(double ch);
void CloseAllFileChannels();

void ReadChannelByte(double ch, double& out);
void ReadChannelWord(double ch, double& out);
void ReadChannelLong(double ch, double& out);
void ReadChannelDouble(double ch, double& out);
// Reads count bytes; out holds the bytes before the first zero byte.
void ReadChannelBytes(double ch, BasicString& out, double count);
void ReadChannelLine(double ch, BasicString& out);
void ReadChannelNumberLine(double ch, double& out);

// Byte, word and long writes keep the low 8, 16 or 32 bits of the value
// truncated toward zero, so 0..2^32-1 and negative values both round-trip.
void WriteChannelByte(double ch, double value);
void WriteChannelWord(double ch, double value);
void WriteChannelLong(double ch, double value);
void WriteChannelDouble(double ch, double value);
void WriteChannelBytes(double ch, const BasicString& s);
void WriteLineToChannel(double ch, const BasicString& s);
void WriteNumberLineToChannel(double ch, double value);
