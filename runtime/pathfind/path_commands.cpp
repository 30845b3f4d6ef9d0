#include "pathfind/path_commands.h"

#include <cmath>

#include "core/number_truncate.h"
#include "pathfind/grid_search.h"

double FindPathOnGrid(GridSearch& search, BasicArray& costs, BasicArray& result, double weight,
                      double startX, double startY, double goalX, double goalY) {
  GridSearchInput in;
  in.startX = TruncInt32(startX);
  in.startY = TruncInt32(startY);
  in.goalX = TruncInt32(goalX);
  in.goalY = TruncInt32(goalY);
  in.weight = std::isnan(weight) ? 0.0f : weight >= 1 ? 1.0f : weight < 0 ? 0.0f : float(weight);
  if (!costs.data || costs.size0 == 0) return 0;
  in.width = int32_t(costs.size0);
  // An array without a second dimension is one row.
  in.height = costs.size1 > 0 ? int32_t(costs.size1) : 1;
  in.costs = costs.data;
  if (!search.Run(in)) return 0;
  const uint32_t n = search.PathLength();
  if (n == 0) {
    ArrayDim(result, 0);
    return 0;
  }
  ArrayDim(result, n, 2);
  uint32_t i = n;
  search.WalkBack([&](int32_t x, int32_t y) {
    --i;
    *ArrayElement(result, int32_t(i), 0) = x;
    *ArrayElement(result, int32_t(i), 1) = y;
  });
  return n;
}

double FindPathOnGrid(BasicArray& costs, BasicArray& result, double weight, double startX,
                      double startY, double goalX, double goalY) {
  // Each thread keeps one search's memory for its next call.
  thread_local GridSearch search;
  return FindPathOnGrid(search, costs, result, weight, startX, startY, goalX, goalY);
}
