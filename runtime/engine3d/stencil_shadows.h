// Stencil shadow volumes of mesh parts.
#pragma once

#include "models/mesh_object.h"

// Draws the volume swept by the part's silhouette away from lightPos (object
// space) into the stencil buffer: front faces count up, back faces down.
// The facing and silhouette tables must be filled for lightPos first. The
// cull mode in force (culling, front face, culled side) is kept.
void DrawShadowVolume(MeshObjectX* part, const MeshVertex* vertices, const float lightPos[3],
                      bool caps);
