#include "controls/BarMath.h"

#include <cfenv>
#include <cmath>

double RoundHalfEven(double x) {
    // nearbyint follows the current rounding mode, which is to-nearest-even unless changed.
    const int mode = std::fegetround();
    if (mode == FE_TONEAREST) return std::nearbyint(x);
    std::fesetround(FE_TONEAREST);
    const double rounded = std::nearbyint(x);
    std::fesetround(mode);
    return rounded;
}

double Quantise(double v, double step) {
    if (step == 0) return v;
    return RoundHalfEven(v / step) * step;
}

float DefaultScaleFor(float min, float max) {
    if (!(max > min)) return 0;
    const double range = double(max) - double(min);
    return float(std::pow(10.0, std::trunc(std::log10(range))) / 10.0);
}
