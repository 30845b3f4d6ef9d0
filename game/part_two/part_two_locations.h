// Part Two's opening story and location procedures. Each location draws one
// frame of its page per call (loc selects it) and yields 0.
#pragma once

// The six pages that open Part Two, before its first frame.
double PartTwoIntro();

double PartTwoLoc01();  // dungeon floor: tongs, file, knife
double PartTwoLoc02();  // dungeon exits
double PartTwoLoc03();  // the stone maze, cell mazeloc
double PartTwoLoc04();  // pit bottom and the padlocked door
double PartTwoLoc05();  // store room: basket, barrel, pegs
double PartTwoLoc06();  // dusty passage
double PartTwoLoc07();  // the spider
double PartTwoLoc08();  // low passage by the pit
double PartTwoLoc09();  // fall into the pit
double PartTwoLoc10();  // cellar table: bell, mirror, glue
double PartTwoLoc11();  // coffin cellar
double PartTwoLoc12();  // tower room
double PartTwoLoc13();  // the shut window
double PartTwoLoc14();  // ledge by the drain
double PartTwoLoc15();  // courtyard
double PartTwoLoc16();  // courtyard, the other door
