// The A* planner and the path-finding command: exact paths where the order
// of expansion decides, refusals, the result layout, and the path cost
// against an independent Dijkstra search on random grids.
#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <queue>
#include <random>
#include <utility>
#include <vector>

#include "core/basic_array.h"
#include "pathfind/astar_planner.h"
#include "pathfind/path_commands.h"

namespace {

using Path = std::vector<std::pair<int, int>>;

// costs[y][x]
void FillCosts(BasicArray& a, const std::vector<std::vector<double>>& rows) {
  const int h = int(rows.size()), w = int(rows[0].size());
  ArrayDim(a, w, h);
  for (int y = 0; y < h; ++y)
    for (int x = 0; x < w; ++x) *ArrayElement(a, x, y) = rows[y][x];
}

Path ReadPath(BasicArray& result) {
  Path p;
  for (uint32_t i = 0; i < result.size0; ++i)
    p.emplace_back(int(*ArrayElement(result, int(i), 0)), int(*ArrayElement(result, int(i), 1)));
  return p;
}

PlannerMapSpec Spec(const std::vector<double>& costs, int w, int h, int sx, int sy, int gx, int gy,
                    float weight) {
  PlannerMapSpec s;
  s.startX = sx, s.startY = sy, s.goalX = gx, s.goalY = gy;
  s.diagonalCost = 1;
  s.hashBits = 8;
  s.heuristicWeight = weight;
  s.width = w, s.height = h;
  s.cellCosts = costs.data();
  return s;
}

TEST(FindPathOnGrid, StraightRowGivesEveryCellAndCostsTwoPerStep) {
  BasicArray costs, result;
  FillCosts(costs, {{1, 1, 1}});
  EXPECT_EQ(FindPathOnGrid(costs, result, 0, 0, 0, 2, 0), 3);
  EXPECT_EQ(result.size0, 3u);
  EXPECT_EQ(result.size1, 2u);
  EXPECT_EQ(ReadPath(result), (Path{{0, 0}, {1, 0}, {2, 0}}));

  std::vector<double> row = {1, 1, 1};
  AStarPlanner p;
  ASSERT_TRUE(PlannerSetup(p, Spec(row, 3, 1, 0, 0, 2, 0, 0)));
  ASSERT_TRUE(AStarPlannerReset(p));
  ASSERT_TRUE(AStarPlannerSearch(p));
  EXPECT_EQ(PlannerPathCost(p), 4.0f);
  EXPECT_EQ(PlannerPathLength(p), 3u);
}

// Hand-followed searches: on ties the entry inserted earlier leaves first;
// the weight decides between the cheap detour and the greedy way.
TEST(FindPathOnGrid, OrderOfExpansionDecidesBetweenPaths) {
  struct Case {
    std::vector<std::vector<double>> rows;
    double weight;
    double sx, sy, gx, gy;
    Path expected;
  };
  const Case cases[] = {
      // Equal costs: the step along x was queued first and wins.
      {{{1, 1}, {1, 1}}, 0, 0, 0, 1, 1, {{0, 0}, {1, 0}, {1, 1}}},
      {{{1, 1}, {1, 1}}, 1, 0, 0, 1, 1, {{0, 0}, {1, 0}, {1, 1}}},
      // A dear cell above: the cheapest way goes round below it...
      {{{1, 50, 1}, {1, 1, 1}}, 0, 0, 0, 2, 1, {{0, 0}, {0, 1}, {1, 1}, {2, 1}}},
      // ...but the heuristic alone walks straight through it.
      {{{1, 50, 1}, {1, 1, 1}}, 1, 0, 0, 2, 1, {{0, 0}, {1, 0}, {2, 0}, {2, 1}}},
      // Cheaper cells win over fewer steps: seven cells through the cheap row.
      {{{100, 100, 100, 100, 100}, {1, 1, 1, 1, 1}}, 0, 0, 0, 4, 0,
       {{0, 0}, {0, 1}, {1, 1}, {2, 1}, {3, 1}, {4, 1}, {4, 0}}},
      // Weights beyond 0..1 are clamped.
      {{{1, 50, 1}, {1, 1, 1}}, 7, 0, 0, 2, 1, {{0, 0}, {1, 0}, {2, 0}, {2, 1}}},
      {{{1, 50, 1}, {1, 1, 1}}, -3, 0, 0, 2, 1, {{0, 0}, {0, 1}, {1, 1}, {2, 1}}},
      // A blocked start is still the start; its cost is never read.
      {{{0, 1, 1}}, 0, 0, 0, 2, 0, {{0, 0}, {1, 0}, {2, 0}}},
      // Truncated toward zero.
      {{{1, 1, 1}}, 0.5, 0.9, 0.2, 2.7, 0.99, {{0, 0}, {1, 0}, {2, 0}}},
  };
  for (const Case& c : cases) {
    BasicArray costs, result;
    FillCosts(costs, c.rows);
    EXPECT_EQ(FindPathOnGrid(costs, result, c.weight, c.sx, c.sy, c.gx, c.gy),
              double(c.expected.size()));
    EXPECT_EQ(ReadPath(result), c.expected) << "weight " << c.weight;
  }
}

TEST(FindPathOnGrid, RefusalsLeaveTheResultAlone) {
  struct Case {
    std::vector<std::vector<double>> rows;
    double sx, sy, gx, gy;
  };
  const Case cases[] = {
      {{{1, 1, 1}}, 1, 0, 1, 0},    // start equal to goal
      {{{1, 1, 1}}, -1, 0, 2, 0},   // start outside
      {{{1, 1, 1}}, 0, 0, 3, 0},    // goal outside
      {{{1, 1, 1}}, 0, 1, 2, 0},    // start below the one row
      {{{0, -2, 0}}, 0, 0, 2, 0},   // no positive cost
  };
  for (const Case& c : cases) {
    BasicArray costs, result;
    FillCosts(costs, c.rows);
    ArrayDim(result, 4);
    *ArrayElement(result, 3) = 42;
    EXPECT_EQ(FindPathOnGrid(costs, result, 0, c.sx, c.sy, c.gx, c.gy), 0);
    EXPECT_EQ(result.size0, 4u);
    EXPECT_EQ(*ArrayElement(result, 3), 42);
  }
}

TEST(FindPathOnGrid, NoPathEmptiesTheResult) {
  const std::vector<std::vector<std::vector<double>>> grids = {
      {{1, 1, 0}},                       // goal cell blocked
      {{1, 0, 1}, {1, 0, 1}},            // wall
      {{1, 1e300, 1}},                   // too dear for a 32-bit float: blocked
      {{1, std::nan(""), 1}},            // not a number: blocked
      {{1, std::numeric_limits<double>::infinity(), 1}},
  };
  for (const auto& rows : grids) {
    BasicArray costs, result;
    FillCosts(costs, rows);
    ArrayDim(result, 4);
    EXPECT_EQ(FindPathOnGrid(costs, result, 0, 0, 0, 2, 0), 0);
    EXPECT_EQ(result.size0, 0u);
  }
}

TEST(FindPathOnGrid, UnusableCostsElsewhereDoNotSpoilTheOthers) {
  std::vector<double> costs = {1, 1, 1, std::nan(""), 1e300, 4};
  AStarPlanner p;
  ASSERT_TRUE(PlannerSetup(p, Spec(costs, 3, 2, 0, 0, 2, 0, 0)));
  EXPECT_EQ(p.costGrid[3], -1.0f);
  EXPECT_EQ(p.costGrid[4], -1.0f);
  EXPECT_EQ(p.costGrid[5], 2.0f);
  EXPECT_EQ(p.costGrid[0], 1.25f);
  ASSERT_TRUE(AStarPlannerReset(p));
  ASSERT_TRUE(AStarPlannerSearch(p));
  EXPECT_EQ(PlannerPathCost(p), 2.5f);
}

TEST(AStarPlanner, NoPathLeavesNoGoalAndClearGivesEveryNodeBack) {
  std::vector<double> costs = {1, 0, 1, 1, 0, 1};
  AStarPlanner p;
  ASSERT_TRUE(PlannerSetup(p, Spec(costs, 3, 2, 0, 0, 2, 0, 0.5f)));
  ASSERT_TRUE(AStarPlannerReset(p));
  EXPECT_EQ(PlannerOpenCount(p), 1u);
  ASSERT_TRUE(AStarPlannerSearch(p));
  EXPECT_EQ(p.goal, nullptr);
  EXPECT_EQ(PlannerPathCost(p), -1.0f);
  EXPECT_EQ(PlannerPathLength(p), 0u);
  EXPECT_EQ(PlannerClosedCount(p), 2u);
  EXPECT_EQ(p.nodes.nextFree, 2u);
  PlannerClear(p);
  EXPECT_EQ(p.nodes.nextFree, 0u);
  EXPECT_EQ(PlannerClosedCount(p), 0u);
  // Ready for another search.
  ASSERT_TRUE(AStarPlannerReset(p));
  ASSERT_TRUE(AStarPlannerSearch(p));
  EXPECT_EQ(PlannerClosedCount(p), 2u);
}

TEST(AStarPlanner, UsedUpPoolStopsTheSearch) {
  std::vector<double> costs(25, 1.0);
  PlannerMapSpec s = Spec(costs, 5, 5, 0, 0, 4, 4, 0);
  s.poolSize = 3;
  AStarPlanner p;
  ASSERT_TRUE(PlannerSetup(p, s));
  ASSERT_TRUE(AStarPlannerReset(p));
  EXPECT_FALSE(AStarPlannerSearch(p));
  EXPECT_EQ(p.goal, nullptr);
  // A reset without a clear has no node for the start.
  EXPECT_FALSE(AStarPlannerReset(p));
}

TEST(AStarPlanner, DiagonalMovesCostTheDiagonalFactor) {
  std::vector<double> costs(9, 1.0);
  PlannerMapSpec s = Spec(costs, 3, 3, 0, 0, 2, 2, 0);
  s.diagonalMoves = 1;
  AStarPlanner p;
  ASSERT_TRUE(PlannerSetup(p, s));
  ASSERT_TRUE(AStarPlannerReset(p));
  ASSERT_TRUE(AStarPlannerSearch(p));
  EXPECT_EQ(PlannerPathLength(p), 3u);
  const float k = 1.4142137f;
  EXPECT_EQ(PlannerPathCost(p), 2.0f * k + 2.0f * k);
}

// Cheapest path cost over the planner's normalised costs, four neighbours.
double Dijkstra(const std::vector<float>& grid, int w, int h, int sx, int sy, int gx, int gy) {
  std::vector<double> dist(grid.size(), std::numeric_limits<double>::infinity());
  using Item = std::pair<double, int>;
  std::priority_queue<Item, std::vector<Item>, std::greater<Item>> q;
  dist[size_t(sy * w + sx)] = 0;
  q.push({0, sy * w + sx});
  while (!q.empty()) {
    auto [d, c] = q.top();
    q.pop();
    if (d > dist[size_t(c)]) continue;
    const int x = c % w, y = c / w;
    const int nx[4] = {x - 1, x + 1, x, x}, ny[4] = {y, y, y - 1, y + 1};
    for (int i = 0; i < 4; ++i) {
      if (nx[i] < 0 || ny[i] < 0 || nx[i] >= w || ny[i] >= h) continue;
      const int n = ny[i] * w + nx[i];
      if (grid[size_t(n)] < 0) continue;
      if (d + grid[size_t(n)] < dist[size_t(n)]) {
        dist[size_t(n)] = d + grid[size_t(n)];
        q.push({dist[size_t(n)], n});
      }
    }
  }
  return dist[size_t(gy * w + gx)];
}

TEST(FindPathOnGrid, CheapestPathMatchesAPlainDijkstraOnRandomGrids) {
  std::mt19937 rng(20261210);
  int found = 0;
  for (int round = 0; round < 200; ++round) {
    const int w = 1 + int(rng() % 64), h = 1 + int(rng() % 64);
    if (w * h < 2) continue;
    const double blocked = (rng() % 4) * 0.1;
    BasicArray costs, result;
    ArrayDim(costs, w, h);
    std::vector<float> grid(size_t(w * h));
    float max = 0;
    for (int i = 0; i < w * h; ++i) {
      double v = std::uniform_real_distribution<double>(0, 1)(rng) < blocked
                     ? 0.0
                     : 1.0 + double(rng() % 1000) / 10.0;
      costs.data[i] = v;
      grid[size_t(i)] = v > 0 ? float(v) : -1.0f;
      if (float(v) > max) max = float(v);
    }
    for (float& g : grid)
      if (g > 0) g = g / max + 1.0f;
    int sx, sy, gx, gy;
    do {
      sx = int(rng() % unsigned(w)), sy = int(rng() % unsigned(h));
      gx = int(rng() % unsigned(w)), gy = int(rng() % unsigned(h));
    } while (sx == gx && sy == gy);

    const double expected = Dijkstra(grid, w, h, sx, sy, gx, gy);
    const double n = FindPathOnGrid(costs, result, 0, sx, sy, gx, gy);
    if (std::isinf(expected)) {
      EXPECT_EQ(n, 0) << "round " << round;
      continue;
    }
    ASSERT_GT(n, 0) << "round " << round;
    ++found;
    // The returned path: start to goal, one orthogonal step at a time, over
    // open cells, costing what Dijkstra found.
    Path path = ReadPath(result);
    ASSERT_EQ(path.front(), std::make_pair(sx, sy));
    ASSERT_EQ(path.back(), std::make_pair(gx, gy));
    double cost = 0;
    for (size_t i = 1; i < path.size(); ++i) {
      ASSERT_EQ(std::abs(path[i].first - path[i - 1].first) +
                    std::abs(path[i].second - path[i - 1].second),
                1);
      const float c = grid[size_t(path[i].second * w + path[i].first)];
      ASSERT_GT(c, 0);
      cost += c;
    }
    EXPECT_NEAR(cost, expected, 1e-4 * expected) << "round " << round;
  }
  EXPECT_GT(found, 100);
}

}  // namespace
