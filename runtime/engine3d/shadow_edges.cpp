// The edge table of the shadow volumes: for every triangle edge of frame 0,
// the triangle that shares it. Corners and edges are matched through hash
// tables, so a large mesh builds its table in time linear in its size.
#include <cmath>
#include <cstring>
#include <vector>

#include "engine3d/shade_textures.h"

namespace {

// Corners within this distance on every axis of a packed vertex take its
// index as their key.
constexpr float kSamePosition = 1e-5f;
// Cells are searched with a margin above kSamePosition, so that a rounded
// difference just under it can never fall outside the cells looked at.
constexpr double kSearchMargin = 1.5e-5;
constexpr double kMinCell = 1e-4;
constexpr double kCellLimit = 4.0e18;

uint64_t Mix(uint64_t h) {
  h ^= h >> 33;
  h *= 0xFF51AFD7ED558CCDull;
  h ^= h >> 33;
  h *= 0xC4CEB9FE1A85EC53ull;
  h ^= h >> 33;
  return h;
}

// Open-addressing table from a 64-bit key to a 32-bit value; keys are
// kept in full, so equal hashes never merge two keys.
class KeyTable {
 public:
  static constexpr uint32_t kEmpty = 0xFFFFFFFFu;

  explicit KeyTable(size_t expected) {
    size_t size = 16;
    while (size < expected + expected / 2) size *= 2;
    slots_.assign(size, Slot{0, kEmpty});
    mask_ = size - 1;
  }
  // The value of key, or kEmpty when the key is new (the slot is then
  // reserved for it).
  uint32_t& At(uint64_t key) {
    size_t i = size_t(Mix(key)) & mask_;
    while (slots_[i].value != kEmpty && slots_[i].key != key) i = (i + 1) & mask_;
    slots_[i].key = key;
    return slots_[i].value;
  }
  // Starts loading the slot of a key that is about to be looked up.
  void Prefetch(uint64_t key) const { __builtin_prefetch(&slots_[size_t(Mix(key)) & mask_]); }
  uint32_t Find(uint64_t key) const {
    size_t i = size_t(Mix(key)) & mask_;
    while (slots_[i].value != kEmpty) {
      if (slots_[i].key == key) return slots_[i].value;
      i = (i + 1) & mask_;
    }
    return kEmpty;
  }

 private:
  struct Slot {
    uint64_t key;
    uint32_t value;
  };
  std::vector<Slot> slots_;
  size_t mask_ = 0;
};

// The corner keys: for a position, the first packed vertex of frame 0
// within kSamePosition of it on every axis. The distinct packed positions
// are sorted into a grid, so a search compares the point only with the
// vertices of the one to eight cells its tolerance box overlaps; a point
// that is exactly a packed position reuses the answer found for it.
class PositionGrid {
 public:
  explicit PositionGrid(const MeshFrame& f)
      : exact_(size_t(f.packed.count)), cells_(size_t(f.packed.count)) {
    for (int a = 0; a < 3; ++a) {
      double s = std::fabs(double(f.scale[a]));
      cell_[a] = std::isfinite(s) && s > kMinCell ? s : kMinCell;
    }
    int32_t n = f.packed.count;
    std::vector<uint32_t> tail;
    auto decode = [&f](int32_t p, float v[3]) {
      const PackedVertex& q = f.packed.data[p];
      v[0] = (float(q.x) - f.offset[0]) * f.scale[0];
      v[1] = (float(q.y) - f.offset[1]) * f.scale[1];
      v[2] = (float(q.z) - f.offset[2]) * f.scale[2];
    };
    for (int32_t p = 0; p < n; ++p) {
      if (p + kAhead < n) {
        float ahead[3];
        decode(p + kAhead, ahead);
        exact_.Prefetch(ExactKey(ahead));
        int64_t c[3];
        for (int a = 0; a < 3; ++a) c[a] = Cell(a, double(ahead[a]));
        cells_.Prefetch(CellKey(c));
      }
      float v[3];
      decode(p, v);
      // A position that is not finite is never within reach of a corner.
      if (!std::isfinite(v[0]) || !std::isfinite(v[1]) || !std::isfinite(v[2])) continue;
      // Only the first vertex at a position can be an answer.
      uint32_t& id = exact_.At(ExactKey(v));
      if (id != KeyTable::kEmpty && SamePlace(&pos_[size_t(id) * 3], v)) continue;
      uint32_t d = uint32_t(index_.size());
      if (id == KeyTable::kEmpty) id = d;  // else a hash clash: searched by grid only
      index_.push_back(uint32_t(p));
      pos_.insert(pos_.end(), v, v + 3);
      next_.push_back(kNone);
      answer_.push_back(kUnknown);
      int64_t c[3];
      for (int a = 0; a < 3; ++a) c[a] = Cell(a, double(v[a]));
      uint32_t& head = cells_.At(CellKey(c));
      if (head == KeyTable::kEmpty) {
        head = uint32_t(heads_.size());
        heads_.push_back(d);
        tail.push_back(d);
      } else {
        next_[tail[head]] = d;
        tail[head] = d;
      }
    }
  }

  void Prefetch(float x, float y, float z) const {
    const float v[3] = {x, y, z};
    exact_.Prefetch(ExactKey(v));
  }
  // The first packed vertex within reach of the point, or kNoNeighbour.
  uint32_t Key(float x, float y, float z) {
    const float v[3] = {x, y, z};
    if (!std::isfinite(x) || !std::isfinite(y) || !std::isfinite(z)) return kNoNeighbour;
    uint32_t d = exact_.Find(ExactKey(v));
    if (d == KeyTable::kEmpty || !SamePlace(&pos_[size_t(d) * 3], v)) return Search(v);
    if (answer_[d] == kUnknown) answer_[d] = Search(v);
    return answer_[d];
  }

 private:
  static constexpr uint32_t kNone = 0xFFFFFFFFu;
  static constexpr uint32_t kUnknown = 0xFFFFFFFEu;
  static constexpr int32_t kAhead = 8;  // lookups prefetched ahead

  uint32_t Search(const float v[3]) const {
    int64_t lo[3], hi[3];
    for (int a = 0; a < 3; ++a) {
      lo[a] = Cell(a, double(v[a]) - kSearchMargin);
      hi[a] = Cell(a, double(v[a]) + kSearchMargin);
    }
    uint32_t best = kNoNeighbour;
    int64_t c[3];
    for (c[0] = lo[0]; c[0] <= hi[0]; ++c[0])
      for (c[1] = lo[1]; c[1] <= hi[1]; ++c[1])
        for (c[2] = lo[2]; c[2] <= hi[2]; ++c[2]) {
          uint32_t head = cells_.Find(CellKey(c));
          if (head == KeyTable::kEmpty) continue;
          // A cell lists its positions by rising packed index: the first
          // within reach is the cell's answer.
          for (uint32_t d = heads_[head]; d != kNone && index_[d] < best; d = next_[d]) {
            const float* q = &pos_[size_t(d) * 3];
            if (std::fabs(q[0] - v[0]) < kSamePosition && std::fabs(q[1] - v[1]) < kSamePosition &&
                std::fabs(q[2] - v[2]) < kSamePosition) {
              best = index_[d];
              break;
            }
          }
        }
    return best;
  }

  int64_t Cell(int axis, double v) const {
    double c = std::floor(v / cell_[axis]);
    if (c > kCellLimit) c = kCellLimit;
    if (!(c >= -kCellLimit)) c = -kCellLimit;  // not a number too
    return int64_t(c);
  }
  static uint64_t CellKey(const int64_t c[3]) {
    uint64_t h = Mix(uint64_t(c[0]));
    h = Mix(h ^ uint64_t(c[1]) * 0x9E3779B97F4A7C15ull);
    return Mix(h ^ uint64_t(c[2]) * 0xC2B2AE3D27D4EB4Full);
  }
  static bool SamePlace(const float* a, const float* b) {
    return a[0] == b[0] && a[1] == b[1] && a[2] == b[2];
  }
  static uint64_t ExactKey(const float v[3]) {
    // -0 and +0 are one position.
    uint32_t b[3];
    const float w[3] = {v[0] + 0.0f, v[1] + 0.0f, v[2] + 0.0f};
    std::memcpy(b, w, sizeof b);
    return Mix(uint64_t(b[0]) | uint64_t(b[1]) << 32) ^ uint64_t(b[2]) * 0x9E3779B97F4A7C15ull;
  }

  double cell_[3];
  KeyTable exact_;  // exact position -> distinct position
  KeyTable cells_;  // cell -> index into heads_
  // Per distinct position, in order of first appearance: its packed index,
  // x y z, the next position of its cell and its key once searched.
  std::vector<uint32_t> index_;
  std::vector<float> pos_;
  std::vector<uint32_t> next_;
  std::vector<uint32_t> answer_;
  std::vector<uint32_t> heads_;
};

}  // namespace

void BuildEdgeNeighbours(MeshObjectX& mesh) {
  if (mesh.shadowEdges.count > 0 || mesh.frames.count == 0) return;
  const MeshFrame& f = mesh.frames.data[0];
  int32_t triangles = f.triangles.count / 3;
  if (triangles == 0) return;
  GrowArrayReserve(mesh.shadowEdges, 3 * triangles);
  for (int32_t i = 0; i < 3 * triangles; ++i)
    mesh.shadowEdges.data[i] = EdgeNeighbour{kNoNeighbour, 0};
  mesh.shadowEdges.count = 3 * triangles;

  // Corners are keyed by the first packed vertex at their position, so that
  // corners split by texture coordinates or colour still meet.
  std::vector<uint32_t> key(size_t(3 * triangles));
  {
    PositionGrid grid(f);
    const MeshVertex* corner = f.triangles.data;
    for (int32_t i = 0; i < 3 * triangles; ++i) {
      if (i + 8 < 3 * triangles) grid.Prefetch(corner[i + 8].x, corner[i + 8].y, corner[i + 8].z);
      key[size_t(i)] = grid.Key(corner[i].x, corner[i].y, corner[i].z);
    }
  }

  // Edges with the same pair of keys, in either order, form a group. The
  // group's first triangle takes its last triangle as neighbour, every
  // later member takes the first: the table a scan of every later triangle
  // from each still-open edge leaves behind. The groups are found by
  // sorting the edges by their key pair, counting sorts on the larger key
  // and then the smaller, which keeps each group in triangle order.
  const uint32_t range = uint32_t(f.packed.count) + 1;  // no key sorts last
  auto rank = [&](uint32_t k) { return k == kNoNeighbour ? range - 1 : k; };
  const size_t edgeCount = size_t(3 * triangles);
  std::vector<uint32_t> lo(edgeCount), hi(edgeCount);
  for (size_t e = 0; e < edgeCount; ++e) {
    size_t t = e / 3;
    uint32_t a = rank(key[e]), b = rank(key[t * 3 + (e % 3 + 1) % 3]);
    lo[e] = a < b ? a : b;
    hi[e] = a < b ? b : a;
  }
  std::vector<uint32_t> count(size_t(range) + 1);
  std::vector<uint32_t> byHi(edgeCount), order(edgeCount);
  auto sortBy = [&](const std::vector<uint32_t>& k, const uint32_t* in, uint32_t* out) {
    std::fill(count.begin(), count.end(), 0);
    for (size_t i = 0; i < edgeCount; ++i) ++count[k[in ? in[i] : i] + 1];
    for (size_t r = 1; r < count.size(); ++r) count[r] += count[r - 1];
    for (size_t i = 0; i < edgeCount; ++i) {
      uint32_t e = in ? in[i] : uint32_t(i);
      out[count[k[e]]++] = e;
    }
  };
  sortBy(hi, nullptr, byHi.data());
  sortBy(lo, byHi.data(), order.data());
  EdgeNeighbour* edges = mesh.shadowEdges.data;
  for (size_t i = 0; i < edgeCount;) {
    size_t j = i + 1;
    while (j < edgeCount && lo[order[j]] == lo[order[i]] && hi[order[j]] == hi[order[i]]) ++j;
    uint32_t first = order[i] / 3, last = order[j - 1] / 3;
    for (size_t m = i; m < j; ++m) {
      uint32_t t = order[m] / 3;
      if (t != first)
        edges[order[m]].neighbour = first;
      else if (last != first)
        edges[order[m]].neighbour = last;
    }
    i = j;
  }
}
