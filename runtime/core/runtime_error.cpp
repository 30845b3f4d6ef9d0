#include "core/runtime_error.h"

#include <cstdio>
#include <cstdlib>
#include <string>

#include "core/project_settings.h"
#include "platform/system.h"

RuntimeErrorState gErrorState = {0, 0, 0, 0};

static void (*sShutdownSteps[kShutdownStepCount])() = {};
static void (*sExitSteps[kExitStepCount])() = {};
static void (*sExitHandler)(int) = nullptr;

void SetShutdownStep(ShutdownStep step, void (*release)()) { sShutdownSteps[step] = release; }
void SetExitStep(ExitStep step, void (*finalise)()) { sExitSteps[step] = finalise; }
void SetProgramExitHandler(void (*handler)(int)) { sExitHandler = handler; }

void SetRuntimeError(double code) {
  gErrorState.errorCode = code;
  gErrorState.errorLine = gErrorState.statementLine;
}

const char* ErrorLogPath() {
  static std::string path;
  path = platform::TempFolder() + "ErrorLog.txt";
  return path.c_str();
}

void DeleteErrorLog() { std::remove(ErrorLogPath()); }

void AppendErrorLog(const char* text) {
  if (!text) text = "null";
  std::string path = ErrorLogPath();
  // Without a folder to write in, retrying is pointless: say so once.
  static bool toldUnwritable = false;
  if (!platform::IsWritableFolder(platform::TempFolder())) {
    if (!toldUnwritable) {
      toldUnwritable = true;
      std::fprintf(stderr, "Orvale: no temporary folder can be written (%s); the error log is off\n",
                   platform::TempFolder().c_str());
    }
    return;
  }
  for (int attempt = 0; attempt < 5; ++attempt) {
    if (FILE* f = std::fopen(path.c_str(), "ab")) {
      std::fputs(text, f);
      std::fputs("\r\n", f);
      std::fclose(f);
      return;
    }
    platform::SleepMs(100);
  }
}

void ShutdownRuntime() {
  for (int i = 0; i < kShutdownStepCount; ++i) {
    if (auto step = sShutdownSteps[i]) {
      sShutdownSteps[i] = nullptr;
      step();
    }
  }
}

static int Truncate(double v) {
  if (!(v == v) || v >= 2147483648.0 || v <= -2147483649.0) return int(0x80000000u);
  return int(v);
}

void RunExitSteps() {
  for (int i = 0; i < kExitStepCount; ++i) {
    if (auto step = sExitSteps[i]) {
      sExitSteps[i] = nullptr;
      step();
    }
  }
}

void EndProgram() { EndProgramWithStatus(0); }

void EndProgramWithStatus(int status) {
  ShutdownRuntime();
  AppendEndReport();
  RunExitSteps();
  std::fflush(stdout);
  if (sExitHandler) sExitHandler(status);
  std::exit(status);
}

void AppendEndReport() {
  if (gProjectSettings.debugMode) {
    char line[32];
    AppendErrorLog("-End On Line");
    std::snprintf(line, sizeof line, "%d", Truncate(gErrorState.errorCode));
    AppendErrorLog(line);
    std::snprintf(line, sizeof line, "%d", Truncate(gErrorState.errorLine) - 1);
    AppendErrorLog(line);
    std::snprintf(line, sizeof line, "%d", Truncate(gErrorState.statementLine));
    AppendErrorLog(line);
    std::snprintf(line, sizeof line, "%d", Truncate(gErrorState.statementFile));
    AppendErrorLog(line);
  }
}
