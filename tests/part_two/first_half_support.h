// Shared steps of the Part Two first-half tests: flag checks against the
// whole flag array, a start at any location, and the part selection played
// with a save marker in a scratch user folder.
#pragma once

#include <gtest/gtest.h>

#include <cstdint>
#include <initializer_list>
#include <utility>
#include <vector>

namespace firsthalf {

// Every flag of obj is 0 except the listed (index, value) pairs.
::testing::AssertionResult FlagsAre(std::initializer_list<std::pair<int, double>> set);

// A fresh Part Two game standing at location `where` (and maze cell `cell`)
// with the listed flags set, its page not drawn yet.
void StartAt(double where, const std::vector<int>& flags = {}, double cell = 0);

// Writes `content` as the save marker in a scratch user data folder (no
// marker in the current folder), or removes it when content is null.
void PutSaveMarker(const char* content);

// Runs the part selection with a press on row `row` of its menu.
void ChoosePartRow(int row);

// A hash of the back buffer's pixels in the box (x, y, width, height), top
// left origin. After a pass without a choice the back buffer holds the page
// as drawn, without the menu's frame.
uint64_t BoxHash(int x, int y, int width, int height);

}  // namespace firsthalf
