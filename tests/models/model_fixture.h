// A fresh folder per test (the current folder, with its own temporary
// folder and error log), an engine without a renderer, and helpers that
// build objects and write model files byte by byte.
#pragma once

#include <gtest/gtest.h>

#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include "core/runtime_error.h"
#include "core/shoebox.h"
#include "engine3d/lumenar3d.h"
#include "models/object_build.h"
#include "models/object_slot.h"
#include "platform/system.h"

class ModelFixture : public ::testing::Test {
 protected:
  void SetUp() override {
    const auto* info = ::testing::UnitTest::GetInstance()->current_test_info();
    root_ = std::filesystem::path(ORVALE_BINARY_DIR) / "tests" / "models" / "work" /
            (std::string(info->test_suite_name()) + "." + info->name());
    std::filesystem::remove_all(root_);
    std::filesystem::create_directories(root_ / "tmp");
    setenv("TMPDIR", (root_ / "tmp").c_str(), 1);
    old_ = platform::CurrentFolder();
    ASSERT_TRUE(platform::SetCurrentFolder(root_.string()));
    CreateShoeboxes();
    engine_ = new Lumenar3D(nullptr);
    gBuildObjectIndex = -1;
  }
  void TearDown() override {
    delete engine_;
    ReleaseShoeboxes();
    platform::SetCurrentFolder(old_);
    unsetenv("TMPDIR");
  }

  static std::string Read(const std::filesystem::path& p) {
    std::ifstream in(p, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), {});
  }
  static void Write(const std::filesystem::path& p, const std::string& bytes) {
    if (p.has_parent_path()) std::filesystem::create_directories(p.parent_path());
    std::ofstream out(p, std::ios::binary | std::ios::trunc);
    out << bytes;
  }
  std::string ErrorLog() { return Read(ErrorLogPath()); }

  ObjectSlot& Slot(int n) { return engine_->objects.data[n]; }
  MeshObjectX& Part(int n, int p = 0) { return Slot(n).parts.data[p]; }

  std::filesystem::path root_;
  std::string old_;
  Lumenar3D* engine_ = nullptr;
};

// Little-endian byte writer for hand-made .ddd files.
struct Bytes {
  std::string s;
  Bytes& U32(uint32_t v) {
    for (int i = 0; i < 4; ++i) s.push_back(char(v >> (8 * i)));
    return *this;
  }
  Bytes& F32(float f) {
    uint32_t w;
    std::memcpy(&w, &f, 4);
    return U32(w);
  }
  Bytes& F64(double d) {
    uint64_t w;
    std::memcpy(&w, &d, 8);
    U32(uint32_t(w));
    return U32(uint32_t(w >> 32));
  }
  Bytes& U8(std::initializer_list<int> v) {
    for (int b : v) s.push_back(char(b));
    return *this;
  }
  // Magic, version and the three counts.
  Bytes& Header(uint32_t frames, uint32_t colours, uint32_t texCoords, double version = 1.02) {
    return U32(0x00C6B317u).F64(version).U32(frames).U32(colours).U32(texCoords);
  }
  Bytes& FrameHeader(uint32_t vertices) {
    U32(vertices);
    for (int i = 0; i < 3; ++i) F32(0);
    for (int i = 0; i < 3; ++i) F32(1);
    return *this;
  }
};

// A one-pixel 24-bit bitmap of colour (r, g, b).
inline std::string OnePixelBmp(int r, int g, int b) {
  Bytes x;
  x.U8({'B', 'M'}).U32(58).U32(0).U32(54).U32(40).U32(1).U32(1);
  x.U8({1, 0, 24, 0}).U32(0).U32(4).U32(0).U32(0).U32(0).U32(0);
  x.U8({b, g, r, 0});
  return x.s;
}
