#include "engine3d/stencil_shadows.h"
#include "frame/sprite_draw.h"

#include <GL/gl.h>

namespace {

void Extruded(const MeshVertex& v, const float l[3]) { glVertex4f(v.x - l[0], v.y - l[1], v.z - l[2], 0); }

void Plain(const MeshVertex& v) { glVertex3f(v.x, v.y, v.z); }

}  // namespace

void DrawShadowVolume(MeshObjectX* part, const MeshVertex* vertices, const float lightPos[3],
                      bool caps) {
  FlushSprites();
  if (!part || !vertices || part->frames.count == 0) return;
  int32_t triangles = part->frames.data[0].triangles.count / 3;
  // The tables cover the triangles they were built for.
  if (part->shadowEdges.count / 3 < triangles) triangles = part->shadowEdges.count / 3;
  if (part->shadowFacing.count < triangles) triangles = part->shadowFacing.count;
  // The volume faces outward where it runs clockwise, whatever winding the
  // mesh or the program's cull mode takes as front: facing triangles are
  // found with the clockwise face normal, the others are extruded behind
  // them, and the side quads run against the facing triangles' edges.
  // The program's cull mode is put back afterwards.
  const GLboolean cullOn = glIsEnabled(GL_CULL_FACE);
  GLint frontFace = GL_CCW, cullFace = GL_BACK;
  glGetIntegerv(GL_FRONT_FACE, &frontFace);
  glGetIntegerv(GL_CULL_FACE_MODE, &cullFace);
  glFrontFace(GL_CW);
  glDisable(GL_CULL_FACE);
  glDisable(GL_TEXTURE_2D);
  glDisable(GL_LIGHTING);
  glStencilFunc(GL_ALWAYS, 0, 0xFFFFFFFFu);
  const uint8_t* facing = part->shadowFacing.data;
  const EdgeNeighbour* edges = part->shadowEdges.data;
  for (int pass = 0; pass < 2; ++pass) {
    if (pass == 0) {
      glEnable(GL_CULL_FACE);
      glStencilFunc(GL_ALWAYS, 0, 0xFFFFFFFFu);
      glStencilOp(GL_KEEP, GL_KEEP, GL_INCR);
      glCullFace(GL_BACK);
    } else {
      glStencilOp(GL_KEEP, GL_KEEP, GL_DECR);
      glCullFace(GL_FRONT);
    }
    if (triangles > 0) {
      glBegin(GL_QUADS);
      for (int32_t t = 0; t < triangles; ++t) {
        if (!facing[t]) continue;
        const MeshVertex* v = vertices + 3 * t;
        for (int k = 0; k < 3; ++k) {
          if (!edges[3 * t + k].silhouette) continue;
          const MeshVertex& a = v[k];
          const MeshVertex& b = v[(k + 1) % 3];
          Plain(b);
          Plain(a);
          Extruded(a, lightPos);
          Extruded(b, lightPos);
        }
      }
      glEnd();
    }
    if (caps) {
      glBegin(GL_TRIANGLES);
      for (int32_t t = 0; t < triangles; ++t) {
        const MeshVertex* v = vertices + 3 * t;
        for (int k = 0; k < 3; ++k) {
          if (facing[t])
            Plain(v[k]);
          else
            Extruded(v[k], lightPos);
        }
      }
      glEnd();
    }
  }
  glFrontFace(GLenum(frontFace));
  glCullFace(GLenum(cullFace));
  if (!cullOn) glDisable(GL_CULL_FACE);
}
