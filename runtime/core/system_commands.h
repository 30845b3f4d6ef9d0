// Commands that reach the operating system: file dialogs, starting other
// programs, ending the game for another program and the command line.
#pragma once

#include "core/basic_string.h"

// The command line the program was started with (stored by the program entry).
extern BasicString gCommandLine;

// Open (save = 0) or save dialog; filter is "Description|pattern|..." with
// patterns separated by ';'. The chosen path with '/' separators, or
// "NO_FILE" when cancelled or when no dialog can be shown. The current folder
// is the same afterwards.
BasicString FileRequestDialog(double save, const BasicString& filter);

// The window area installs these so the dialog is visible: hide leaves full
// screen and hides the main window, restore brings the window mode back.
void SetFileDialogWindowHooks(void (*hide)(), void (*restore)());

// Starts the command line (program and arguments split as Windows programs
// expect). With wait not 0 it waits for the program and stores its exit
// status in exitCode. 1.0 when started, 0.0 when not (exitCode 0).
double RunProgram(const BasicString& commandLine, double wait, double show, double& exitCode);

// Releases the runtime, starts the command line and exits with status 0.
[[noreturn]] void EndAndRun(const BasicString& commandLine);

BasicString GetCommandLineText();
