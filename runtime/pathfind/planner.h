// Grid path planners: the set-up, cost grid, containers and results that
// every planner shares. A planner lives for one command call.
#pragma once

#include <cstdint>

#include "pathfind/fixed_deque.h"
#include "pathfind/node.h"
#include "pathfind/node_factory.h"
#include "pathfind/node_hash_table.h"

struct PlannerMapSpec {
  int32_t startX = 0, startY = 0;
  int32_t goalX = 0, goalY = 0;
  uint8_t diagonalCost = 0;   // 1: a diagonal step costs the cell cost times 1.4142137
  uint8_t diagonalMoves = 0;  // 1: the four diagonal neighbours are searched too
  int32_t poolSize = 0;       // nodes in the pool; 0 = width x height
  int32_t openCapacity = 0;   // capacity of the open list; 0 = width x height
  int32_t hashBits = 0;       // bits of the closed set
  float heuristicWeight = 0;  // clamped to 0..1 at set-up
  int32_t width = 0, height = 0;
  const double* cellCosts = nullptr;  // cell (x, y) at y * width + x
};

// Where a cell's node is during a search.
enum class CellState : uint8_t { kUnseen, kOpen, kClosed };

class Planner {
 public:
  Planner();
  virtual ~Planner();
  virtual bool Reset();
  virtual bool Search() = 0;
  virtual void Clear();
  Planner(const Planner&) = delete;
  Planner& operator=(const Planner&) = delete;

  uint8_t finished = 1;
  NodeFactory nodes;
  PlannerMapSpec spec;
  float* costGrid = nullptr;  // normalised costs; -1 = blocked
  FixedDeque<Node*> open;     // in descending f: the back leaves first
  NodeHashTable closed;
  Node* goal = nullptr;

  // Per cell: its node and whether that node is open or closed, so that a
  // search finds a cell's node without walking the open list or a chain.
  Node** cellNode = nullptr;
  CellState* cellState = nullptr;
};

// Refuses (false) a start or goal outside the grid, start equal to goal, a
// grid without a positive cost, or storage that cannot be made.
bool PlannerSetup(Planner& planner, const PlannerMapSpec& spec);
void PlannerReset(Planner& planner);
// Gives every node back to the pool and empties both lists.
void PlannerClear(Planner& planner);
void FreePlannerGrid(Planner& planner);

float PlannerPathCost(const Planner& planner);    // -1 without a goal node
uint32_t PlannerPathLength(const Planner& planner);
uint32_t PlannerOpenCount(const Planner& planner);
uint32_t PlannerClosedCount(const Planner& planner);
