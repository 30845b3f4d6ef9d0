// A winning way through Part Two, from location 1 after the opening story to
// the ending, as a table of steps that both the button and the mouse play
// tests follow. Every step names the location (and maze cell) it leads to.
#pragma once

#include <cstddef>

namespace parttwo {

struct Step {
  double menuY;    // y of "Do you want to:"; 0 = a page without a menu
  int row;         // option chosen (ignored without a menu)
  int continues;   // continue prompts answered after the choice
  double loc;      // location after the step
  double mazeloc;  // maze cell after the step; 0 = not checked
  const char* what;
};

// Maze moves from the four-way cells (north 1, south 2, east 3, west 4).
inline constexpr Step kRoute[] = {
    // The file from the dungeon floor, through the maze to the pit; the
    // padlock cut, the basket from the store room.
    {230, 3, 0, 2, 0, "take the file"},
    {150, 1, 0, 3, 3, "enter the passage"},
    {130, 2, 0, 3, 7, "south"},
    {130, 2, 0, 3, 11, "south"},
    {130, 2, 0, 3, 15, "south"},
    {130, 2, 0, 4, 0, "south out of the maze"},
    {130, 3, 1, 5, 0, "cut the padlock off"},
    {170, 2, 0, 5, 0, "take the basket"},
    {150, 1, 0, 4, 0, "leave the store room"},
    {130, 1, 0, 3, 15, "return to the maze"},
    {130, 1, 0, 3, 11, "north"},
    {130, 1, 0, 3, 7, "north"},
    {130, 1, 0, 3, 3, "north"},
    {130, 1, 0, 1, 0, "north out of the maze"},
    // The crowbar from the stables.
    {210, 1, 0, 2, 0, "keep the file"},
    {150, 2, 0, 14, 0, "enter the tunnel"},
    {160, 2, 0, 15, 0, "climb up the ladder"},
    {110, 2, 0, 17, 0, "enter the stable"},
    {190, 4, 0, 17, 0, "take the crowbar"},
    {170, 1, 0, 15, 0, "return to the yard"},
    {110, 1, 0, 14, 0, "go down the mousehole"},
    {160, 1, 0, 1, 0, "enter the dungeon"},
    {210, 1, 0, 2, 0, "keep the file"},
    {150, 1, 0, 3, 3, "enter the passage"},
    {130, 3, 0, 3, 4, "east"},
    {130, 1, 0, 3, 8, "south"},
    {130, 3, 0, 10, 0, "east out of the maze"},
    // The mirror, the thread, the tower window and the ledge.
    {210, 3, 0, 11, 0, "take the mirror"},
    {170, 1, 0, 12, 0, "climb up the steps"},
    {130, 3, 0, 12, 0, "take the thread"},
    {110, 2, 0, 13, 0, "examine the window"},
    {110, 1, 1, 12, 0, "lever the window open"},
    {130, 2, 0, 18, 0, "climb onto the ledge"},
    // The library: the lamp, the bookcase and the map.
    {130, 1, 0, 19, 0, "enter the library"},
    {90, 2, 1, 19, 0, "examine the shelves: only a crack"},
    {90, 3, 1, 19, 0, "switch on the lamp"},
    {90, 2, 1, 20, 0, "examine the shelves: the bookcase swings"},
    {130, 4, 0, 20, 0, "take the map"},
    {110, 2, 0, 19, 0, "return to the library"},
    {130, 3, 0, 21, 0, "enter the corridor"},
    // The flute from the music room.
    {130, 3, 0, 25, 0, "enter the music room"},
    {220, 2, 1, 25, 0, "take the piano"},
    {220, 4, 0, 25, 0, "take the flute"},
    {200, 1, 0, 21, 0, "leave the music room"},
    {130, 2, 0, 19, 0, "enter the library"},
    {130, 2, 0, 20, 0, "enter the secret room"},
    {110, 3, 0, 3, 15, "climb down the steps"},
    {130, 4, 0, 3, 14, "west"},
    {130, 1, 0, 3, 10, "north"},
    {130, 4, 0, 3, 9, "west"},
    {130, 4, 0, 6, 0, "west out of the maze"},
    // The spider, the snake charmed into the basket, the egg.
    {110, 1, 0, 7, 0, "go along the passage"},
    {70, 3, 1, 8, 0, "give him the thread"},
    {110, 1, 0, 27, 0, "climb up the steps"},
    {190, 5, 0, 28, 0, "play a tune"},
    {0, 0, 2, 27, 0, "the flute and the basket"},
    {130, 2, 0, 29, 0, "examine the displays"},
    {90, 3, 0, 29, 0, "take the egg"},
    {70, 2, 0, 27, 0, "go to the steps"},
    {130, 1, 0, 8, 0, "go down the steps"},
    {110, 3, 0, 9, 0, "look into the pit"},
    {0, 0, 1, 4, 0, "the fall into the pit"},
    // The pegs for the smell, the egg broken in the coffin, the cape.
    {130, 2, 0, 5, 0, "enter the store"},
    {150, 3, 0, 5, 0, "take the pegs"},
    {150, 1, 0, 4, 0, "leave the store room"},
    {130, 1, 0, 3, 15, "return to the maze"},
    {130, 1, 0, 3, 11, "north"},
    {130, 1, 0, 3, 7, "north"},
    {130, 3, 0, 3, 8, "east"},
    {130, 3, 0, 10, 0, "east out of the maze"},
    {190, 1, 0, 11, 0, "keep the mirror"},
    {170, 3, 1, 10, 0, "open the coffin with the egg"},
    {250, 1, 0, 11, 0, "keep the mirror"},
    {170, 4, 0, 11, 0, "take the cape"},
    {130, 1, 0, 12, 0, "climb up the steps"},
    {130, 2, 0, 18, 0, "climb onto the ledge"},
    {130, 3, 3, 15, 0, "look down: off the ledge into the straw"},
    // The pliers for the nails, the tongs for the key.
    {110, 2, 0, 17, 0, "enter the stable"},
    {170, 2, 0, 17, 0, "take the pliers"},
    {170, 1, 0, 15, 0, "return to the yard"},
    {110, 1, 0, 14, 0, "go down the mousehole"},
    {160, 1, 0, 1, 0, "enter the dungeon"},
    {210, 2, 0, 2, 0, "take the tongs"},
    {150, 1, 0, 3, 3, "enter the passage"},
    {130, 3, 0, 3, 4, "east"},
    {130, 1, 0, 3, 8, "south"},
    {130, 3, 0, 10, 0, "east out of the maze"},
    {250, 1, 0, 11, 0, "keep the mirror"},
    {130, 1, 0, 12, 0, "climb up the steps"},
    {130, 2, 0, 18, 0, "climb onto the ledge"},
    {130, 1, 0, 19, 0, "enter the library"},
    {130, 3, 0, 21, 0, "enter the corridor"},
    {130, 1, 0, 22, 0, "go down the stairs"},
    {110, 1, 1, 22, 0, "pull out the nails"},
    {70, 1, 0, 23, 0, "go through the door"},
    {130, 2, 0, 24, 0, "explore the cellar"},
    {90, 3, 0, 24, 0, "take the ladder"},
    {110, 1, 0, 22, 0, "go through the doorway"},
    {70, 1, 0, 23, 0, "go through the door"},
    {110, 1, 0, 22, 0, "go through the doorway"},
    {70, 2, 0, 21, 0, "climb up the stairs"},
    {130, 2, 0, 19, 0, "enter the library"},
    {130, 2, 0, 20, 0, "enter the secret room"},
    {110, 1, 1, 3, 15, "explore the room: in the dark"},
    {130, 2, 0, 4, 0, "south out of the maze"},
    {130, 3, 0, 26, 0, "climb to the ledge"},
    {150, 3, 1, 26, 0, "take the key with the tongs"},
    {130, 1, 0, 4, 0, "climb down the ladder"},
    // The knife from the dungeon floor.
    {130, 1, 0, 3, 15, "return to the maze"},
    {130, 1, 0, 3, 11, "north"},
    {130, 1, 0, 3, 7, "north"},
    {130, 1, 0, 3, 3, "north"},
    {130, 1, 0, 1, 0, "north out of the maze"},
    {210, 3, 0, 2, 0, "take the knife"},
    {150, 1, 0, 3, 3, "enter the passage"},
    {130, 2, 0, 3, 7, "south"},
    {130, 2, 0, 3, 11, "south"},
    {130, 4, 0, 3, 10, "west"},
    {130, 4, 0, 3, 9, "west"},
    {130, 4, 0, 6, 0, "west out of the maze"},
    {110, 1, 0, 8, 0, "go along the passage"},
    {110, 1, 0, 27, 0, "climb up the steps"},
    // Up the skeleton, the glide to the balcony, the portrait.
    {130, 3, 0, 30, 0, "explore further"},
    {130, 2, 0, 31, 0, "climb up the skeleton"},
    {110, 2, 0, 32, 0, "climb up the skeleton"},
    {130, 2, 1, 34, 0, "jump to the balcony with the cape"},
    {150, 2, 0, 35, 0, "examine the portraits"},
    {130, 2, 1, 37, 0, "release the catch with the knife"},
    {110, 2, 0, 38, 0, "go to the right with the map"},
    {0, 0, 2, 40, 0, "the back way in and the dome"},
    // The machine: silent, armed, fired into the sky.
    {110, 1, 0, 41, 0, "examine the machine"},
    {130, 1, 1, 41, 0, "red button, not armed"},
    {130, 2, 1, 41, 0, "green button: armed"},
    {130, 1, 2, 41, 0, "red button, slot empty: the warning"},
    {130, 3, 0, 40, 0, "explore further"},
    // The mirror in the slot, then the beam fired into it.
    {110, 3, 0, 42, 0, "go out onto the catwalk with the key"},
    {110, 3, 0, 42, 0, "put the mirror in the slot"},
    {130, 2, 0, 39, 0, "enter the observatory"},
    {0, 0, 1, 40, 0, "the dome"},
    {110, 1, 0, 41, 0, "examine the machine"},
    {130, 1, 3, 44, 0, "red button: the beam hits the mirror"},
};

inline constexpr size_t kRouteSteps = sizeof kRoute / sizeof kRoute[0];

}  // namespace parttwo
