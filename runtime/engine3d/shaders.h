// Shader slots of the 3D engine.
#pragma once

#include <cstdint>

class Lumenar3D;

// Receives compile and link messages.
using ShaderLogCallback = void (*)(const char* text);

// Builds slot from a vertex and a fragment source file (either may be
// null); the names go through the resource archive like every other file.
// True when a program was linked. Without shader support the callback hears
// "No OpenGL 2.0 Shader Support" once per run.
bool LoadShader(Lumenar3D* e, uint32_t slot, const char* vertexFile, const char* fragmentFile,
                ShaderLogCallback callback);
// Makes a slot's program current; a slot of 255 or more (taken unsigned,
// so -1 too) selects program 0. Only while the shader entry points exist.
void UseShader(Lumenar3D* e, int32_t slot);
// Sets a float uniform of the current slot's program.
void SetShaderFloat(Lumenar3D* e, const char* name, float value);
// Deletes the slot's program and shader objects.
void DeleteShaderSlot(Lumenar3D* e, uint32_t slot);
// Compile (or link) status of one object; on failure its log goes to the
// callback.
bool GetShaderInfoLog(uint32_t object, bool compileStatus, ShaderLogCallback callback);
// The command layer's log callback: the debugger output in debug mode,
// else a line of the error log.
void AppendTempErrorLog(const char* text);
// Makes the missing-support message reportable again (tests).
void ResetShaderSupportReport();
