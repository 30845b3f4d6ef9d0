// The handheld's fire keys as the PC keyboard gives them.
#pragma once

// Sum of KeyState over W, left Ctrl, A, S, D, Z, X, Space and Caps Lock
// (scan codes 17, 29, 30, 31, 32, 44, 45, 57, 58): the number held down.
double FireKeys();
