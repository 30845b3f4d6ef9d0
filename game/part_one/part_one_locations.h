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
// Mine entrance, mine shaft, the pit, bottom of the well.
double PartOneLoc25();
double PartOneLoc26();
double PartOneLoc27();
double PartOneLoc28();
double PartOneLoc29();
// Gorilla at the gate, boat under the window, kitchen shelves and chef.
double PartOneLoc30();
double PartOneLoc31();
double PartOneLoc32();
double PartOneLoc33();
double PartOneLoc34();
// Tower stairs, the chute, dark room.
double PartOneLoc35();
double PartOneLoc36();
double PartOneLoc37();
// Tower room, ledge, gorilla's gate, smugglers' cave, hermit crab.
double PartOneLoc38();
double PartOneLoc39();
double PartOneLoc40();
double PartOneLoc41();
double PartOneLoc42();
double PartOneLoc43();
// Passage with the switch, conservatory.
double PartOneLoc44();
double PartOneLoc45();
// Plant, snowy lawn, steps to the moat, vampires, entrance hall.
double PartOneLoc46();
double PartOneLoc47();
double PartOneLoc48();
double PartOneLoc49();
double PartOneLoc50();
double PartOneLoc52();
// The vault and the end of Part One.
double PartOneLoc51();
