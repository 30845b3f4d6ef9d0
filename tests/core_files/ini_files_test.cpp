#include "core/ini_files.h"

#include <string>
#include <utility>
#include <vector>

#include "file_fixture.h"

namespace {

class IniTest : public FileFixture {
 protected:
  void SetUp() override {
    FileFixture::SetUp();
    IniFree(gIniData);
  }
  void TearDown() override {
    IniFree(gIniData);
    FileFixture::TearDown();
  }
  static std::string Value(const char* section, const char* key) {
    return IniGetValue(BasicString(section), BasicString(key)).c_str();
  }
  static void Set(const char* section, const char* key, const char* value) {
    IniAccess(BasicString(section), BasicString(key), BasicString(value));
  }
  // The sections and their pairs as read.
  static std::vector<std::pair<std::string, std::vector<std::string>>> Dump(const IniData& d) {
    std::vector<std::pair<std::string, std::vector<std::string>>> out;
    for (int32_t i = 0; i < d.sections.count; ++i) {
      const IniSection& s = d.sections.data[i];
      std::vector<std::string> pairs;
      for (int32_t k = 0; k < s.pairs.count; ++k)
        pairs.push_back(std::string(s.pairs.data[k].key.c_str()) + "=" + s.pairs.data[k].value.c_str());
      out.emplace_back(s.name.c_str(), pairs);
    }
    return out;
  }
};

using Sections = std::vector<std::pair<std::string, std::vector<std::string>>>;

}  // namespace

TEST_F(IniTest, ParsesSectionsKeysAndComments) {
  struct Case {
    const char* text;
    Sections expect;
  } cases[] = {
      {"[Video]\r\nwidth = 640\r\n; comment\r\nheight=480\r\n",
       {{"Video", {"width=640", "height=480"}}}},
      {"[my section]\r\na=1\r\n[ name ]\r\nb=2\r\n[open\r\nc=3\r\n[]\r\nd=4\r\n",
       {{"my", {"a=1"}}, {"name", {"b=2"}}, {"open", {"c=3"}}, {"open", {"d=4"}}}},
      {"[s]\r\nempty=\r\nblank=   \r\nnoequals\r\nkey value\r\nspaces=v  \r\ntab=v\t\r\n"
       "high=v\xE9\r\n  indented = x = y\r\nctl=v\x01\x1F\r\n",
       {{"s", {"spaces=v  ", "tab=v", "high=v\xE9", "indented=x = y", "ctl=v"}}}},
      {"top=1\r\n[lonely]\r\n[after]\r\nk=v\r\n", {{"", {"top=1"}}, {"after", {"k=v"}}}},
      {"", {}},
  };
  for (const Case& c : cases) {
    Write("t.ini", c.text);
    IniOpen(BasicString("t.ini"));
    EXPECT_EQ(Dump(gIniData), c.expect) << c.text;
    EXPECT_EQ(gIniData.modified, 0);
  }
  EXPECT_EQ(Value("s", "empty"), "NO_DATA");
  Write("t.ini", "[Video]\r\nWidth=640\r\n[video]\r\nheight=480\r\n");
  IniOpen(BasicString("t.ini"));
  EXPECT_EQ(Value("VIDEO", "width"), "640");
  EXPECT_EQ(Value("video", "height"), "NO_DATA");  // only the first section is searched
  EXPECT_EQ(Value("audio", "x"), "NO_DATA");
}

TEST_F(IniTest, ChangesAreWrittenBackByteForByte) {
  const std::string original = "[Video]\r\nwidth=640\r\nheight=480\r\n[Sound]\r\nvolume=7\r\n";
  Write("game.ini", original);
  IniOpen(BasicString("game.ini"));
  IniOpen(BasicString("other.ini"));  // unchanged: not written
  EXPECT_EQ(Read("game.ini"), original);

  IniOpen(BasicString("game.ini"));
  Set("video", "width", "800");
  Set("Sound", "volume", "");  // deletes the pair
  Set("Input", "keys", "arrows");
  Set("Video", "depth", "");  // a new key is added even with no value
  IniOpen(BasicString("other.ini"));
  EXPECT_EQ(Read("game.ini"),
            "[Video]\r\nwidth=800\r\nheight=480\r\ndepth=\r\n[Sound]\r\n[Input]\r\nkeys=arrows\r\n");

  // Reading that back drops the empty section and the key without a value.
  IniOpen(BasicString("game.ini"));
  Set("Video", "width", "640");
  FinaliseIniFiles();
  EXPECT_EQ(Read("game.ini"), "[Video]\r\nwidth=640\r\nheight=480\r\n[Input]\r\nkeys=arrows\r\n");
}

// Values in UTF-8 keep their last letter, also through a write-back.
TEST_F(IniTest, Utf8ValuesKeepTheirLastBytes) {
  Write("u.ini", "[names]\r\nname=caf\xC3\xA9\r\nonly=\xC3\xA9\r\nsign=\xE2\x82\xAC \t\r\n");
  IniOpen(BasicString("u.ini"));
  EXPECT_EQ(Value("names", "name"), "caf\xC3\xA9");
  EXPECT_EQ(Value("names", "only"), "\xC3\xA9");
  EXPECT_EQ(Value("names", "sign"), "\xE2\x82\xAC ");
  Set("names", "other", "x");
  IniOpen(BasicString("none.ini"));
  EXPECT_EQ(Read("u.ini"),
            "[names]\r\nname=caf\xC3\xA9\r\nonly=\xC3\xA9\r\nsign=\xE2\x82\xAC \r\nother=x\r\n");
}

TEST_F(IniTest, DeletingASectionAloneIsSaved) {
  Write("game.ini", "[a]\r\nk=1\r\n[b]\r\nk=2\r\n[c]\r\nk=3\r\n");
  IniOpen(BasicString("game.ini"));
  Set("A", "", "");
  EXPECT_EQ(gIniData.modified, 1);
  IniOpen(BasicString("game.ini"));  // writes back, then reads again
  EXPECT_EQ(Read("game.ini"), "[c]\r\nk=3\r\n[b]\r\nk=2\r\n");  // the last took its place
  Set("missing", "", "");
  EXPECT_EQ(gIniData.modified, 0);
}

TEST_F(IniTest, MissingFileIsCreatedOnWriteBack) {
  IniOpen(BasicString("new.ini"));
  EXPECT_EQ(Value("x", "y"), "NO_DATA");
  Set("x", "y", "z");
  FinaliseIniFiles();
  EXPECT_EQ(Read("new.ini"), "[x]\r\ny=z\r\n");
  // Without an open file nothing is written anywhere.
  Set("x", "y", "z");
  FinaliseIniFiles();
}

TEST_F(IniTest, ArchiveFileIsWrittenToTheRealName) {
  Write("src/cfg/setup.ini", "[Video]\r\nwidth=640\r\n");
  PackAndUse((root_ / "src").string(), (root_ / "media.gfx").string());
  BasicString name("cfg/setup.ini");
  IniData data;
  IniLoad(data, name);
  EXPECT_NE(std::string(name.c_str()), "cfg/setup.ini");  // the extracted copy's path
  BasicString v;
  IniGet(v, data.sections, BasicString("video"), BasicString("WIDTH"));
  EXPECT_STREQ(v.c_str(), "640");
  IniFree(data);

  // Members go by base name, so setup.ini in the current folder is the
  // name written back to; the extracted copy is not.
  IniOpen(BasicString("setup.ini"));
  EXPECT_EQ(Value("Video", "width"), "640");
  std::string copy = gShoeboxes[0]->lastTempFile;
  Set("Video", "width", "800");
  FinaliseIniFiles();
  EXPECT_EQ(Read("setup.ini"), "[Video]\r\nwidth=800\r\n");
  ASSERT_TRUE(std::filesystem::exists(copy));
  EXPECT_EQ(Read(copy), "[Video]\r\nwidth=640\r\n");
}
