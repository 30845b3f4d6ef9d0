// The program entry: fixes the project settings, starts the runtime with
// the caption "Kestrovar" and hands over to the main program.
#include <cstdio>
#include <string>

#include "core/basic_string.h"
#include "core/project_settings.h"
#include "core/runtime_error.h"
#include "core/system_commands.h"
#include "frame/runtime_startup.h"
#include "game/main_program.h"

void StoreProjectSettings() {
  gProjectSettings.screenWidth = 640;
  gProjectSettings.screenHeight = 480;
  gProjectSettings.fullscreen = 0;
  gProjectSettings.multisampleSamples = 0;
  gProjectSettings.framesPerSecond = 60;
  gProjectSettings.debugMode = 1;
  gProjectSettings.hideSystemPointer = 1;
}

double EmptyStub() { return 0.0; }

int WinMain(void* instance, void* previousInstance, const char* commandLine, int showCommand) {
  StrSetCStr(gCommandLine, commandLine);
  StoreProjectSettings();
  char* buffer = StrGetBuffer(gCommandLine, 256);
  RequireKnownDevice();
  RuntimeStartup(instance, previousInstance, buffer, showCommand, "Kestrovar");
  if (!RuntimeStarted()) {
    // Without a window nothing of the game can run: end with the report.
    std::fprintf(stderr, "Kestrovar: the runtime could not start; see %s\n", ErrorLogPath());
    EndProgramWithStatus(1);
  }
  gErrorState.errorLine = 0.0;
  gErrorState.errorCode = 0.0;
  gErrorState.statementLine = 0.0;
  MainProgram();
  EndProgram();
  return 0;
}

int main(int argc, char** argv) {
  // The command line after the program name, arguments joined by blanks.
  std::string line;
  for (int i = 1; i < argc; ++i) {
    if (i > 1) line += ' ';
    line += argv[i];
  }
  return WinMain(nullptr, nullptr, line.c_str(), 10);
}
