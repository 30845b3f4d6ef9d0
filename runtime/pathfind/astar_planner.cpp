#include "pathfind/astar_planner.h"

#include <bit>
#include <cstdlib>

namespace {

// One unit above the 32-bit float nearest to the square root of two.
const float kDiagonal = std::bit_cast<float>(uint32_t(0x3FB504F4));

// The open list is kept in descending f; the back leaves first and, among
// equal keys, the entry inserted earlier leaves first. First index whose
// key is f or less.
uint32_t FirstAtOrBelow(Planner& p, float f) {
  uint32_t lo = 0, hi = FixedDequeSize(p.open);
  while (lo < hi) {
    uint32_t mid = lo + (hi - lo) / 2;
    if (FixedDequeAt(p.open, mid)->f <= f) {
      hi = mid;
    } else {
      lo = mid + 1;
    }
  }
  return lo;
}

bool InsertOpen(Planner& p, Node* n) { return FixedDequeInsert(p.open, FirstAtOrBelow(p, n->f), n); }

// Index of open node n: from the first entry with its key along the run of
// equal keys.
uint32_t OpenIndexOf(Planner& p, const Node* n) {
  const uint32_t size = FixedDequeSize(p.open);
  for (uint32_t i = FirstAtOrBelow(p, n->f); i < size; ++i) {
    if (FixedDequeAt(p.open, i) == n) return i;
  }
  return size;
}

}  // namespace

bool AStarPlanner::Reset() { return AStarPlannerReset(*this); }

bool AStarPlanner::Search() { return AStarPlannerSearch(*this); }

bool AStarPlannerReset(AStarPlanner& planner) {
  PlannerReset(planner);
  Node* start = NodeFactoryTake(planner.nodes);
  if (!start || !planner.cellNode) return false;
  start->parent = nullptr;
  start->nextInChain = nullptr;
  start->x = planner.spec.startX;
  start->y = planner.spec.startY;
  start->g = 0;
  start->f = 0;
  if (!FixedDequePushBack(planner.open, start)) return false;
  const size_t cell = size_t(start->y) * size_t(planner.spec.width) + size_t(start->x);
  planner.cellNode[cell] = start;
  planner.cellState[cell] = CellState::kOpen;
  return true;
}

bool AStarPlannerSearch(AStarPlanner& planner) {
  const PlannerMapSpec& s = planner.spec;
  if (!planner.costGrid || !planner.cellNode) return false;
  const float k = s.diagonalCost ? kDiagonal : 1.0f;
  const float w = s.heuristicWeight;
  static const int kDx[8] = {-1, 0, 1, 1, -1, -1, 0, 1};
  static const int kDy[8] = {-1, -1, -1, 0, 0, 1, 1, 1};
  static const bool kIsDiagonal[8] = {true, false, true, false, false, true, false, true};

  for (;;) {
    if (FixedDequeEmpty(planner.open)) {
      planner.finished = 1;
      return true;
    }
    Node* n = FixedDequeBack(planner.open);
    FixedDequePopBack(planner.open);
    const size_t nCell = size_t(n->y) * size_t(s.width) + size_t(n->x);
    if (n->x == s.goalX && n->y == s.goalY) {
      NodeHashInsert(planner.closed, n);
      planner.cellState[nCell] = CellState::kClosed;
      planner.finished = 1;
      planner.goal = n;
      return true;
    }
    for (int d = 0; d < 8; ++d) {
      if (kIsDiagonal[d] && !s.diagonalMoves) continue;
      const int32_t x = n->x + kDx[d], y = n->y + kDy[d];
      if (x < 0 || y < 0 || x >= s.width || y >= s.height) continue;
      const size_t cell = size_t(y) * size_t(s.width) + size_t(x);
      const float cost = planner.costGrid[cell];
      if (cost == -1.0f) continue;
      const float step = kIsDiagonal[d] ? cost * k : cost;
      const float g = n->g + step;
      const float h = float(std::abs(s.goalX - x) + std::abs(s.goalY - y));
      const float f = (h - g) * w + g;

      Node* m = planner.cellNode[cell];
      if (m && planner.cellState[cell] == CellState::kClosed) {
        if (m->g <= g) continue;
        NodeHashIterator it(&planner.closed);
        if (NodeHashFind(it, x, y) == m) NodeHashIterUnlink(it);
      } else if (m && planner.cellState[cell] == CellState::kOpen) {
        if (m->g <= g) continue;
        FixedDequeErase(planner.open, OpenIndexOf(planner, m));
      } else {
        m = NodeFactoryTake(planner.nodes);
        if (!m) {  // pool used up: stop rather than use a missing node
          planner.finished = 1;
          return false;
        }
        m->x = x;
        m->y = y;
        m->nextInChain = nullptr;
        planner.cellNode[cell] = m;
      }
      m->parent = n;
      m->g = g;
      m->f = f;
      planner.cellState[cell] = InsertOpen(planner, m) ? CellState::kOpen : CellState::kUnseen;
      if (planner.cellState[cell] == CellState::kUnseen) planner.cellNode[cell] = nullptr;
    }
    NodeHashInsert(planner.closed, n);
    planner.cellState[nCell] = CellState::kClosed;
  }
}
