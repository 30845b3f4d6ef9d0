// Part Two's procedures for the frame loop: the opening story and the
// locations 1 to 44, entered at their numbers (PartTwoLoc07 at [7]) as
// they are written. An entry left null calls nothing; the main program
// then presents an empty frame for that pass.
#include "game/location_table.h"
#include "game/part_two/locations_17_44.h"
#include "game/part_two/part_two_locations.h"

namespace {

constexpr int kPartTwoLocationCount = 44;

const LocationProcedure kPartTwoLocations[kPartTwoLocationCount + 1] = {
    nullptr,
    PartTwoLoc01,  // 1
    PartTwoLoc02,  // 2
    PartTwoLoc03,  // 3
    PartTwoLoc04,  // 4
    PartTwoLoc05,  // 5
    PartTwoLoc06,  // 6
    PartTwoLoc07,  // 7
    PartTwoLoc08,  // 8
    PartTwoLoc09,  // 9
    PartTwoLoc10,  // 10
    PartTwoLoc11,  // 11
    PartTwoLoc12,  // 12
    PartTwoLoc13,  // 13
    PartTwoLoc14,  // 14
    PartTwoLoc15,  // 15
    PartTwoLoc16,  // 16
    PartTwoLoc17,  // 17
    PartTwoLoc18,  // 18
    PartTwoLoc19,  // 19
    PartTwoLoc20,  // 20
    PartTwoLoc21,  // 21
    PartTwoLoc22,  // 22
    PartTwoLoc23,  // 23
    PartTwoLoc24,  // 24
    PartTwoLoc25,  // 25
    PartTwoLoc26,  // 26
    PartTwoLoc27,  // 27
    PartTwoLoc28,  // 28
    PartTwoLoc29,  // 29
    PartTwoLoc30,  // 30
    PartTwoLoc31,  // 31
    PartTwoLoc32,  // 32
    PartTwoLoc33,  // 33
    PartTwoLoc34,  // 34
    PartTwoLoc35,  // 35
    PartTwoLoc36,  // 36
    PartTwoLoc37,  // 37
    PartTwoLoc38,  // 38
    PartTwoLoc39,  // 39
    PartTwoLoc40,  // 40
    PartTwoLoc41,  // 41
    PartTwoLoc42,  // 42
    PartTwoLoc43,  // 43
    PartTwoLoc44,  // 44
};

}  // namespace

const PartProcedures gPartTwoProcedures = {PartTwoIntro, kPartTwoLocations,
                                           kPartTwoLocationCount};
