// Until the adventure's main loop lands, the main program presents frames
// at the frame rate until the program is ended (window close, Alt+F4, the
// quit keys).
#include "game/main_program.h"

#include "frame/frame_function.h"

double MainProgram() {
  for (;;) ShowScreen();
  return 0.0;
}
