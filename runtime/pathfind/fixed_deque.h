// Fixed-capacity ring buffer with a spare buffer of the same capacity for
// insertion and erasure in the middle. head == tail means empty when the
// empty flag is set and full when it is not. Nothing allocates after
// FixedDequeInit / FixedDequeReallocate.
#pragma once

#include <algorithm>
#include <cstdint>
#include <new>
#include <utility>

template <typename T>
class FixedDeque {
 public:
  explicit FixedDeque(uint32_t initialCapacity = 0) { Allocate(initialCapacity); }
  virtual ~FixedDeque() { Release(); }
  FixedDeque(const FixedDeque&) = delete;
  FixedDeque& operator=(const FixedDeque&) = delete;

  T* buffer = nullptr;
  T* spare = nullptr;
  uint32_t capacity = 0;
  uint32_t head = 0;
  uint32_t tail = 0;
  uint8_t empty = 1;

  // Both buffers of capacity elements (null when 0 or when allocation
  // fails; the capacity is then 0).
  void Allocate(uint32_t n) {
    head = tail = 0;
    empty = 1;
    capacity = 0;
    if (n == 0) return;
    buffer = new (std::nothrow) T[n];
    spare = buffer ? new (std::nothrow) T[n] : nullptr;
    if (!spare) {
      delete[] buffer;
      buffer = nullptr;
      return;
    }
    capacity = n;
  }
  void Release() {
    if (buffer) delete[] spare;
    delete[] buffer;
    buffer = spare = nullptr;
  }
};

template <typename T>
void FixedDequeInit(FixedDeque<T>& d, uint32_t capacity) {
  d.Release();
  d.Allocate(capacity);
}

// Frees both buffers and makes new ones; false when they cannot be made.
template <typename T>
bool FixedDequeReallocate(FixedDeque<T>& d, uint32_t capacity) {
  FixedDequeInit(d, capacity);
  return d.capacity == capacity;
}

template <typename T>
void FixedDequeFree(FixedDeque<T>& d) {
  d.Release();
  d.capacity = 0;
  d.head = d.tail = 0;
  d.empty = 1;
}

template <typename T>
void FixedDequeClear(FixedDeque<T>& d) {
  d.head = d.tail = 0;
  d.empty = 1;
}

template <typename T>
uint32_t FixedDequeSize(const FixedDeque<T>& d) {
  if (d.empty) return 0;
  if (d.tail > d.head) return d.tail - d.head;
  return d.capacity - d.head + d.tail;
}

template <typename T>
bool FixedDequeEmpty(const FixedDeque<T>& d) {
  return d.empty != 0;
}

template <typename T>
bool FixedDequeFull(const FixedDeque<T>& d) {
  return !d.empty && d.head == d.tail;
}

// Element i counted from the head; not checked against the size.
template <typename T>
T& FixedDequeAt(FixedDeque<T>& d, uint32_t i) {
  uint32_t pos = d.head + i;
  if (pos >= d.capacity) pos -= d.capacity;
  return d.buffer[pos];
}

template <typename T>
T& FixedDequeBack(FixedDeque<T>& d) {
  return d.buffer[d.tail == 0 ? d.capacity - 1 : d.tail - 1];
}

template <typename T>
bool FixedDequePushBack(FixedDeque<T>& d, const T& v) {
  if (d.capacity == 0 || FixedDequeFull(d)) return false;
  d.empty = 0;
  d.buffer[d.tail] = v;
  d.tail = d.tail + 1 == d.capacity ? 0 : d.tail + 1;
  return true;
}

template <typename T>
bool FixedDequePushFront(FixedDeque<T>& d, const T& v) {
  if (d.capacity == 0 || FixedDequeFull(d)) return false;
  d.head = d.head == 0 ? d.capacity - 1 : d.head - 1;
  d.empty = 0;
  d.buffer[d.head] = v;
  return true;
}

template <typename T>
bool FixedDequePopBack(FixedDeque<T>& d) {
  if (d.empty) return false;
  d.tail = d.tail == 0 ? d.capacity - 1 : d.tail - 1;
  if (d.head == d.tail) d.empty = 1;
  return true;
}

template <typename T>
bool FixedDequePopFront(FixedDeque<T>& d) {
  if (d.empty) return false;
  d.head = d.head + 1 == d.capacity ? 0 : d.head + 1;
  if (d.head == d.tail) d.empty = 1;
  return true;
}

namespace fixed_deque_detail {

// Copies elements [from, to) counted from the head into out; returns the
// end of what was written.
template <typename T>
T* CopyRange(const FixedDeque<T>& d, uint32_t from, uint32_t to, T* out) {
  if (from >= to) return out;
  uint32_t start = d.head + from;
  if (start >= d.capacity) start -= d.capacity;
  uint32_t n = to - from;
  uint32_t first = d.capacity - start < n ? d.capacity - start : n;
  for (uint32_t k = 0; k < first; ++k) *out++ = d.buffer[start + k];
  for (uint32_t k = 0; k < n - first; ++k) *out++ = d.buffer[k];
  return out;
}

}  // namespace fixed_deque_detail

// Inserts v so that it becomes element i. The range checks come first, so
// a full deque refuses even where a push would have wrapped over its head.
// Content that wraps round the buffer is rebuilt in the spare buffer from
// index 0; otherwise its shorter side moves by one slot.
template <typename T>
bool FixedDequeInsert(FixedDeque<T>& d, uint32_t i, const T& v) {
  uint32_t size = FixedDequeSize(d);
  if (d.capacity == 0 || size == d.capacity || i > size) return false;
  if (i == size) return FixedDequePushBack(d, v);
  if (i == 0) return FixedDequePushFront(d, v);
  // Unwrapped content moves its shorter side by one slot in place.
  const bool unwrapped = d.head + size <= d.capacity;
  const bool roomAfter = unwrapped && d.head + size < d.capacity;
  const bool roomBefore = unwrapped && d.head > 0;
  if (roomBefore && (i < size - i || !roomAfter)) {
    T* first = d.buffer + d.head;
    std::move(first, first + i, first - 1);
    --d.head;
    d.buffer[d.head + i] = v;
    return true;
  }
  if (roomAfter) {
    T* at = d.buffer + d.head + i;
    std::move_backward(at, d.buffer + d.head + size, d.buffer + d.head + size + 1);
    *at = v;
    d.tail = d.head + size + 1 == d.capacity ? 0 : d.head + size + 1;
    return true;
  }
  T* out = fixed_deque_detail::CopyRange(d, 0, i, d.spare);
  *out++ = v;
  fixed_deque_detail::CopyRange(d, i, size, out);
  std::swap(d.buffer, d.spare);
  d.head = 0;
  d.tail = size + 1 == d.capacity ? 0 : size + 1;
  d.empty = 0;
  return true;
}

// Removes element i.
template <typename T>
bool FixedDequeErase(FixedDeque<T>& d, uint32_t i) {
  uint32_t size = FixedDequeSize(d);
  if (d.empty || i >= size) return false;
  if (i == size - 1) return FixedDequePopBack(d);
  if (i == 0) return FixedDequePopFront(d);
  if (d.head + size <= d.capacity) {  // unwrapped: close the gap from the shorter side
    T* first = d.buffer + d.head;
    if (i < size - 1 - i) {
      std::move_backward(first, first + i, first + i + 1);
      ++d.head;
    } else {
      std::move(first + i + 1, first + size, first + i);
      d.tail = d.head + size - 1;
    }
    return true;
  }
  T* out = fixed_deque_detail::CopyRange(d, 0, i, d.spare);
  fixed_deque_detail::CopyRange(d, i + 1, size, out);
  std::swap(d.buffer, d.spare);
  d.head = 0;
  d.tail = size - 1;
  return true;
}
