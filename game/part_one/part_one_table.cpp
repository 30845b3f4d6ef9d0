// Part One's procedures for the frame loop: the opening story and the
// locations 1 to 52, entered at their numbers (PartOneLoc07 at [7]) as
// they are written. An entry left null calls nothing; the main program
// then presents an empty frame for that pass. None is written yet.
#include "game/location_table.h"

namespace {

constexpr int kPartOneLocationCount = 52;

const LocationProcedure kPartOneLocations[kPartOneLocationCount + 1] = {};

}  // namespace

const PartProcedures gPartOneProcedures = {nullptr, kPartOneLocations, kPartOneLocationCount};
