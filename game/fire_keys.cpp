#include "game/fire_keys.h"

#include "input_audio/input_commands.h"

double FireKeys() {
  return KeyState(17) + KeyState(29) + KeyState(30) + KeyState(31) + KeyState(32) +
         KeyState(44) + KeyState(45) + KeyState(57) + KeyState(58);
}
