#include "core/file_channels.h"

#include <cstring>
#include <string>

#include "core/number_truncate.h"
#include "core/runtime_error.h"
#include "platform/files.h"
#include "platform/system.h"

FileChannel gFileChannels[kFileChannelCount] = {
    {-1, 0, 0}, {-1, 0, 0}, {-1, 0, 0}, {-1, 0, 0},
    {-1, 0, 0}, {-1, 0, 0}, {-1, 0, 0}, {-1, 0, 0},
};

static constexpr int kMaxLine = 1024;

[[noreturn]] static void Fail(int code) {
  SetRuntimeError(code);
  EndProgram();
}

static FileChannel& Channel(double ch) {
  if (!(ch >= 0.0 && ch < double(kFileChannelCount))) Fail(kErrorBadArgument);
  return gFileChannels[int(ch)];
}

static void ReadExact(FileChannel& c, void* buffer, int64_t count) {
  c.position += uint64_t(count);
  if (c.handle < 0 || platform::ReadFile(c.handle, buffer, count) != count) Fail(kErrorFile);
}

static void WriteExact(FileChannel& c, const void* buffer, int64_t count) {
  if (c.handle < 0 || platform::WriteFile(c.handle, buffer, count) != count) Fail(kErrorFile);
}

static uint64_t ReadLittle(double ch, int bytes) {
  FileChannel& c = Channel(ch);
  uint8_t b[8];
  ReadExact(c, b, bytes);
  uint64_t v = 0;
  for (int i = bytes - 1; i >= 0; --i) v = (v << 8) | b[i];
  return v;
}

static void WriteLittle(double ch, uint64_t v, int bytes) {
  FileChannel& c = Channel(ch);
  uint8_t b[8];
  for (int i = 0; i < bytes; ++i) b[i] = uint8_t(v >> (8 * i));
  WriteExact(c, b, bytes);
}

void CloseAllFileChannels() {
  for (int i = kFileChannelCount - 1; i >= 0; --i) {
    platform::CloseFile(gFileChannels[i].handle);
    gFileChannels[i] = {-1, 0, 0};
  }
}

double OpenFileChannel(double ch, const BasicString& name, double mode) {
  FileChannel& c = Channel(ch);
  static bool finaliserSet = false;
  if (!finaliserSet) {
    SetExitStep(kExitFileChannels, CloseAllFileChannels);
    finaliserSet = true;
  }
  platform::CloseFile(c.handle);
  c = {-1, 0, 0};
  std::string path = platform::NativePath(StrCStr(name));
  if (mode == 0.0) {
    platform::DeleteFile(path.c_str());
    c.handle = platform::CreateFileForWriting(path.c_str());
  } else {
    c.handle = platform::OpenFileForReading(path.c_str());
    if (c.handle >= 0) {
      int64_t size = platform::FileSize(c.handle);
      c.size = size > 0 ? uint64_t(size) : 0;
    }
  }
  return c.handle >= 0 ? 1.0 : 0.0;
}

void CloseFileChannel(double ch) {
  FileChannel& c = Channel(ch);
  platform::CloseFile(c.handle);
  c = {-1, 0, 0};
}

double ChannelAtEnd(double ch) {
  if (!(ch >= 0.0 && ch < double(kFileChannelCount))) return 1.0;
  const FileChannel& c = gFileChannels[int(ch)];
  return c.size <= c.position ? 1.0 : 0.0;
}

void ReadChannelByte(double ch, double& out) { out = double(ReadLittle(ch, 1)); }
void ReadChannelWord(double ch, double& out) { out = double(ReadLittle(ch, 2)); }
void ReadChannelLong(double ch, double& out) { out = double(ReadLittle(ch, 4)); }

void ReadChannelDouble(double ch, double& out) {
  uint64_t bits = ReadLittle(ch, 8);
  std::memcpy(&out, &bits, 8);
}

void ReadChannelBytes(double ch, BasicString& out, double count) {
  int64_t n = TruncInt64(count);
  if (n <= 0) {
    StrAssignCStr(out, "");
    return;
  }
  FileChannel& c = Channel(ch);
  // More than the file still holds is a short read: fail before reserving.
  int64_t at = platform::FileOffset(c.handle);
  int64_t size = platform::FileSize(c.handle);
  if (c.handle < 0 || at < 0 || size < 0 || n > size - at || n >= int64_t(INT32_MAX))
    Fail(kErrorFile);
  StrReserve(out, uint32_t(n) + 1);
  std::memset(out.buffer, 0, size_t(n) + 1);
  ReadExact(c, out.buffer, n);
  StrSyncLength(out);
}

void ReadChannelLine(double ch, BasicString& out) {
  FileChannel& c = Channel(ch);
  StrReserve(out, kMaxLine);
  char* line = out.buffer;
  std::memset(line, 0, kMaxLine + 1);  // a full 1024-byte line stays terminated
  if (c.handle < 0) Fail(kErrorFile);
  int total = 0;
  while (total < kMaxLine) {
    int chunk = kMaxLine - total < 64 ? kMaxLine - total : 64;
    int64_t got = platform::ReadFile(c.handle, line + total, chunk);
    if (got < 0) Fail(kErrorFile);
    // Nothing left: an error at the start of a line, else the line's end.
    if (got == 0) {
      if (total == 0) Fail(kErrorFile);
      break;
    }
    c.position += uint64_t(got);
    char* lf = static_cast<char*>(std::memchr(line + total, '\n', size_t(got)));
    if (lf) {
      int64_t unread = got - ((lf - (line + total)) + 1);
      if (unread > 0) {
        platform::SeekFileRelative(c.handle, -unread);
        c.position -= uint64_t(unread);
      }
      std::memset(lf, 0, size_t(line + total + got - lf));
      if (lf > line && lf[-1] == '\r') lf[-1] = 0;
      break;
    }
    total += int(got);
    if (got < chunk) break;  // a short read ends the last line
  }
  StrSyncLength(out);
}

void ReadChannelNumberLine(double ch, double& out) {
  BasicString line;
  ReadChannelLine(ch, line);
  out = ParseNumber(StrCStr(line));
}

void WriteChannelByte(double ch, double value) { WriteLittle(ch, uint64_t(TruncInt64(value)), 1); }
void WriteChannelWord(double ch, double value) { WriteLittle(ch, uint64_t(TruncInt64(value)), 2); }
void WriteChannelLong(double ch, double value) { WriteLittle(ch, uint64_t(TruncInt64(value)), 4); }

void WriteChannelDouble(double ch, double value) {
  uint64_t bits;
  std::memcpy(&bits, &value, 8);
  WriteLittle(ch, bits, 8);
}

void WriteChannelBytes(double ch, const BasicString& s) {
  FileChannel& c = Channel(ch);
  if (c.handle < 0) Fail(kErrorFile);
  if (s.length == 0) return;
  WriteExact(c, StrCStr(s), s.length);
}

void WriteLineToChannel(double ch, const BasicString& s) {
  FileChannel& c = Channel(ch);
  std::string data(StrCStr(s), s.length);
  data += "\r\n";
  WriteExact(c, data.data(), int64_t(data.size()));
}

void WriteNumberLineToChannel(double ch, double value) {
  BasicString text;
  StrAssignDouble(text, value);
  WriteLineToChannel(ch, text);
}
