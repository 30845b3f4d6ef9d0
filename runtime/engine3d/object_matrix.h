// The current object matrix of the transform stack, as collision tests
// apply it to an object.
#pragma once

class Lumenar3D;

// Copies the current record's composed matrix into out (column-major). A
// record whose matrix is not up to date is composed into out only, in the
// same order drawing composes it; the record itself is left unchanged.
void CurrentObjectMatrix(const Lumenar3D* engine, float out[16]);
