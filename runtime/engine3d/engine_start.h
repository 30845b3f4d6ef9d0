// The program's one 3D engine: made at start-up, with the steps it runs at
// every frame end and before the 2D viewport changes.
#pragma once

#include "frame/renderer.h"

// Makes g3DEngine for the renderer and installs the engine's frame steps.
void Start3DEngine(OpenGLLumenar* renderer);
// Frame end (before the swap) and 2D viewport command: ends the shadow pass.
void EndShadowPassStep();
// Frame end (after the 2D viewport is reset): texture flag 0, no shader.
void ResetAfterFrameStep();
