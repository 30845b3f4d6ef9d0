// Part One's procedures for the frame loop: the opening story and the
// locations 1 to 52, each entered at its number (t[7] = PartOneLoc07) as
// it is written. An entry left null calls nothing; the main program then
// presents an empty frame for that pass.
#include <array>

#include "game/location_table.h"
#include "game/part_one/part_one_locations.h"

namespace {

constexpr int kPartOneLocationCount = 52;

constexpr std::array<LocationProcedure, kPartOneLocationCount + 1> kPartOneLocations = [] {
  std::array<LocationProcedure, kPartOneLocationCount + 1> t{};
  // 1 to 24
  t[1] = PartOneLoc01;
  t[2] = PartOneLoc02;
  t[3] = PartOneLoc03;
  // 25 to 52
  return t;
}();

}  // namespace

const PartProcedures gPartOneProcedures = {nullptr, kPartOneLocations.data(),
                                           kPartOneLocationCount};
