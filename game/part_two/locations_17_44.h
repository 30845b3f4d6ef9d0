// Part Two from the stables to the ending: locations 17 to 44. Each is one
// frame of its page per call (pages without a menu run whole) and yields 0.
#pragma once

double PartTwoLoc17();  // stables: pliers, rope, crowbar
double PartTwoLoc18();  // high ledge
double PartTwoLoc19();  // library
double PartTwoLoc20();  // secret room behind the bookcase
double PartTwoLoc21();  // corridor
double PartTwoLoc22();  // stairs to the nailed door
double PartTwoLoc23();  // salt cellar
double PartTwoLoc24();  // grate into the dungeon
double PartTwoLoc25();  // music room: trumpet, flute, cymbals
double PartTwoLoc26();  // top of the pit
double PartTwoLoc27();  // museum entrance
double PartTwoLoc28();  // a tune for the snake
double PartTwoLoc29();  // display cases
double PartTwoLoc30();  // tail of the big skeleton
double PartTwoLoc31();  // halfway up the skeleton
double PartTwoLoc32();  // on the skeleton's head
double PartTwoLoc33();  // gluing the skeleton
double PartTwoLoc34();  // balcony
double PartTwoLoc35();  // the toad's portrait
double PartTwoLoc36();  // fall into the straw
double PartTwoLoc37();  // dark passage junction
double PartTwoLoc38();  // back way into the control room
double PartTwoLoc39();  // the dome
double PartTwoLoc40();  // door to the catwalk
double PartTwoLoc41();  // the beam machine
double PartTwoLoc42();  // catwalk
double PartTwoLoc43();  // explosion
double PartTwoLoc44();  // the ending
