#include "pathfind/node_hash_table.h"

#include <cstring>
#include <new>

#include "pathfind/node_factory.h"

namespace {

uint32_t BucketCount(const NodeHashTable& table) { return table.buckets ? 1u << table.bits : 0; }

Node** MakeBuckets(uint32_t bits) {
  Node** b = new (std::nothrow) Node*[size_t(1) << bits];
  if (b) std::memset(b, 0, sizeof(Node*) << bits);
  return b;
}

// Moves the iterator to the head of the first non-empty bucket from b on.
Node* SeekBucket(NodeHashIterator& it, uint32_t b) {
  const uint32_t n = BucketCount(*it.table);
  for (; b < n; ++b) {
    if (it.table->buckets[b]) {
      it.bucket = b;
      it.link = &it.table->buckets[b];
      it.current = *it.link;
      return it.current;
    }
  }
  it.bucket = n;
  it.current = nullptr;
  it.link = nullptr;
  return nullptr;
}

}  // namespace

NodeHashTable::NodeHashTable() : buckets(MakeBuckets(0)) {}

NodeHashTable::~NodeHashTable() { delete[] buckets; }

NodeHashTable::NodeHashTable(const NodeHashTable& other) : bits(other.bits) {
  buckets = MakeBuckets(bits);
  if (buckets && other.buckets) std::memcpy(buckets, other.buckets, sizeof(Node*) << bits);
  if (!buckets) bits = 0;
}

NodeHashTable& NodeHashTable::operator=(const NodeHashTable& other) {
  if (this == &other) return *this;
  delete[] buckets;
  bits = other.bits;
  buckets = MakeBuckets(bits);
  if (buckets && other.buckets) std::memcpy(buckets, other.buckets, sizeof(Node*) << bits);
  if (!buckets) bits = 0;
  return *this;
}

uint32_t NodeHashResize(NodeHashTable& table, uint32_t bits) {
  if (bits > 24) bits = 24;
  bits &= ~1u;
  delete[] table.buckets;
  table.buckets = MakeBuckets(bits);
  table.bits = table.buckets ? bits : 0;
  return table.bits;
}

uint32_t NodeHashKey(const NodeHashTable& table, int32_t x, int32_t y) {
  const uint32_t h = table.bits / 2;
  const uint32_t m = (1u << h) - 1;
  return (uint32_t(x) & m) | ((uint32_t(y) & m) << h);
}

bool NodeHashInsert(NodeHashTable& table, Node* node) {
  if (!node || !table.buckets) return false;
  Node*& head = table.buckets[NodeHashKey(table, node->x, node->y)];
  for (Node* n = head; n; n = n->nextInChain) {
    if (n == node) return false;
  }
  node->nextInChain = head;
  head = node;
  return true;
}

Node* NodeHashFind(NodeHashIterator& it, int32_t x, int32_t y) {
  NodeHashTable& table = *it.table;
  if (!table.buckets) return nullptr;
  it.bucket = NodeHashKey(table, x, y);
  Node** link = &table.buckets[it.bucket];
  for (Node* n = *link; n; link = &n->nextInChain, n = n->nextInChain) {
    if (n->x == x && n->y == y) {
      it.current = n;
      it.link = link;
      return n;
    }
  }
  it.current = nullptr;
  it.link = nullptr;
  return nullptr;
}

uint32_t NodeHashCount(const NodeHashTable& table) {
  uint32_t count = 0;
  for (uint32_t b = BucketCount(table); b-- > 0;) {
    for (Node* n = table.buckets[b]; n; n = n->nextInChain) ++count;
  }
  return count;
}

void NodeHashZeroBuckets(NodeHashTable& table) {
  if (table.buckets) std::memset(table.buckets, 0, sizeof(Node*) << table.bits);
}

void NodeHashClear(NodeHashTable& table, NodeFactory& factory) {
  for (uint32_t b = 0; b < BucketCount(table); ++b) {
    for (Node* n = table.buckets[b]; n; n = n->nextInChain) NodeFactoryGiveBack(factory);
  }
  NodeHashZeroBuckets(table);
}

void NodeHashFreeBuckets(NodeHashTable& table) {
  delete[] table.buckets;
  table.buckets = nullptr;
}

Node* NodeHashIterBegin(NodeHashIterator& it) { return SeekBucket(it, 0); }

Node* NodeHashIterNext(NodeHashIterator& it) {
  if (!it.current) return nullptr;
  if (it.current->nextInChain) {
    it.link = &it.current->nextInChain;
    it.current = *it.link;
    return it.current;
  }
  return SeekBucket(it, it.bucket + 1);
}

Node* NodeHashIterUnlink(NodeHashIterator& it) {
  if (!it.current || !it.link) return nullptr;
  *it.link = it.current->nextInChain;
  return it.current;
}

Node* NodeHashIterRemoveNext(NodeHashIterator& it) {
  Node* removed = it.current;
  if (!removed || !it.link) return nullptr;
  *it.link = removed->nextInChain;
  if (*it.link) {
    it.current = *it.link;  // the follower takes over the removed node's link
  } else {
    SeekBucket(it, it.bucket + 1);
  }
  return removed;
}
