#include "core/system_commands.h"

#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

#include "core/file_channels.h"
#include "core/runtime_error.h"
#include "platform/process.h"
#include "platform/system.h"

BasicString gCommandLine;

static void (*sHideWindow)() = nullptr;
static void (*sRestoreWindow)() = nullptr;

void SetFileDialogWindowHooks(void (*hide)(), void (*restore)()) {
  sHideWindow = hide;
  sRestoreWindow = restore;
}

// zenity filters from "Description|pat1;pat2|...".
static std::vector<std::string> DialogFilters(const char* filter) {
  std::vector<std::string> parts;
  std::string cur;
  for (const char* p = filter; *p; ++p) {
    if (*p == '|') {
      parts.push_back(cur);
      cur.clear();
    } else {
      cur += *p;
    }
  }
  if (!cur.empty()) parts.push_back(cur);
  std::vector<std::string> out;
  for (size_t i = 0; i + 1 < parts.size(); i += 2) {
    std::string patterns;
    for (char c : parts[i + 1]) patterns += (c == ';') ? ' ' : c;
    std::string desc = parts[i];
    for (char& c : desc)
      if (c == '|') c = ' ';
    out.push_back("--file-filter=" + desc + " | " + patterns);
  }
  return out;
}

BasicString FileRequestDialog(double save, const BasicString& filter) {
  if (!platform::ProgramOnPath("zenity")) return BasicString("NO_FILE");
  std::string folder = platform::CurrentFolder();
  std::vector<std::string> args = {"zenity", "--file-selection"};
  if (save != 0.0) {
    args.push_back("--save");
    args.push_back("--confirm-overwrite");
  }
  if (!folder.empty()) args.push_back("--filename=" + folder + "/");
  for (std::string& f : DialogFilters(StrCStr(filter))) args.push_back(f);
  if (sHideWindow) sHideWindow();
  std::string chosen;
  uint32_t status = 0;
  bool ran = platform::RunAndCapture(args, chosen, status);
  if (!folder.empty()) platform::SetCurrentFolder(folder);
  if (sRestoreWindow) sRestoreWindow();
  while (!chosen.empty() && (chosen.back() == '\n' || chosen.back() == '\r')) chosen.pop_back();
  if (!ran || status != 0 || chosen.empty()) return BasicString("NO_FILE");
  for (char& c : chosen)
    if (c == '\\') c = '/';
  return BasicString(chosen.c_str());
}

static int64_t Start(const BasicString& commandLine) {
  std::vector<std::string> args = platform::SplitCommandLine(StrCStr(commandLine));
  if (args.empty()) return -1;
  args[0] = platform::NativePath(args[0].c_str());
  return platform::LaunchProgram(args);
}

double RunProgram(const BasicString& commandLine, double wait, double show, double& exitCode) {
  (void)show;  // programs choose their own windows here
  exitCode = 0.0;
  int64_t process = Start(commandLine);
  if (process < 0) return 0.0;
  if (wait == 0.0) {
    platform::ReleaseProgram(process);
    return 1.0;
  }
  // The exit status comes from the system once the process has ended; no
  // status value stands for "still running".
  exitCode = double(platform::WaitForProgram(process));
  return 1.0;
}

void EndAndRun(const BasicString& commandLine) {
  ShutdownRuntime();
  Start(commandLine);
  RunExitSteps();
  CloseAllFileChannels();
  std::fflush(stdout);
  std::exit(0);
}

BasicString GetCommandLineText() { return BasicString(gCommandLine); }
