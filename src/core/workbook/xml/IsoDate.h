// ISO 8601 date-times of date cells (t="d") turned into serial day numbers.
#pragma once

#include <optional>
#include <string_view>

namespace tabulon::workbook::xml {

// "2021-01-01", "2021-01-01T12:30:00", "2021-01-01T12:30:00.5Z" or a time alone ("T08:00:00" or
// "08:00:00"). Serials count from 1899-12-30 (1900 system, with its phantom 29 February) or
// from 1904-01-01. Nothing for text that is not such a date.
std::optional<double> isoDateToSerial(std::string_view text, bool date1904);

}  // namespace tabulon::workbook::xml
