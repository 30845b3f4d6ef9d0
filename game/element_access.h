// Element access of the game's number arrays by a number index, truncated
// toward zero; a bad index ends the program with runtime error 9.
#pragma once

#include "core/basic_array.h"
#include "core/number_truncate.h"

inline double& At(BasicArray& array, double index) {
  return *ArrayElement(array, TruncInt32(index));
}
