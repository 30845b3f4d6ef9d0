#include "engine3d/engine_start.h"

#include "engine3d/commands3d.h"
#include "engine3d/lumenar3d.h"
#include "engine3d/shaders.h"
#include "frame/frame_steps.h"

Lumenar3D* g3DEngine = nullptr;

void EndShadowPassStep() {
  if (g3DEngine) SetShadowPass(g3DEngine, false);
}

void ResetAfterFrameStep() {
  SetTextureFlagCmd(0.0);
  if (g3DEngine) UseShader(g3DEngine, -1);
}

void Start3DEngine(OpenGLLumenar* renderer) {
  g3DEngine = new Lumenar3D(renderer);
  SetFrameStep(kFrameStepBeforeShow, EndShadowPassStep);
  SetFrameStep(kFrameStepAfterShow, ResetAfterFrameStep);
  SetFrameStep(kFrameStepViewport2D, EndShadowPassStep);
}

namespace {

// Start-up makes the engine in every program that links it: any use of
// g3DEngine, and so any 3D command, brings this file in.
[[maybe_unused]] const bool sStartInstalled = (SetRendererStartStep(Start3DEngine), true);

}  // namespace
