// Scientific notation: mantissa placeholders, E+ / E-, exponent placeholders.
#pragma once

#include <string>

#include "core/numfmt/CompiledCode.h"

namespace tabulon::numfmt {

// Appends absValue through a Scientific section; returns true when the mantissa is not zero.
bool renderScientific(const Section& section, double absValue, std::string& out);

}  // namespace tabulon::numfmt
