// Render targets: drawing into a sprite in place of the screen. Target n
// (0..31) is tied to a sprite slot whose texture receives the drawing. With
// EXT framebuffer objects the texture is attached to a framebuffer; without
// them the drawing is made on the back buffer over the target's area, which
// is saved in the scratch slot first and put back afterwards.
#pragma once

#include <GL/gl.h>
#include <GL/glext.h>

#include <cstdint>

#include "frame/renderer.h"

// GL_EXT_framebuffer_object; null while the driver does not offer it.
extern PFNGLBINDRENDERBUFFEREXTPROC pglBindRenderbufferEXT;
extern PFNGLDELETERENDERBUFFERSEXTPROC pglDeleteRenderbuffersEXT;
extern PFNGLGENRENDERBUFFERSEXTPROC pglGenRenderbuffersEXT;
extern PFNGLRENDERBUFFERSTORAGEEXTPROC pglRenderbufferStorageEXT;
extern PFNGLBINDFRAMEBUFFEREXTPROC pglBindFramebufferEXT;
extern PFNGLDELETEFRAMEBUFFERSEXTPROC pglDeleteFramebuffersEXT;
extern PFNGLGENFRAMEBUFFERSEXTPROC pglGenFramebuffersEXT;
extern PFNGLCHECKFRAMEBUFFERSTATUSEXTPROC pglCheckFramebufferStatusEXT;
extern PFNGLFRAMEBUFFERTEXTURE2DEXTPROC pglFramebufferTexture2DEXT;
extern PFNGLFRAMEBUFFERRENDERBUFFEREXTPROC pglFramebufferRenderbufferEXT;

// Loads the ten entry points for the current context when its extension
// string names GL_EXT_framebuffer_object and the extension is not hidden;
// null otherwise.
void LoadFramebufferEntryPoints();
// Hides the extension from LoadFramebufferEntryPoints, as on a driver
// without it (also when the environment variable ORVALE_NO_FRAMEBUFFER_OBJECT
// is set to anything but "0"). Takes effect at the next load.
void SetFramebufferExtensionHidden(bool hidden);
bool FramebufferObjectsAvailable();

// Target records; target outside 0..31 is ignored (0 where there is an
// answer).
uint32_t CreateRenderTarget(OpenGLLumenar* r, int target, int32_t w, int32_t h);
uint8_t AttachRenderTarget(OpenGLLumenar* r, int target, uint32_t texture);
uint8_t DetachRenderTarget(OpenGLLumenar* r, int target);
void ReleaseRenderTarget(OpenGLLumenar* r, int target);

// Target n drawing into a fresh, fully transparent w x h sprite in slot.
// Ignored for n outside 0..31, a slot outside the table or the scratch slot,
// and a size that is not positive or exceeds the largest texture. 1 when
// the target was set up (on either path).
uint8_t CreateTargetScreen(OpenGLLumenar* r, int n, int slot, int w, int h);
// Drawing goes to target n; ignored for n outside 0..31 or a target whose
// sprite holds no picture.
void UseTargetScreen(OpenGLLumenar* r, int n);
// Drawing goes back to the back buffer (finishing the current target).
void UseBackBuffer(OpenGLLumenar* r);
