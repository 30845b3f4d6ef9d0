// The planner's containers: the ring buffer with middle insertion, the
// closed-set hash with its iterator, and the node pool.
#include <gtest/gtest.h>

#include <deque>
#include <random>
#include <vector>

#include "pathfind/fixed_deque.h"
#include "pathfind/node_factory.h"
#include "pathfind/node_hash_table.h"

namespace {

std::vector<int> Contents(FixedDeque<int>& d) {
  std::vector<int> out;
  for (uint32_t i = 0; i < FixedDequeSize(d); ++i) out.push_back(FixedDequeAt(d, i));
  return out;
}

TEST(FixedDeque, FullDequeRefusesPushesAndInsertsButStillPops) {
  FixedDeque<int> d(3);
  EXPECT_TRUE(FixedDequePushBack(d, 1));
  EXPECT_TRUE(FixedDequePushBack(d, 2));
  EXPECT_TRUE(FixedDequePushBack(d, 3));
  EXPECT_EQ(FixedDequeSize(d), 3u);
  EXPECT_FALSE(FixedDequePushBack(d, 4));
  EXPECT_FALSE(FixedDequePushFront(d, 4));
  EXPECT_FALSE(FixedDequeInsert(d, 1, 4));
  EXPECT_FALSE(FixedDequeInsert(d, 3, 4));  // at the capacity: no push at the front
  EXPECT_EQ(Contents(d), (std::vector<int>{1, 2, 3}));
  EXPECT_TRUE(FixedDequePopFront(d));
  EXPECT_TRUE(FixedDequePopBack(d));
  EXPECT_EQ(Contents(d), (std::vector<int>{2}));
}

TEST(FixedDeque, PushFrontIntoEmptyWrapsToTheLastSlot) {
  FixedDeque<int> d(4);
  EXPECT_TRUE(FixedDequePushFront(d, 7));
  EXPECT_EQ(d.head, 3u);
  EXPECT_EQ(&FixedDequeAt(d, 0), &d.buffer[3]);
  EXPECT_EQ(FixedDequeBack(d), 7);
  EXPECT_TRUE(FixedDequePushBack(d, 8));  // tail wraps from 0 over the front
  EXPECT_EQ(Contents(d), (std::vector<int>{7, 8}));
}

TEST(FixedDeque, MiddleInsertThatFillsTheDequeWrapsItsTail) {
  FixedDeque<int> d(4);
  for (int v : {1, 2, 4}) FixedDequePushBack(d, v);
  EXPECT_TRUE(FixedDequeInsert(d, 2, 3));
  EXPECT_EQ(Contents(d), (std::vector<int>{1, 2, 3, 4}));
  EXPECT_EQ(d.tail, 0u);
  EXPECT_EQ(FixedDequeSize(d), 4u);
  EXPECT_FALSE(FixedDequePushBack(d, 5));
  EXPECT_FALSE(FixedDequeInsert(d, 1, 5));
}

TEST(FixedDeque, InsertAndEraseAcrossTheWrap) {
  FixedDeque<int> d(5);
  for (int v : {1, 2, 3}) FixedDequePushBack(d, v);
  FixedDequePopFront(d);
  FixedDequePopFront(d);
  for (int v : {4, 5, 6}) FixedDequePushBack(d, v);  // 3 4 5 6, wrapped
  EXPECT_TRUE(FixedDequeInsert(d, 2, 9));
  EXPECT_EQ(Contents(d), (std::vector<int>{3, 4, 9, 5, 6}));
  EXPECT_FALSE(FixedDequeErase(d, 5));
  EXPECT_TRUE(FixedDequeErase(d, 1));
  EXPECT_EQ(Contents(d), (std::vector<int>{3, 9, 5, 6}));
  EXPECT_TRUE(FixedDequeErase(d, 3));  // the last element: a pop at the back
  EXPECT_TRUE(FixedDequeErase(d, 0));  // the first: a pop at the front
  EXPECT_EQ(Contents(d), (std::vector<int>{9, 5}));
  EXPECT_FALSE(FixedDequeInsert(d, 3, 1));  // beyond the size
  EXPECT_TRUE(FixedDequeInsert(d, 2, 1));   // at the size: a push at the back
  EXPECT_TRUE(FixedDequeInsert(d, 0, 0));   // at the head: a push at the front
  EXPECT_EQ(Contents(d), (std::vector<int>{0, 9, 5, 1}));
}

TEST(FixedDeque, EmptyAndZeroCapacityRefuse) {
  FixedDeque<int> d(0);
  EXPECT_EQ(d.buffer, nullptr);
  EXPECT_FALSE(FixedDequePushBack(d, 1));
  EXPECT_FALSE(FixedDequeInsert(d, 0, 1));
  EXPECT_FALSE(FixedDequePopBack(d));
  EXPECT_FALSE(FixedDequeErase(d, 0));
  EXPECT_TRUE(FixedDequeReallocate(d, 2));
  EXPECT_TRUE(FixedDequeInsert(d, 0, 1));  // into an empty deque: a push
  EXPECT_EQ(Contents(d), (std::vector<int>{1}));
}

// Random pushes, pops, inserts and erases against a plain deque, through
// wrapped and unwrapped layouts and the full and empty states.
TEST(FixedDeque, MatchesAPlainDequeUnderRandomOperations) {
  FixedDeque<int> d(7);
  std::deque<int> model;
  std::mt19937 rng(7);
  for (int step = 0; step < 20000; ++step) {
    const uint32_t size = uint32_t(model.size());
    const uint32_t i = rng() % (size + 2);
    const int v = step;
    bool done = false, expected = false;
    switch (rng() % 6) {
      case 0:
        done = FixedDequePushBack(d, v), expected = size < 7;
        if (expected) model.push_back(v);
        break;
      case 1:
        done = FixedDequePushFront(d, v), expected = size < 7;
        if (expected) model.push_front(v);
        break;
      case 2:
        done = FixedDequePopBack(d), expected = size > 0;
        if (expected) model.pop_back();
        break;
      case 3:
        done = FixedDequePopFront(d), expected = size > 0;
        if (expected) model.pop_front();
        break;
      case 4:
        done = FixedDequeInsert(d, i, v), expected = size < 7 && i <= size;
        if (expected) model.insert(model.begin() + i, v);
        break;
      default:
        done = FixedDequeErase(d, i), expected = i < size;
        if (expected) model.erase(model.begin() + i);
        break;
    }
    ASSERT_EQ(done, expected) << "step " << step;
    ASSERT_EQ(Contents(d), std::vector<int>(model.begin(), model.end())) << "step " << step;
    ASSERT_EQ(FixedDequeFull(d), model.size() == 7);
  }
}

TEST(NodeHashTable, ResizeRoundsBitsAndKeyTakesLowBitsOfEachCoordinate) {
  NodeHashTable t;
  EXPECT_EQ(t.bits, 0u);
  EXPECT_EQ(NodeHashResize(t, 25), 24u);
  EXPECT_EQ(NodeHashResize(t, 7), 6u);
  EXPECT_EQ(NodeHashKey(t, 5, 6), 5u | (6u << 3));
  EXPECT_EQ(NodeHashKey(t, 13, 14), 5u | (6u << 3));
  EXPECT_EQ(NodeHashResize(t, 0), 0u);
  EXPECT_EQ(NodeHashKey(t, 123, 456), 0u);
  Node a;
  EXPECT_TRUE(NodeHashInsert(t, &a));
  EXPECT_EQ(NodeHashCount(t), 1u);
}

TEST(NodeHashTable, FindsNewestOfSameCellAndRefusesTheSameNodeTwice) {
  NodeHashTable t;
  NodeHashResize(t, 4);
  Node a, b, c;
  a.x = b.x = 1, a.y = b.y = 2;
  c.x = 5, c.y = 2;  // same bucket as (1, 2) with 4 bits
  EXPECT_TRUE(NodeHashInsert(t, &a));
  EXPECT_TRUE(NodeHashInsert(t, &c));
  EXPECT_TRUE(NodeHashInsert(t, &b));
  EXPECT_FALSE(NodeHashInsert(t, &a));
  EXPECT_FALSE(NodeHashInsert(t, nullptr));
  NodeHashIterator it(&t);
  EXPECT_EQ(NodeHashFind(it, 1, 2), &b);
  EXPECT_EQ(NodeHashFind(it, 5, 2), &c);
  EXPECT_EQ(NodeHashFind(it, 9, 9), nullptr);
  EXPECT_EQ(NodeHashCount(t), 3u);
  // Unlinking c through the iterator leaves b -> a.
  NodeHashFind(it, 5, 2);
  EXPECT_EQ(NodeHashIterUnlink(it), &c);
  EXPECT_EQ(it.current, &c);
  EXPECT_EQ(NodeHashCount(t), 2u);
  EXPECT_EQ(NodeHashFind(it, 1, 2), &b);
}

TEST(NodeHashTable, IteratorVisitsEveryNodeAndRemoveNextKeepsTheWalkGoing) {
  NodeHashTable t;
  NodeHashResize(t, 2);  // two bits: key (x & 1) | (y & 1) << 1
  Node n[5];
  const int xy[5][2] = {{0, 0}, {2, 0}, {1, 0}, {0, 1}, {4, 0}};
  for (int i = 0; i < 5; ++i) {
    n[i].x = xy[i][0], n[i].y = xy[i][1];
    NodeHashInsert(t, &n[i]);
  }
  // Bucket 0: n4 n1 n0; bucket 1: n2; bucket 2: n3.
  NodeHashIterator it(&t);
  std::vector<Node*> seen;
  for (Node* p = NodeHashIterBegin(it); p; p = NodeHashIterNext(it)) seen.push_back(p);
  EXPECT_EQ(seen, (std::vector<Node*>{&n[4], &n[1], &n[0], &n[2], &n[3]}));

  // Remove n1 (its follower n0 takes its link), then n0 (the walk moves
  // to the next bucket).
  NodeHashIterBegin(it);
  NodeHashIterNext(it);
  EXPECT_EQ(NodeHashIterRemoveNext(it), &n[1]);
  EXPECT_EQ(it.current, &n[0]);
  EXPECT_EQ(NodeHashIterRemoveNext(it), &n[0]);
  EXPECT_EQ(it.current, &n[2]);
  EXPECT_EQ(it.link, &t.buckets[1]);
  EXPECT_EQ(NodeHashCount(t), 3u);
  EXPECT_EQ(t.buckets[0], &n[4]);
  EXPECT_EQ(n[4].nextInChain, nullptr);
}

TEST(NodeHashTable, CopySharesNodesAndClearGivesThemBack) {
  NodeFactory f;
  ASSERT_TRUE(NodeFactoryInit(f, 4));
  NodeHashTable t;
  NodeHashResize(t, 4);
  for (int i = 0; i < 3; ++i) {
    Node* n = NodeFactoryTake(f);
    n->x = i;
    n->y = 0;
    NodeHashInsert(t, n);
  }
  NodeHashTable copy(t);
  EXPECT_NE(copy.buckets, t.buckets);
  EXPECT_EQ(NodeHashCount(copy), 3u);
  copy = copy;
  EXPECT_EQ(NodeHashCount(copy), 3u);
  NodeHashClear(t, f);
  EXPECT_EQ(f.nextFree, 0u);
  EXPECT_EQ(NodeHashCount(t), 0u);
}

TEST(NodeFactory, HandsOutInPoolOrderAndCountsBack) {
  NodeFactory f;
  EXPECT_EQ(NodeFactoryTake(f), nullptr);
  EXPECT_FALSE(NodeFactoryInit(f, 0));
  ASSERT_TRUE(NodeFactoryInit(f, 2));
  Node** pool = f.pool;
  EXPECT_FALSE(NodeFactoryInit(f, 0));  // keeps the old pool
  EXPECT_EQ(f.pool, pool);
  EXPECT_EQ(NodeFactoryTake(f), pool[0]);
  EXPECT_EQ(NodeFactoryTake(f), pool[1]);
  EXPECT_EQ(NodeFactoryTake(f), nullptr);
  NodeFactoryGiveBack(f);
  NodeFactoryGiveBack(f);
  NodeFactoryGiveBack(f);
  EXPECT_EQ(f.nextFree, 0u);
  EXPECT_EQ(NodeFactoryTake(f), pool[0]);
}

}  // namespace
