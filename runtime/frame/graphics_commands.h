// Language commands for drawing, sprites, fonts, screens, colour and blend
// state, and timing. Numbers arrive as doubles and are truncated toward
// zero where an integer is meant; texts arrive as runtime strings.
#pragma once

#include <string>

#include <cstdint>

#include "core/basic_string.h"

// Colour argument: the low 32 bits of the truncated number.
uint32_t ColourArg(double v);

void ClearScreen();
void SetAlphaMode(double a);
void LoadBackgroundFadeCmd(const BasicString& file);
void PrintCmd(const BasicString& text, double x, double y);
void PrintNumberCmd(double number, double x, double y);
void DrawAnimCmd(double sprite, double frame, double x, double y);
void DrawAnimRotoZoomCmd(double sprite, double frame, double x, double y, double angle, double zoom);
void DrawAnimStretchCmd(double sprite, double frame, double x, double y, double width,
                        double height);
void SetSmoothingCmd(double flag);
void RotoSpriteCmd(double sprite, double x, double y, double angle);
void RotoZoomSpriteCmd(double sprite, double x, double y, double angle, double zoom);
void DrawSpriteCmd(double sprite, double x, double y);
void StretchSpriteCmd(double sprite, double x, double y, double width, double height);
void ZoomSpriteCmd(double sprite, double x, double y, double zoomX, double zoomY);
void GrabSpriteCmd(double sprite, double x, double y, double width, double height);
void GrabBackground();
void LoadBackgroundCmd(const BasicString& file);
void SetFontCmd(double n);
void SetColourKeyCmd(double colour);
void LoadFontCmd(const BasicString& file, double n);
// A picture that is found but cannot be decoded (sprites and fonts) is
// logged with its file, the archive member it came from and the reason.
void LoadSpriteCmd(const BasicString& file, double sprite);
// Why the last sprite load (LoadSpriteCmd, LoadAnimCmd, LoadSpriteKeyedCmd)
// left its slot empty; "" after a success.
const std::string& LastPictureProblem();
void LoadAnimCmd(const BasicString& file, double sprite, double frameWidth, double frameHeight);
void LoadSpriteKeyedCmd(const BasicString& file, double sprite);
// 1.0 when the file was written.
double SaveScreenCmd(const BasicString& file);
double SaveSpriteCmd(const BasicString& file, double sprite);
void DrawLineCmd(double x1, double y1, double x2, double y2, double colour);
void DrawPointCmd(double x, double y, double colour);
void DrawRectCmd(double x, double y, double width, double height, double colour);
double GetPixelCmd(double x, double y);
void GetSpriteSizeCmd(double sprite, double& width, double& height);
void GetFontSizeCmd(double& width, double& height);
void GetScreenSizeCmd(double& width, double& height);
void SetViewportCmd(double x, double y, double width, double height);
// Render target int(target) drawing into sprite int(sprite) of the given
// size; n >= 0 selects target n, n < 0 the back buffer.
void CreateScreenCmd(double target, double sprite, double width, double height);
void UseScreenCmd(double n);
// 1.0 when the two sprites (or animation cells) drawn at the given places
// overlap in an opaque pixel, else 0.0.
double SpriteCollisionCmd(double sprite1, double x1, double y1, double sprite2, double x2,
                          double y2);
double AnimCollisionCmd(double sprite1, double frame1, double x1, double y1, double sprite2,
                        double frame2, double x2, double y2);
void StartPolyCmd(double sprite);
void PolyVectorCmd(double x, double y, double textureX, double textureY, double colour);
void EndPolyCmd();
void SetFrameLimit(double fps);
double GetFrameTimeCmd();
double GetTimeMs();
void SleepMs(double ms);
