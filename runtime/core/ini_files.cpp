#include "core/ini_files.h"

#include <cstdio>
#include <cstring>

#include "core/runtime_error.h"
#include "core/shoebox.h"
#include "core/text_lines.h"
#include "platform/system.h"

IniData gIniData;

namespace {

constexpr size_t kIniLineSize = 1024;

bool IsBlank(char c) { return c == ' ' || c == '\t' || c == '\r' || c == '\n'; }

char Lower(char c) { return (c >= 'A' && c <= 'Z') ? char(c - 'A' + 'a') : c; }

bool SameIgnoringCase(const char* a, const char* b) {
  for (; *a && *b; ++a, ++b)
    if (Lower(*a) != Lower(*b)) return false;
  return *a == *b;
}

void UseSectionGrowth(IniData& data) {
  data.sections.growStep = 16;
  data.sections.firstCapacity = 8;
}

int32_t FindSection(const GrowArray<IniSection>& sections, const char* name) {
  for (int32_t i = 0; i < sections.count; ++i)
    if (SameIgnoringCase(sections.data[i].name.c_str(), name)) return i;
  return -1;
}

int32_t FindKey(const GrowArray<IniPair>& pairs, const char* key) {
  for (int32_t i = 0; i < pairs.count; ++i)
    if (SameIgnoringCase(pairs.data[i].key.c_str(), key)) return i;
  return -1;
}

// Moves the last element into place i and drops the count.
template <typename T>
void RemoveAt(GrowArray<T>& a, int32_t i) {
  if (i != a.count - 1) a.data[i] = a.data[a.count - 1];
  a.data[a.count - 1] = T();
  --a.count;
}

void ParseLine(char* line, IniSection& collecting, IniData& data) {
  char* p = line;
  while (IsBlank(*p)) ++p;
  if (!*p || *p == ';') return;
  if (*p == '[') {
    if (collecting.pairs.count > 0) {
      GrowArrayAppend(data.sections, collecting);
      GrowArrayClear(collecting.pairs);
    }
    ++p;
    while (IsBlank(*p)) ++p;
    char* start = p;
    while (*p && !IsBlank(*p) && *p != '=') ++p;
    size_t n = size_t(p - start);
    if (n > 0 && start[n - 1] == ']') --n;
    if (n > 0) {
      start[n] = 0;
      collecting.name = start;
    }
    return;
  }
  char* key = p;
  while (*p && !IsBlank(*p) && *p != '=') ++p;
  if (!*p) return;
  char* keyEnd = p;
  while (IsBlank(*p)) ++p;
  if (*p != '=') return;
  ++p;
  while (IsBlank(*p)) ++p;
  if (!*p) return;
  char* value = p;
  size_t n = std::strlen(value);
  while (n > 0 && uint8_t(value[n - 1]) < 32) --n;  // UTF-8 letters and blanks stay
  value[n] = 0;
  *keyEnd = 0;
  IniPair pair;
  pair.key = key;
  pair.value = value;
  GrowArrayAppend(collecting.pairs, pair);
}

void EnsureExitStep() { SetExitStep(kExitIniFiles, FinaliseIniFiles); }

}  // namespace

IniSection::IniSection(const IniSection& o) : name(o.name) {
  pairs.growStep = o.pairs.growStep;
  pairs.firstCapacity = o.pairs.firstCapacity;
  for (int32_t i = 0; i < o.pairs.count; ++i) GrowArrayAppend(pairs, o.pairs.data[i]);
}

IniSection& IniSection::operator=(const IniSection& o) {
  if (this == &o) return *this;
  name = o.name;
  GrowArrayClear(pairs);
  pairs.growStep = o.pairs.growStep;
  pairs.firstCapacity = o.pairs.firstCapacity;
  for (int32_t i = 0; i < o.pairs.count; ++i) GrowArrayAppend(pairs, o.pairs.data[i]);
  return *this;
}

IniSection::~IniSection() { GrowArrayClear(pairs); }

void IniFree(IniData& data) {
  GrowArrayClear(data.sections);
  data.fileName = "";
  data.modified = 0;
}

void IniLoad(IniData& data, BasicString& name) {
  IniFree(data);
  UseSectionGrowth(data);
  BasicString given = name;
  char path[kShoeboxPathSize];
  if (ResolveShoeboxFile(gShoeboxes[0], name.c_str(), path)) name = path;
  data.fileName = given;
  std::FILE* f = std::fopen(platform::NativePath(name.c_str()).c_str(), "rb");
  if (!f) return;
  IniSection collecting;
  char line[kIniLineSize + 1];
  while (ReadTextLine(f, line, kIniLineSize, nullptr)) ParseLine(line, collecting, data);
  if (collecting.pairs.count > 0) GrowArrayAppend(data.sections, collecting);
  std::fclose(f);
}

void IniSave(IniData& data) {
  if (!data.modified || data.fileName.empty()) return;
  // Written in place rather than deleted first, so a file that cannot be
  // created keeps its old content.
  std::FILE* f = std::fopen(platform::NativePath(data.fileName.c_str()).c_str(), "wb");
  if (!f) return;
  for (int32_t i = 0; i < data.sections.count; ++i) {
    const IniSection& s = data.sections.data[i];
    std::fprintf(f, "[%s]\r\n", s.name.c_str());
    for (int32_t k = 0; k < s.pairs.count; ++k)
      std::fprintf(f, "%s=%s\r\n", s.pairs.data[k].key.c_str(), s.pairs.data[k].value.c_str());
  }
  if (std::fclose(f) == 0) data.modified = 0;
}

void IniGet(BasicString& out, const GrowArray<IniSection>& sections, const BasicString& section,
            const BasicString& key) {
  int32_t s = FindSection(sections, section.c_str());
  int32_t k = s < 0 ? -1 : FindKey(sections.data[s].pairs, key.c_str());
  if (k < 0) {
    out = "NO_DATA";
    return;
  }
  out = sections.data[s].pairs.data[k].value;
}

void IniOpen(const BasicString& name) {
  EnsureExitStep();
  if (gIniData.modified) IniSave(gIniData);
  BasicString copy = name;
  IniLoad(gIniData, copy);
}

void IniAccess(const BasicString& section, const BasicString& key, const BasicString& value) {
  EnsureExitStep();
  GrowArray<IniSection>& sections = gIniData.sections;
  int32_t s = FindSection(sections, section.c_str());
  if (key.empty()) {
    if (s >= 0) {
      RemoveAt(sections, s);
      gIniData.modified = 1;  // a deletion alone is written back too
    }
    return;
  }
  if (s < 0) {
    IniSection fresh;
    fresh.name = section;
    GrowArrayAppend(sections, fresh);
    s = sections.count - 1;
  }
  GrowArray<IniPair>& pairs = sections.data[s].pairs;
  int32_t k = FindKey(pairs, key.c_str());
  gIniData.modified = 1;
  if (k >= 0) {
    if (value.empty())
      RemoveAt(pairs, k);
    else
      pairs.data[k].value = value;
    return;
  }
  IniPair pair;
  pair.key = key;
  pair.value = value;
  GrowArrayAppend(pairs, pair);
}

BasicString IniGetValue(const BasicString& section, const BasicString& key) {
  BasicString out;
  IniGet(out, gIniData.sections, section, key);
  return out;
}

void FinaliseIniFiles() {
  IniSave(gIniData);
  IniFree(gIniData);
}
