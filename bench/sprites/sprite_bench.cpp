// How many 32 x 32 sprites the runtime draws per frame while holding 60
// frames per second. Each frame draws n blended sprites at moving positions
// and presents it; the frame rate is measured without pacing and n is
// searched for the largest count that still reaches 60.
//
//   sprite_bench [--write-sprite file.bmp] [--frames N]
#include <GL/gl.h>

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

namespace {

constexpr int kSide = 32;

// A 32 x 32 24-bit bitmap: a filled disc on the key colour background.
bool WriteSprite(const char* path) {
  const int stride = kSide * 3;
  std::vector<uint8_t> f(54 + stride * kSide, 0);
  auto put = [&](int at, uint32_t v) {
    for (int i = 0; i < 4; ++i) f[at + i] = uint8_t(v >> (8 * i));
  };
  f[0] = 'B';
  f[1] = 'M';
  put(2, uint32_t(f.size()));
  put(10, 54);
  put(14, 40);
  put(18, kSide);
  put(22, kSide);
  f[26] = 1;
  f[28] = 24;
  for (int y = 0; y < kSide; ++y)
    for (int x = 0; x < kSide; ++x) {
      uint8_t* p = &f[54 + y * stride + x * 3];
      const int dx = x - 16, dy = y - 16;
      if (dx * dx + dy * dy < 15 * 15) {
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

// Frames per second over `frames` frames of n sprites.
double MeasureFps(int n, int frames) {
  std::vector<Mover> sprites(static_cast<size_t>(n));
  uint32_t seed = 12345;
  auto rnd = [&](int m) {
    seed = seed * 1103515245u + 12345u;
    return int((seed >> 8) % uint32_t(m));
  };
  for (Mover& m : sprites)
    m = {float(rnd(640 - kSide)), float(rnd(480 - kSide)), float((rnd(5) - 2) | 1), float((rnd(5) - 2) | 1)};
  // Two frames to settle, then the timed ones.
  double t0 = 0;
  for (int f = -2; f < frames; ++f) {
    if (f == 0) t0 = platform::NowMs();
    SetAlphaMode(-1);
    for (Mover& m : sprites) {
      m.x += m.dx;
      m.y += m.dy;
      if (m.x < 0 || m.x > 640 - kSide) m.dx = -m.dx;
      if (m.y < 0 || m.y > 480 - kSide) m.dy = -m.dy;
      DrawSpriteCmd(1, m.x, m.y);
    }
    ShowScreen();
  }
  glFinish();
  const double ms = platform::NowMs() - t0;
  return frames * 1000.0 / (ms > 0 ? ms : 1);
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
  if (gRenderer->sprites[1].width != kSide) return 1;
  std::printf("renderer: %s\n", reinterpret_cast<const char*>(glGetString(GL_RENDERER)));

  // Double until the rate drops below 60, then bisect.
  int lo = 0, hi = 64;
  while (MeasureFps(hi, frames) >= 60.0) {
    lo = hi;
    hi *= 2;
    if (hi > (1 << 22)) break;
  }
  while (hi - lo > std::max(8, lo / 50)) {
    const int mid = (lo + hi) / 2;
    const double fps = MeasureFps(mid, frames);
    std::printf("  %d sprites: %.1f fps\n", mid, fps);
    (fps >= 60.0 ? lo : hi) = mid;
  }
  std::printf("orvale sprites at 60 fps: %d\n", lo);
  std::remove(spritePath.c_str());
  delete gRenderer;
  return 0;
}
