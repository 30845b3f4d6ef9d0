// Dispatch of the frame loop: the opening story and the location procedures
// of each part, looked up by number.
#pragma once

// A location procedure: one frame of its page per call; yields 0.
using LocationProcedure = double (*)();

struct PartProcedures {
  LocationProcedure intro;             // opening story; null when not built
  const LocationProcedure* locations;  // locations[n] for n = 1 .. count; null = not built
  int count;                           // highest location number of the part
};

// Filled by the part folders: game/part_one/part_one_table.cpp and
// game/part_two/part_two_table.cpp.
extern const PartProcedures gPartOneProcedures;
extern const PartProcedures gPartTwoProcedures;

// The procedures of part 1 or 2; null for any other part number.
const PartProcedures* PartTable(double part);

// The procedure of location loc in part: null when loc is not one of the
// whole numbers 1 .. count of that part or its procedure is not built.
LocationProcedure FindLocation(double part, double loc);

// The opening story of part, or null.
LocationProcedure FindIntro(double part);
