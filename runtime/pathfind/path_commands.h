// The path-finding built-in of the command layer.
#pragma once

#include "core/basic_array.h"
#include "pathfind/grid_search.h"

// Finds a path over the grid costs (element (x, y) is cell (x, y); a cost of
// 0 or less blocks its cell) from the start to the goal cell, four
// neighbours per step, ordered by (h - g) * weight + g with weight clamped to
// 0..1. On success result becomes n x 2 (element (i, 0) = x, (i, 1) = y,
// index 0 the start, n - 1 the goal) and n is returned. No path: result is
// emptied and 0 returned. Invalid start or goal, start equal to goal or no
// positive cost: 0 with result untouched. Runs on a search kept by the
// calling thread, whose memory the next call reuses.
double FindPathOnGrid(BasicArray& costs, BasicArray& result, double weight, double startX,
                      double startY, double goalX, double goalY);

// The same on the given search's memory, which keeps the search's figures
// (cost, open and closed counts) for the caller to read.
double FindPathOnGrid(GridSearch& search, BasicArray& costs, BasicArray& result, double weight,
                      double startX, double startY, double goalX, double goalY);
