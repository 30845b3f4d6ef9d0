// Loading a model of 100,000 triangles from a .ddd file into an object slot
// (read, checks, triangle lists, bounding sphere), in vertices per second,
// against the floor: one read of the whole file and a plain expansion of
// its 5-byte records into MeshVertex triangles with no checks.
//
//   bench_model_load [rounds]
#include <algorithm>
#include <chrono>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <memory>
#include <string>
#include <vector>

#include "engine3d/lumenar3d.h"
#include "models/ddd_file.h"
#include "models/object_build.h"
#include "models/object_loading.h"
#include "models/object_slot.h"
#include "models/unit_normals.h"
#include "platform/temp_file.h"

namespace {

using Clock = std::chrono::steady_clock;

double Seconds(Clock::duration d) { return std::chrono::duration<double>(d).count(); }

// A rolling height field of 250 x 200 quads, two listed triangles each.
void BuildTerrain(Lumenar3D* e, int n) {
  const int w = 250, h = 200;
  auto height = [](int x, int z) { return float(std::sin(x * 0.1) * 4 + std::cos(z * 0.07) * 3); };
  ObjStart(e, n, 0);
  for (int z = 0; z < h; ++z)
    for (int x = 0; x < w; ++x) {
      const int corners[6][2] = {{x, z}, {x + 1, z}, {x, z + 1}, {x + 1, z}, {x + 1, z + 1}, {x, z + 1}};
      uint32_t colour = ((x / 25 + z / 25) & 1) ? 0x3080C0u : 0x40A040u;
      for (auto& c : corners)
        ObjAddVertex(e, float(c[0]), height(c[0], c[1]), float(c[1]), c[0] / 16.0f, c[1] / 16.0f,
                     colour);
    }
  ObjEnd(e);
}

// The floor: the whole file in one read, then every record expanded into a
// fresh block, as a loader must.
size_t FloorLoad(const std::string& path) {
  std::vector<uint8_t> b;
  if (std::FILE* f = std::fopen(path.c_str(), "rb")) {
    std::fseek(f, 0, SEEK_END);
    b.resize(size_t(std::ftell(f)));
    std::fseek(f, 0, SEEK_SET);
    if (std::fread(b.data(), 1, b.size(), f) != b.size()) b.clear();
    std::fclose(f);
  }
  if (b.size() < 24) return 0;
  auto word = [&](size_t at) {
    uint32_t w;
    std::memcpy(&w, &b[at], 4);
    return w;
  };
  uint32_t colours = word(16), pairs = word(20);
  const uint32_t* palette = reinterpret_cast<const uint32_t*>(&b[24]);
  const float* tex = reinterpret_cast<const float*>(&b[24 + 4 * colours]);
  size_t frame = 24 + 4 * size_t(colours) + 8 * size_t(pairs);
  uint32_t count = word(frame);
  float offset[3], scale[3];
  std::memcpy(offset, &b[frame + 4], 12);
  std::memcpy(scale, &b[frame + 16], 12);
  const uint8_t* rec = &b[frame + 28];
  std::unique_ptr<MeshVertex[]> out(new MeshVertex[count]);  // not zeroed, as the loader's
  size_t made = 0;
  for (uint32_t i = 0; i < count; ++i, rec += 5) {
    uint32_t c = palette[rec[4]];
    if (c >= 0xFFFFFFFCu) continue;
    MeshVertex& v = out[made++];
    v.x = (rec[0] - offset[0]) * scale[0];
    v.y = (rec[1] - offset[1]) * scale[1];
    v.z = (rec[2] - offset[2]) * scale[2];
    v.nx = UnitNormalTable[rec[3]][0];
    v.ny = UnitNormalTable[rec[3]][1];
    v.nz = UnitNormalTable[rec[3]][2];
    v.u = tex[2 * i];
    v.v = -tex[2 * i + 1];
    v.colour = c;
    v.r = (c & 255) / 255.0f;
    v.g = ((c >> 8) & 255) / 255.0f;
    v.b = ((c >> 16) & 255) / 255.0f;
  }
  return made;
}

}  // namespace

int main(int argc, char** argv) {
  int rounds = argc > 1 ? std::max(1, std::atoi(argv[1])) : 7;
  std::string folder = platform::MakePrivateFolder("bench-models-");
  if (folder.empty()) {
    std::fprintf(stderr, "cannot make a temporary folder\n");
    return 1;
  }
  std::string path = folder + "terrain.ddd";
  Lumenar3D* engine = new Lumenar3D(nullptr);
  BuildTerrain(engine, 0);
  if (!SaveObject(engine, path.c_str(), 0)) {
    std::fprintf(stderr, "cannot write %s\n", path.c_str());
    return 1;
  }
  const int32_t triangles = engine->objects.data[0].parts.data[0].drawVertices.count / 3;

  double bestLoad = 1e9, bestFloor = 1e9;
  int32_t vertices = 0;
  size_t floorVertices = 0;
  for (int round = 0; round < rounds; ++round) {
    auto t0 = Clock::now();
    if (!LoadObject(engine, path.c_str(), 1)) {
      std::fprintf(stderr, "load failed\n");
      return 1;
    }
    auto t1 = Clock::now();
    floorVertices = FloorLoad(path);
    auto t2 = Clock::now();
    vertices = engine->objects.data[1].parts.data[0].drawVertices.count;
    bestLoad = std::min(bestLoad, Seconds(t1 - t0));
    bestFloor = std::min(bestFloor, Seconds(t2 - t1));
  }
  long fileSize = 0;
  if (std::FILE* f = std::fopen(path.c_str(), "rb")) {
    std::fseek(f, 0, SEEK_END);
    fileSize = std::ftell(f);
    std::fclose(f);
  }
  std::remove(path.c_str());
  platform::RemoveFolder(folder);
  delete engine;

  std::printf("model: %d triangles, %d triangle vertices, .ddd of %.1f KB\n", triangles, vertices,
              fileSize / 1024.0);
  std::printf("LoadObject  %.2f ms  %.1f M vertices/s\n", bestLoad * 1e3, vertices / bestLoad / 1e6);
  std::printf("floor       %.2f ms  %.1f M vertices/s (%zu vertices)\n", bestFloor * 1e3,
              floorVertices / bestFloor / 1e6, floorVertices);
  std::printf("ratio %.2f (load time / floor time)\n", bestLoad / bestFloor);
  return 0;
}
