// Part Two's story texts: one table, looked up by key ("p2.loc04.padlock").
#pragma once

#include "game/page_texts.h"

extern const PageTextTable gPartTwoTexts;

// The text of key; an unknown key yields "".
const char* PartTwoText(const char* key);
