// Continued-fraction convergents of a double, stopped at the denominator bound.
#include "core/numfmt/FractionApproximation.h"

#include <cmath>

namespace tabulon::numfmt {

Fraction approximateFraction(double x, std::int64_t maxDenominator) {
    // p/q: the newest convergent; p1/q1 and p2/q2 the two before it.
    double p2 = 0, p1 = 1, q2 = 1, q1 = 0, p = 0, q = 0;
    double rest = x;
    const auto bound = static_cast<double>(maxDenominator);
    while (q1 < bound) {
        const double a = std::floor(rest);
        p = a * p1 + p2;
        q = a * q1 + q2;
        if (rest - a < 5e-8 || !(q < 1e18)) break;
        rest = 1.0 / (rest - a);
        p2 = p1, p1 = p;
        q2 = q1, q1 = q;
    }
    if (q > bound) {
        if (q1 > bound) {
            p = p2, q = q2;
        } else {
            p = p1, q = q1;
        }
    }
    if (!(p < 9e18) || q < 1) return {0, 1};
    return {static_cast<std::int64_t>(p), static_cast<std::int64_t>(q)};
}

}  // namespace tabulon::numfmt
