// The built game data: both archives hold what the game asks for, and every
// member loads through the runtime's own archive resolver and loaders.
#include <gtest/gtest.h>

#include <cstdio>
#include <cstring>
#include <fstream>
#include <iterator>
#include <regex>
#include <set>
#include <string>
#include <vector>

#include "core/shoebox.h"
#include "frame/image_png.h"
#include "frame/renderer.h"
#include "input_audio/sound_device.h"
#include "input_audio/sound_object.h"
#include "platform/audio.h"
#include "platform/media.h"

namespace {

const std::string kGameDir = ORVALE_BINARY_DIR "/game";
constexpr uint32_t kSpriteKey = 0x8000FF;

std::vector<uint8_t> ReadBytes(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  return std::vector<uint8_t>(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

// Member names as stored in an archive's directory.
std::set<std::string> ListMembers(const std::string& archive) {
  std::set<std::string> names;
  std::vector<uint8_t> bytes = ReadBytes(archive);
  if (bytes.size() < size_t(kShoeboxTrailerSize)) return names;
  int64_t start = 0;
  bool fromEnd = false;
  if (!ShoeboxReadTrailer(bytes.data() + bytes.size() - kShoeboxTrailerSize, int64_t(bytes.size()), &start,
                          &fromEnd))
    return names;
  struct Collect {
    static bool Visit(const ShoeboxMember& m, bool valid, void* user) {
      if (valid) static_cast<std::set<std::string>*>(user)->insert(m.name);
      return true;
    }
  };
  ShoeboxWalkDirectory(bytes.data() + start, bytes.size() - kShoeboxTrailerSize - size_t(start), fromEnd,
                       int64_t(bytes.size()), &Collect::Visit, &names);
  return names;
}

// One archive opened the way the game opens it; the temporary file of the
// last look-up is removed when the box goes.
class Archive {
 public:
  explicit Archive(const std::string& path) : box_{} { SetShoeboxContainer(&box_, path.c_str()); }
  ~Archive() {
    char out[kShoeboxPathSize];
    ResolveShoeboxFile(&box_, "", out);
  }
  // Path of the unpacked member, or "" when it cannot be resolved.
  std::string Resolve(const std::string& name) {
    char out[kShoeboxPathSize] = {};
    if (ResolveShoeboxFile(&box_, name.c_str(), out) != 1) return "";
    return out;
  }

 private:
  Shoebox box_;
};

struct Image {
  RgbaImage rgba{};
  ~Image() { FreeRgbaImage(&rgba); }
  const uint8_t* At(int x, int y) const { return rgba.pixels + (size_t(y) * rgba.width + x) * 4; }
};

bool LoadFromArchive(Archive& archive, const std::string& name, Image* image) {
  std::string path = archive.Resolve(name);
  return !path.empty() && LoadPngImage(&image->rgba, path.c_str(), kSpriteKey) == 1;
}

// Advances of the 96 glyphs as the game measures them: each glyph drawn
// over white (alpha-tested at 0.05, no blending), then from the column right
// of the cell leftwards the first column with a non-white pixel on an even
// row gives advance = scale x column + 2. The space is always 20.
std::vector<int> MeasureAdvances(const Image& strip, int cell) {
  const int scale = 20 / cell;
  auto white = [&](int glyph, int x, int y) {
    if (x >= cell) return true;  // the white square beyond the cell
    const uint8_t* p = strip.At(glyph * cell + x, y);
    if (p[3] <= 12) return true;  // fails the alpha test: white shows through
    return p[0] == 255 && p[1] == 255 && p[2] == 255;
  };
  std::vector<int> advances(96, 20);
  for (int glyph = 1; glyph < 96; ++glyph) {
    int x = 20 / scale, y = 0;
    while (x > 0 && white(glyph, x, y)) {
      y += 2;
      if (y == 20 / scale) {
        --x;
        y = 0;
      }
    }
    advances[size_t(glyph)] = scale * x + 2;
  }
  return advances;
}

int LineWidth(const std::vector<int>& advances, const std::string& text) {
  int sum = 0;
  for (char c : text) sum += advances[size_t(c - 32)];
  return sum;
}

TEST(GameData, ArchivesHoldEveryMemberTheGameLoads) {
  std::set<std::string> gfx = ListMembers(kGameDir + "/media.gfx");
  std::set<std::string> expected = {"aud\\wendle.wav"};
  for (const char* name : {"compo", "quillet", "biglogo", "kvtitle", "mouse", "f200targ", "kv", "vorl", "gfxfall2",
                           "gfxfall", "gfxdark", "gfxsky", "gfxdngn", "fontpc", "fontgp"})
    expected.insert(std::string("gfx\\") + name + ".png");
  for (const std::string& name : expected) EXPECT_EQ(gfx.count(name), 1u) << name;
  // Beyond those, only the adventure's pictures: "a" or "b" and a two-digit
  // location with an optional letter, or an opening-story picture.
  const std::regex adventurePicture(R"(gfx\\((a|b)\d\d[a-z]?|story0[12][a-z])\.png)");
  for (const std::string& name : gfx)
    if (!expected.count(name)) EXPECT_TRUE(std::regex_match(name, adventurePicture)) << name;

  std::set<std::string> aud = ListMembers(kGameDir + "/media.aud");
  EXPECT_EQ(aud, (std::set<std::string>{"aud\\ingame.mp3", "aud\\title.mp3"}));
}

enum class Cover { Opaque, Cutout };

struct PictureCase {
  const char* name;
  int width;
  int height;
  Cover cover;
};

TEST(GameData, PicturesLoadAtTheirSizes) {
  // Full pages cover the screen; the rest are drawn over something else and
  // need transparent surroundings.
  const PictureCase cases[] = {
      {"compo", 640, 480, Cover::Opaque},    {"quillet", 640, 480, Cover::Opaque},
      {"kvtitle", 640, 480, Cover::Opaque},  {"gfxsky", 640, 480, Cover::Opaque},
      {"gfxfall2", 640, 480, Cover::Opaque}, {"gfxdark", 640, 480, Cover::Opaque},
      {"gfxdngn", 640, 480, Cover::Opaque},  {"gfxfall", 640, 480, Cover::Cutout},
      {"biglogo", 416, 432, Cover::Cutout},  {"mouse", 40, 40, Cover::Cutout},
      {"f200targ", 5, 5, Cover::Cutout},     {"kv", 560, 72, Cover::Cutout},
      {"vorl", 400, 218, Cover::Opaque},
  };
  Archive gfx(kGameDir + "/media.gfx");
  for (const PictureCase& c : cases) {
    SCOPED_TRACE(c.name);
    Image image;
    ASSERT_TRUE(LoadFromArchive(gfx, std::string("gfx/") + c.name + ".png", &image));
    EXPECT_EQ(image.rgba.width, c.width);
    EXPECT_EQ(image.rgba.height, c.height);
    int clear = 0, solid = 0;
    for (int y = 0; y < image.rgba.height; ++y)
      for (int x = 0; x < image.rgba.width; ++x) {
        uint8_t a = image.At(x, y)[3];
        clear += a == 0;
        solid += a == 255;
      }
    const int total = image.rgba.width * image.rgba.height;
    if (c.cover == Cover::Opaque) {
      // Also catches the sprite key colour turning pixels into holes.
      EXPECT_EQ(solid, total);
    } else {
      EXPECT_GT(clear, total / 10);
      EXPECT_GT(solid, 0);
    }
  }
}

TEST(GameData, PicturesFitWhereTheGameDrawsThem) {
  Archive gfx(kGameDir + "/media.gfx");
  Image logo, kv, vorl, mouse, target;
  ASSERT_TRUE(LoadFromArchive(gfx, "gfx/biglogo.png", &logo));
  ASSERT_TRUE(LoadFromArchive(gfx, "gfx/kv.png", &kv));
  ASSERT_TRUE(LoadFromArchive(gfx, "gfx/vorl.png", &vorl));
  ASSERT_TRUE(LoadFromArchive(gfx, "gfx/mouse.png", &mouse));
  ASSERT_TRUE(LoadFromArchive(gfx, "gfx/f200targ.png", &target));
  // The title crest at (112, 24) stays on the screen.
  EXPECT_LE(112 + logo.rgba.width, 640);
  EXPECT_LE(24 + logo.rgba.height, 480);
  // Part selection: banner from y 25, portrait from y 100, and the warning
  // text from y 320 and the menu from y 350 below both.
  EXPECT_LE(25 + kv.rgba.height, 100);
  EXPECT_LE(100 + vorl.rgba.height, 320);
  EXPECT_LE(kv.rgba.width, 640);
  EXPECT_LE(vorl.rgba.width, 640);
  // The pointer's hot spot (15, 15) and the touch target's centre (2, 2)
  // are part of the picture.
  EXPECT_EQ(mouse.At(15, 15)[3], 255);
  EXPECT_EQ(mouse.At(0, 0)[3], 0);
  EXPECT_EQ(target.At(2, 2)[3], 255);
}

struct StripCase {
  const char* file;
  int cell;
  double minAverage;
  double maxAverage;
};

TEST(GameData, FontStripsGiveSensibleGlyphWidths) {
  const StripCase cases[] = {
      {"gfx/fontpc.png", 20, 13.0, 17.0},
      {"gfx/fontgp.png", 10, 10.0, 17.0},
  };
  Archive gfx(kGameDir + "/media.gfx");
  for (const StripCase& c : cases) {
    SCOPED_TRACE(c.file);
    Image strip;
    ASSERT_TRUE(LoadFromArchive(gfx, c.file, &strip));
    ASSERT_EQ(strip.rgba.width, 96 * c.cell);
    ASSERT_EQ(strip.rgba.height, c.cell);

    // Transparent background: the space cell is empty and every glyph cell
    // keeps transparent pixels around its ink.
    for (int glyph = 0; glyph < 96; ++glyph) {
      int clear = 0;
      for (int y = 0; y < c.cell; ++y)
        for (int x = 0; x < c.cell; ++x) clear += strip.At(glyph * c.cell + x, y)[3] == 0;
      if (glyph == 0)
        EXPECT_EQ(clear, c.cell * c.cell);
      else
        EXPECT_GT(clear, c.cell * c.cell / 4) << "glyph " << glyph;
    }

    std::vector<int> adv = MeasureAdvances(strip, c.cell);
    EXPECT_EQ(adv[0], 20);
    int sum = 0;
    for (int glyph = 1; glyph < 96; ++glyph) {
      EXPECT_LT(adv[size_t(glyph)], 20) << "glyph " << glyph << " reaches past its cell";
      EXPECT_GT(adv[size_t(glyph)], 2) << "glyph " << glyph << " shows no ink on the even rows";
      sum += adv[size_t(glyph)];
    }
    double average = sum / 95.0;
    EXPECT_GE(average, c.minAverage);
    EXPECT_LE(average, c.maxAverage);
    // Letters and digits are never pure white where they have ink.
    for (int y = 0; y < c.cell; ++y)
      for (int x = 0; x < strip.rgba.width; ++x) {
        const uint8_t* p = strip.At(x, y);
        if (p[3] == 0) continue;
        ASSERT_FALSE(p[0] == 255 && p[1] == 255 && p[2] == 255) << "white ink at " << x << "," << y;
      }
    if (c.cell == 20) {
      // A line of story text: the pages' layouts expect 40 to 45 characters
      // of running text on a 640-pixel line.
      const std::string line = "I say, K.V., you'll never defeat Scarrow by trying to cheat.";
      double perLine = 640.0 * double(line.size()) / LineWidth(adv, line);
      EXPECT_GE(perLine, 39.0);
      EXPECT_LE(perLine, 47.0);
    }
  }
}

TEST(GameData, LogoSoundIsAPlainPcmWavThatPlays) {
  Archive gfx(kGameDir + "/media.gfx");
  std::string path = gfx.Resolve("aud/wendle.wav");
  ASSERT_FALSE(path.empty());
  std::vector<uint8_t> b = ReadBytes(path);
  ASSERT_GE(b.size(), 44u);
  auto u16 = [&](size_t at) { return unsigned(b[at] | b[at + 1] << 8); };
  auto u32 = [&](size_t at) { return uint32_t(u16(at)) | uint32_t(u16(at + 2)) << 16; };
  EXPECT_EQ(std::memcmp(b.data(), "RIFF", 4), 0);
  EXPECT_EQ(u32(4), b.size() - 8);
  EXPECT_EQ(std::memcmp(b.data() + 8, "WAVEfmt ", 8), 0);
  EXPECT_EQ(u32(16), 16u);  // the 16-byte PCM format block
  EXPECT_EQ(u16(20), 1u);   // PCM
  const unsigned channels = u16(22), rate = u32(24), align = u16(32), bits = u16(34);
  EXPECT_EQ(channels, 2u);
  EXPECT_EQ(rate, 22050u);
  EXPECT_EQ(bits, 16u);
  EXPECT_EQ(align, channels * bits / 8);
  EXPECT_EQ(u32(28), rate * align);
  EXPECT_EQ(std::memcmp(b.data() + 36, "data", 4), 0);
  const uint32_t dataBytes = u32(40);
  EXPECT_EQ(dataBytes, b.size() - 44);
  const double seconds = double(dataBytes) / (rate * align);
  EXPECT_GE(seconds, 0.5);
  EXPECT_LE(seconds, 4.0);

  // Through the runtime's sound slots, mixed without an output device.
  CreateSoundDeviceSingleton();
  CreateSoundSlotsSingleton();
  ASSERT_TRUE(platform::AudioOpenManual());
  gSoundDevice->directSound = true;
  ASSERT_EQ(SoundObjectLoad(&gSoundSlots[0], gSoundDevice, path.c_str(), 1), 1);
  ASSERT_GE(SoundObjectPlay(&gSoundSlots[0], 0, 100, 0), 0);
  std::vector<int16_t> out(size_t(22050) * 2);
  platform::AudioRender(out.data(), 22050);
  int loudest = 0;
  for (int16_t s : out) loudest = std::max(loudest, s < 0 ? -int(s) : int(s));
  EXPECT_GT(loudest, 3000);
  SoundObjectFree(&gSoundSlots[0]);
  SoundDeviceRelease(gSoundDevice);
}

TEST(GameData, TunesDecodeAndLastLongEnoughToLoop) {
  Archive aud(kGameDir + "/media.aud");
  for (const char* name : {"aud/title.mp3", "aud/ingame.mp3"}) {
    SCOPED_TRACE(name);
    std::string path = aud.Resolve(name);
    ASSERT_FALSE(path.empty());
    platform::MediaAudio* tune = platform::MediaAudioOpen(path.c_str());
    ASSERT_NE(tune, nullptr);
    double ms = platform::MediaAudioLengthMs(tune);
    EXPECT_GE(ms, 30000.0);
    EXPECT_LE(ms, 90000.0);
    std::vector<int16_t> pcm(size_t(22050) * 2 * 2);
    int frames = platform::MediaAudioRead(tune, pcm.data(), 22050 * 2);
    EXPECT_EQ(frames, 22050 * 2);
    int loudest = 0;
    for (int i = 0; i < frames * 2; ++i) loudest = std::max(loudest, pcm[size_t(i)] < 0 ? -int(pcm[size_t(i)]) : int(pcm[size_t(i)]));
    EXPECT_GT(loudest, 3000);
    platform::MediaAudioClose(tune);
  }
}

}  // namespace
