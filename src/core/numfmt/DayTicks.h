// A day serial in whole ticks (seconds or fractions of a second), rounded as the cell shows it.
#pragma once

#include <cstdint>

#include "core/numfmt/Decimal.h"

namespace tabulon::numfmt {

// round(absValue x ticksPerDay), half up, on the 15-digit decimal of absValue; -1 when the value
// is 10^8 days or more. ticksPerDay is 86400 x 10^n for n <= 3.
std::int64_t ticksOf(double absValue, std::int64_t ticksPerDay);

// The same from the digits of the 15-digit decimal: the path for every value, used when the
// integer arithmetic of ticksOf would not fit in 64 bits.
std::int64_t ticksOfDecimal(const Decimal& d, std::int64_t ticksPerDay);

}  // namespace tabulon::numfmt
