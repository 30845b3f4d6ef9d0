// libFuzzer target: a ";DDW" scene file of arbitrary content loaded into an
// object slot. Its folder holds two good parts (binary and text) and a
// bitmap; images are decoded but not uploaded, as there is no GL here.
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>

#include "core/shoebox.h"
#include "engine3d/lumenar3d.h"
#include "frame/image_bmp.h"
#include "model_checks.h"
#include "models/ddd_file.h"
#include "models/object_build.h"
#include "models/object_loading.h"
#include "models/object_slot.h"
#include "models/scene_file.h"
#include "platform/temp_file.h"

namespace {

std::string gFolder;
Lumenar3D* gEngine = nullptr;

uint8_t DecodeOnly(const char* file, uint32_t colourKey, uint32_t*) {
  RgbaImage image = {0, 0, nullptr, 0};
  LoadBmpImage(&image, file, colourKey);
  delete[] image.pixels;
  return 0;
}

void Put(const std::string& name, const void* bytes, size_t n) {
  if (std::FILE* f = std::fopen((gFolder + name).c_str(), "wb")) {
    std::fwrite(bytes, 1, n, f);
    std::fclose(f);
  }
}

void RemoveFolder() {
  for (const char* n : {"scene.ddw", "a.ddd", "b.ddd", "t.bmp"}) std::remove((gFolder + n).c_str());
  platform::RemoveFolder(gFolder);
}

void SetUp() {
  gFolder = platform::MakePrivateFolder("fuzz-scene-");
  if (gFolder.empty()) std::abort();
  std::atexit(RemoveFolder);
  CreateShoeboxes();
  SetSceneImageLoader(DecodeOnly);
  gEngine = new Lumenar3D(nullptr);
  // A triangle built and saved as the binary part.
  ObjStart(gEngine, 0, 0);
  ObjAddVertex(gEngine, 0, 0, 0, 0, 0, 0x0000FF);
  ObjAddVertex(gEngine, 1, 0, 0, 1, 0, 0x00FF00);
  ObjAddVertex(gEngine, 0, 1, 0, 0, 1, 0xFF0000);
  ObjEnd(gEngine);
  if (!SaveObject(gEngine, (gFolder + "a.ddd").c_str(), 0)) std::abort();
  const char* text = "DDDA 1.1 0 1 255 255 0 3 0 0 1 0 2 0 1 3 0 0 0 0 0 1 1 0 0 0 0 1 0 1 0 0 0 1";
  Put("b.ddd", text, std::strlen(text));
  const uint8_t bmp[] = {'B', 'M', 58, 0, 0, 0, 0, 0, 0, 0, 54, 0, 0, 0, 40, 0, 0, 0, 1, 0, 0, 0,
                         1, 0, 0, 0, 1, 0, 24, 0, 0, 0, 0, 0, 4, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0,
                         0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 255, 0};
  Put("t.bmp", bmp, sizeof bmp);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  if (!gEngine) SetUp();
  TrimErrorLog();
  std::string scene = ";DDW\n";
  scene.append(reinterpret_cast<const char*>(data), size);
  Put("scene.ddw", scene.data(), scene.size());
  std::string path = gFolder + "scene.ddw";
  if (LoadObject(gEngine, path.c_str(), 7) != 1) std::abort();
  ObjectSlot& slot = gEngine->objects.data[7];
  if (!slot.inUse || !slot.multiPart) std::abort();
  for (int32_t i = 0; i < slot.parts.count; ++i) {
    MeshObjectX& part = slot.parts.data[i];
    if (part.textureUnit1 >= slot.textures.count || part.textureUnit2 >= slot.textures.count)
      std::abort();
    CheckAndDerive(part, part.frames.count > 0);
  }
  for (int32_t i = 0; i < slot.textures.count; ++i)
    if (slot.textures.data[i] != 0) std::abort();
  // No texture was made: nothing for GL to delete when the slot is cleared.
  slot.textures.count = 0;
  return 0;
}
