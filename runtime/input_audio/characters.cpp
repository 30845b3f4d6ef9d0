// Characters of newly pressed keys.
#include "input_audio/input_state.h"

namespace {

// Shared by ReadKeyChar and KeyCharPressed: a held key yields once.
char sLastChar = 0;

bool ShiftDown(const InputState* input) { return KeyIsDown(input, 42) || KeyIsDown(input, 54); }

char CharOfHeldKeys(InputState* input) {
  PollKeyboard(input);
  for (int scan = 0; scan < 255; ++scan) {
    if (!KeyIsDown(input, scan)) continue;
    char c = ScanToChar(scan);
    if (c == 0) continue;
    if (c >= 'a' && c <= 'z' && ShiftDown(input)) c = static_cast<char>(c - 'a' + 'A');
    return c;
  }
  return 0;
}

}  // namespace

char ScanToChar(int scanCode) {
  switch (scanCode) {
    case 29: case 42: case 54: case 56: case 58: case 69: case 221:
      return 0;  // control, shift, alt, caps lock, num lock, menu key
    case 28: case 156:
      return 10;
    case 14:
      return 8;
    default:
      break;
  }
  uint32_t c = platform::KeyLayoutCharacter(scanCode);
  if (c < 32 && c != 8 && c != 10) return 0;
  if (c > 255) return 0;
  return static_cast<char>(static_cast<uint8_t>(c));
}

char ReadKeyChar(InputState* input) {
  char c = CharOfHeldKeys(input);
  if (c == sLastChar) return 0;
  sLastChar = c;
  return c;
}

bool KeyCharPressed(InputState* input) {
  char c = CharOfHeldKeys(input);
  if (c == sLastChar) return false;
  sLastChar = c;
  return c != 0;
}
