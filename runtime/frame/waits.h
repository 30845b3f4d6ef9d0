// Waits for input that keep the window, messages and music serviced while
// they wait.
#pragma once

// Polls every input device for up to 15 passes about 5 ms apart and returns
// as soon as a key is down, the pointer moved or changed buttons, or a
// joystick shows a button, a tilted axis or a pushed hat. Escape ends the
// program while the quit key is enabled.
void WaitAnyInput();
// Waits for a key that types a character, then for its release.
void WaitKeyCmd();
// Waits for held pointer buttons to be released, then for a new press.
void WaitButtonCmd();

// Called once at the start of every polling pass of the waits and of every
// frame of the line input: lets tests and input replay feed events exactly
// when a wait looks. Null (the default) for none.
using InputWaitHook = void (*)();
void SetInputWaitHook(InputWaitHook hook);
void RunInputWaitHook();
