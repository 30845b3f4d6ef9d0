// A fresh folder per test, made the current folder, with helpers for whole
// files and archives made by orvale-pack.
#pragma once

#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>

#include "core/runtime_error.h"
#include "core/shoebox.h"
#include "platform/system.h"

class FileFixture : public ::testing::Test {
 protected:
  void SetUp() override {
    const auto* info = ::testing::UnitTest::GetInstance()->current_test_info();
    root_ = std::filesystem::path(ORVALE_BINARY_DIR) / "tests" / "core_files" / "work" /
            (std::string(info->test_suite_name()) + "." + info->name());
    std::filesystem::remove_all(root_);
    std::filesystem::create_directories(root_ / "tmp");
    setenv("TMPDIR", (root_ / "tmp").c_str(), 1);
    old_ = platform::CurrentFolder();
    ASSERT_TRUE(platform::SetCurrentFolder(root_.string()));
    CreateShoeboxes();
    gErrorState = {0, 0, 0, 0};
  }
  void TearDown() override {
    ShutdownRuntime();
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
  // Packs folder into archive with the pack tool and names it as the first
  // container.
  void PackAndUse(const std::string& folder, const std::string& archive) {
    std::string cmd = std::string("\"") + ORVALE_PACK_TOOL + "\" create \"" + archive + "\" \"" +
                      folder + "\"";
    ASSERT_EQ(std::system(cmd.c_str()), 0);
    SetShoebox(archive.c_str(), "");
  }

  std::filesystem::path root_;
  std::string old_;
};
