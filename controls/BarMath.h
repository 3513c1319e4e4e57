#pragma once
// Arithmetic shared by the bar's setters and its value/position mapping.

// Nearest integer, ties to even (69.5 -> 70, 70.5 -> 70), as a double so that huge values
// stay representable.
double RoundHalfEven(double x);

// v rounded to the nearest multiple of step (ties to even); step 0 leaves v as it is.
double Quantise(double v, double step);

// The tick spacing suited to a range: 10^trunc(log10(max - min)) / 10 when max > min, else 0.
// Ranges 127 and 100 give 10, 99 gives 1, 1 and 0.5 give 0.1, 0.05 gives 0.01.
float DefaultScaleFor(float min, float max);
