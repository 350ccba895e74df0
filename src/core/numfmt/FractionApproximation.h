// The closest fraction to a value with a bounded denominator.
#pragma once

#include <cstdint>

namespace tabulon::numfmt {

struct Fraction {
    std::int64_t numerator = 0;
    std::int64_t denominator = 1;
};

// The fraction closest to x (x >= 0) whose denominator is at most maxDenominator; of two equally
// close ones, the one with the smaller denominator.
Fraction closestFraction(double x, std::int64_t maxDenominator);

}  // namespace tabulon::numfmt
