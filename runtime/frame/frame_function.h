// The frame function: presents a frame, pumps window messages, paces to
// the frame rate and prepares the next frame.
#pragma once

#include <cstdint>

#include "frame/renderer.h"

extern double gFrameNow;
extern double gFramePrev;
extern double gStartTime;
extern uint8_t gEscapeEnds;

// Frame clock time in milliseconds.
double FrameClockNow(const OpenGLLumenar* r);
// Sets the renderer's performance-counter fields.
void ProbeFrameTimer(OpenGLLumenar* r);

// Shows the frame drawn into the back buffer; may end the program.
void ShowScreen();
// Dispatches every queued window message to the window procedure; 1.
int PumpMessages(OpenGLLumenar* r);
// Swaps, clears and waits for the next frame time; the milliseconds spent
// waiting plus 1.
double FrameEnd(OpenGLLumenar* r);
// fps > 0: 1000 / fps ms per frame; else 2 ms.
void SetFramePeriod(OpenGLLumenar* r, int32_t framesPerSecond);
void SetAutoPause(double value);
void SetEscapeEnds(double value);

// Asks the next frame to show, raise and activate the window again (after
// a debugger stop hid it). Only used in debug mode.
void RequestWindowRestore();
bool WindowRestorePending();
