// Open list of the grid search: a radix heap of 64-bit keys. An entry goes
// into the bucket of the highest bit in which its key differs from the last
// key taken, so a pop only ever moves entries to lower buckets. Keys below
// the last key taken (a heuristic that is not consistent gives them) wait
// in a small binary heap beside it, which empties first: all of its keys
// are below every key in the buckets. Storage is kept when the heap is
// cleared.
#pragma once

#include <algorithm>
#include <bit>
#include <cstdint>
#include <vector>

struct OpenEntry {
  uint64_t key;
  uint32_t cell;
  float g;  // the cell's cost when the entry was made
};

class RadixHeap {
 public:
  bool Empty() const { return size_ == 0; }
  uint64_t Size() const { return size_; }

  void Clear() {
    for (auto& b : buckets_) b.clear();
    below_.clear();
    nonEmpty_ = 0;
    last_ = 0;
    size_ = 0;
  }

  void Push(const OpenEntry& e) {
    ++size_;
    if (e.key < last_) {
      below_.push_back(e);
      std::push_heap(below_.begin(), below_.end(), Later);
      return;
    }
    Put(e);
  }

  // The entry of the smallest key; the heap must not be empty.
  OpenEntry Pop() {
    --size_;
    if (!below_.empty()) {
      std::pop_heap(below_.begin(), below_.end(), Later);
      OpenEntry e = below_.back();
      below_.pop_back();
      return e;
    }
    if (buckets_[0].empty()) Refill();
    OpenEntry e = buckets_[0].back();
    buckets_[0].pop_back();
    return e;
  }

  // Moves every entry out (in no particular order) and clears the heap.
  void Drain(std::vector<OpenEntry>& out) {
    for (auto& b : buckets_) out.insert(out.end(), b.begin(), b.end());
    out.insert(out.end(), below_.begin(), below_.end());
    Clear();
  }

 private:
  static bool Later(const OpenEntry& a, const OpenEntry& b) { return a.key > b.key; }

  // Bucket 0 holds keys equal to the last key taken, bucket i (1..64) those
  // whose highest bit differing from it is bit i - 1; bit i - 1 of nonEmpty_
  // is set while bucket i holds entries.
  unsigned BucketOf(uint64_t key) const { return unsigned(64 - std::countl_zero(key ^ last_)); }

  void Put(const OpenEntry& e) {
    const unsigned b = BucketOf(e.key);
    buckets_[b].push_back(e);
    if (b) nonEmpty_ |= uint64_t(1) << (b - 1);
  }

  // Takes the lowest non-empty bucket, makes its smallest key the last key
  // taken and spreads its entries over the buckets below it.
  void Refill() {
    const unsigned b = unsigned(std::countr_zero(nonEmpty_)) + 1;
    std::vector<OpenEntry>& from = buckets_[b];
    uint64_t least = from[0].key;
    for (const OpenEntry& e : from) least = std::min(least, e.key);
    last_ = least;
    nonEmpty_ &= ~(uint64_t(1) << (b - 1));
    for (const OpenEntry& e : from) Put(e);
    from.clear();
  }

  std::vector<OpenEntry> buckets_[65];
  std::vector<OpenEntry> below_;
  uint64_t nonEmpty_ = 0;
  uint64_t last_ = 0;
  uint64_t size_ = 0;
};
