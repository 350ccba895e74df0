// Fractions: an optional whole number, then numerator / denominator.
#pragma once

#include <string>

#include "core/numfmt/CompiledCode.h"

namespace tabulon::numfmt {

// Appends absValue through a Fraction section.
void renderFraction(const Section& section, double absValue, std::string& out);

}  // namespace tabulon::numfmt
