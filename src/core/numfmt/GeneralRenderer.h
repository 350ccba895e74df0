// The General format: a number in at most 11 characters, scientific beyond.
#pragma once

#include <string>

#include "core/numfmt/CompiledCode.h"

namespace tabulon::numfmt {

// Appends |v| (absValue >= 0, finite) as General shows it, without a sign.
void appendGeneral(double absValue, std::string& out);

// A General section: its literals around the General text of absValue.
void renderGeneralSection(const Section& section, double absValue, std::string& out);

}  // namespace tabulon::numfmt
