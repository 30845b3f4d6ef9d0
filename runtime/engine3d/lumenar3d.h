// The 3D engine object: one instance, made at start-up with the renderer.
#pragma once

#include <cstddef>
#include <cstdint>

#include "core/grow_array.h"
#include "engine3d/transform_record.h"
#include "frame/renderer.h"

struct ObjectSlot;  // object table entry, models/object_slot.h

struct ShaderSlot {
  uint32_t program;
  uint32_t vertexShader;
  uint32_t fragmentShader;
};

constexpr int kShaderSlotCount = 255;
constexpr int kObjectCount = 4096;  // object numbers 0..4095 (the block holds 4224 slots)
constexpr uint32_t kNoShader = 0xFFFFFFFFu;

class Lumenar3D {
 public:
  explicit Lumenar3D(OpenGLLumenar* renderer);
  virtual ~Lumenar3D();
  Lumenar3D(const Lumenar3D&) = delete;
  Lumenar3D& operator=(const Lumenar3D&) = delete;

  GrowArray<ObjectSlot> objects;
  float frustumPlanes[6][4];
  uint32_t currentShader;  // 255 and above: none
  ShaderSlot shaders[kShaderSlotCount];
  uint8_t shadowPass;
  int8_t cullMode;
  TransformRecord transforms[16];
  int32_t transformIndex;
  float cameraMatrix[16];
  float textureOffsetU;
  float textureOffsetV;
  uint8_t lightMask;
  uint8_t sphereMapping;
  OpenGLLumenar* renderer;  // not owned
  uint8_t lightEffectOn;
  uint8_t lightEffectMode;
  float effectLightPos[3];
  float effectLightColour[3];
  float cameraUp[3];
  float cameraPos[3];
  float cameraTarget[3];
  float viewConeTangent;
  float nearPlane;
  float farPlane;
  int32_t frameDecodeMode;
};

// The program's engine, made at start-up (engine3d/engine_start.h).
extern Lumenar3D* g3DEngine;

// Switches the stencil shadow pass; nothing happens when the state does not
// change. Switching it off darkens the stencilled pixels and restores the
// normal 2D state.
void SetShadowPass(Lumenar3D* e, bool on);
