// Command layer of the 3D engine: the language's 3D statements and
// functions. Numbers arrive as doubles and are converted here; the engine
// is g3DEngine and the renderer gRenderer.
#pragma once

#include <cstdint>

struct BasicString;
struct BasicArray;

// {first sprite slot, second sprite slot, texture flag} of the 3D texture
// commands; -1, -1, 0 at program start.
extern int32_t gTextureSelection[3];

// Cull mode last chosen by the program (0 after the 3D set-up).
extern int32_t gCullModeSetting;

// Texture flag of gTextureSelection := value truncated toward zero.
void SetTextureFlagCmd(double value);

// Ends a shadow pass and returns to the full-screen 2D state.
void Make2DCmd();
// Clears the buffers and sets up the 3D projection; culling, lights, the
// light effect and the texture slots start off.
void Make3DCmd(double nearPlane, double farPlane, double fov);
void ClearBuffersCmd();
void SetCameraUpCmd(double x, double y, double z);
void SetCameraCmd(double x, double y, double z, double tx, double ty, double tz);
// mode > 0 keeps clockwise front faces (culling the back), 0 culls none,
// < 0 keeps counter-clockwise ones.
void SetCullModeCmd(double mode);
void SetFogCmd(double colour, double mode, double a, double b);
void SetCameraLightCmd(double n, double colour);
void SetLightCmd(double n, double colour, double x, double y, double z, double dx, double dy,
                 double dz, double cutoff);
void DrawAxesCmd(double x, double y, double z);
// Width and size are clamped to 1..512.
void DrawLine3DCmd(double x1, double y1, double z1, double x2, double y2, double z2, double width,
                   double colour);
void DrawDotCmd(double x, double y, double z, double size, double colour);
void DrawSpriteBillboardCmd(double sprite, double x, double y, double z, double scale);
// Binds the selected textures and draws the object.
void DrawObjectCmd(double n, double frame, double nextFrame, double tween, double flag);
void DrawObjectFrameCmd(double n, double frame);
// 1.0 when the program linked.
double LoadShaderCmd(double slot, const BasicString& vertexFile, const BasicString& fragmentFile);
void SetShaderFloatCmd(const BasicString& name, double value);
// The cel-shading ramp from the numbers 0..1 of a one-dimensional array.
void SetShadeRampCmd(const BasicArray& values);
// Selects the sprite slots of the 3D texture units and binds them.
void SetTextureCmd(double first, double second);
void SetTextureOffsetCmd(double u, double v);
// Normal mode of objects built from now on: the remainder of mode by 3
// (keeping the sign, so -4 gives -1).
void SetFrameDecodeModeCmd(double mode);
void SetSphereMapCmd(double on);
void UseShaderCmd(double slot);

// Building an object vertex by vertex.
void ObjStartCmd(double n);
void ObjAddVertexCmd(double x, double y, double z, double u, double v, double colour);
void ObjStartGroupCmd();
void ObjEndCmd();

// Model files. A name found neither as a file nor in the resource archive
// loads nothing.
void LoadObjectCmd(BasicString& file, double n);
void SaveObjectCmd(const BasicString& file, double n);

// Window conversions; the outputs change only on success. The window y of
// both is measured from the top of the screen.
void ProjectPointCmd(double x, double y, double z, double* sx, double* sy, double* sz);
void UnprojectPointCmd(double sx, double sy, double sz, double* x, double* y, double* z);

void PrintText3DCmd(const BasicString& text, double x, double y, double z, double size);

// Object collision: 1.0 on a hit, else 0.0. The box command's box is axis
// aligned, width across x and z, height along y.
double CollideObjectSphereCmd(double n, double frame, double radius, double x, double y, double z);
double CollideObjectBoxCmd(double n, double frame, double x, double y, double z, double width,
                           double height);
// Distance along the ray to the object (negative behind, 0 for none).
double RayObjectDistanceCmd(double n, double frame, double x, double y, double z, double dx,
                            double dy, double dz);

// The object transform stack.
void PushMatrixCmd();
void PopMatrixCmd();
void AddRotationCmd(double angle, double x, double y, double z);
void SetTranslationCmd(double x, double y, double z);
void SetScaleCmd(double x, double y, double z);
// Multiplies a 16-number array (column-major) onto the current transform;
// any other array shape does nothing.
void MultMatrixCmd(const BasicArray& m);

// Triangles of frame 0 over all parts of an object.
double CountFacesCmd(double n);
// out := 3 × 9 numbers: x, y, z, u, v, colour, normal x, y, z of each
// vertex of triangle face of the frame, counted over the parts in order;
// all zero when the face does not exist.
void GetFaceCmd(double n, double frame, double face, BasicArray& out);
