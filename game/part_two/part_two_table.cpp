// Part Two's procedures for the frame loop: the opening story and the
// locations 1 to 44, entered at their numbers (PartTwoLoc07 at [7]) as
// they are written. An entry left null calls nothing; the main program
// then presents an empty frame for that pass. None is written yet.
#include "game/location_table.h"

namespace {

constexpr int kPartTwoLocationCount = 44;

const LocationProcedure kPartTwoLocations[kPartTwoLocationCount + 1] = {};

}  // namespace

const PartProcedures gPartTwoProcedures = {nullptr, kPartTwoLocations, kPartTwoLocationCount};
