#include "pathfind/path_commands.h"

#include <cmath>

#include "core/number_truncate.h"
#include "pathfind/astar_planner.h"

namespace {

// Closed-set bits for a grid: enough that the key tells every cell of a
// width x height grid apart (256 buckets at least), so chains stay short
// on large grids.
int32_t HashBitsFor(int32_t width, int32_t height) {
  int32_t side = width > height ? width : height;
  int32_t half = 4;
  while (half < 12 && (int32_t(1) << half) < side) ++half;
  return half * 2;
}

}  // namespace

double FindPathOnGrid(BasicArray& costs, BasicArray& result, double weight, double startX,
                      double startY, double goalX, double goalY) {
  PlannerMapSpec spec;
  spec.startX = TruncInt32(startX);
  spec.startY = TruncInt32(startY);
  spec.goalX = TruncInt32(goalX);
  spec.goalY = TruncInt32(goalY);
  spec.diagonalCost = 1;
  spec.diagonalMoves = 0;
  spec.poolSize = 0;
  spec.openCapacity = 0;
  spec.heuristicWeight = std::isnan(weight) ? 0.0f : weight >= 1 ? 1.0f : weight < 0 ? 0.0f : float(weight);
  spec.width = int32_t(costs.size0);
  // An array without a second dimension is one row.
  spec.height = costs.size1 > 0 ? int32_t(costs.size1) : 1;
  if (!costs.data || costs.size0 == 0) return 0;
  spec.hashBits = HashBitsFor(spec.width, spec.height);
  spec.cellCosts = costs.data;

  AStarPlanner planner;
  if (!PlannerSetup(planner, spec)) return 0;
  AStarPlannerReset(planner);
  AStarPlannerSearch(planner);
  const uint32_t n = PlannerPathLength(planner);
  if (n == 0) {
    ArrayDim(result, 0);
    return 0;
  }
  ArrayDim(result, n, 2);
  uint32_t i = n;
  for (const Node* p = planner.goal; p; p = p->parent) {
    --i;
    *ArrayElement(result, int32_t(i), 0) = p->x;
    *ArrayElement(result, int32_t(i), 1) = p->y;
  }
  PlannerClear(planner);
  return n;
}
