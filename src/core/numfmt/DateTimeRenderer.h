// Dates and times: serial day numbers through date, time and elapsed-time tokens.
#pragma once

#include <string>

#include "core/numfmt/CompiledCode.h"

namespace tabulon::numfmt {

// Appends the serial absValue through a DateTime section. Returns false when the date is past
// 9999-12-31 after rounding (the caller shows the overflow marker instead).
bool renderDateTime(const Section& section, double absValue, bool date1904, std::string& out);

}  // namespace tabulon::numfmt
