#include "core/line_files.h"

#include <cstdio>
#include <cstdlib>
#include <cstring>

#include "core/number_truncate.h"
#include "core/runtime_error.h"
#include "core/shoebox.h"
#include "core/text_lines.h"
#include "platform/system.h"

LineFileCache gLineFile = {};

namespace {

void WriteBack(LineFileCache& c) {
  if (!c.currentName[0] || !c.dirty) return;
  // Written in place rather than deleted first, so a file that cannot be
  // created keeps its old content.
  std::FILE* f = std::fopen(platform::NativePath(c.currentName).c_str(), "wb");
  if (!f) return;
  for (uint32_t i = 0; i <= c.highest && i < uint32_t(kLineFileLines); ++i) {
    std::fwrite(c.lines[i], 1, c.lengths[i], f);
    // A cut line goes on in the next slot or, for the last slot, in the
    // rest of the file: no line end between the parts.
    const bool continues = c.cut[i] && (i < c.highest || !c.rest.empty());
    if (!continues) std::fputs("\r\n", f);
  }
  if (!c.rest.empty()) std::fwrite(c.rest.data(), 1, c.rest.size(), f);
  std::fclose(f);
}

void Clear(LineFileCache& c) {
  std::memset(c.lines, 0, sizeof c.lines);
  std::memset(c.lengths, 0, sizeof c.lengths);
  std::memset(c.cut, 0, sizeof c.cut);
  c.dirty = 0;
  c.currentName[0] = 0;
  c.highest = 0;
  c.rest.clear();
}

uint32_t LineIndex(double n) { return uint32_t(TruncInt32(n)); }

// Control characters and line ends at the end go; blanks and the bytes of
// UTF-8 letters stay.
void StripControlTail(BasicString& s) {
  int32_t n = int32_t(StrLength(s));
  while (n > 0 && uint8_t(s.buffer[n - 1]) < 32) --n;
  StrTruncateAt(s, n);
}

void Store(LineFileCache& c, uint32_t n, const char* text) {
  size_t len = std::strlen(text ? text : "");
  if (len > size_t(kLineFileLineSize - 1)) len = kLineFileLineSize - 1;  // keeps the slot's NUL
  std::memcpy(c.lines[n], text ? text : "", len);
  c.lines[n][len] = 0;
  c.lengths[n] = uint16_t(len);
  c.cut[n] = 0;
  if (int32_t(c.highest) < int32_t(n)) c.highest = n;
  c.dirty = 1;
}

}  // namespace

void FinaliseLineFile() { SwitchLineFile(gLineFile, nullptr); }

double SwitchLineFile(LineFileCache& c, const char* newName) {
  if (newName && std::strcmp(newName, c.currentName) == 0) return 0;
  WriteBack(c);
  Clear(c);
  if (!newName) return 0;

  size_t len = std::strlen(newName);
  if (len >= sizeof c.currentName) len = sizeof c.currentName - 1;
  std::memcpy(c.currentName, newName, len);
  c.currentName[len] = 0;
  SetExitStep(kExitLineFile, FinaliseLineFile);

  char path[kShoeboxPathSize];
  if (!ResolveShoeboxFile(gShoeboxes[0], newName, path)) {
    SetRuntimeError(kErrorFile);
    return kErrorFile;
  }
  std::FILE* f = std::fopen(platform::NativePath(path).c_str(), "rb");
  if (!f) {
    SetRuntimeError(kErrorFile);
    return kErrorFile;
  }
  for (int i = 0; i < kLineFileLines; ++i) {
    size_t n = 0;
    if (!ReadTextLine(f, c.lines[i], kLineFileLineSize - 1, &n)) break;
    c.highest = uint32_t(i);
    c.lengths[i] = uint16_t(n);
    if (n == size_t(kLineFileLineSize - 1)) {
      // Full slot: the line goes on in the next one unless its end follows.
      int next = std::getc(f);
      if (next == '\n') {
        if (c.lines[i][n - 1] == '\r') {
          c.lines[i][n - 1] = 0;
          c.lengths[i] = uint16_t(n - 1);
        }
      } else if (next == '\r') {
        int after = std::getc(f);
        if (after != '\n') {
          if (after != EOF) std::ungetc(after, f);
          std::ungetc('\r', f);
          c.cut[i] = 1;
        }
      } else if (next != EOF) {
        std::ungetc(next, f);
        c.cut[i] = 1;
      }
    }
  }
  char chunk[4096];
  size_t got;
  while ((got = std::fread(chunk, 1, sizeof chunk, f)) > 0) c.rest.append(chunk, got);
  std::fclose(f);
  return 0;
}

double LineFileGet(const char* name, uint32_t n, BasicString& out) {
  if (n > uint32_t(kLineFileLines - 1)) {
    out = "NO_DATA";
    SetRuntimeError(kErrorBadArgument);
    return kErrorBadArgument;
  }
  double r = SwitchLineFile(gLineFile, name);
  if (r != 0) {
    out = "NO_FILE";
    return r;
  }
  out = gLineFile.lines[n];
  StripControlTail(out);
  return 0;
}

void LineFilePut(const char* name, uint32_t n, const char* text) {
  if (n > uint32_t(kLineFileLines - 1)) {
    SetRuntimeError(kErrorBadArgument);
    return;
  }
  SwitchLineFile(gLineFile, name);
  Store(gLineFile, n, text);
}

void GetLineFileText(const BasicString& name, double n, BasicString& out) {
  LineFileGet(name.c_str(), LineIndex(n), out);
}

void GetLineFileNumber(const BasicString& name, double n, double& out) {
  BasicString text;
  LineFileGet(name.c_str(), LineIndex(n), text);
  out = ParseNumber(text.c_str());  // the same locale-free reading as every conversion
}

void PutLineFileNumber(const BasicString& name, double n, double value) {
  char text[64];
  FormatNumber(value, text);
  LineFilePut(name.c_str(), LineIndex(n), text);
}

void PutLineFileText(const BasicString& name, double n, const BasicString& text) {
  LineFilePut(name.c_str(), LineIndex(n), text.c_str());
}
