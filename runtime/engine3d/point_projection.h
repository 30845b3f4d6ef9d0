// Converting points between object space and window coordinates through
// the viewport and matrices GL holds at the moment of the call.
#pragma once

// Object point to window: x from the viewport's left, y measured from the
// top of the viewport, z in 0..1. False (outputs untouched) when the
// point's clip w is 0.
bool ProjectPoint(float x, float y, float z, float* winX, float* winY, float* winZ);

// Window point (y measured from the bottom, as GL counts it) to object
// space. A singular matrix is taken as the identity. False (outputs
// untouched) when the result's w is 0.
bool UnprojectPoint(float winX, float winY, float winZ, float* x, float* y, float* z);

// The pure forms of the two conversions, given viewport and matrices.
bool ProjectPointWith(const int viewport[4], const float projection[16], const float modelview[16],
                      float x, float y, float z, float* winX, float* winY, float* winZ);
bool UnprojectPointWith(const int viewport[4], const float projection[16],
                        const float modelview[16], float winX, float winY, float winZ, float* x,
                        float* y, float* z);
