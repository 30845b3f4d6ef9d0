#include "models/scene_file.h"

#include <cmath>
#include <cstdlib>
#include <cstring>
#include <string>

#include "core/ini_files.h"
#include "core/shoebox.h"
#include "frame/image_bmp.h"
#include "frame/image_png.h"
#include "frame/renderer.h"
#include "models/ddd_file.h"
#include "models/mesh_packing.h"
#include "platform/files.h"

namespace {

SceneImageLoader gImageLoader = LoadSceneImage;

// atof of the value, truncated toward zero; "NO_DATA" and other words are 0.
int32_t Number(const IniData& ini, const char* section, const std::string& key) {
  BasicString value;
  IniGet(value, ini.sections, BasicString(section), BasicString(key.c_str()));
  double d = std::atof(value.c_str());
  if (!(d == d)) return 0;
  if (d >= 2147483647.0) return 2147483647;
  if (d <= -2147483648.0) return -2147483647 - 1;
  return int32_t(d);
}

std::string Text(const IniData& ini, const char* section, const std::string& key) {
  BasicString value;
  IniGet(value, ini.sections, BasicString(section), BasicString(key.c_str()));
  return value.c_str();
}

// The folder part of path, its last '/' or '\' included.
std::string FolderOf(const char* path) {
  std::string p = path ? path : "";
  size_t at = p.find_last_of("/\\");
  return at == std::string::npos ? std::string() : p.substr(0, at + 1);
}

// A texture number from 1 as an index into textures: above 0 less one, 0 and
// below as they are; an index that names no texture of the scene is -1.
int32_t TextureIndex(int32_t number, int32_t textureCount) {
  int32_t index = number > 0 ? number - 1 : number;
  return index >= textureCount ? -1 : index;
}

// Resolves folder + name into out (emptied when nothing is found).
void Resolve(const std::string& folder, const std::string& name, char out[kShoeboxPathSize]) {
  out[0] = 0;
  std::string full = folder + name;
  if (name.empty() || full.size() >= size_t(kShoeboxPathSize)) {
    ResolveShoeboxFile(gShoeboxes[0], "", out);
    return;
  }
  if (!ResolveShoeboxFile(gShoeboxes[0], full.c_str(), out)) out[0] = 0;
}

}  // namespace

uint8_t LoadSceneImage(const char* file, uint32_t colourKey, uint32_t* texture) {
  RgbaImage image = {0, 0, nullptr, 0};
  uint8_t uploaded = 0;
  if (LoadBmpImage(&image, file, colourKey) || LoadPngImage(&image, file, colourKey))
    uploaded = UploadSpriteTexture(&image, 0, 0, 0, 0, texture, nullptr, 0, 0);
  FreeRgbaImage(&image);
  return uploaded;
}

void SetSceneImageLoader(SceneImageLoader loader) {
  gImageLoader = loader ? loader : LoadSceneImage;
}

uint8_t LoadScene(const char* path, ObjectSlot* slot, uint32_t colourKey) {
  slot->inUse = 1;
  slot->multiPart = 1;

  // A scene handed over as the archive's freshly extracted copy would be
  // deleted by the next resolve: take the file over for the length of the
  // load. Its names then stand for real files or archive members, not for
  // files next to the temporary copy.
  std::string owned;
  Shoebox* box = gShoeboxes[0];
  if (box && path && box->lastTempFile[0] && std::strcmp(box->lastTempFile, path) == 0) {
    owned = path;
    box->lastTempFile[0] = 0;
  }

  IniData ini;
  BasicString name(path ? path : "");
  IniLoad(ini, name);
  std::string folder = owned.empty() ? FolderOf(path) : std::string();
  char resolved[kShoeboxPathSize];

  int32_t textureCount = Number(ini, "textures", "count");
  if (textureCount > kSceneMaxTextures) textureCount = kSceneMaxTextures;
  if (textureCount < 0) textureCount = 0;
  slot->textures.count = 0;
  if (textureCount > 0) {
    GrowArrayReserve(slot->textures, textureCount);
    // An entry that gets no image holds 0, the name of no texture.
    for (int32_t i = 0; i < textureCount; ++i) slot->textures.data[i] = 0;
    slot->textures.count = textureCount;
  }
  for (int32_t i = 1; i <= textureCount; ++i) {
    Resolve(folder, Text(ini, "textures", std::to_string(i)), resolved);
    if (resolved[0]) gImageLoader(resolved, colourKey, &slot->textures.data[i - 1]);
  }

  int32_t partCount = Number(ini, "objects", "count");
  if (partCount > kScenePartsMax) partCount = kScenePartsMax;
  if (partCount < 0) partCount = 0;
  if (partCount > 0) ReserveObjectSlots(slot->parts, partCount);
  slot->parts.count = partCount;
  for (int32_t i = 1; i <= partCount; ++i) {
    MeshObjectX& part = slot->parts.data[i - 1];
    std::string key = std::to_string(i);
    Resolve(folder, Text(ini, "objects", key), resolved);
    if (resolved[0])
      ReadDdd(&part, resolved, false);
    else
      FreeMeshArrays(&part, true);
    part.textureUnit1 = TextureIndex(Number(ini, "objects", key + "ta"), textureCount);
    part.textureUnit2 = TextureIndex(Number(ini, "objects", key + "tb"), textureCount);
    part.BuildTriangleArrays();
    ComputeBoundingSpheres(&part);
  }
  // The last part or image may have come from the archive: drop its copy.
  ResolveShoeboxFile(box, "", resolved);
  IniFree(ini);
  if (!owned.empty()) platform::DeleteFile(owned.c_str());
  return 1;
}
