// ";DDW" scene files: INI text naming the images ("textures": count, 1..T)
// and the .ddd parts ("objects": count, 1..P, and per part "<i>ta" and
// "<i>tb", texture numbers from 1) of one object slot. Names are relative to
// the scene file's folder and are resolved through the first archive.
#pragma once

#include <cstdint>

#include "models/object_slot.h"

// Most images and parts a scene may name.
constexpr int32_t kSceneMaxTextures = 4096;
constexpr int32_t kScenePartsMax = 4096;

// Loads file into a GL texture whose name replaces *texture; 1 when it did.
using SceneImageLoader = uint8_t (*)(const char* file, uint32_t colourKey, uint32_t* texture);

// The loader LoadScene uses: a BMP, else a PNG file, uploaded as one texture.
uint8_t LoadSceneImage(const char* file, uint32_t colourKey, uint32_t* texture);
// Replaces the image loader (null restores LoadSceneImage); for tools and
// tests that run without GL.
void SetSceneImageLoader(SceneImageLoader loader);

// Fills slot (emptied by the caller) from the scene file at path: the slot
// is in use and multi-part from the start, every image and part is loaded in
// key order, and a part or image that fails stays empty. A texture number
// that names no image of the scene gives -1 (no texture). A scene that was
// just extracted from the first archive loads too, its parts and images
// then taken from real files by their names or from the archive. Always 1.
uint8_t LoadScene(const char* path, ObjectSlot* slot, uint32_t colourKey);
