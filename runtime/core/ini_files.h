// INI files: named sections of key and value pairs. The runtime holds one
// file for the language's INI commands and writes it back when another file
// is opened and when the program ends. IniLoad, IniSave and IniGet also work
// on other data (the 3D scene loader keeps its own).
#pragma once

#include <cstdint>

#include "core/basic_string.h"
#include "core/grow_array.h"

struct IniPair {
  BasicString key;
  BasicString value;
};

struct IniSection {
  BasicString name;
  GrowArray<IniPair> pairs;

  IniSection() = default;
  IniSection(const IniSection& o);
  IniSection& operator=(const IniSection& o);
  ~IniSection();
};

struct IniData {
  GrowArray<IniSection> sections;
  // The file a write-back goes to: the name the program gave, also when the
  // content was read from an archive's extracted copy.
  BasicString fileName;
  uint8_t modified = 0;
};

// Replaces data with the parsed file. name is resolved through the first
// archive and replaced by the path that was read. A missing file loads as
// empty data.
void IniLoad(IniData& data, BasicString& name);
// Writes data back (CR LF lines) when modified and fileName is set.
void IniSave(IniData& data);
// Empties data (no write-back).
void IniFree(IniData& data);
// Value of the first section named section and its first key named key
// (both ignoring ASCII case), else "NO_DATA".
void IniGet(BasicString& out, const GrowArray<IniSection>& sections, const BasicString& section,
            const BasicString& key);

// The runtime's INI file and its commands.
extern IniData gIniData;
void IniOpen(const BasicString& name);
// Empty key: deletes the section. Empty value: deletes the key. Otherwise
// sets the value, adding the section and key as needed.
void IniAccess(const BasicString& section, const BasicString& key, const BasicString& value);
BasicString IniGetValue(const BasicString& section, const BasicString& key);

// Exit step: writes the runtime's INI data back when changed and frees it.
void FinaliseIniFiles();
