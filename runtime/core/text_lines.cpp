#include "core/text_lines.h"

bool ReadTextLine(std::FILE* f, char* buf, size_t max, size_t* length) {
  size_t n = 0;
  bool any = false;
  while (n < max) {
    int c = std::getc(f);
    if (c == EOF) break;
    any = true;
    if (c == '\n') {
      if (n > 0 && buf[n - 1] == '\r') --n;
      break;
    }
    buf[n++] = char(c);
  }
  buf[n] = 0;
  if (length) *length = n;
  return any;
}
