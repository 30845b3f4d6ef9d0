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
  t[4] = PartOneLoc04;
  t[5] = PartOneLoc05;
  t[6] = PartOneLoc06;
  t[7] = PartOneLoc07;
  t[8] = PartOneLoc08;
  t[9] = PartOneLoc09;
  t[10] = PartOneLoc10;
  t[11] = PartOneLoc11;
  t[12] = PartOneLoc12;
  t[13] = PartOneLoc13;
  t[14] = PartOneLoc14;
  t[15] = PartOneLoc15;
  t[16] = PartOneLoc16;
  t[17] = PartOneLoc17;
  t[18] = PartOneLoc18;
  t[19] = PartOneLoc19;
  t[20] = PartOneLoc20;
  t[21] = PartOneLoc21;
  t[22] = PartOneLoc22;
  t[23] = PartOneLoc23;
  t[24] = PartOneLoc24;
  // 25 to 52
  t[25] = PartOneLoc25;
  t[26] = PartOneLoc26;
  t[27] = PartOneLoc27;
  t[28] = PartOneLoc28;
  t[29] = PartOneLoc29;
  t[30] = PartOneLoc30;
  t[31] = PartOneLoc31;
  t[32] = PartOneLoc32;
  t[33] = PartOneLoc33;
  t[34] = PartOneLoc34;
  t[35] = PartOneLoc35;
  t[36] = PartOneLoc36;
  t[37] = PartOneLoc37;
  t[38] = PartOneLoc38;
  t[39] = PartOneLoc39;
  t[40] = PartOneLoc40;
  t[41] = PartOneLoc41;
  t[42] = PartOneLoc42;
  t[43] = PartOneLoc43;
  t[44] = PartOneLoc44;
  t[45] = PartOneLoc45;
  t[46] = PartOneLoc46;
  t[47] = PartOneLoc47;
  t[48] = PartOneLoc48;
  t[49] = PartOneLoc49;
  t[50] = PartOneLoc50;
  t[51] = PartOneLoc51;
  t[52] = PartOneLoc52;
  return t;
}();

}  // namespace

const PartProcedures gPartOneProcedures = {PartOneIntro, kPartOneLocations.data(),
                                           kPartOneLocationCount};
