// DDDA text models: tokens, comments, the parse and the conversion into
// fans, and the inputs that used to overflow or run away.
#include <chrono>
#include <cmath>

#include "model_fixture.h"
#include "models/ddd_file.h"
#include "models/ddd_text.h"
#include "models/object_loading.h"

namespace {

// A tetrahedron-like file: 2 pairs, groups in two colours, frames of 4.
const char* kTwoFrames =
    "DDDA 1.1\n"
    "2  0.5 0.25  1 1          # texture pairs\n"
    "2\n"
    "300 0 255 3  0 0  1 1  2 0\n"
    "0 128 0 3  0 1  2 1  3 0\n"
    "2\n"
    "4  0 0 0 0 0 1  10 0 0 0 0 1  0 10 0 0 0 1  0 0 10 1 0 0\n"
    "4  0 0 0 0 0 1  20 0 0 0 0 1  0 20 0 0 0 1  0 0 20 1 0 0\n";

}  // namespace

using DddText = ModelFixture;

TEST_F(DddText, TokensSkipBlanksAndComments) {
  std::string text = "  12#comment 99\n\t-3.5e1 x7 7x \r\n# whole line\n0x10";
  DddReader r{};
  r.data = reinterpret_cast<const uint8_t*>(text.data());
  r.size = uint32_t(text.size());
  char token[kDddTokenSize];
  EXPECT_EQ(ReadDddToken(token, &r), 12.0f);
  EXPECT_STREQ(token, "12");
  EXPECT_EQ(ReadDddToken(token, &r), -35.0f);
  EXPECT_EQ(ReadDddToken(token, &r), 0.0f);  // a word
  EXPECT_EQ(ReadDddToken(token, &r), 7.0f);  // the number prefix
  EXPECT_EQ(ReadDddToken(token, &r), 16.0f);
  EXPECT_EQ(ReadDddToken(token, &r), 0.0f);
  EXPECT_STREQ(token, "");
}

TEST_F(DddText, LongTokensBlanksAndCommentsStayInBounds) {
  // 5000 digits, 3000 blanks before a token and a 2000-byte comment whose
  // tail looks like numbers.
  std::string text = std::string(5000, '7') + std::string(3000, ' ') + "42 #" +
                     std::string(2000, '9') + " 55\n8";
  DddReader r{};
  r.data = reinterpret_cast<const uint8_t*>(text.data());
  r.size = uint32_t(text.size());
  char token[kDddTokenSize];
  float big = ReadDddToken(token, &r);
  EXPECT_EQ(std::strlen(token), size_t(kDddTokenSize - 1));
  EXPECT_TRUE(std::isinf(big));
  EXPECT_EQ(ReadDddToken(token, &r), 42.0f);
  EXPECT_EQ(ReadDddToken(token, &r), 8.0f);
  EXPECT_EQ(ReadDddToken(token, &r), 0.0f);
}

TEST_F(DddText, HeadersThatParseAndThatFail) {
  struct Case {
    const char* text;
    uint8_t parses;
  } cases[] = {
      {"   # only a comment\n\t\n", 0},
      {"", 0},
      {"DDDB 1.0 0 0 0", 0},
      {"DDDA1.0 0 0 0", 0},
      {"DDDA 1.2 0 0 0", 0},
      {"DDDA 1.1 0 0 0", 1},
      {"DDDA 1.0", 1},
      {"# made by hand\nDDDA 0.9 0 -5 0", 1},
  };
  for (const Case& c : cases) {
    DddTextReader reader;
    EXPECT_EQ(LoadDddTextBytes(&reader, reinterpret_cast<const uint8_t*>(c.text), std::strlen(c.text)),
              c.parses)
        << c.text;
    EXPECT_TRUE(reader.groups.empty()) << c.text;
  }
  Write("empty.ddd", "DDDA 1.1 0 0 0");
  MeshObjectX mesh;
  EXPECT_EQ(ReadDdd(&mesh, "empty.ddd", false), 1);
  EXPECT_EQ(mesh.frames.count, 0);
  EXPECT_EQ(LoadObject(engine_, "empty.ddd", 0), 0);
  std::filesystem::remove(ErrorLogPath());
  Write("newer.ddd", "DDDA 1.2 0 0 0");
  EXPECT_EQ(ReadDdd(&mesh, "newer.ddd", false), 0);
  EXPECT_EQ(ErrorLog(), "# read error\r\nnewer.ddd\r\n");
}

TEST_F(DddText, VersionsReadThreeOrSixNumbersAVertex) {
  // The same numbers: version 1.0 takes them as two vertices, 1.1 as one.
  const char* body = " 0 1 0 0 0 2 0 0 1 0 1 2  1 2 1 2 3 4 5 6";
  for (auto [version, x1] : {std::pair{"1.0", 2.0f}, {"1.1", 5.0f}}) {
    std::string text = std::string("DDDA ") + version + body;
    DddTextReader reader;
    ASSERT_EQ(LoadDddTextBytes(&reader, reinterpret_cast<const uint8_t*>(text.data()), text.size()), 1);
    ASSERT_EQ(reader.frames.size(), 1u);
    ASSERT_EQ(reader.frames[0].size(), 2u);
    EXPECT_EQ(reader.frames[0][1].x, x1) << version;
  }
}

TEST_F(DddText, GroupsBecomeFansPerFrame) {
  Write("two.ddd", kTwoFrames);
  DddTextReader reader;
  ASSERT_EQ(LoadDddText(&reader, "two.ddd"), 1);
  ASSERT_EQ(reader.groups.size(), 2u);
  EXPECT_EQ(reader.groups[0].red, 300);
  EXPECT_EQ(reader.groups[1].texCoordIndices, (std::vector<int32_t>{1, 1, 0}));

  MeshObjectX mesh;
  ASSERT_EQ(ReadDdd(&mesh, "two.ddd", false), 1);
  EXPECT_EQ(mesh.normalsReady, 0u);
  ASSERT_EQ(mesh.frames.count, 2);
  // Per frame: fan marker, 3 vertices, fan marker, 3 vertices.
  ASSERT_EQ(mesh.frames.data[1].packed.count, 8);
  ASSERT_EQ(mesh.palette.count, 3);
  EXPECT_EQ(mesh.palette.data[0], FanMarker);
  EXPECT_EQ(mesh.palette.data[1], 44u | 255u << 16);  // red 300 & 255 = 44
  EXPECT_EQ(mesh.palette.data[2], 128u << 8);
  ASSERT_EQ(mesh.texU.count, 8);
  EXPECT_EQ(mesh.texU.data[2], 1.0f);  // reference 1 of group 0: pair 1
  EXPECT_EQ(mesh.texV.data[1], 0.25f);
  mesh.BuildTriangleArrays();
  ASSERT_EQ(mesh.frames.data[1].triangles.count, 6);
  const MeshVertex& far = mesh.frames.data[1].triangles.data[4];  // vertex 2 of frame 1
  EXPECT_NEAR(far.y, 20.0f, 20.0f / 255);  // one quantisation step
  EXPECT_EQ(far.colour, 128u << 8);
  EXPECT_EQ(far.v, -1.0f);

  EXPECT_EQ(LoadObject(engine_, "two.ddd", 4), 1);
  EXPECT_EQ(Part(4).drawVertices.count, 6);
}

TEST_F(DddText, DamagedTextIsRefusedOrStopsAtTheEnd) {
  struct Case {
    const char* what;
    std::string text;
    uint8_t loads;
  } cases[] = {
      {"vertex index past the frame", "DDDA 1.0 0 1 1 1 1 3 0 0 1 0 3 0 1 3 0 0 0 1 0 0 0 1 0", 0},
      {"negative vertex index", "DDDA 1.0 0 1 1 1 1 3 0 0 -1 0 2 0 1 3 0 0 0 1 0 0 0 1 0", 0},
      {"pair index past the pairs", "DDDA 1.0 1 0 0 1 1 1 1 3 0 0 1 1 2 0 1 3 0 0 0 1 0 0 0 1 0", 0},
      {"a short frame", "DDDA 1.0 0 1 1 1 1 3 0 0 1 0 2 0 1 3 0 0 0 1 0 0", 0},
      {"huge counts at the end", "DDDA 1.0 2000000000 1 1", 1},
      {"huge group count", "DDDA 1.0 0 2000000000 1 1 1 1 0 0", 1},
      {"huge frame count", "DDDA 1.0 0 0 2000000000 3 1 2 3", 1},
      {"huge vertex count", "DDDA 1.0 0 0 1 1e30 1 2 3", 1},
      {"frames times references too many",
       "DDDA 1.0 0 1 1 1 1 1000 " + [] {
         std::string refs;
         for (int i = 0; i < 1000; ++i) refs += "0 0 ";
         std::string frames = "10000 ";
         for (int i = 0; i < 10000; ++i) frames += "1 0 0 0 ";
         return refs + frames;
       }(),
       0},
  };
  for (const Case& c : cases) {
    Write("bad.ddd", c.text);
    auto start = std::chrono::steady_clock::now();
    // None of them holds a vertex to draw.
    EXPECT_EQ(LoadObject(engine_, "bad.ddd", 1), 0) << c.what;
    EXPECT_EQ(Slot(1).inUse, 0) << c.what;
    EXPECT_EQ(Part(1).frames.count, 0) << c.what;
    MeshObjectX mesh;
    EXPECT_EQ(ReadDdd(&mesh, "bad.ddd", false), c.loads) << c.what;
    if (!c.loads) {
      EXPECT_EQ(mesh.frames.count, 0) << c.what;
    }
    EXPECT_LT(std::chrono::steady_clock::now() - start, std::chrono::seconds(5)) << c.what;
  }
}

// One group of `refs` references to vertex 0 and `frames` frames of one
// vertex: each frame repeats the whole fan.
std::string RepeatedFan(int refs, int frames) {
  std::string text = "DDDA 1.1 0 1 255 255 255 " + std::to_string(refs) + "\n";
  for (int i = 0; i < refs; ++i) text += "0 0 ";
  text += "\n" + std::to_string(frames) + "\n";
  for (int i = 0; i < frames; ++i) text += "1 0 0 0 0 0 1\n";
  return text;
}

TEST_F(DddText, FansRepeatedOverFramesAreBounded) {
  // 30 KB that would expand to 12 million triangle corners (about 1 GB).
  const std::string amplifier = RepeatedFan(4000, 1000);
  ASSERT_LT(amplifier.size(), 32u * 1024);
  Write("amplifier.ddd", amplifier);
  auto start = std::chrono::steady_clock::now();
  MeshObjectX mesh;
  EXPECT_EQ(ReadDdd(&mesh, "amplifier.ddd", false), 0);
  EXPECT_EQ(mesh.frames.count, 0);
  EXPECT_EQ(ErrorLog(), "Text model too large.\r\n# read error\r\namplifier.ddd\r\n");
  EXPECT_EQ(LoadObject(engine_, "amplifier.ddd", 1), 0);
  EXPECT_EQ(Slot(1).inUse, 0);
  EXPECT_LT(std::chrono::steady_clock::now() - start, std::chrono::seconds(2));
  // Up to the bound on corners a model loads: 1026 references make 1024
  // triangles a frame, 3072 corners; 341 frames fit, 342 do not.
  static_assert(3 * 1024 * 341 <= kDddTextMaxCorners && 3 * 1024 * 342 > kDddTextMaxCorners);
  Write("fits.ddd", RepeatedFan(1026, 341));
  ASSERT_EQ(ReadDdd(&mesh, "fits.ddd", false), 1);
  EXPECT_EQ(mesh.frames.count, 341);
  EXPECT_EQ(mesh.frames.data[340].packed.count, 1027);
  Write("over.ddd", RepeatedFan(1026, 342));
  EXPECT_EQ(ReadDdd(&mesh, "over.ddd", false), 0);
  // The bound on vertex records holds for groups too short to make a
  // triangle.
  std::string pairs = "DDDA 1.0 0 512";
  for (int g = 0; g < 512; ++g) pairs += " 1 2 3 2 0 0 0 0";
  pairs += " 683";
  for (int f = 0; f < 683; ++f) pairs += " 1 0 0 0";
  static_assert(512 * 3 * 682 <= kDddTextMaxRecords && 512 * 3 * 683 > kDddTextMaxRecords);
  Write("pairs.ddd", pairs);
  EXPECT_EQ(ReadDdd(&mesh, "pairs.ddd", false), 0);
}
