// The text of a cell's value for the row and column export modes.
#pragma once

#include <string>

namespace tabulon::numfmt {

// Shortest decimal text with at most 15 significant digits: plain for 1E-5 <= |v| < 1E15,
// otherwise scientific (1E+15, 1.5E-07).
std::string numberValueText(double v);

// "m/d/yyyy", "h:mm:ss AM/PM" or "m/d/yyyy h:mm:ss AM/PM": a zero date part gives the time
// alone, a zero time part the date alone.
std::string dateValueText(double serial, bool date1904);

}  // namespace tabulon::numfmt
