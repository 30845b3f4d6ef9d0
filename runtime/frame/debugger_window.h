// What a debugger break does to the window and the input: installed into the
// core's debugger support once the main window and the input record exist.
#pragma once

// Installs the break steps: before the break message the main window is
// hidden (the next frame shows it again); after the debugger answered the
// pause is cleared and the keyboard state refreshed, so keys pressed while
// stopped are not new presses.
void InstallDebuggerWindowHooks();
