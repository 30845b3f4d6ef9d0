// The steps of a player that plays the real game on the handheld's buttons,
// and the route through Part One from the opening picture to the part
// selection after its end; shared by the Part One and whole-game players.
#pragma once

#include <vector>

namespace walkroute {

struct Step {
  int atLoc;          // location the step is taken on; 0 = any
  const char* label;  // menu option to choose; null = by row, or Fire without a row
  const char* local;  // a local the waiting procedure must have; null = any
  int row = 0;        // menu row to choose when there is no label
  double atMaze = 0;  // maze cell the step is taken in; 0 = not checked
};

inline Step Go(int atLoc, const char* label) { return Step{atLoc, label, nullptr}; }
inline Step Fire(int atLoc = 0) { return Step{atLoc, nullptr, nullptr}; }
// The title page (the main program sets loc = 1 before it on a restart).
inline Step Title() { return Step{0, nullptr, "coldif"}; }
// Part One solved: the key, the rope, the logs and the boat, the ring, the
// lantern and the bucket, the herring, the feather, the compass, the flask,
// the switch, the murky water, the vault.
inline std::vector<Step> PartOneWalkthrough() {
  std::vector<Step> s;
  auto fire = [&s](int n, int at = 0) {
    for (int i = 0; i < n; ++i) s.push_back(Fire(at));
  };
  fire(1);  // opening picture
  s.push_back(Title());
  fire(6);  // opening story
  s.insert(s.end(), {
      Go(1, "Examine the tree"), Go(4, "Climb the tree"), Go(5, "Take the skeleton key"),
      Go(5, "Climb back down"), Go(4, "Go to the clearing"),
      // Shovel and rope.
      Go(1, "Go to the hut"), Go(2, "Take the shovel"), Go(3, "Hide in the forest"),
      Go(8, "Explore further"), Go(9, "Explore further"), Go(10, "Clear some snow")});
  fire(1, 10);
  s.insert(s.end(), {
      Go(10, "Go to the clearing"),
      // Axe, logs, boat.
      Go(1, "Go to the hut"), Go(2, "Take the axe"), Go(3, "Follow the track"),
      Go(7, "Follow the murky moat"), Go(14, "Enter the forest"), Go(18, "Chop some wood")});
  fire(1, 18);
  s.insert(s.end(), {
      Go(18, "Follow the tracks"), Go(1, "Follow the tracks"), Go(7, "Follow the murky moat"),
      Go(14, "Follow the murky moat"), Go(17, "Launch the boat")});
  fire(1, 17);
  s.insert(s.end(), {
      // Bottle, water and ring.
      Go(17, "Enter the forest"), Go(19, "Enter the forest"), Go(18, "Follow the tracks"),
      Go(1, "Go to the hut"), Go(2, "Take the bottle"), Go(3, "Follow the track"),
      Go(7, "Follow the murky moat"), Go(14, "Follow the murky moat"), Go(17, "Enter the forest"),
      Go(19, "Go down stream"), Go(23, "Cross the stepping stones"),
      Go(24, "Fill your bottle with water")});
  fire(1, 24);
  s.insert(s.end(), {
      Go(24, "Turn back to the near bank"), Go(23, "Follow the twisty path"),
      // Lantern, the mine and the old bucket.
      Go(25, "Take the lantern"), Go(26, "Enter the mine"), Go(27, "Explore the mine"),
      Go(29, "Take the old bucket"), Go(29, "Retrace your steps"), Go(27, "Leave the mine"),
      Go(25, "Keep the lantern"), Go(26, "Go to the stream"), Go(23, "Follow the stream"),
      Go(19, "Enter the forest"), Go(18, "Follow the tracks"), Go(1, "Follow the tracks"),
      Go(7, "Follow the murky moat"), Go(14, "Follow the murky moat"), Go(17, "Enter the boat"),
      // Up the rope into the kitchen: the herring.
      Go(32, "Climb up using the rope")});
  fire(1, 32);
  s.insert(s.end(), {
      Go(33, "Take the herring"), Go(34, "Go up the stone steps"), Go(35, "Continue to the top"),
      Go(38, "Take the feather")});
  fire(1, 38);
  s.insert(s.end(), {Go(38, "Go down the stairs")});
  fire(1, 36);  // the chute; with the lantern it ends at the gorilla
  s.insert(s.end(), {Go(30, "Give the gorilla the feather")});
  fire(1, 40);  // through the gate
  s.insert(s.end(), {
      Go(41, "Take the compass"), Go(42, "Go toward the light"), Go(7, "Follow the murky moat"),
      Go(14, "Follow the murky moat"), Go(17, "Enter the forest"), Go(19, "Go up stream"),
      Go(20, "Press on"), Go(21, "Press on"), Go(22, "Press on"), Go(43, "Give him the ring")});
  fire(1, 43);
  s.insert(s.end(), {
      Go(8, "Go to the clearing"), Go(1, "Follow the tracks"), Go(7, "Follow the murky moat"),
      Go(14, "Follow the murky moat"), Go(17, "Enter the boat"),
      Go(32, "Climb up using the rope")});
  fire(1, 32);
  s.insert(s.end(), {Go(33, "Keep the herring"), Go(34, "Give him the flask")});
  fire(1, 34);
  s.insert(s.end(), {Go(34, "Enter the dark passage"), Go(44, "Throw the switch")});
  fire(1, 44);
  s.insert(s.end(), {
      Go(44, "Go through the exit"), Go(45, "Enter the garden"), Go(47, "Offer the red herring")});
  fire(1, 47);
  s.insert(s.end(), {Go(48, "Fill the bucket")});
  fire(1, 48);
  s.insert(s.end(), {
      Go(48, "Enter the conservatory"), Go(45, "Enter the Hollowmere"),
      Go(44, "Go along the passage"), Go(49, "Throw the murky water")});
  fire(1, 49);
  s.insert(s.end(), {
      Go(49, "Enter the hall"), Go(50, "Go down the dark stairs"),
      Go(51, "Unchain the skeleton")});
  fire(4, 51);  // bone number, net, cage, "To Be Continued...."
  s.push_back(Title());
  s.push_back(Go(1, "Play Part Two"));
  return s;
}

}  // namespace walkroute
