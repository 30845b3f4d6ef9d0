// Part One's opening story and location procedures, as the dispatch table
// (part_one_table.cpp) enters them. Each draws one frame of its page per call
// and yields 0.
#pragma once

double PartOneIntro();

// Forest clearing, log cabin, lone tree, castle entrance, deep forest.
double PartOneLoc01();
double PartOneLoc02();
double PartOneLoc03();
double PartOneLoc04();
double PartOneLoc05();
double PartOneLoc06();
double PartOneLoc07();
double PartOneLoc08();
double PartOneLoc09();
// Rope in the snow, hut, trapdoor, dark cellar, moat bank, bridge, the fall.
double PartOneLoc10();
double PartOneLoc11();
double PartOneLoc12();
double PartOneLoc13();
double PartOneLoc14();
double PartOneLoc15();
double PartOneLoc16();
// Boat, woodpile, glade, lost forest, stream crossing.
double PartOneLoc17();
double PartOneLoc18();
double PartOneLoc19();
double PartOneLoc20();
double PartOneLoc21();
double PartOneLoc22();
double PartOneLoc23();
double PartOneLoc24();

// --- Locations 25 to 52 ---
