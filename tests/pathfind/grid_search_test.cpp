// FindPathOnGrid's compact search against the planner classes run as the
// command ran them before: the same return value, result array, cost and
// open and closed counts on random grids; and its radix heap against a
// plain ordered set.
#include <gtest/gtest.h>

#include <cmath>
#include <cstring>
#include <limits>
#include <random>
#include <set>
#include <vector>

#include "core/basic_array.h"
#include "core/number_truncate.h"
#include "pathfind/astar_planner.h"
#include "pathfind/grid_search.h"
#include "pathfind/path_commands.h"
#include "pathfind/radix_heap.h"

namespace {

struct Outcome {
  double value = 0;
  uint32_t size0 = 0, size1 = 0, dimensions = 0;
  std::vector<double> elements;
  float cost = -1;
  uint32_t open = 0, closed = 0;
};

// A result array that already holds something, to see it kept or replaced.
void PreFill(BasicArray& result) {
  ArrayDim(result, 3);
  for (int i = 0; i < 3; ++i) *ArrayElement(result, i) = 40 + i;
}

void ReadResult(BasicArray& result, Outcome& o) {
  o.size0 = result.size0;
  o.size1 = result.size1;
  o.dimensions = result.dimensionCount;
  const uint32_t n = result.size0 * (result.size1 ? result.size1 : 1);
  o.elements.assign(result.data, result.data + n);
}

// The command on AStarPlanner and its containers, step by step.
Outcome RunPlanner(BasicArray& costs, double weight, double sx, double sy, double gx, double gy) {
  Outcome o;
  BasicArray result;
  PreFill(result);
  PlannerMapSpec spec;
  spec.startX = TruncInt32(sx), spec.startY = TruncInt32(sy);
  spec.goalX = TruncInt32(gx), spec.goalY = TruncInt32(gy);
  spec.diagonalCost = 1;
  spec.hashBits = 8;
  spec.heuristicWeight =
      std::isnan(weight) ? 0.0f : weight >= 1 ? 1.0f : weight < 0 ? 0.0f : float(weight);
  spec.width = int32_t(costs.size0);
  spec.height = costs.size1 > 0 ? int32_t(costs.size1) : 1;
  spec.cellCosts = costs.data;
  AStarPlanner planner;
  if (costs.size0 > 0 && PlannerSetup(planner, spec)) {
    EXPECT_TRUE(AStarPlannerReset(planner));
    EXPECT_TRUE(AStarPlannerSearch(planner));
    o.cost = PlannerPathCost(planner);
    o.open = PlannerOpenCount(planner);
    o.closed = PlannerClosedCount(planner);
    const uint32_t n = PlannerPathLength(planner);
    if (n == 0) {
      ArrayDim(result, 0);
    } else {
      ArrayDim(result, n, 2);
      uint32_t i = n;
      for (const Node* p = planner.goal; p; p = p->parent) {
        --i;
        *ArrayElement(result, int32_t(i), 0) = p->x;
        *ArrayElement(result, int32_t(i), 1) = p->y;
      }
      o.value = n;
    }
  }
  ReadResult(result, o);
  return o;
}

Outcome RunSearch(GridSearch& search, BasicArray& costs, double weight, double sx, double sy,
                  double gx, double gy) {
  Outcome o;
  BasicArray result;
  PreFill(result);
  o.value = FindPathOnGrid(search, costs, result, weight, sx, sy, gx, gy);
  o.cost = search.PathCost();
  o.open = search.OpenCount();
  o.closed = search.ClosedCount();
  ReadResult(result, o);
  return o;
}

void ExpectSame(const Outcome& want, const Outcome& got, int round) {
  EXPECT_EQ(got.value, want.value) << "round " << round;
  EXPECT_EQ(got.size0, want.size0) << "round " << round;
  EXPECT_EQ(got.size1, want.size1) << "round " << round;
  EXPECT_EQ(got.dimensions, want.dimensions) << "round " << round;
  EXPECT_EQ(got.elements, want.elements) << "round " << round;
  EXPECT_EQ(std::memcmp(&got.cost, &want.cost, sizeof(float)), 0)
      << "round " << round << ": cost " << got.cost << " want " << want.cost;
  EXPECT_EQ(got.open, want.open) << "round " << round;
  EXPECT_EQ(got.closed, want.closed) << "round " << round;
}

// One cell's cost: mostly a few repeated values (ties), some blocked by 0,
// negative or unusable numbers, some huge or tiny.
double RandomCost(std::mt19937& rng, int style) {
  const double inf = std::numeric_limits<double>::infinity();
  static const double odd[] = {0,     -1,     -1e300, 1e300, 3.4e38, 1e30, 1e-40, 1e-300,
                               -inf,  inf,    std::nan(""), 5e-324, 0.5,  1e6,  -0.0};
  const unsigned r = rng() % 100;
  if (r < 12) return 0;
  if (r < 16) return odd[rng() % (sizeof odd / sizeof odd[0])];
  switch (style) {
    case 0: return 1;                                      // all equal
    case 1: return double(1 + rng() % 3);                  // a few levels
    case 2: return 1.0 + double(rng() % 1000) / 10.0;      // the benchmark's kind
    default: return std::ldexp(double(1 + rng() % 7), int(rng() % 40) - 20);  // wide range
  }
}

double RandomCoordinate(std::mt19937& rng, int size) {
  const unsigned r = rng() % 40;
  if (r == 0) return -1;
  if (r == 1) return size;
  if (r == 2) return double(rng() % unsigned(size)) + 0.75;  // truncated toward zero
  if (r == 3) return std::nan("");
  return double(rng() % unsigned(size));
}

TEST(GridSearch, SameResultsAsThePlannerClassesOnRandomGrids) {
  std::mt19937 rng(31);
  const double weights[] = {0, 0, 0.5, 0.5, 1, 0.25, 0.75, 0.9, -2, 3, std::nan("")};
  GridSearch search;  // one search for every grid: its memory is reused
  GridSearch renumbering;
  renumbering.sequenceLimit = 48;
  int found = 0, noPath = 0, refused = 0;
  for (int round = 0; round < 400; ++round) {
    const int w = 1 + int(rng() % (round % 5 == 0 ? 64 : 24));
    const int h = 1 + int(rng() % (round % 7 == 0 ? 48 : 16));
    const bool oneRow = h == 1 && rng() % 2;  // an array without a second dimension
    BasicArray costs;
    if (oneRow) {
      ArrayDim(costs, w);
    } else {
      ArrayDim(costs, w, h);
    }
    const int style = int(rng() % 4);
    for (int i = 0; i < w * h; ++i) costs.data[i] = RandomCost(rng, style);
    double weight = weights[rng() % (sizeof weights / sizeof weights[0])];
    if (rng() % 4 == 0) weight = std::uniform_real_distribution<double>(0, 1)(rng);
    const double sx = RandomCoordinate(rng, w), sy = RandomCoordinate(rng, h);
    const double gx = RandomCoordinate(rng, w), gy = RandomCoordinate(rng, h);

    const Outcome want = RunPlanner(costs, weight, sx, sy, gx, gy);
    ExpectSame(want, RunSearch(search, costs, weight, sx, sy, gx, gy), round);
    if (w * h <= 400) ExpectSame(want, RunSearch(renumbering, costs, weight, sx, sy, gx, gy), round);
    BasicArray result;
    PreFill(result);
    EXPECT_EQ(FindPathOnGrid(costs, result, weight, sx, sy, gx, gy), want.value) << "round " << round;
    Outcome direct;
    ReadResult(result, direct);
    EXPECT_EQ(direct.elements, want.elements) << "round " << round;

    if (want.value > 0) {
      ++found;
    } else if (want.size0 == 0) {
      ++noPath;
    } else {
      ++refused;
    }
  }
  // Every kind of outcome was met.
  EXPECT_GT(found, 150);
  EXPECT_GT(noPath, 20);
  EXPECT_GT(refused, 20);
}

// Keys that lean on the heuristic (weight above 0.5) on grids with walls
// and very uneven costs reopen closed cells and give keys below the last one
// taken; a low numbering limit renumbers the open entries many times. Both
// must still agree with the planner classes.
TEST(GridSearch, ReopeningAndRenumberingKeepTheOrder) {
  std::mt19937 rng(7);
  const int w = 48, h = 40;
  for (int grid = 0; grid < 4; ++grid) {
    BasicArray costs;
    ArrayDim(costs, w, h);
    for (int y = 0; y < h; ++y)
      for (int x = 0; x < w; ++x)
        costs.data[y * w + x] = (x % 8 == 4 && y % 10 != grid) ? 0 : std::ldexp(1.0, int(rng() % 8));
    for (double weight : {1.0, 0.9, 0.75, 0.6}) {
      const Outcome want = RunPlanner(costs, weight, 0, 20, 47, 21);
      ASSERT_GT(want.value, 0);
      GridSearch search;
      ExpectSame(want, RunSearch(search, costs, weight, 0, 20, 47, 21), grid);
      search.sequenceLimit = 40;
      ExpectSame(want, RunSearch(search, costs, weight, 0, 20, 47, 21), grid);
    }
  }
}

TEST(RadixHeap, PopsInKeyOrderWithKeysBelowTheLastTaken) {
  std::mt19937_64 rng(5);
  RadixHeap heap;
  std::multiset<uint64_t> model;
  uint64_t last = 0;
  for (int step = 0; step < 20000; ++step) {
    if (model.empty() || rng() % 3 != 0) {
      // Near the last key taken, often below it, sometimes far above.
      uint64_t key = last + (rng() % 64) - 24;
      if (rng() % 50 == 0) key = rng();
      heap.Push(OpenEntry{key, uint32_t(step), 0});
      model.insert(key);
    } else {
      ASSERT_FALSE(heap.Empty());
      const OpenEntry e = heap.Pop();
      ASSERT_EQ(e.key, *model.begin()) << "step " << step;
      model.erase(model.begin());
      last = e.key;
    }
    ASSERT_EQ(heap.Size(), model.size());
  }
  std::vector<OpenEntry> drained;
  heap.Drain(drained);
  EXPECT_EQ(drained.size(), model.size());
  EXPECT_TRUE(heap.Empty());
}

}  // namespace
