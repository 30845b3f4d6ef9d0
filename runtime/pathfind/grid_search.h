// The search behind FindPathOnGrid: the four-neighbour A* of AStarPlanner
// with the same refusals, keys, tie order and results, on compact working
// memory. A cell is its normalised cost, its path cost g and one byte of
// state and parent direction; the open list is a radix heap keyed by (f,
// insertion number), where an improved cell gets a new entry and the old
// one is skipped when it comes out. The memory is kept from one search to
// the next and only grows.
#pragma once

#include <cstdint>
#include <memory>
#include <vector>

#include "pathfind/radix_heap.h"

struct GridSearchInput {
  const double* costs = nullptr;  // cell (x, y) at y * width + x
  int32_t width = 0, height = 0;
  int32_t startX = 0, startY = 0;
  int32_t goalX = 0, goalY = 0;
  float weight = 0;  // clamped to 0..1
};

class GridSearch {
 public:
  // Refuses (false) a start or goal outside the grid, start equal to goal,
  // a grid without a positive cost, or memory that cannot be had; otherwise
  // searches to the end and gives true, with or without a path.
  bool Run(const GridSearchInput& input);

  bool Found() const { return found_; }
  float PathCost() const;       // g of the goal; -1 without a path
  uint32_t PathLength() const;  // cells from start to goal; 0 without a path
  uint32_t OpenCount() const { return openCount_; }      // cells left open
  uint32_t ClosedCount() const { return closedCount_; }  // cells closed

  // Calls visit(x, y) for each path cell, from the goal back to the start.
  template <typename Visit>
  void WalkBack(Visit visit) const;

  // Insertion numbers stay below this; on reaching it the open entries are
  // numbered afresh from 0 in their order. Lowered only by tests.
  uint32_t sequenceLimit = UINT32_MAX;

 private:
  struct Cell {
    float cost;  // normalised, above 1 and at most 2; -1 = blocked
    float g;     // path cost from the start while the cell is open or closed
  };

  bool Grow(uint64_t cells);
  bool LoadCosts(const double* costs, uint32_t cells);
  void Search();
  void Relax(uint32_t cell, int32_t x, int32_t y, float g, uint8_t dir);
  void PushOpen(uint32_t cell, float f, float g);
  void Renumber();
  uint32_t ParentOf(uint32_t cell) const;

  std::unique_ptr<Cell[]> cells_;
  std::unique_ptr<uint8_t[]> info_;  // state in bits 0-1, parent direction in bits 2-3
  uint64_t capacity_ = 0;
  RadixHeap open_;
  std::vector<OpenEntry> scratch_;

  GridSearchInput in_;
  uint32_t start_ = 0, goal_ = 0;
  uint32_t nextSequence_ = 0;
  uint32_t openCount_ = 0, closedCount_ = 0;
  bool found_ = false;
};

template <typename Visit>
void GridSearch::WalkBack(Visit visit) const {
  if (!found_) return;
  const uint32_t w = uint32_t(in_.width);
  uint32_t c = goal_;
  for (;;) {
    visit(int32_t(c % w), int32_t(c / w));
    if (c == start_) return;
    c = ParentOf(c);
  }
}
