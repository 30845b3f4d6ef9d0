// How many 32 x 32 sprites the runtime draws per frame while holding 60
// frames per second, next to a reference drawn with plain OpenGL in the same
// window: the same texture, the same blending and alpha test, all quads of a
// frame in one vertex array and one draw call. Each frame draws n blended
// sprites at moving positions and presents it; the frame rate is measured
// without pacing and n is searched for the largest count that still reaches
// 60. Then the time per sprite with 1 x 1 sprites, where the fill is left
// out and the cost of the drawing calls remains.
//
//   sprite_bench [--write-sprite file.bmp] [--frames N]
#include <GL/gl.h>

#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <algorithm>
#include <string>
#include <vector>

#include "core/basic_string.h"
#include "frame/frame_function.h"
#include "frame/graphics_commands.h"
#include "frame/main_window.h"
#include "frame/renderer.h"
#include "platform/system.h"
#include "platform/window.h"

namespace {

constexpr int kSide = 32;

// A side x side 24-bit bitmap: a filled disc on the key colour background
// (one opaque pixel for side 1).
bool WriteSprite(const char* path, int side = kSide) {
  const int stride = (side * 3 + 3) & ~3;
  std::vector<uint8_t> f(54 + stride * side, 0);
  auto put = [&](int at, uint32_t v) {
    for (int i = 0; i < 4; ++i) f[at + i] = uint8_t(v >> (8 * i));
  };
  f[0] = 'B';
  f[1] = 'M';
  put(2, uint32_t(f.size()));
  put(10, 54);
  put(14, 40);
  put(18, uint32_t(side));
  put(22, uint32_t(side));
  f[26] = 1;
  f[28] = 24;
  for (int y = 0; y < side; ++y)
    for (int x = 0; x < side; ++x) {
      uint8_t* p = &f[54 + y * stride + x * 3];
      const int dx = x - side / 2, dy = y - side / 2;
      if (side == 1 || dx * dx + dy * dy < (side / 2 - 1) * (side / 2 - 1)) {
        p[0] = uint8_t(40 + 6 * y);
        p[1] = uint8_t(200 - 5 * x);
        p[2] = 230;
      } else {
        p[0] = 128, p[1] = 0, p[2] = 255;  // key colour
      }
    }
  std::FILE* out = std::fopen(path, "wb");
  if (!out) return false;
  bool ok = std::fwrite(f.data(), 1, f.size(), out) == f.size();
  return std::fclose(out) == 0 && ok;
}

struct Mover {
  float x, y, dx, dy;
};

enum class Drawer { kRuntime, kReference };

struct Corner {
  float x, y, u, v;
};

// One frame of the reference: the state the runtime's 2D drawing sets for
// blended sprites, the quads of all sprites in one array, one draw call,
// then the swap and clear the frame function does.
void ReferenceFrame(const std::vector<Mover>& sprites, int slot, std::vector<Corner>& corners) {
  const SpriteSlot& s = gRenderer->sprites[slot];
  const float S = float(s.width) / s.texWidth, T = float(s.height) / s.texHeight;
  glBindTexture(GL_TEXTURE_2D, s.texture);
  glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MAG_FILTER, GL_LINEAR);
  glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MIN_FILTER, GL_LINEAR);
  glEnable(GL_TEXTURE_2D);
  glEnable(GL_ALPHA_TEST);
  glAlphaFunc(GL_GREATER, 0.05f);
  glEnable(GL_BLEND);
  glBlendFunc(GL_SRC_ALPHA, GL_ONE_MINUS_SRC_ALPHA);
  glColor4f(1, 1, 1, 1);
  corners.resize(sprites.size() * 4);
  Corner* c = corners.data();
  for (const Mover& m : sprites) {
    const float x0 = std::ceil(m.x), y0 = std::ceil(m.y);
    *c++ = {x0 + s.width, y0, S, T};
    *c++ = {x0, y0, 0, T};
    *c++ = {x0, y0 + s.height, 0, 0};
    *c++ = {x0 + s.width, y0 + s.height, S, 0};
  }
  glEnableClientState(GL_VERTEX_ARRAY);
  glEnableClientState(GL_TEXTURE_COORD_ARRAY);
  glVertexPointer(2, GL_FLOAT, sizeof(Corner), &corners[0].x);
  glTexCoordPointer(2, GL_FLOAT, sizeof(Corner), &corners[0].u);
  glDrawArrays(GL_QUADS, 0, GLsizei(corners.size()));
  glDisableClientState(GL_VERTEX_ARRAY);
  glDisableClientState(GL_TEXTURE_COORD_ARRAY);
  platform::SwapWindow(gRenderer->window);
  glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
}

// Milliseconds per frame over `frames` frames of n sprites of slot.
double MeasureFrameMs(Drawer drawer, int slot, int n, int frames) {
  const int side = gRenderer->sprites[slot].width;
  std::vector<Mover> sprites(static_cast<size_t>(n));
  std::vector<Corner> corners;
  uint32_t seed = 12345;
  auto rnd = [&](int m) {
    seed = seed * 1103515245u + 12345u;
    return int((seed >> 8) % uint32_t(m));
  };
  for (Mover& m : sprites)
    m = {float(rnd(640 - side)), float(rnd(480 - side)), float((rnd(5) - 2) | 1), float((rnd(5) - 2) | 1)};
  // Two frames to settle, then the timed ones.
  double t0 = 0;
  for (int f = -2; f < frames; ++f) {
    if (f == 0) t0 = platform::NowMs();
    for (Mover& m : sprites) {
      m.x += m.dx;
      m.y += m.dy;
      if (m.x < 0 || m.x > 640 - side) m.dx = -m.dx;
      if (m.y < 0 || m.y > 480 - side) m.dy = -m.dy;
    }
    if (drawer == Drawer::kReference) {
      ReferenceFrame(sprites, slot, corners);
      continue;
    }
    SetAlphaMode(-1);
    for (const Mover& m : sprites) DrawSpriteCmd(slot, m.x, m.y);
    ShowScreen();
  }
  glFinish();
  const double ms = platform::NowMs() - t0;
  return (ms > 0 ? ms : 1) / frames;
}

// The largest sprite count that holds 60 frames per second: doubling until
// the rate drops below 60, then bisecting.
int SpritesAt60(Drawer drawer, const char* name, int frames) {
  auto fps = [&](int n) { return 1000.0 / MeasureFrameMs(drawer, 1, n, frames); };
  int lo = 0, hi = 64;
  while (fps(hi) >= 60.0) {
    lo = hi;
    hi *= 2;
    if (hi > (1 << 22)) break;
  }
  while (hi - lo > std::max(8, lo / 50)) {
    const int mid = (lo + hi) / 2;
    const double f = fps(mid);
    std::printf("  %s %d sprites: %.1f fps\n", name, mid, f);
    (f >= 60.0 ? lo : hi) = mid;
  }
  return lo;
}

// Microseconds per 1 x 1 sprite of the reference and the runtime: frames
// of many tiny sprites, less the time of an empty frame; the best of five
// runs, the two drawers taking turns so both see the same machine load.
void MicrosPerTinySprite(double* reference, double* ours) {
  const int n = 50000, frames = 20;
  *reference = *ours = 1e30;
  for (int run = 0; run < 5; ++run)
    for (Drawer d : {Drawer::kReference, Drawer::kRuntime}) {
      const double empty = MeasureFrameMs(d, 2, 0, frames);
      const double full = MeasureFrameMs(d, 2, n, frames);
      double& best = d == Drawer::kReference ? *reference : *ours;
      best = std::min(best, (full - empty) * 1000.0 / n);
    }
}

}  // namespace

int main(int argc, char** argv) {
  int frames = 90;
  std::string spritePath = platform::TempFolder() + "orvale_bench_sprite.bmp";
  for (int i = 1; i < argc; ++i) {
    if (!std::strcmp(argv[i], "--write-sprite") && i + 1 < argc) {
      return WriteSprite(argv[++i]) ? 0 : 1;
    } else if (!std::strcmp(argv[i], "--frames") && i + 1 < argc) {
      frames = std::atoi(argv[++i]);
    }
  }
  gRenderer = new OpenGLLumenar();
  if (!CreateMainWindow(gRenderer, nullptr, 640, 480, 0, 0, 0, false)) return 1;
  SetFrameLimit(1000);  // unpaced: the frame function waits at most 1 ms
  if (!WriteSprite(spritePath.c_str())) return 1;
  LoadSpriteCmd(BasicString(spritePath.c_str()), 1);
  if (!WriteSprite(spritePath.c_str(), 1)) return 1;
  LoadSpriteCmd(BasicString(spritePath.c_str()), 2);
  std::remove(spritePath.c_str());
  if (gRenderer->sprites[1].width != kSide || gRenderer->sprites[2].width != 1) return 1;
  std::printf("renderer: %s\n", reinterpret_cast<const char*>(glGetString(GL_RENDERER)));

  const int reference = SpritesAt60(Drawer::kReference, "reference", frames);
  const int ours = SpritesAt60(Drawer::kRuntime, "orvale", frames);
  double tinyReference = 0, tinyOurs = 0;
  MicrosPerTinySprite(&tinyReference, &tinyOurs);
  std::printf("reference sprites at 60 fps: %d\n", reference);
  std::printf("orvale sprites at 60 fps: %d\n", ours);
  if (reference > 0) std::printf("ratio orvale/reference: %.2f\n", double(ours) / reference);
  std::printf("1 x 1 sprite: reference %.3f us, orvale %.3f us\n", tinyReference, tinyOurs);
  delete gRenderer;
  return 0;
}
