// FindPathOnGrid against Boost.Graph's astar_search on the same random
// 1024 x 1024 cost grids: both must find the same path cost; reports the
// time of each and their ratio (Boost time / ours) per round and the lowest.
// Boost searches a compressed graph of the same normalised costs (entering
// a cell costs its cost) with the same Manhattan heuristic. Each side's
// clock covers making its search state and the search: ours from the cost
// array to the filled result array (normalising the costs included), Boost's
// from allocating its predecessor, distance, rank and colour maps to the
// end of the search. Building Boost's graph, its form of the input, is not
// timed. The ratio is taken on the processor time the process spent (the
// clock of <ctime>), which a busy machine does not stretch by making the
// process wait for a core; the wall-clock ratio is printed beside it.
// With "check" as third argument each grid is also searched at
// weights 0 to 1 by the planner classes and by FindPathOnGrid's search,
// which must give the same path, cost and open and closed counts.
#include <boost/graph/astar_search.hpp>
#include <boost/graph/compressed_sparse_row_graph.hpp>

#include <algorithm>
#include <chrono>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <ctime>
#include <random>
#include <utility>
#include <vector>

#include "core/basic_array.h"
#include "pathfind/astar_planner.h"
#include "pathfind/path_commands.h"

namespace {

using Clock = std::chrono::steady_clock;
using Graph = boost::compressed_sparse_row_graph<boost::directedS, boost::no_property, float>;
using Vertex = boost::graph_traits<Graph>::vertex_descriptor;

struct FoundGoal {};

class GoalVisitor : public boost::default_astar_visitor {
 public:
  explicit GoalVisitor(Vertex goal) : goal_(goal) {}
  void examine_vertex(Vertex v, const Graph&) {
    if (v == goal_) throw FoundGoal();
  }

 private:
  Vertex goal_;
};

class Manhattan : public boost::astar_heuristic<Graph, float> {
 public:
  Manhattan(int w, int gx, int gy) : w_(w), gx_(gx), gy_(gy) {}
  float operator()(Vertex v) const {
    const int x = int(v) % w_, y = int(v) / w_;
    return float(std::abs(gx_ - x) + std::abs(gy_ - y));
  }

 private:
  int w_, gx_, gy_;
};

double Seconds(Clock::duration d) { return std::chrono::duration<double>(d).count(); }
double CpuSeconds(std::clock_t from, std::clock_t to) { return double(to - from) / CLOCKS_PER_SEC; }

// The planner classes and FindPathOnGrid's search on one grid and weight.
bool SameAsPlanner(BasicArray& costs, double weight, int sx, int sy, int gx, int gy) {
  PlannerMapSpec spec;
  spec.startX = sx, spec.startY = sy, spec.goalX = gx, spec.goalY = gy;
  spec.diagonalCost = 1;
  spec.hashBits = 20;  // short closed-set chains on a large grid
  spec.heuristicWeight = float(weight);
  spec.width = int32_t(costs.size0), spec.height = int32_t(costs.size1);
  spec.cellCosts = costs.data;
  AStarPlanner planner;
  if (!PlannerSetup(planner, spec) || !AStarPlannerReset(planner) || !AStarPlannerSearch(planner))
    return false;
  std::vector<std::pair<int, int>> want;
  for (const Node* p = planner.goal; p; p = p->parent) want.emplace_back(p->x, p->y);

  GridSearch search;
  BasicArray result;
  const double n = FindPathOnGrid(search, costs, result, weight, sx, sy, gx, gy);
  std::vector<std::pair<int, int>> got;
  for (int i = int(n) - 1; i >= 0; --i)
    got.emplace_back(int(*ArrayElement(result, i, 0)), int(*ArrayElement(result, i, 1)));
  const float wantCost = PlannerPathCost(planner), gotCost = search.PathCost();
  const bool same = got == want && std::memcmp(&wantCost, &gotCost, sizeof(float)) == 0 &&
                    search.OpenCount() == PlannerOpenCount(planner) &&
                    search.ClosedCount() == PlannerClosedCount(planner);
  std::printf("  weight %.2f: %s (path of %d cells, %u open, %u closed)\n", weight,
              same ? "same" : "DIFFERENT", int(want.size()), PlannerOpenCount(planner),
              PlannerClosedCount(planner));
  return same;
}

}  // namespace

int main(int argc, char** argv) {
  const int size = argc > 1 ? std::atoi(argv[1]) : 1024;
  const int rounds = argc > 2 ? std::atoi(argv[2]) : 3;
  const bool check = argc > 3 && std::strcmp(argv[3], "check") == 0;
  const double weight = 0.5;  // keys (g + h) / 2: the order of g + h
  std::mt19937 rng(1024);
  double ours = 0, theirs = 0, lowest = HUGE_VAL, lowestWall = HUGE_VAL;
  bool agree = true;
  std::printf("grid %d x %d, weight %.1f, %d rounds\n", size, size, weight, rounds);
  for (int r = 0; r < rounds; ++r) {
    const int w = size, h = size, cells = w * h;
    BasicArray costs, result;
    ArrayDim(costs, w, h);
    std::vector<float> grid(static_cast<size_t>(cells));
    float max = 0;
    for (int i = 0; i < cells; ++i) {
      double v = rng() % 10 == 0 ? 0.0 : 1.0 + double(rng() % 1000) / 10.0;  // a tenth blocked
      costs.data[i] = v;
      grid[size_t(i)] = v > 0 ? float(v) : -1.0f;
      max = std::max(max, grid[size_t(i)]);
    }
    for (float& g : grid)
      if (g > 0) g = g / max + 1.0f;
    const int sx = w / 16, sy = h / 16, gx = w - 1 - w / 16, gy = h - 1 - h / 16;
    grid[size_t(sy * w + sx)] = grid[size_t(gy * w + gx)] = 1.5f;
    costs.data[sy * w + sx] = costs.data[gy * w + gx] = 50;

    // Ours.
    auto t0 = Clock::now();
    const std::clock_t c0 = std::clock();
    const double n = FindPathOnGrid(costs, result, weight, sx, sy, gx, gy);
    const std::clock_t c1 = std::clock();
    auto t1 = Clock::now();
    double ourCost = 0;
    for (int i = 1; i < int(n); ++i) {
      const int x = int(*ArrayElement(result, i, 0)), y = int(*ArrayElement(result, i, 1));
      ourCost += grid[size_t(y * w + x)];
    }

    // Boost: an edge into every open neighbour, weighted by its cost.
    std::vector<std::pair<Vertex, Vertex>> edges;
    std::vector<float> weights;
    edges.reserve(size_t(cells) * 4);
    weights.reserve(size_t(cells) * 4);
    for (int y = 0; y < h; ++y)
      for (int x = 0; x < w; ++x) {
        const int nx[4] = {x - 1, x + 1, x, x}, ny[4] = {y, y, y - 1, y + 1};
        for (int k = 0; k < 4; ++k) {
          if (nx[k] < 0 || ny[k] < 0 || nx[k] >= w || ny[k] >= h) continue;
          const float c = grid[size_t(ny[k] * w + nx[k])];
          if (c < 0) continue;
          edges.emplace_back(Vertex(y * w + x), Vertex(ny[k] * w + nx[k]));
          weights.push_back(c);
        }
      }
    Graph g(boost::edges_are_sorted, edges.begin(), edges.end(), weights.begin(), size_t(cells));
    const Vertex start = Vertex(sy * w + sx), goal = Vertex(gy * w + gx);
    auto t2 = Clock::now();
    const std::clock_t c2 = std::clock();
    std::vector<Vertex> pred(static_cast<size_t>(cells));
    std::vector<float> dist(static_cast<size_t>(cells)), rank(static_cast<size_t>(cells));
    std::vector<boost::default_color_type> color(static_cast<size_t>(cells));
    try {
      boost::astar_search(
          g, start, Manhattan(w, gx, gy),
          boost::visitor(GoalVisitor(goal))
              .weight_map(boost::get(boost::edge_bundle, g))
              .predecessor_map(pred.data())
              .distance_map(dist.data())
              .rank_map(rank.data())
              .color_map(color.data())
              .distance_compare(std::less<float>())
              .distance_combine(std::plus<float>()));
    } catch (const FoundGoal&) {
    }
    const std::clock_t c3 = std::clock();
    auto t3 = Clock::now();
    const double boostCost = dist[goal];
    const double ourTime = CpuSeconds(c0, c1), boostTime = CpuSeconds(c2, c3);
    const double ourWall = Seconds(t1 - t0), boostWall = Seconds(t3 - t2);
    ours += ourTime;
    theirs += boostTime;
    lowest = std::min(lowest, boostTime / ourTime);
    lowestWall = std::min(lowestWall, boostWall / ourWall);
    const bool same = n > 0 && std::fabs(ourCost - boostCost) <= 1e-3 * boostCost;
    agree = agree && same;
    std::printf("round %d: path of %d cells, cost %.3f (Boost %.3f)  ours %.1f ms  Boost %.1f ms  "
                "ratio %.2f  (wall clock: ours %.1f ms  Boost %.1f ms  ratio %.2f)\n",
                r, int(n), ourCost, boostCost, ourTime * 1e3, boostTime * 1e3, boostTime / ourTime,
                ourWall * 1e3, boostWall * 1e3, boostWall / ourWall);
    if (check) {
      for (double cw : {0.0, 0.25, 0.5, 0.75, 1.0}) agree = SameAsPlanner(costs, cw, sx, sy, gx, gy) && agree;
    }
  }
  std::printf("FindPathOnGrid %.1f ms per search, Boost astar_search %.1f ms: ratio %.2f overall, "
              "lowest ratio %.2f (Boost time / ours; wall clock lowest %.2f)\n",
              ours / rounds * 1e3, theirs / rounds * 1e3, theirs / ours, lowest, lowestWall);
  if (!agree) {
    std::printf(check ? "paths differ\n" : "path costs differ\n");
    return 1;
  }
  return 0;
}
