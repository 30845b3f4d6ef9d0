// A* search over a grid of normalised cell costs.
#pragma once

#include "pathfind/planner.h"

class AStarPlanner : public Planner {
 public:
  bool Reset() override;
  bool Search() override;
};

// Starts a search: the start node on the open list (false when the pool is
// used up or the list refuses it).
bool AStarPlannerReset(AStarPlanner& planner);
// Runs the search to its end. True when it finished, with goal set when a
// path was found; false when no planner is set up or the pool ran out.
bool AStarPlannerSearch(AStarPlanner& planner);
