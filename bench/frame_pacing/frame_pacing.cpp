// Starts the runtime with the game's settings, presents 600 frames and
// prints the mean and 99th percentile of |interval - 1000/60| and the
// processor time per frame, the frame thread's apart.
#include <algorithm>
#include <cmath>
#include <cstdio>
#include <ctime>
#include <vector>

#include "core/project_settings.h"
#include "core/runtime_error.h"
#include "frame/frame_function.h"
#include "frame/runtime_startup.h"
#include "platform/system.h"

int main() {
  gProjectSettings.screenWidth = 640;
  gProjectSettings.screenHeight = 480;
  gProjectSettings.framesPerSecond = 60;
  gProjectSettings.debugMode = 0;
  gProjectSettings.hideSystemPointer = 0;
  RuntimeStartup(nullptr, nullptr, "", 10, "Kestrovar");
  if (!RuntimeStarted()) {
    std::fprintf(stderr, "bench_frame_pacing: no window (run under X)\n");
    ShutdownRuntime();
    return 1;
  }
  const int kFrames = 600;
  const double target = 1000.0 / 60.0;
  for (int i = 0; i < 10; ++i) ShowScreen();  // settle
  std::vector<double> deviation;
  deviation.reserve(kFrames);
  std::clock_t cpu0 = std::clock();
  double threadCpu0 = platform::ThreadCpuMs();
  double wall0 = platform::NowMs();
  for (int i = 0; i < kFrames; ++i) {
    ShowScreen();
    deviation.push_back(std::fabs((gFrameNow - gFramePrev) - target));
  }
  double wall = platform::NowMs() - wall0;
  double cpuMs = double(std::clock() - cpu0) * 1000.0 / CLOCKS_PER_SEC;
  double threadCpuMs = platform::ThreadCpuMs() - threadCpu0;
  double mean = 0;
  for (double d : deviation) mean += d;
  mean /= kFrames;
  std::vector<double> sorted = deviation;
  std::sort(sorted.begin(), sorted.end());
  double p99 = sorted[size_t(std::ceil(0.99 * kFrames)) - 1];
  std::printf("frames: %d in %.1f ms (%.2f fps)\n", kFrames, wall, kFrames * 1000.0 / wall);
  std::printf("interval deviation from %.3f ms: mean %.3f ms, p99 %.3f ms, max %.3f ms\n", target,
              mean, p99, sorted.back());
  std::printf("cpu time per frame: %.3f ms (%.1f%% of the frame period)\n", cpuMs / kFrames,
              100.0 * cpuMs / kFrames / target);
  // The rest of the process time is the GL driver's own threads (Mesa's
  // software rasteriser clearing and presenting the frame).
  std::printf("  of it the frame thread: %.3f ms, other threads: %.3f ms\n",
              threadCpuMs / kFrames, (cpuMs - threadCpuMs) / kFrames);
  ShutdownRuntime();
  return 0;
}
