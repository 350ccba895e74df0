// Plain numbers: digit placeholders, decimal point, grouping, scaling and percent.
#pragma once

#include <string>

#include "core/numfmt/CompiledCode.h"

namespace tabulon::numfmt {

// Appends absValue through a Number section; returns true when a non-zero digit is shown.
bool renderNumber(const Section& section, double absValue, std::string& out);

}  // namespace tabulon::numfmt
