// The one element type of the planner's containers: a grid cell reached
// during a search.
#pragma once

#include <cstdint>

struct Node {
  Node* parent = nullptr;  // cell this one was reached from; null for the start
  int32_t x = 0, y = 0;
  float f = 0;             // ordering key of the open list
  float g = 0;             // path cost from the start
  Node* nextInChain = nullptr;  // next node of the same closed-set bucket
};
