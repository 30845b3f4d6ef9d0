#include "game/page_texts.h"

#include <cstring>

const PageText* FindPageText(const PageTextTable& table, const char* key) {
  if (key == nullptr) return nullptr;
  for (int i = 0; i < table.count; ++i)
    if (std::strcmp(table.entries[i].key, key) == 0) return &table.entries[i];
  return nullptr;
}

const char* PartOneText(const char* key) {
  const PageText* entry = FindPageText(gPartOneTexts, key);
  return entry != nullptr ? entry->text : "";
}
