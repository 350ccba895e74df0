// The text of a cell's value: for the row and column export modes, and as stored.
#pragma once

#include <optional>
#include <string>

namespace tabulon::numfmt {

// Shortest decimal text with at most 15 significant digits: plain for 1E-5 <= |v| < 1E15,
// otherwise scientific (1E+15, 1.5E-07).
std::string numberValueText(double v);

// "m/d/yyyy", "h:mm:ss AM/PM" or "m/d/yyyy h:mm:ss AM/PM": a zero date part gives the time
// alone, a zero time part the date alone.
std::string dateValueText(double serial, bool date1904);

// The fewest digits that read back to the same double, plain for 1E-6 <= |v| < 1E21 and
// otherwise scientific ("1e+21", "1.5e-7"), as JavaScript prints numbers.
std::string shortestNumberText(double v);

// ISO 8601 with the date part, the time of day or both as the value has them ("2023-03-15",
// "13:45:30", "2024-02-29T13:45:30.25"), rounded to the millisecond and giving the fraction of a
// second only when there is one. Nothing for a serial that names no day of the calendar: a
// negative one, the 1900 system's 29 February 1900, or one past 9999-12-31.
std::optional<std::string> isoDateTimeText(double serial, bool date1904);

}  // namespace tabulon::numfmt
