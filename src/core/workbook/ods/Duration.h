// ODF durations (office:time-value, "PT10H10M10.5S") as fractions of a day.
#pragma once

#include <optional>
#include <string_view>

namespace tabulon::workbook::ods {

// "PT12H30M00S", "-PT1H", "P1DT2H": days, hours beyond 24 included. Nothing for other text.
std::optional<double> durationToDays(std::string_view text);

}  // namespace tabulon::workbook::ods
