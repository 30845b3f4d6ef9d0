// Pool of planner nodes, handed out in index order and given back by count.
#pragma once

#include <cstdint>

#include "pathfind/node.h"

class NodeFactory {
 public:
  NodeFactory() = default;
  virtual ~NodeFactory();
  NodeFactory(const NodeFactory&) = delete;
  NodeFactory& operator=(const NodeFactory&) = delete;

  uint32_t count = 0;
  Node** pool = nullptr;
  uint32_t nextFree = 0;

 private:
  friend bool NodeFactoryInit(NodeFactory&, uint32_t);
  Node* storage_ = nullptr;  // the pooled nodes, one block in pool order
};

// Replaces the pool by count fresh nodes; 0 keeps the old pool and gives
// false, as does a failed allocation.
bool NodeFactoryInit(NodeFactory& factory, uint32_t count);

// The next free node, or null when the pool is missing or used up.
Node* NodeFactoryTake(NodeFactory& factory);

// Gives one node back (the count of handed-out nodes, never below 0).
void NodeFactoryGiveBack(NodeFactory& factory);
