// The adventure's shared state: 22 globals of the main source file, entered
// by name into the debugger's global registry before the program entry runs.
#pragma once

#include <cstdint>

#include "core/basic_array.h"
#include "core/basic_string.h"

// In registration order.
extern BasicString info_Str;  // device name: "DESKTOP", "F100", "F200"
extern double resx;           // coordinate divisor, 2 on the handheld
extern BasicArray kern;       // glyph advances, index = character code - 32
extern BasicArray optwide;    // pixel widths of menu options 1 to 5
extern BasicArray obj;        // item and event flags of the current part
extern double loc;            // current location; 999 restarts at the title
extern double hilite;         // highlighted menu row, 0 = none
extern double opt;            // option chosen on this frame, 0 = none
extern double screendrawn;    // 0 = the page must draw itself this frame
extern double hicol;          // grey level of the highlight bar
extern double hicoldiff;      // step of hicol per pass, +10 or -10
extern double pressed;        // menu input latch: wait for the release
extern double loaded;         // picture set now in sprites 0 to 6, 0 = none
extern double part;           // 1 Part One, 2 Part Two
extern double mazeloc;        // maze cell 1 to 16
extern double maxkern;        // right margin of the word wrap
extern double mastervolume;   // music volume 0 to 1
extern double gfxdarkfall;    // sprite numbers of the shared pictures
extern double gfxfall;
extern double gfxindark;
extern double gfxsky;
extern double gfxdungeon;

constexpr int kMainGlobalCount = 22;

// (1, 65535) registers and initialises the globals, (0, 65535) removes them
// and releases their storage; any other pair does nothing. Runs by itself
// before main and again at exit.
void InitMainGlobals(int32_t initialise, int32_t priority);
