// GL extension entry points, looked up when the window's context is made
// and only when the extension string names their extension; null otherwise.
#pragma once

#include <GL/gl.h>
#include <GL/glext.h>

// GL_ARB_multitexture (the buffer-object entry points come with it).
extern PFNGLACTIVETEXTUREARBPROC pglActiveTextureARB;
extern PFNGLMULTITEXCOORD2FARBPROC pglMultiTexCoord2fARB;
extern PFNGLCLIENTACTIVETEXTUREARBPROC pglClientActiveTextureARB;
extern PFNGLGENBUFFERSARBPROC pglGenBuffersARB;
extern PFNGLBINDBUFFERARBPROC pglBindBufferARB;
extern PFNGLBUFFERDATAARBPROC pglBufferDataARB;
extern PFNGLDELETEBUFFERSARBPROC pglDeleteBuffersARB;
extern PFNGLMAPBUFFERARBPROC pglMapBufferARB;
extern PFNGLUNMAPBUFFERARBPROC pglUnmapBufferARB;
extern PFNGLGETBUFFERPARAMETERIVARBPROC pglGetBufferParameterivARB;

// GL_ARB_fragment_program with the ARB shader objects.
extern PFNGLCREATEPROGRAMOBJECTARBPROC pglCreateProgramObjectARB;
extern PFNGLDELETEOBJECTARBPROC pglDeleteObjectARB;
extern PFNGLCREATESHADEROBJECTARBPROC pglCreateShaderObjectARB;
extern PFNGLSHADERSOURCEARBPROC pglShaderSourceARB;
extern PFNGLCOMPILESHADERARBPROC pglCompileShaderARB;
extern PFNGLGETOBJECTPARAMETERIVARBPROC pglGetObjectParameterivARB;
extern PFNGLATTACHOBJECTARBPROC pglAttachObjectARB;
extern PFNGLGETINFOLOGARBPROC pglGetInfoLogARB;
extern PFNGLLINKPROGRAMARBPROC pglLinkProgramARB;
extern PFNGLUSEPROGRAMOBJECTARBPROC pglUseProgramObjectARB;
extern PFNGLGETUNIFORMLOCATIONARBPROC pglGetUniformLocationARB;
extern PFNGLUNIFORM1FARBPROC pglUniform1fARB;
extern PFNGLUNIFORM1IARBPROC pglUniform1iARB;

// True when name stands in the list as a whole blank-separated word.
bool ExtensionListHas(const char* list, const char* name);
// The current context's extension string names the extension.
bool HasGlExtension(const char* name);
// Looks the entry points up for the current context (null where the
// extension is missing).
void LoadGlEntryPoints();
