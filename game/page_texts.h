// The story texts of a part, kept in one table per part so that every text
// can be looked up by key and checked as a whole (characters, length, fit).
//
// Keys name the part, the location and the role: "p1.loc04.owl",
// "p1.intro.3", "p2.loc10.peg". Fixed short lines (menu labels, item lines)
// stay in the location code.
#pragma once

struct PageText {
  const char* key;
  int length;     // length the page is laid out for; 0 = none given
  double x;       // one-line texts: PrintTxt x (-1 centred); wrapped texts: 0
  double y;       // top of the first line
  double margin;  // WrapText margin (maxkern) in force; 0 = one PrintTxt line
  double limitY;  // top of the next thing printed below the text
  const char* text;
};

struct PageTextTable {
  const PageText* entries;
  int count;
};

// Defined by the parts' text files.
extern const PageTextTable gPartOneTexts;

// The entry of key in table, or null.
const PageText* FindPageText(const PageTextTable& table, const char* key);

// The text of key; an unknown key yields "" (the text check test holds every
// key the locations use).
const char* PartOneText(const char* key);
