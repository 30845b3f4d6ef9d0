// A program that opens its console, asks for a name and greets it.
#include <cstdio>

#include "core/debug_support.h"

int main() {
  OpenDebugConsole();
  std::printf("Your name?\n");
  char line[64] = {0};
  if (std::fgets(line, sizeof line, stdin))
    std::printf("Hello, %s", line);
  else
    std::printf("no answer\n");
  return 0;
}
