#include <gtest/gtest.h>

#include <cmath>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <limits>
#include <sstream>
#include <string>
#include <thread>
#include <vector>

#include "core/project_settings.h"
#include "core/runtime_error.h"
#include "engine3d/commands3d.h"
#include "engine3d/lumenar3d.h"
#include "engine3d/shaders.h"
#include "frame/frame_function.h"
#include "frame/gl_entry_points.h"
#include "frame/main_window.h"
#include "frame/renderer.h"
#include "frame/runtime_startup.h"
#include "platform/display_probe.h"
#include "platform/raw_tcp.h"
#include "platform/system.h"

TEST(MainWindow, MultisampleFallbackHalvesWithoutSnapping) {
  EXPECT_EQ(MultisampleCandidates(6), (std::vector<int>{6, 3, 1}));
  EXPECT_EQ(MultisampleCandidates(8), (std::vector<int>{8, 4, 2, 1}));
  EXPECT_TRUE(MultisampleCandidates(0).empty());
  EXPECT_TRUE(MultisampleCandidates(-4).empty());
}

TEST(MainWindow, SoftwareRendererNames) {
  struct Case {
    const char* name;
    bool software;
  } cases[] = {
      {"Mesa Windows GDI Driver", true},
      {"Mesa Windows GDI Driver 2", false},
      {"llvmpipe (LLVM 15.0.6, 256 bits)", true},
      {"softpipe", true},
      {"AMD Radeon RX 580 (radeonsi, polaris10, LLVM 15.0.6)", false},
      {"", false},
  };
  for (const Case& c : cases) EXPECT_EQ(IsSoftwareRenderer(c.name), c.software) << c.name;
  EXPECT_FALSE(IsSoftwareRenderer(nullptr));
}

TEST(MainWindow, ExtensionNamesCountOnlyAsWholeWords) {
  const char* list = "GL_ARB_multitexture_extra GL_EXT_a GL_ARB_fragment_program";
  EXPECT_FALSE(ExtensionListHas(list, "GL_ARB_multitexture"));
  EXPECT_TRUE(ExtensionListHas(list, "GL_ARB_fragment_program"));
  EXPECT_TRUE(ExtensionListHas(list, "GL_EXT_a"));
  EXPECT_FALSE(ExtensionListHas(list, "GL_EXT"));
  EXPECT_TRUE(ExtensionListHas("GL_ARB_multitexture", "GL_ARB_multitexture"));
  EXPECT_FALSE(ExtensionListHas(nullptr, "GL_EXT_a"));
  EXPECT_FALSE(ExtensionListHas(list, ""));
}

TEST(FrameClock, FramePeriod) {
  OpenGLLumenar r;
  SetFramePeriod(&r, 60);
  EXPECT_DOUBLE_EQ(r.framePeriod, 1000.0 / 60.0);
  SetFramePeriod(&r, 0);
  EXPECT_DOUBLE_EQ(r.framePeriod, 2.0);
  SetFramePeriod(&r, -30);
  EXPECT_DOUBLE_EQ(r.framePeriod, 2.0);
}

TEST(FrameClock, LateFrameLandsOnNextScheduledTime) {
  OpenGLLumenar r;
  SetFramePeriod(&r, 60);
  double now = platform::NowMs();
  double start = now - 5.5 * r.framePeriod;
  r.nextFrameTime = start;
  double t0 = platform::NowMs();
  double waited = FrameEnd(&r);
  double after = platform::NowMs();
  EXPECT_GE(waited, 1.0);
  EXPECT_LT(after - t0, 5.0);  // no waiting
  // First value start + k * period that is at or after the time read.
  double k = (r.nextFrameTime - start) / r.framePeriod;
  EXPECT_NEAR(k, std::round(k), 1e-6);
  EXPECT_GE(r.nextFrameTime, t0);
  EXPECT_LT(r.nextFrameTime - r.framePeriod, after);
}

TEST(FrameClock, OnTimeFrameWaitsForItsTime) {
  OpenGLLumenar r;
  SetFramePeriod(&r, 60);
  r.nextFrameTime = platform::NowMs() + 20.0;
  double t0 = platform::NowMs();
  double waited = FrameEnd(&r);
  double spent = platform::NowMs() - t0;
  EXPECT_GE(spent, 19.5);
  EXPECT_LT(spent, 40.0);
  EXPECT_NEAR(waited, spent + 1.0, 2.0);
}

TEST(FrameClock, SleepUntilReachesItsDeadlineAndSkipsPastOnes) {
  const double deadline = platform::NowMs() + 5.0;
  platform::SleepUntilMs(deadline);
  const double woke = platform::NowMs();
  EXPECT_GE(woke, deadline);
  EXPECT_LT(woke - deadline, 50.0);
  const double t0 = platform::NowMs();
  platform::SleepUntilMs(t0 - 100.0);
  platform::SleepUntilMs(std::numeric_limits<double>::quiet_NaN());
  EXPECT_LT(platform::NowMs() - t0, 5.0);
}

TEST(FrameFlags, NaNCountsAsOn) {
  double nan = std::numeric_limits<double>::quiet_NaN();
  SetAutoPause(0);
  EXPECT_EQ(gAutoPause, 0);
  SetAutoPause(nan);
  EXPECT_EQ(gAutoPause, 1);
  SetEscapeEnds(0);
  EXPECT_EQ(gEscapeEnds, 0);
  SetEscapeEnds(-0.5);
  EXPECT_EQ(gEscapeEnds, 1);
  SetEscapeEnds(nan);
  EXPECT_EQ(gEscapeEnds, 1);
}

TEST(Renderer, ConstructionLeavesEverySlotEmpty) {
  OpenGLLumenar r;
  for (int n : {0, 1, 65503, 65504, 65535}) {
    int32_t w = -1, h = -1;
    GetSpriteSize(&r, n, &w, &h);
    EXPECT_EQ(w, 0);
    EXPECT_EQ(h, 0);
    EXPECT_EQ(r.sprites[n].texWidth, 0xFFFF);
    EXPECT_EQ(r.sprites[n].texHeight, 0xFFFF);
    EXPECT_EQ(r.alphaCopies[n], nullptr);
  }
  EXPECT_EQ(r.spriteColourKey, 0x8000FFu);
  EXPECT_EQ(r.fontColourKey, 0u);
  EXPECT_EQ(r.currentTarget, -1);
  EXPECT_EQ(r.currentAlpha, 0.0f);
  EXPECT_EQ(r.smoothing, 1);
  EXPECT_EQ(r.glAlive, 0);
  EXPECT_EQ(r.vertexBuffer.data, nullptr);
  EXPECT_EQ(r.vertexBuffer.growStep, 128);
  EXPECT_EQ(r.vertexBuffer.firstCapacity, 512);
  EXPECT_EQ(r.screens[15].tilesX, 0);
  EXPECT_EQ(r.window, nullptr);
}

TEST(Renderer, DeleteSpriteKeepsCellSizeAndDropsAlphaCopy) {
  OpenGLLumenar r;
  SetAnimFrameSize(&r, 7, 16, 24);
  r.sprites[7].width = 32;
  r.sprites[7].height = 48;
  r.alphaCopies[7] = new uint8_t[16];
  DeleteSprite(&r, 7);
  EXPECT_EQ(r.sprites[7].frameWidth, 16);
  EXPECT_EQ(r.sprites[7].frameHeight, 24);
  EXPECT_EQ(r.sprites[7].width, 0);
  EXPECT_EQ(r.sprites[7].texWidth, 0xFFFF);
  EXPECT_EQ(r.alphaCopies[7], nullptr);
}

TEST(Renderer, ColourKeysChangeTogether) {
  OpenGLLumenar r;
  SetColourKeys(&r, 0x00FF00);
  EXPECT_EQ(r.spriteColourKey, 0x00FF00u);
  EXPECT_EQ(r.fontColourKey, 0x00FF00u);
}

TEST(Renderer, NoContextMeansNoSpriteLoad) {
  OpenGLLumenar r;
  r.sprites[3].width = 5;
  EXPECT_EQ(LoadSpriteFile(&r, 3, "does-not-matter.bmp", r.spriteColourKey, 0), 0);
  EXPECT_EQ(r.sprites[3].width, 0);
}

TEST(Renderer, PowerOfTwoSizes) {
  EXPECT_EQ(TexturePowerOfTwo(1), 2);
  EXPECT_EQ(TexturePowerOfTwo(2), 2);
  EXPECT_EQ(TexturePowerOfTwo(3), 4);
  EXPECT_EQ(TexturePowerOfTwo(640), 1024);
  EXPECT_EQ(TexturePowerOfTwo(480), 512);
}

TEST(Startup, ProgramFolder) {
  struct Case {
    const char* path;
    const char* folder;
  } cases[] = {
      {"/opt/game/kestrovar", "/opt/game"},
      {"C:\\games\\k.exe", "C:\\games"},
      {"kestrovar", "kestrovar"},
      {"/kestrovar", "/kestrovar"},  // index 0 is not scanned
      {"", ""},
  };
  for (const Case& c : cases) {
    char out[1024];
    ProgramFolderOf(c.path, out, sizeof out);
    EXPECT_STREQ(out, c.folder) << c.path;
  }
}

TEST(Engine3D, ConstructionAndFrameHooksWithoutShaders) {
  OpenGLLumenar r;
  Lumenar3D e(&r);
  EXPECT_EQ(e.renderer, &r);
  EXPECT_EQ(e.shadowPass, 0);
  EXPECT_EQ(e.transformIndex, 0);
  EXPECT_EQ(e.frameDecodeMode, 2);
  EXPECT_EQ(e.currentShader, kNoShader);
  for (const ShaderSlot& s : e.shaders) EXPECT_EQ(s.program | s.vertexShader | s.fragmentShader, 0u);
  // Without a context the shader entry point is missing: nothing changes.
  ASSERT_EQ(pglUseProgramObjectARB, nullptr);
  e.currentShader = 5;
  UseShader(&e, -1);
  EXPECT_EQ(e.currentShader, 5u);
  // Switching off a pass that is off issues no GL call (no context here).
  SetShadowPass(&e, false);
  EXPECT_EQ(e.shadowPass, 0);
}

TEST(Engine3D, TextureFlagTruncates) {
  SetTextureFlagCmd(3.7);
  EXPECT_EQ(gTextureSelection[2], 3);
  SetTextureFlagCmd(-2.9);
  EXPECT_EQ(gTextureSelection[2], -2);
  SetTextureFlagCmd(std::numeric_limits<double>::quiet_NaN());
  EXPECT_EQ(gTextureSelection[2], 0);
  SetTextureFlagCmd(0.0);
  EXPECT_EQ(gTextureSelection[2], 0);
}

// Without a display the window cannot be made, and SDL's off-screen driver
// is not taken in its place: the reason goes to standard error and the error
// log, and the program ends with a non-zero status and its report.
TEST(Startup, NoDisplayEndsWithReasonAndFailureStatus) {
  struct Case {
    const char* display;  // null: unset
    const char* reason;
  };
  const Case cases[] = {
      {nullptr, "Cannot open the main window: no display to show a window on (DISPLAY is not set)"},
      {":97", "Cannot open the main window: no display to show a window on (DISPLAY \":97\" does "
              "not answer)"},
  };
  for (const Case& c : cases) {
    std::filesystem::path dir = std::filesystem::temp_directory_path() /
                                ("orvale-nodisplay-" + std::to_string(platform::NowMs()));
    std::filesystem::create_directories(dir);
    EXPECT_EXIT(
        {
          setenv("TMPDIR", dir.c_str(), 1);
          gProjectSettings.debugMode = 1;
          gProjectSettings.screenWidth = 640;
          gProjectSettings.screenHeight = 480;
          if (c.display)
            setenv("DISPLAY", c.display, 1);
          else
            unsetenv("DISPLAY");
          unsetenv("WAYLAND_DISPLAY");
          unsetenv("SDL_VIDEODRIVER");
          RuntimeStartup(nullptr, nullptr, "", 10, "Kestrovar");
          if (RuntimeStarted()) std::abort();
          EndProgramWithStatus(1);
        },
        testing::ExitedWithCode(1), "Orvale: Cannot open the main window: no display");
    std::ifstream log(dir / "ErrorLog.txt", std::ios::binary);
    std::stringstream text;
    text << log.rdbuf();
    EXPECT_EQ(text.str().rfind(c.reason, 0), 0u) << text.str();
    EXPECT_NE(text.str().find("-End On Line\r\n0\r\n-1\r\n0\r\n0\r\n"), std::string::npos);
    std::filesystem::remove_all(dir);
  }
}

// Display names the probe does not read are left to the video system; a
// local display nobody serves is told apart from a silent one at once.
TEST(Startup, DisplayProbeReadsXlibNames) {
  for (const char* name : {"", "/private/tmp/launch:0", "host::0", "nocolon", ":x", "decnet/a:1"})
    EXPECT_EQ(platform::ProbeXDisplay(name, 1000), platform::DisplayAnswer::kUnknownName) << name;
  for (const char* name : {":4093", "unix:4093.0", "localhost:4093", "127.0.0.1:4093",
                           "tcp/127.0.0.1:4093", "[::1]:4093"}) {
    const double t0 = platform::NowMs();
    EXPECT_EQ(platform::ProbeXDisplay(name, 3000), platform::DisplayAnswer::kNoServer) << name;
    EXPECT_LT(platform::NowMs() - t0, 2500) << name;
  }
}

// A server must send its whole reply to the connection setup (8 bytes, then
// as many 4-byte units as bytes 6 and 7 give) within the time; a part of
// it and then silence counts as no answer.
TEST(Startup, DisplayProbeWaitsForTheWholeSetupReply) {
  struct Case {
    std::vector<std::string> pieces;
    bool closes;  // the server closes after its pieces, else it stays silent
    platform::DisplayAnswer answer;
  };
  const std::string success("\x01\x00\x0b\x00\x00\x00\x02\x00", 8);
  const std::string failed("\x00\x05\x0b\x00\x00\x00\x02\x00", 8);
  const Case cases[] = {
      {{std::string("\x01\x00\x0b\x00\x00\x00", 6)}, false, platform::DisplayAnswer::kSilent},
      {{success, "1234"}, false, platform::DisplayAnswer::kSilent},
      {{success, "1234", "5678"}, false, platform::DisplayAnswer::kAnswers},
      {{success.substr(0, 3), success.substr(3) + "12345678"}, false,
       platform::DisplayAnswer::kAnswers},
      {{failed + "nope    "}, false, platform::DisplayAnswer::kAnswers},
      {{std::string("\x01\x00\x0b", 3)}, true, platform::DisplayAnswer::kAnswers},
  };
  // A TCP display number whose port 6000 + n is free.
  int listener = -1, number = 0;
  for (number = 400; number < 700 && listener < 0; ++number) {
    uint16_t bound = 0;
    listener = platform::RawTcpListen(uint16_t(6000 + number), &bound);
  }
  ASSERT_GE(listener, 0);
  const std::string display = "127.0.0.1:" + std::to_string(number - 1);
  int i = 0;
  for (const Case& c : cases) {
    std::thread server([&] {
      int fd = platform::RawTcpAccept(listener, 5000);
      if (fd < 0) return;
      char setup[12];
      platform::RawTcpRecv(fd, setup, sizeof setup, 2000);
      for (const std::string& p : c.pieces) {
        platform::RawTcpSend(fd, p.data(), int64_t(p.size()));
        platform::SleepMs(30);
      }
      if (!c.closes) {
        char byte;
        platform::RawTcpRecv(fd, &byte, 1, 3000);  // until the probe lets go
      }
      platform::RawTcpClose(fd);
    });
    const double t0 = platform::NowMs();
    EXPECT_EQ(platform::ProbeXDisplay(display.c_str(), 1500), c.answer) << i;
    const double spent = platform::NowMs() - t0;
    if (c.answer == platform::DisplayAnswer::kSilent)
      EXPECT_GE(spent, 1400) << i;
    else
      EXPECT_LT(spent, 1000) << i;
    platform::EndDisplayProbe();
    server.join();
    ++i;
  }
  platform::RawTcpClose(listener);
}

TEST(MainWindow, PlaceOnScreenKeepsAWindowOnTheScreenWhereItFits) {
  struct Case {
    int position, size, screen, expected;
  };
  const Case cases[] = {
      {100, 640, 1024, 100},  // already on screen
      {-50, 640, 1024, 0},    // off the near edge
      {600, 640, 1024, 384},  // off the far edge
      {-160, 640, 320, 0},    // larger than the screen: the origin
      {10, 640, 640, 0},      // exactly the screen's size
  };
  for (const Case& c : cases)
    EXPECT_EQ(PlaceOnScreen(c.position, c.size, c.screen), c.expected)
        << c.position << " " << c.size << " " << c.screen;
}
