#include "engine3d/shaders.h"

#include "engine3d/lumenar3d.h"
#include "frame/gl_entry_points.h"
#include "frame/sprite_draw.h"

void UseShader(Lumenar3D* e, int32_t slot) {
  FlushSprites();
  if (!e || !pglUseProgramObjectARB) return;
  e->currentShader = uint32_t(slot);
  if (uint32_t(slot) < uint32_t(kShaderSlotCount))
    pglUseProgramObjectARB(e->shaders[slot].program);
  else
    pglUseProgramObjectARB(0);
}

void DeleteShaderSlot(Lumenar3D* e, uint32_t slot) {
  FlushSprites();
  if (!e || slot >= uint32_t(kShaderSlotCount) || !pglDeleteObjectARB) return;
  ShaderSlot& s = e->shaders[slot];
  if (s.program) pglDeleteObjectARB(s.program);
  if (s.vertexShader) pglDeleteObjectARB(s.vertexShader);
  if (s.fragmentShader) pglDeleteObjectARB(s.fragmentShader);
  s.program = s.vertexShader = s.fragmentShader = 0;
}
