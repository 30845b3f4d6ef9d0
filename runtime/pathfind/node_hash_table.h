// The planner's closed set: a chained hash on cell coordinates. Chains are
// linked through Node::nextInChain, newest first; the table does not own
// its nodes.
#pragma once

#include <cstdint>

#include "pathfind/node.h"

class NodeFactory;

class NodeHashTable {
 public:
  NodeHashTable();
  virtual ~NodeHashTable();
  // A copy shares the nodes: it takes the bit count and a new bucket array
  // holding the same chain heads.
  NodeHashTable(const NodeHashTable& other);
  NodeHashTable& operator=(const NodeHashTable& other);

  Node** buckets = nullptr;
  uint32_t bits = 0;
};

struct NodeHashIterator {
  explicit NodeHashIterator(NodeHashTable* t) : table(t) {}
  NodeHashTable* table;
  uint32_t bucket = 0;
  Node* current = nullptr;
  Node** link = nullptr;  // the pointer that points at current
};

// Bits above 24 become 24, odd counts are rounded down; the old buckets are
// freed (nodes untouched) and 2^bits empty ones made. Returns the bits.
uint32_t NodeHashResize(NodeHashTable& table, uint32_t bits);
uint32_t NodeHashKey(const NodeHashTable& table, int32_t x, int32_t y);
// False for null or for a node already in its chain.
bool NodeHashInsert(NodeHashTable& table, Node* node);
// First node of cell (x, y) in its chain, with the iterator left on it.
Node* NodeHashFind(NodeHashIterator& it, int32_t x, int32_t y);
uint32_t NodeHashCount(const NodeHashTable& table);
void NodeHashZeroBuckets(NodeHashTable& table);
// Gives every node of the table back to the factory and empties it.
void NodeHashClear(NodeHashTable& table, NodeFactory& factory);
void NodeHashFreeBuckets(NodeHashTable& table);

Node* NodeHashIterBegin(NodeHashIterator& it);
Node* NodeHashIterNext(NodeHashIterator& it);
// Unlinks the current node and returns it; the iterator stays on it.
Node* NodeHashIterUnlink(NodeHashIterator& it);
// Unlinks the current node, moves to the following one and returns the
// unlinked node.
Node* NodeHashIterRemoveNext(NodeHashIterator& it);
