#include "frame/frame_steps.h"

// Constant-initialised: steps may be installed before main runs.
static void (*sFrameSteps[kFrameStepCount])() = {};
static void (*sRendererStart)(OpenGLLumenar*) = nullptr;

void SetFrameStep(FrameStep step, void (*run)()) { sFrameSteps[step] = run; }

void RunFrameStep(FrameStep step) {
  if (auto run = sFrameSteps[step]) run();
}

void SetRendererStartStep(void (*start)(OpenGLLumenar*)) { sRendererStart = start; }

void RunRendererStartStep(OpenGLLumenar* renderer) {
  if (sRendererStart) sRendererStart(renderer);
}
