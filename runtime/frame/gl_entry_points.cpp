#include "frame/gl_entry_points.h"

#include <cstring>

#include "platform/window.h"

PFNGLACTIVETEXTUREARBPROC pglActiveTextureARB = nullptr;
PFNGLMULTITEXCOORD2FARBPROC pglMultiTexCoord2fARB = nullptr;
PFNGLCLIENTACTIVETEXTUREARBPROC pglClientActiveTextureARB = nullptr;
PFNGLGENBUFFERSARBPROC pglGenBuffersARB = nullptr;
PFNGLBINDBUFFERARBPROC pglBindBufferARB = nullptr;
PFNGLBUFFERDATAARBPROC pglBufferDataARB = nullptr;
PFNGLDELETEBUFFERSARBPROC pglDeleteBuffersARB = nullptr;
PFNGLMAPBUFFERARBPROC pglMapBufferARB = nullptr;
PFNGLUNMAPBUFFERARBPROC pglUnmapBufferARB = nullptr;
PFNGLGETBUFFERPARAMETERIVARBPROC pglGetBufferParameterivARB = nullptr;
PFNGLCREATEPROGRAMOBJECTARBPROC pglCreateProgramObjectARB = nullptr;
PFNGLDELETEOBJECTARBPROC pglDeleteObjectARB = nullptr;
PFNGLCREATESHADEROBJECTARBPROC pglCreateShaderObjectARB = nullptr;
PFNGLSHADERSOURCEARBPROC pglShaderSourceARB = nullptr;
PFNGLCOMPILESHADERARBPROC pglCompileShaderARB = nullptr;
PFNGLGETOBJECTPARAMETERIVARBPROC pglGetObjectParameterivARB = nullptr;
PFNGLATTACHOBJECTARBPROC pglAttachObjectARB = nullptr;
PFNGLGETINFOLOGARBPROC pglGetInfoLogARB = nullptr;
PFNGLLINKPROGRAMARBPROC pglLinkProgramARB = nullptr;
PFNGLUSEPROGRAMOBJECTARBPROC pglUseProgramObjectARB = nullptr;
PFNGLGETUNIFORMLOCATIONARBPROC pglGetUniformLocationARB = nullptr;
PFNGLUNIFORM1FARBPROC pglUniform1fARB = nullptr;
PFNGLUNIFORM1IARBPROC pglUniform1iARB = nullptr;

bool ExtensionListHas(const char* list, const char* name) {
  if (!list || !name || !*name) return false;
  size_t n = std::strlen(name);
  for (const char* p = std::strstr(list, name); p; p = std::strstr(p + 1, name)) {
    bool startOk = p == list || p[-1] == ' ';
    bool endOk = p[n] == '\0' || p[n] == ' ';
    if (startOk && endOk) return true;
  }
  return false;
}

bool HasGlExtension(const char* name) {
  return ExtensionListHas(reinterpret_cast<const char*>(glGetString(GL_EXTENSIONS)), name);
}

template <typename T>
static void Load(T& slot, const char* name) {
  slot = reinterpret_cast<T>(platform::GlProcAddress(name));
}

void LoadGlEntryPoints() {
  // A lookup answers with an address for any name, so the extension string
  // decides which entry points exist.
  bool multitexture = HasGlExtension("GL_ARB_multitexture");
  bool buffers = multitexture && HasGlExtension("GL_ARB_vertex_buffer_object");
  Load(pglActiveTextureARB, multitexture ? "glActiveTextureARB" : nullptr);
  Load(pglMultiTexCoord2fARB, multitexture ? "glMultiTexCoord2fARB" : nullptr);
  Load(pglClientActiveTextureARB, multitexture ? "glClientActiveTextureARB" : nullptr);
  Load(pglGenBuffersARB, buffers ? "glGenBuffersARB" : nullptr);
  Load(pglBindBufferARB, buffers ? "glBindBufferARB" : nullptr);
  Load(pglBufferDataARB, buffers ? "glBufferDataARB" : nullptr);
  Load(pglDeleteBuffersARB, buffers ? "glDeleteBuffersARB" : nullptr);
  Load(pglMapBufferARB, buffers ? "glMapBufferARB" : nullptr);
  Load(pglUnmapBufferARB, buffers ? "glUnmapBufferARB" : nullptr);
  Load(pglGetBufferParameterivARB, buffers ? "glGetBufferParameterivARB" : nullptr);

  bool shaders = HasGlExtension("GL_ARB_fragment_program") &&
                 HasGlExtension("GL_ARB_shader_objects");
  Load(pglCreateProgramObjectARB, shaders ? "glCreateProgramObjectARB" : nullptr);
  Load(pglDeleteObjectARB, shaders ? "glDeleteObjectARB" : nullptr);
  Load(pglCreateShaderObjectARB, shaders ? "glCreateShaderObjectARB" : nullptr);
  Load(pglShaderSourceARB, shaders ? "glShaderSourceARB" : nullptr);
  Load(pglCompileShaderARB, shaders ? "glCompileShaderARB" : nullptr);
  Load(pglGetObjectParameterivARB, shaders ? "glGetObjectParameterivARB" : nullptr);
  Load(pglAttachObjectARB, shaders ? "glAttachObjectARB" : nullptr);
  Load(pglGetInfoLogARB, shaders ? "glGetInfoLogARB" : nullptr);
  Load(pglLinkProgramARB, shaders ? "glLinkProgramARB" : nullptr);
  Load(pglUseProgramObjectARB, shaders ? "glUseProgramObjectARB" : nullptr);
  Load(pglGetUniformLocationARB, shaders ? "glGetUniformLocationARB" : nullptr);
  Load(pglUniform1fARB, shaders ? "glUniform1fARB" : nullptr);
  Load(pglUniform1iARB, shaders ? "glUniform1iARB" : nullptr);
}
