#include "pathfind/node_factory.h"

#include <new>

namespace {

void ReleasePool(NodeFactory& factory, Node*& storage) {
  delete[] storage;
  storage = nullptr;
  delete[] factory.pool;
  factory.pool = nullptr;
  factory.count = 0;
  factory.nextFree = 0;
}

}  // namespace

NodeFactory::~NodeFactory() {
  delete[] storage_;
  delete[] pool;
}

bool NodeFactoryInit(NodeFactory& factory, uint32_t count) {
  if (count == 0) return false;
  ReleasePool(factory, factory.storage_);
  Node** pool = new (std::nothrow) Node*[count];
  Node* storage = pool ? new (std::nothrow) Node[count] : nullptr;
  if (!storage) {
    delete[] pool;
    return false;
  }
  for (uint32_t i = 0; i < count; ++i) pool[i] = &storage[i];
  factory.pool = pool;
  factory.storage_ = storage;
  factory.count = count;
  return true;
}

Node* NodeFactoryTake(NodeFactory& factory) {
  if (!factory.pool || factory.nextFree >= factory.count) return nullptr;
  return factory.pool[factory.nextFree++];
}

void NodeFactoryGiveBack(NodeFactory& factory) {
  if (factory.nextFree > 0) --factory.nextFree;
}
