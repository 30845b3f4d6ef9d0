// Steps that subsystems drawing through the renderer install into the frame
// layer, as they install their shutdown steps: start-up runs the start
// step, every frame end and the 2D viewport command run the frame steps.
#pragma once

#include "frame/renderer.h"

enum FrameStep {
  kFrameStepBeforeShow,  // frame end, before the messages and the swap
  kFrameStepAfterShow,   // frame end, after the 2D viewport is reset
  kFrameStepViewport2D,  // the 2D viewport command, before it sets the viewport
  kFrameStepCount
};
// Installs (or, with null, removes) the step; each step has one function.
void SetFrameStep(FrameStep step, void (*run)());
// Runs the installed step, if any.
void RunFrameStep(FrameStep step);

// The start step, run by start-up with the renderer right after it made the
// network session. The 3D engine installs it in every program that links
// the engine, to make itself there.
void SetRendererStartStep(void (*start)(OpenGLLumenar* renderer));
void RunRendererStartStep(OpenGLLumenar* renderer);
