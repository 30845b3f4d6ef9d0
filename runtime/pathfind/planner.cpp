#include "pathfind/planner.h"

#include <cmath>
#include <cstring>
#include <new>

namespace {

size_t CellCount(const PlannerMapSpec& s) { return size_t(s.width) * size_t(s.height); }

void FreeCellIndex(Planner& p) {
  delete[] p.cellNode;
  delete[] p.cellState;
  p.cellNode = nullptr;
  p.cellState = nullptr;
}

}  // namespace

Planner::Planner() : open(0) {}

Planner::~Planner() {
  PlannerClear(*this);
  FreePlannerGrid(*this);
}

bool Planner::Reset() {
  PlannerReset(*this);
  return true;
}

void Planner::Clear() { PlannerClear(*this); }

bool PlannerSetup(Planner& planner, const PlannerMapSpec& spec) {
  const int32_t w = spec.width, h = spec.height;
  if (w <= 0 || h <= 0 || !spec.cellCosts) return false;
  if (spec.startX < 0 || spec.startX >= w || spec.startY < 0 || spec.startY >= h) return false;
  if (spec.goalX < 0 || spec.goalX >= w || spec.goalY < 0 || spec.goalY >= h) return false;
  if (spec.startX == spec.goalX && spec.startY == spec.goalY) return false;
  if (planner.costGrid) FreePlannerGrid(planner);

  const size_t cells = size_t(w) * size_t(h);
  if (cells > 0xFFFFFFFFu) return false;
  float* grid = new (std::nothrow) float[cells];
  if (!grid) return false;
  // Costs that are not finite as 32-bit floats (too large, NaN) block their
  // cell: they would make every normalised cost NaN.
  float max = 0;
  for (size_t i = 0; i < cells; ++i) {
    float v = float(spec.cellCosts[i]);
    if (v > 0 && std::isfinite(v)) {
      grid[i] = v;
      if (v > max) max = v;
    } else {
      grid[i] = -1.0f;
    }
  }
  if (max == 0) {
    delete[] grid;
    return false;
  }
  for (size_t i = 0; i < cells; ++i) {
    if (grid[i] > 0) grid[i] = grid[i] / max + 1.0f;
  }
  planner.costGrid = grid;

  const uint32_t pool = spec.poolSize > 0 ? uint32_t(spec.poolSize) : uint32_t(cells);
  const uint32_t openCap = spec.openCapacity > 0 ? uint32_t(spec.openCapacity) : uint32_t(cells);
  planner.cellNode = new (std::nothrow) Node*[cells];
  planner.cellState = new (std::nothrow) CellState[cells];
  if (!NodeFactoryInit(planner.nodes, pool) || !FixedDequeReallocate(planner.open, openCap) ||
      !planner.cellNode || !planner.cellState) {
    FreePlannerGrid(planner);
    return false;
  }
  std::memset(planner.cellNode, 0, cells * sizeof(Node*));
  std::memset(planner.cellState, 0, cells * sizeof(CellState));
  NodeHashResize(planner.closed, uint32_t(spec.hashBits > 0 ? spec.hashBits : 0));

  planner.spec = spec;
  planner.goal = nullptr;
  float weight = spec.heuristicWeight;
  planner.spec.heuristicWeight = weight < 0 ? 0.0f : weight > 1 ? 1.0f : weight;
  if (std::isnan(weight)) planner.spec.heuristicWeight = 0;
  planner.finished = 1;
  return true;
}

void PlannerReset(Planner& planner) {
  planner.finished = 0;
  planner.goal = nullptr;
}

void PlannerClear(Planner& planner) {
  const uint32_t size = FixedDequeSize(planner.open);
  for (uint32_t i = 0; i < size; ++i) {
    if (FixedDequeAt(planner.open, i)) NodeFactoryGiveBack(planner.nodes);
  }
  FixedDequeClear(planner.open);
  NodeHashClear(planner.closed, planner.nodes);
  if (planner.cellNode) {
    const size_t cells = CellCount(planner.spec);
    std::memset(planner.cellNode, 0, cells * sizeof(Node*));
    std::memset(planner.cellState, 0, cells * sizeof(CellState));
  }
  planner.goal = nullptr;
  planner.finished = 1;
}

void FreePlannerGrid(Planner& planner) {
  delete[] planner.costGrid;
  planner.costGrid = nullptr;
  FreeCellIndex(planner);
  planner.goal = nullptr;
  planner.spec = PlannerMapSpec{};
}

float PlannerPathCost(const Planner& planner) { return planner.goal ? planner.goal->g : -1.0f; }

uint32_t PlannerPathLength(const Planner& planner) {
  uint32_t n = 0;
  for (const Node* p = planner.goal; p; p = p->parent) ++n;
  return n;
}

uint32_t PlannerOpenCount(const Planner& planner) { return FixedDequeSize(planner.open); }

uint32_t PlannerClosedCount(const Planner& planner) { return NodeHashCount(planner.closed); }
