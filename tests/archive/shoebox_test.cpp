#include "core/shoebox.h"

#include <gtest/gtest.h>

#include <cctype>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <memory>
#include <random>
#include <string>
#include <vector>

#include "core/pack_codec.h"
#include "core/runtime_error.h"

namespace fs = std::filesystem;

namespace {

using Bytes = std::vector<uint8_t>;

Bytes ReadFile(const fs::path& p) {
  std::ifstream in(p, std::ios::binary);
  return Bytes(std::istreambuf_iterator<char>(in), {});
}

void WriteFile(const fs::path& p, const Bytes& b) {
  fs::create_directories(p.parent_path());
  std::ofstream out(p, std::ios::binary | std::ios::trunc);
  out.write(reinterpret_cast<const char*>(b.data()), std::streamsize(b.size()));
}

Bytes Text(const char* s) { return Bytes(s, s + std::strlen(s)); }

int32_t I32(const Bytes& b, size_t at) {
  return int32_t(uint32_t(b[at]) | uint32_t(b[at + 1]) << 8 | uint32_t(b[at + 2]) << 16 |
                 uint32_t(b[at + 3]) << 24);
}

void PutI32(Bytes& b, size_t at, int32_t v) {
  for (int i = 0; i < 4; ++i) b[at + size_t(i)] = uint8_t(uint32_t(v) >> (8 * i));
}

// Where the directory entry of a member sits in an archive made by the tool.
size_t EntryAt(const Bytes& archive, const std::string& storedName) {
  int32_t dir = I32(archive, archive.size() - 4);
  size_t at = dir >= 0 ? size_t(dir) : size_t(int64_t(archive.size()) + dir);
  while (archive[at]) {
    size_t n = archive[at];
    if (std::string(archive.begin() + long(at) + 1, archive.begin() + long(at + 1 + n)) == storedName)
      return at;
    at += 1 + n + 8;
  }
  ADD_FAILURE() << storedName << " not in the directory";
  return 0;
}

class ShoeboxTest : public ::testing::Test {
 protected:
  void SetUp() override {
    const auto* info = ::testing::UnitTest::GetInstance()->current_test_info();
    root_ = fs::path(ORVALE_BINARY_DIR) / "tests" / "archive" / "work" / info->name();
    fs::remove_all(root_);
    fs::create_directories(root_ / "tmp");
    setenv("TMPDIR", (root_ / "tmp").c_str(), 1);
    CreateShoeboxes();
  }
  void TearDown() override {
    ShutdownRuntime();  // runs the archive release step
    unsetenv("TMPDIR");
  }

  // Files to pack: gfx/TITLE.PNG, aud/x.wav, data/empty.txt, big.bin.
  void MakeSource() {
    src_ = root_ / "src";
    title_ = Text("\x89PNG fake title picture data");
    WriteFile(src_ / "gfx" / "TITLE.PNG", title_);
    WriteFile(src_ / "aud" / "x.wav", Text("RIFF sound"));
    WriteFile(src_ / "data" / "empty.txt", {});
    std::mt19937 rng(5);
    big_.resize(200000);
    for (size_t i = 0; i < big_.size(); ++i) big_[i] = uint8_t(i / 97 + (rng() % 5 == 0));
    WriteFile(src_ / "big.bin", big_);
  }

  fs::path Pack(const char* archiveName, bool fromEnd = false) {
    MakeSource();
    fs::path archive = root_ / archiveName;
    std::string cmd = std::string("\"") + ORVALE_PACK_TOOL + "\" create " +
                      (fromEnd ? "--from-end " : "") + "\"" + archive.string() + "\" \"" +
                      src_.string() + "\"";
    EXPECT_EQ(std::system(cmd.c_str()), 0) << cmd;
    return archive;
  }

  int Resolve(const char* name) { return ResolveShoeboxFile(gShoeboxes[0], name, out_); }

  size_t FilesIn(const fs::path& folder) {
    size_t n = 0;
    for (auto& e : fs::directory_iterator(folder)) n += e.is_regular_file() || e.is_symlink();
    return n;
  }

  fs::path root_, src_;
  Bytes title_, big_;
  char out_[kShoeboxPathSize];
};

}  // namespace

TEST_F(ShoeboxTest, ExtractsMembersByBaseNameIgnoringCase) {
  fs::path archive = Pack("media.gfx");
  SetShoebox(archive.c_str(), "");
  ASSERT_EQ(Resolve("gfx/title.png"), 1);
  fs::path got = out_;
  std::string base = got.filename().string();
  ASSERT_EQ(base.size(), 3 + 2 + 9u);
  EXPECT_EQ(base.substr(0, 3), "sbx");
  EXPECT_TRUE(std::isupper(base[3]) && std::isupper(base[4]));
  EXPECT_EQ(base.substr(5), "TITLE.PNG");
  EXPECT_EQ(got.extension(), ".PNG");
  EXPECT_EQ(ReadFile(got), title_);
  EXPECT_EQ(fs::status(got.parent_path()).permissions() & fs::perms::all, fs::perms::owner_all);

  // Each look-up replaces the last temporary file.
  ASSERT_EQ(Resolve("BIG.BIN"), 1);
  EXPECT_FALSE(fs::exists(got));
  EXPECT_EQ(ReadFile(out_), big_);
  ASSERT_EQ(Resolve("data\\empty.txt"), 1);
  EXPECT_TRUE(ReadFile(out_).empty());
  fs::path last = out_;

  EXPECT_EQ(Resolve("gfx/missing.png"), 0);
  EXPECT_STREQ(out_, "");
  EXPECT_FALSE(fs::exists(last));
  EXPECT_EQ(Resolve(""), 0);
  EXPECT_EQ(Resolve("gfx/"), 0);

  // The second object is separate: nothing named, nothing found.
  EXPECT_EQ(ResolveShoeboxFile(gShoeboxes[1], "x.wav", out_), 0);
  EXPECT_EQ(gShoeboxes[1]->usable, 0);
}

TEST_F(ShoeboxTest, RealFileWinsOverMember) {
  fs::path archive = Pack("media.gfx");
  SetShoebox(archive.c_str(), "");
  fs::path real = root_ / "game" / "gfx" / "title.png";
  WriteFile(real, Text("real"));
  std::string name = real.string();
  ASSERT_EQ(Resolve(name.c_str()), 1);
  EXPECT_STREQ(out_, name.c_str());
  EXPECT_EQ(gShoeboxes[0]->lastTempFile[0], 0);
  // A folder of that name is not a file: the member is used.
  fs::remove(real);
  fs::create_directories(real);
  ASSERT_EQ(Resolve(name.c_str()), 1);
  EXPECT_EQ(ReadFile(out_), title_);
  // Real files are found without any container.
  EXPECT_EQ(ResolveShoeboxFile(nullptr, archive.c_str(), out_), 1);
}

TEST_F(ShoeboxTest, DirectoryCountedFromTheEnd) {
  fs::path archive = Pack("tail.gfx", true);
  Bytes bytes = ReadFile(archive);
  EXPECT_LT(I32(bytes, bytes.size() - 4), 0);
  // Appended to another file it still reads.
  Bytes joined = Text("some program image in front of the archive");
  joined.insert(joined.end(), bytes.begin(), bytes.end());
  fs::path appended = root_ / "joined.bin";
  WriteFile(appended, joined);
  SetShoebox(appended.c_str(), "");
  ASSERT_EQ(Resolve("gfx/title.png"), 1);
  EXPECT_EQ(ReadFile(out_), title_);
  ASSERT_EQ(Resolve("big.bin"), 1);
  EXPECT_EQ(ReadFile(out_), big_);
}

TEST_F(ShoeboxTest, TemporaryNameLettersAndFirstEntryWins) {
  // Hand-built container: a block at offset 300 whose size is 55, and a
  // second member of the same base name in another folder.
  std::unique_ptr<PackCodec> c(new PackCodec);
  PackCodecInit(*c, 1);
  Bytes first, second;
  for (size_t n = 1; n < 100 && first.size() != 55; ++n) {
    Bytes data(n);
    std::mt19937 rng(static_cast<uint32_t>(n));
    for (auto& x : data) x = uint8_t(rng());
    uint32_t len = PackCodecCompress(*c, data.data(), uint32_t(data.size()));
    if (len == 55) first.assign(c->output, c->output + len), second = data;
  }
  ASSERT_EQ(first.size(), 55u);
  Bytes other = Text("other");
  uint32_t otherLen = PackCodecCompress(*c, other.data(), uint32_t(other.size()));
  Bytes otherBlock(c->output, c->output + otherLen);
  PackCodecReset(*c);

  Bytes file(300, 0xEE);
  file.insert(file.end(), first.begin(), first.end());
  size_t otherAt = file.size();
  file.insert(file.end(), otherBlock.begin(), otherBlock.end());
  size_t dir = file.size();
  auto entry = [&](const std::string& name, int32_t offset, int32_t size) {
    file.push_back(uint8_t(name.size()));
    file.insert(file.end(), name.begin(), name.end());
    file.resize(file.size() + 8);
    PutI32(file, file.size() - 8, offset);
    PutI32(file, file.size() - 4, size);
  };
  entry("a\\pic.bmp", 300, 55);
  entry("b\\pic.bmp", int32_t(otherAt), int32_t(otherLen));
  file.push_back(0);
  file.insert(file.end(), {'s', 'b', 'X', 0, 0, 0, 0});
  PutI32(file, file.size() - 4, int32_t(dir));
  WriteFile(root_ / "hand.gfx", file);

  SetShoebox((root_ / "hand.gfx").c_str(), "");
  ASSERT_EQ(Resolve("b/PIC.BMP"), 1);
  EXPECT_EQ(fs::path(out_).filename(), "sbxSDpic.bmp");
  EXPECT_EQ(ReadFile(out_), second);
}

TEST_F(ShoeboxTest, BadTrailerDisablesTheObjectUntilRenamed) {
  fs::path archive = Pack("media.gfx");
  Bytes bytes = ReadFile(archive);
  Bytes broken = bytes;
  broken[broken.size() - 7] = 'x';
  fs::path bad = root_ / "bad.gfx";
  WriteFile(bad, broken);
  SetShoebox(bad.c_str(), "");
  EXPECT_EQ(Resolve("title.png"), 0);
  EXPECT_EQ(gShoeboxes[0]->usable, 0);
  WriteFile(bad, bytes);  // repaired, but the object stays off
  EXPECT_EQ(Resolve("title.png"), 0);
  SetShoebox(bad.c_str(), "");
  EXPECT_EQ(Resolve("title.png"), 1);

  // Directory offsets outside the file, files too short for a trailer, a
  // missing container.
  for (int32_t dir : {int32_t(bytes.size()), -int32_t(bytes.size()) - 1, INT32_MAX, INT32_MIN}) {
    Bytes b = bytes;
    PutI32(b, b.size() - 4, dir);
    WriteFile(bad, b);
    SetShoebox(bad.c_str(), "");
    EXPECT_EQ(Resolve("title.png"), 0) << dir;
  }
  WriteFile(bad, Text("sbX"));
  SetShoebox(bad.c_str(), "");
  EXPECT_EQ(Resolve("title.png"), 0);
  SetShoebox((root_ / "nowhere.gfx").c_str(), "");
  EXPECT_EQ(Resolve("title.png"), 0);
  EXPECT_EQ(gShoeboxes[0]->usable, 0);
}

TEST_F(ShoeboxTest, DamagedMembersFailWithoutTemporaryFile) {
  fs::path archive = Pack("media.gfx");
  const Bytes good = ReadFile(archive);
  SetShoebox(archive.c_str(), "");
  ASSERT_EQ(Resolve("big.bin"), 1);
  fs::path folder = fs::path(out_).parent_path();
  size_t entry = EntryAt(good, "big.bin");
  size_t offsetAt = entry + 1 + 7, sizeAt = offsetAt + 4;
  int32_t offset = I32(good, offsetAt), size = I32(good, sizeAt);

  struct Case {
    const char* what;
    Bytes file;
  };
  std::vector<Case> cases;
  auto patched = [&](size_t at, int32_t v) {
    Bytes b = good;
    PutI32(b, at, v);
    return b;
  };
  cases.push_back({"member past the end", patched(offsetAt, int32_t(good.size()) - 10)});
  cases.push_back({"member before the start", patched(offsetAt, -5)});
  cases.push_back({"size past the end", patched(sizeAt, int32_t(good.size()))});
  cases.push_back({"negative size", patched(sizeAt, -1)});
  cases.push_back({"huge size", patched(sizeAt, INT32_MAX)});
  cases.push_back({"block of 3 bytes", patched(sizeAt, 3)});
  cases.push_back({"block of 0 bytes", patched(sizeAt, 0)});
  Bytes flipped = good;
  for (int32_t i = offset + 8; i < offset + size; i += 13) flipped[size_t(i)] ^= 0xA5;
  cases.push_back({"damaged stream", flipped});
  Bytes shortStream = patched(sizeAt, size - 20);
  cases.push_back({"stream cut short", shortStream});
  Bytes bigWord = good;
  bigWord[size_t(offset) + 3] = 0x40;  // claims 1 GB
  cases.push_back({"size word over the cap", bigWord});

  fs::path damaged = root_ / "damaged.gfx";
  for (const Case& k : cases) {
    WriteFile(damaged, k.file);
    SetShoebox(damaged.c_str(), "");
    std::strcpy(out_, "stale");
    EXPECT_EQ(Resolve("big.bin"), 0) << k.what;
    EXPECT_STREQ(out_, "") << k.what;
    EXPECT_EQ(FilesIn(folder), 0u) << k.what;
    EXPECT_EQ(gShoeboxes[0]->usable, 1) << k.what;
    // Other members of the same container still come out.
    EXPECT_EQ(Resolve("x.wav"), 1) << k.what;
  }
}

TEST_F(ShoeboxTest, PlantedLinksAreNeverFollowed) {
  fs::path archive = Pack("media.gfx");
  SetShoebox(archive.c_str(), "");
  ASSERT_EQ(Resolve("gfx/title.png"), 1);
  fs::path expected = out_;
  ASSERT_EQ(Resolve("nothing"), 0);  // removes it again

  // Links under the member's temporary name, in the shared temporary folder
  // and in the member folder, pointing at a file that must stay untouched.
  fs::path victim = root_ / "victim.txt";
  WriteFile(victim, Text("keep me"));
  fs::path shared = root_ / "tmp" / expected.filename();
  fs::create_symlink(victim, shared);
  fs::create_symlink(victim, expected);
  ASSERT_EQ(Resolve("gfx/title.png"), 1);
  EXPECT_EQ(fs::path(out_), expected);
  EXPECT_FALSE(fs::is_symlink(expected));
  EXPECT_EQ(ReadFile(out_), title_);
  EXPECT_EQ(ReadFile(victim), Text("keep me"));
  EXPECT_TRUE(fs::is_symlink(shared));
}

// A TMPDIR that is no folder (or cannot be written) falls back to /tmp.
TEST_F(ShoeboxTest, UnusableTemporaryFolderFallsBackToTmp) {
  fs::path archive = Pack("media.gfx");
  WriteFile(root_ / "notafolder", Text("x"));
  for (fs::path tmp : {root_ / "notafolder", root_ / "no" / "such" / "folder"}) {
    setenv("TMPDIR", tmp.c_str(), 1);
    SetShoebox(archive.c_str(), "");
    ASSERT_EQ(Resolve("title.png"), 1) << tmp;
    EXPECT_EQ(fs::path(out_).parent_path().parent_path(), fs::path("/tmp")) << out_;
    EXPECT_EQ(ReadFile(out_), title_);
  }
}

std::string LogText(const fs::path& folder) {
  std::ifstream in(folder / "ErrorLog.txt", std::ios::binary);
  return std::string(std::istreambuf_iterator<char>(in), {});
}

// Why an archive cannot serve: one line naming the file and the fault; an
// archive that cannot serve at all says so once.
TEST_F(ShoeboxTest, UnusableArchivesAndDamagedMembersAreLogged) {
  fs::path archive = Pack("media.gfx");
  const Bytes good = ReadFile(archive);
  Bytes badTrailer = good;
  badTrailer[badTrailer.size() - 7] = 'x';
  Bytes damagedMember = good;
  size_t entry = EntryAt(good, "big.bin");
  int32_t offset = I32(good, entry + 1 + 7), size = I32(good, entry + 1 + 11);
  for (int32_t i = offset + 8; i < offset + size; i += 13) damagedMember[size_t(i)] ^= 0xA5;
  struct Case {
    const char* what;
    const Bytes* bytes;  // null: no file
    const char* line;
  };
  const Bytes empty, cut(good.begin(), good.begin() + long(good.size() / 2));
  const Case cases[] = {
      {"missing", nullptr, "cannot be opened (missing or unreadable)"},
      {"empty", &empty, "is empty"},
      {"cut short", &cut, "has no archive trailer or a damaged directory offset (cut short?)"},
      {"damaged trailer", &badTrailer,
       "has no archive trailer or a damaged directory offset (cut short?)"},
      {"damaged member", &damagedMember, "member big.bin is damaged"},
  };
  for (const Case& c : cases) {
    fs::path tmp = root_ / "tmp" / c.what;
    fs::create_directories(tmp);
    setenv("TMPDIR", tmp.c_str(), 1);
    fs::path file = root_ / (std::string(c.what) + ".gfx");
    if (c.bytes) WriteFile(file, *c.bytes);
    SetShoebox(file.c_str(), "");
    EXPECT_EQ(Resolve("big.bin"), 0) << c.what;
    EXPECT_EQ(Resolve("big.bin"), 0) << c.what;
    const std::string line = "Archive " + file.string() + ": " + c.line + "\r\n";
    const std::string log = LogText(tmp);
    const bool once = c.bytes != &damagedMember;
    EXPECT_EQ(log, once ? line : line + line) << c.what;
  }
}

TEST_F(ShoeboxTest, ShutdownDeletesTemporaryFiles) {
  fs::path archive = Pack("media.gfx");
  fs::path aud = Pack("media.aud");
  SetShoebox(archive.c_str(), aud.c_str());
  ASSERT_EQ(Resolve("title.png"), 1);
  fs::path one = out_;
  ASSERT_EQ(ResolveShoeboxFile(gShoeboxes[1], "x.wav", out_), 1);
  fs::path two = out_;
  EXPECT_NE(one, two);
  ShutdownRuntime();
  EXPECT_EQ(gShoeboxes[0], nullptr);
  EXPECT_EQ(gShoeboxes[1], nullptr);
  EXPECT_FALSE(fs::exists(one));
  EXPECT_FALSE(fs::exists(two));
  EXPECT_FALSE(fs::exists(one.parent_path()));
}

TEST_F(ShoeboxTest, ExitWithoutShutdownLeavesNothing) {
  fs::path archive = Pack("media.gfx");
  SetShoebox(archive.c_str(), "");
  fs::path note = root_ / "extracted.txt";
  EXPECT_EXIT(
      {
        char out[kShoeboxPathSize];
        if (ResolveShoeboxFile(gShoeboxes[0], "title.png", out)) WriteFile(note, Text(out));
        std::exit(0);
      },
      ::testing::ExitedWithCode(0), "");
  std::string path(reinterpret_cast<const char*>(ReadFile(note).data()), ReadFile(note).size());
  ASSERT_FALSE(path.empty());
  EXPECT_FALSE(fs::exists(path));
  EXPECT_FALSE(fs::exists(fs::path(path).parent_path()));
}
