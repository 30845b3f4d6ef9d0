// GrowArray: the runtime's growable sequence. It grows in fixed steps into a
// fresh block and copies its elements one by one (no move, no realloc).
#pragma once

#include <cstddef>
#include <cstdint>

template <typename T>
struct GrowArray {
  T* data = nullptr;
  int32_t count = 0;
  int32_t capacity = 0;
  int32_t growStep = 128;
  int32_t firstCapacity = 512;
};

// Grows the block: capacity becomes firstCapacity while that is n or more,
// else the smallest multiple of growStep above n. A reserve for an n equal
// to the capacity always allocates a fresh block (with the defaults, n = 512
// gives 512 again), so appends reserve count + 1.
template <typename T>
void GrowArrayReserve(GrowArray<T>& a, int32_t n) {
  if (a.capacity > n) return;
  int64_t cap;
  if (a.firstCapacity >= n) {
    cap = a.firstCapacity;
  } else {
    int64_t step = a.growStep > 0 ? a.growStep : 1;
    cap = step * (int64_t(n) / step + 1);
  }
  T* block = new T[static_cast<std::size_t>(cap)];
  if (a.data) {
    for (int32_t i = 0; i < a.count; ++i) block[i] = a.data[i];
    delete[] a.data;  // destroys the whole old block, last element first
  }
  a.data = block;
  a.capacity = int32_t(cap);
}

template <typename T>
void GrowArrayAppend(GrowArray<T>& a, const T& value) {
  GrowArrayReserve(a, a.count + 1);
  a.data[a.count] = value;
  ++a.count;
}

// Destroys every element, frees the block; the growth settings stay.
template <typename T>
void GrowArrayClear(GrowArray<T>& a) {
  delete[] a.data;
  a.data = nullptr;
  a.count = 0;
  a.capacity = 0;
}
