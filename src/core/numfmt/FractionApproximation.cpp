// Best rational approximation by continued fractions, with the last semiconvergent checked.
#include "core/numfmt/FractionApproximation.h"

#include <cmath>

namespace tabulon::numfmt {

Fraction closestFraction(double x, std::int64_t maxDenominator) {
    // Convergents p/q: (p0/q0) the one before (p1/q1).
    std::int64_t p0 = 0, q0 = 1, p1 = 1, q1 = 0;
    double rest = x;
    for (int step = 0; step < 64; ++step) {
        const double a = std::floor(rest);
        if (a > 9e15) break;
        const auto ai = static_cast<std::int64_t>(a);
        const std::int64_t q2 = ai * q1 + q0;
        if (q2 > maxDenominator || q2 < 0) {
            // The best semiconvergent below the bound competes with the last convergent.
            const std::int64_t k = q1 == 0 ? 0 : (maxDenominator - q0) / q1;
            const std::int64_t ps = p0 + k * p1, qs = q0 + k * q1;
            if (q1 == 0) return {ps, qs};
            const double errConvergent = std::fabs(x - static_cast<double>(p1) / q1);
            const double errSemi = std::fabs(x - static_cast<double>(ps) / qs);
            if (qs > 0 && errSemi < errConvergent) return {ps, qs};
            return {p1, q1};
        }
        const std::int64_t p2 = ai * p1 + p0;
        p0 = p1, q0 = q1, p1 = p2, q1 = q2;
        const double frac = rest - a;
        if (frac < 1e-12) break;
        rest = 1.0 / frac;
    }
    return {p1, q1 == 0 ? 1 : q1};
}

}  // namespace tabulon::numfmt
