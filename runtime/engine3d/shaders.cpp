#include "engine3d/shaders.h"

#include <string>
#include <vector>

#include "core/basic_string.h"
#include "core/project_settings.h"
#include "core/runtime_error.h"
#include "core/shoebox.h"
#include "core/string_builtins.h"
#include "engine3d/lumenar3d.h"
#include "frame/gl_entry_points.h"
#include "frame/sprite_draw.h"
#include "platform/files.h"

namespace {

uint8_t gReportNoShaders = 1;

// Reads a whole source file found through the first resource archive; false
// when it cannot be opened or read completely.
bool ReadSource(const char* name, std::string& text) {
  char path[kShoeboxPathSize];
  const char* open = name;
  if (ResolveShoeboxFile(gShoeboxes[0], name, path)) open = path;
  int file = platform::OpenFileForReading(open);
  if (file < 0) return false;
  int64_t size = platform::FileSize(file);
  bool ok = size >= 0;
  if (ok) {
    text.assign(size_t(size), '\0');
    ok = size == 0 || platform::ReadFile(file, text.data(), size) == size;
  }
  platform::CloseFile(file);
  return ok;
}

void PassInfoLog(GLhandleARB object, ShaderLogCallback callback) {
  GLint length = 0;
  pglGetObjectParameterivARB(object, GL_OBJECT_INFO_LOG_LENGTH_ARB, &length);
  std::vector<char> log(size_t(length > 0 ? length : 0) + 1, '\0');
  if (length > 0) pglGetInfoLogARB(object, length, nullptr, log.data());
  callback(log.data());
}

}  // namespace

void ResetShaderSupportReport() { gReportNoShaders = 1; }

bool LoadShader(Lumenar3D* e, uint32_t slot, const char* vertexFile, const char* fragmentFile,
                ShaderLogCallback callback) {
  if (!e || slot > 254) return false;
  FlushSprites();
  if (!pglCreateShaderObjectARB || !pglCompileShaderARB || !pglLinkProgramARB) {
    if (callback && gReportNoShaders) {
      gReportNoShaders = 0;
      callback("No OpenGL 2.0 Shader Support");
    }
    return false;
  }
  DeleteShaderSlot(e, slot);
  ShaderSlot& s = e->shaders[slot];
  const char* files[2] = {vertexFile, fragmentFile};
  const GLenum kinds[2] = {GL_VERTEX_SHADER_ARB, GL_FRAGMENT_SHADER_ARB};
  uint32_t* handles[2] = {&s.vertexShader, &s.fragmentShader};
  for (int i = 0; i < 2; ++i) {
    if (!files[i]) continue;
    std::string text;
    if (!ReadSource(files[i], text)) continue;
    GLhandleARB object = pglCreateShaderObjectARB(kinds[i]);
    *handles[i] = uint32_t(object);
    const GLcharARB* source = text.c_str();
    pglShaderSourceARB(object, 1, &source, nullptr);
    pglCompileShaderARB(object);
    GLint status = 0;
    if (pglGetObjectParameterivARB)
      pglGetObjectParameterivARB(object, GL_OBJECT_COMPILE_STATUS_ARB, &status);
    if (status == 0 && callback && pglGetObjectParameterivARB && pglGetInfoLogARB)
      PassInfoLog(object, callback);
  }
  if (!s.vertexShader && !s.fragmentShader) return false;
  if (!pglCreateProgramObjectARB || !pglAttachObjectARB) return false;
  s.program = uint32_t(pglCreateProgramObjectARB());
  if (s.vertexShader) pglAttachObjectARB(s.program, s.vertexShader);
  if (s.fragmentShader) pglAttachObjectARB(s.program, s.fragmentShader);
  pglLinkProgramARB(s.program);
  GLint linked = 0;
  if (pglGetObjectParameterivARB)
    pglGetObjectParameterivARB(s.program, GL_OBJECT_LINK_STATUS_ARB, &linked);
  if (linked == 0 && callback && pglGetObjectParameterivARB && pglGetInfoLogARB)
    PassInfoLog(s.program, callback);
  return linked != 0;
}

void UseShader(Lumenar3D* e, int32_t slot) {
  FlushSprites();
  if (!e || !pglUseProgramObjectARB) return;
  e->currentShader = uint32_t(slot);
  if (uint32_t(slot) < uint32_t(kShaderSlotCount))
    pglUseProgramObjectARB(e->shaders[slot].program);
  else
    pglUseProgramObjectARB(0);
}

void SetShaderFloat(Lumenar3D* e, const char* name, float value) {
  if (!e || !name || e->currentShader >= uint32_t(kShaderSlotCount)) return;
  if (!pglGetUniformLocationARB || !pglUniform1fARB) return;
  GLint location = pglGetUniformLocationARB(e->shaders[e->currentShader].program, name);
  if (location != -1) pglUniform1fARB(location, value);
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

bool GetShaderInfoLog(uint32_t object, bool compileStatus, ShaderLogCallback callback) {
  if (!pglGetObjectParameterivARB) return false;
  GLint status = 0;
  pglGetObjectParameterivARB(object,
                             compileStatus ? GL_OBJECT_COMPILE_STATUS_ARB : GL_OBJECT_LINK_STATUS_ARB,
                             &status);
  if (status != 0) return true;
  if (callback && pglGetInfoLogARB) PassInfoLog(object, callback);
  return false;
}

void AppendTempErrorLog(const char* text) {
  if (gProjectSettings.debugMode) {
    DebugPrint(BasicString((std::string(text ? text : "null") + "\n").c_str()));
    return;
  }
  AppendErrorLog(text);
}
