#include "pathfind/grid_search.h"

#include <algorithm>
#include <bit>
#include <cmath>
#include <cstdlib>
#include <new>

namespace {

enum : uint8_t { kUnseen = 0, kOpen = 1, kClosed = 2, kStateMask = 3 };

// Directions of the step into a cell, in the order neighbours are visited.
enum : uint8_t { kFromBelow, kFromLeft, kFromRight, kFromAbove };

// Key bits that order as the float does (f is never NaN; -0 counts as +0).
uint64_t OrderedBits(float f) {
  if (f == 0) f = 0;
  const uint32_t u = std::bit_cast<uint32_t>(f);
  return (u & 0x80000000u) ? ~u : (u | 0x80000000u);
}

}  // namespace

bool GridSearch::Grow(uint64_t cells) {
  if (cells <= capacity_) return true;
  cells_.reset();
  info_.reset();
  capacity_ = 0;
  cells_.reset(new (std::nothrow) Cell[cells]);
  info_.reset(new (std::nothrow) uint8_t[cells]);
  if (!cells_ || !info_) {
    cells_.reset();
    info_.reset();
    return false;
  }
  capacity_ = cells;
  return true;
}

// Costs as 32-bit floats; 0 or less, or not finite, blocks the cell. The
// others become v / max + 1.
bool GridSearch::LoadCosts(const double* costs, uint32_t cells) {
  Cell* c = cells_.get();
  float max = 0;
  for (uint32_t i = 0; i < cells; ++i) {
    const float v = float(costs[i]);
    if (v > 0 && std::isfinite(v)) {
      c[i].cost = v;
      if (v > max) max = v;
    } else {
      c[i].cost = -1.0f;
    }
  }
  if (max == 0) return false;
  for (uint32_t i = 0; i < cells; ++i) {
    if (c[i].cost > 0) c[i].cost = c[i].cost / max + 1.0f;
  }
  std::fill_n(info_.get(), cells, kUnseen);
  return true;
}

bool GridSearch::Run(const GridSearchInput& input) {
  found_ = false;
  openCount_ = closedCount_ = 0;
  const int32_t w = input.width, h = input.height;
  if (w <= 0 || h <= 0 || !input.costs) return false;
  if (input.startX < 0 || input.startX >= w || input.startY < 0 || input.startY >= h) return false;
  if (input.goalX < 0 || input.goalX >= w || input.goalY < 0 || input.goalY >= h) return false;
  if (input.startX == input.goalX && input.startY == input.goalY) return false;
  const uint64_t cells = uint64_t(w) * uint64_t(h);
  if (cells > 0xFFFFFFFFu || !Grow(cells) || !LoadCosts(input.costs, uint32_t(cells))) return false;

  in_ = input;
  const float weight = input.weight;
  in_.weight = std::isnan(weight) ? 0.0f : weight < 0 ? 0.0f : weight > 1 ? 1.0f : weight;
  start_ = uint32_t(input.startY) * uint32_t(w) + uint32_t(input.startX);
  goal_ = uint32_t(input.goalY) * uint32_t(w) + uint32_t(input.goalX);
  Search();
  return true;
}

float GridSearch::PathCost() const { return found_ ? cells_[goal_].g : -1.0f; }

uint32_t GridSearch::PathLength() const {
  uint32_t n = 0;
  WalkBack([&n](int32_t, int32_t) { ++n; });
  return n;
}

uint32_t GridSearch::ParentOf(uint32_t cell) const {
  const uint32_t w = uint32_t(in_.width);
  switch (info_[cell] >> 2) {
    case kFromBelow: return cell + w;
    case kFromLeft: return cell - 1;
    case kFromRight: return cell + 1;
    default: return cell - w;
  }
}

void GridSearch::PushOpen(uint32_t cell, float f, float g) {
  if (nextSequence_ >= sequenceLimit) Renumber();
  open_.Push(OpenEntry{(OrderedBits(f) << 32) | nextSequence_++, cell, g});
}

// The entries still current, numbered 0, 1, ... in their order; stale ones
// are dropped.
void GridSearch::Renumber() {
  scratch_.clear();
  open_.Drain(scratch_);
  const Cell* c = cells_.get();
  std::erase_if(scratch_, [&](const OpenEntry& e) {
    return (info_[e.cell] & kStateMask) != kOpen || c[e.cell].g != e.g;
  });
  std::sort(scratch_.begin(), scratch_.end(),
            [](const OpenEntry& a, const OpenEntry& b) { return a.key < b.key; });
  nextSequence_ = 0;
  for (OpenEntry& e : scratch_) {
    e.key = (e.key & 0xFFFFFFFF00000000u) | nextSequence_++;
    open_.Push(e);
  }
}

// A step from a cell of cost g into cell (x, y): a new open cell, or a
// cheaper way to one that is open (it gets a new entry) or closed (it is
// reopened).
inline void GridSearch::Relax(uint32_t cell, int32_t x, int32_t y, float g, uint8_t dir) {
  Cell& c = cells_[cell];
  const float cost = c.cost;
  if (cost == -1.0f) return;
  const float g2 = g + cost;
  const float h = float(std::abs(in_.goalX - x) + std::abs(in_.goalY - y));
  const float f = (h - g2) * in_.weight + g2;
  uint8_t& info = info_[cell];
  const uint8_t state = info & kStateMask;
  if (state != kUnseen) {
    if (c.g <= g2) return;
    if (state == kClosed) {
      --closedCount_;
      ++openCount_;
    }
  } else {
    ++openCount_;
  }
  c.g = g2;
  info = uint8_t(kOpen | (dir << 2));
  PushOpen(cell, f, g2);
}

void GridSearch::Search() {
  const uint32_t w = uint32_t(in_.width), h = uint32_t(in_.height);
  open_.Clear();
  nextSequence_ = 0;
  cells_[start_].g = 0;
  info_[start_] = kOpen;
  openCount_ = 1;
  PushOpen(start_, 0.0f, 0.0f);

  while (!open_.Empty()) {
    const OpenEntry e = open_.Pop();
    const uint32_t c = e.cell;
    uint8_t& info = info_[c];
    if ((info & kStateMask) != kOpen || cells_[c].g != e.g) continue;  // stale
    --openCount_;
    info = uint8_t((info & ~kStateMask) | kClosed);
    ++closedCount_;
    if (c == goal_) {
      found_ = true;
      return;
    }
    const uint32_t x = c % w, y = c / w;
    const float g = e.g;
    if (y > 0) Relax(c - w, int32_t(x), int32_t(y - 1), g, kFromBelow);
    if (x + 1 < w) Relax(c + 1, int32_t(x + 1), int32_t(y), g, kFromLeft);
    if (x > 0) Relax(c - 1, int32_t(x - 1), int32_t(y), g, kFromRight);
    if (y + 1 < h) Relax(c + w, int32_t(x), int32_t(y + 1), g, kFromAbove);
  }
}
