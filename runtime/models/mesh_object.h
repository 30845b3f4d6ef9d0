// Mesh parts of 3D objects: vertices, animation frames, meshes and the part
// record the engine keeps in its object table. Every array is a GrowArray
// whose storage constructs all its elements, so the records below build
// themselves empty and release what they own when destroyed.
#pragma once

#include <cstdint>

#include "core/grow_array.h"

// Colour values that open a run of vertices instead of carrying geometry.
constexpr uint32_t ListMarker = 0xFFFFFFFFu;   // every three vertices a triangle
constexpr uint32_t StripMarker = 0xFFFFFFFEu;  // triangle strip
constexpr uint32_t FanMarker = 0xFFFFFFFDu;    // fan around the run's first vertex
// Colours at or above this value are white and carry no geometry.
constexpr uint32_t kFirstMarkerColour = 0xFFFFFFFCu;

// One vertex in expanded form: 22 consecutive 32-bit fields, handed to GL
// as interleaved vertex data.
struct MeshVertex {
  float x, y, z;
  float nx, ny, nz;
  float u, v;
  float light[3];  // per draw
  float tangent[3];
  float bitangent[3];
  uint32_t colour;  // 0x00BBGGRR or a marker
  uint8_t colourIndex;
  uint8_t colourIndexUnused[3];
  float r, g, b;
};
static_assert(sizeof(MeshVertex) == 22 * 4, "MeshVertex is 22 words");

// One vertex as model files hold it.
struct PackedVertex {
  uint8_t x, y, z;  // quantised, see MeshFrame offset and scale
  uint8_t normalIndex;
  uint8_t tangentIndex;
  uint8_t bitangentIndex;
  uint8_t colourIndex;
};
static_assert(sizeof(PackedVertex) == 7, "PackedVertex is 7 bytes");

// One edge of a triangle for the shadow volumes.
struct EdgeNeighbour {
  uint32_t neighbour;  // triangle sharing the edge, 0xFFFFFFFF = none
  uint8_t silhouette;  // 1 = on the light's silhouette
};
constexpr uint32_t kNoNeighbour = 0xFFFFFFFFu;

// One animation frame. A fresh frame has its three arrays empty; assigning
// one frame to another copies the arrays, offset and scale (radius and centre
// are recomputed after every load or build and stay as they are).
struct MeshFrame {
  GrowArray<PackedVertex> packed;
  GrowArray<MeshVertex> built;
  GrowArray<MeshVertex> triangles;
  float offset[3] = {0, 0, 0};
  float scale[3] = {0, 0, 0};
  float radius = 0;
  float centre[3] = {0, 0, 0};
  // The corners of triangles as x, y, z alone, for collision and picking:
  // made on first use (TrianglePositions) and dropped whenever triangles is
  // refilled or copied.
  mutable GrowArray<float> positions;
  mutable const MeshVertex* positionsOf = nullptr;

  MeshFrame() = default;
  MeshFrame(const MeshFrame&) = delete;
  MeshFrame& operator=(const MeshFrame& source);  // CopyFrame
  ~MeshFrame();                                   // FreeFrameArrays
};

// A mesh of frames sharing topology, texture coordinates and palette.
class MeshObject {
 public:
  MeshObject() = default;  // arrays empty, normalsReady 0
  MeshObject(const MeshObject&) = delete;
  MeshObject& operator=(const MeshObject&) = delete;
  ~MeshObject();  // FreeMeshArrays with storage released

  // Rebuilds the triangle lists from the packed frames; a plain mesh has
  // none to build.
  virtual void BuildTriangleArrays() {}

  GrowArray<MeshFrame> frames;
  GrowArray<MeshVertex> drawVertices;  // copy of frame 0's triangles
  GrowArray<float> texU;
  GrowArray<float> texV;
  GrowArray<uint32_t> palette;
  uint32_t normalsReady = 0;
};

// A part of an object as the engine stores it: the mesh plus what drawing
// and shadows need. Its GL buffer and texture names are owned by the part.
class MeshObjectX : public MeshObject {
 public:
  MeshObjectX() = default;
  MeshObjectX(const MeshObjectX&) = delete;
  // Deep copy of every array and scalar (CopyMeshObjectArrays). The GL
  // names are copied as they are: the caller settles which copy owns them.
  MeshObjectX& operator=(const MeshObjectX& source);
  ~MeshObjectX();

  // Turns the packed vertices of every frame into triangle lists (three
  // records a triangle, no markers), copies frame 0's into drawVertices and
  // sets hasVertexColours.
  void BuildTriangleArrays() override;

  uint32_t hasVertexColours = 0;
  uint32_t vertexBufferA = 0;
  uint32_t vertexBufferB = 0;
  uint32_t paletteTexture = 0;
  float paletteTexelScale = 0;
  GrowArray<EdgeNeighbour> shadowEdges;
  GrowArray<uint8_t> shadowFacing;
  int32_t textureUnit1 = -1;  // into the owning slot's textures; -1 = none
  int32_t textureUnit2 = -1;
};

// r, g, b of a colour: its bytes / 255, or white for the marker range.
void SetVertexColour(MeshVertex* v, uint32_t colour);

// Expands packed vertex i of frame into a MeshVertex: dequantised position,
// directions from the unit-normal table, palette colour, u = texU[i] and
// v = -texV[i]. light is left as it is. Indexes beyond their tables read as
// white and 0.
void ExpandPackedVertex(const MeshObject& mesh, const MeshFrame& frame, int32_t i,
                        MeshVertex* out);

// The corner positions of the frame's triangles, three floats a corner,
// made once from triangles and kept until triangles is rebuilt.
const float* TrianglePositions(const MeshFrame& frame);

// Empties the three arrays of a frame (scalars stay).
void InitFrameRecord(MeshFrame* frame);
// Releases the storage of triangles, built and packed.
void FreeFrameArrays(MeshFrame* frame);
// Makes destination a copy of source's arrays, offset and scale; returns it.
MeshFrame* CopyFrame(MeshFrame* destination, const MeshFrame* source);

// Empties every array of the mesh and every frame. With freeStorage the
// storage is released and the frames destroyed; without it the storage is
// kept for reuse and only the counts become 0.
void FreeMeshArrays(MeshObject* mesh, bool freeStorage);
// FreeMeshArrays plus the shadow arrays; deletes the part's GL buffers
// (when the buffer entry points exist) and its shade texture. Both buffer
// names and the texture name are 0 afterwards.
void FreeMeshObjectGL(MeshObjectX* part, bool freeStorage);
