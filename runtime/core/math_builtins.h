// Maths built-ins of the command layer: trigonometry in degrees, powers,
// roots, modulo, absolute value, random integers and a box overlap test.
#pragma once

double SinDeg(double degrees);
double CosDeg(double degrees);
double TanDeg(double degrees);
double ATan2Deg(double y, double x);
double ASinDeg(double x);
double ACosDeg(double x);
double PowNumber(double base, double exponent);
double SqrtNumber(double x);
double AbsNumber(double x);
// Remainder of the truncated integers (sign of a); 0 when b truncates to 0.
double ModDouble(double a, double b);
// 0..n inclusive from the ISAAC generator; 0 without a draw when n <= 0.
double RandomInt(double n);
// 1.0 when the boxes (x, y, width, height; negative sizes allowed) overlap,
// touching edges included.
double BoxOverlap(double x1, double y1, double w1, double h1, double x2, double y2, double w2,
                  double h2);
