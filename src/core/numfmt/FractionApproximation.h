// Approximating a value by a fraction with a bounded denominator, as the application does.
#pragma once

#include <cstdint>

namespace tabulon::numfmt {

struct Fraction {
    std::int64_t numerator = 0;
    std::int64_t denominator = 1;
};

// The last continued-fraction convergent of x (x >= 0, computed in binary floating point as the
// application does) whose denominator is at most maxDenominator. It is not always the closest
// fraction: 0.27 with one-digit denominators is 1/4, not 2/7, and 0.1 is 0/1.
Fraction approximateFraction(double x, std::int64_t maxDenominator);

}  // namespace tabulon::numfmt
