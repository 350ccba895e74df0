// Parsing ODF durations: an optional sign, P, days, then T with hours, minutes and seconds.
#include "core/workbook/ods/Duration.h"

#include <charconv>

#include "core/Units.h"

namespace tabulon::workbook::ods {

std::optional<double> durationToDays(std::string_view text) {
    bool negative = false;
    if (!text.empty() && text.front() == '-') {
        negative = true;
        text.remove_prefix(1);
    }
    if (text.empty() || text.front() != 'P') return std::nullopt;
    text.remove_prefix(1);
    double seconds = 0;
    bool inTime = false;
    bool any = false;
    while (!text.empty()) {
        if (text.front() == 'T' && !inTime) {
            inTime = true;
            text.remove_prefix(1);
            continue;
        }
        double amount = 0;
        const auto [end, ec] = std::from_chars(text.data(), text.data() + text.size(), amount,
                                               std::chars_format::fixed);
        if (ec != std::errc() || end == text.data() + text.size() || amount < 0)
            return std::nullopt;
        const char unit = *end;
        text.remove_prefix(static_cast<std::size_t>(end - text.data()) + 1);
        if (!inTime && unit == 'D') {
            seconds += amount * kSecondsPerDay;
        } else if (inTime && unit == 'H') {
            seconds += amount * kSecondsPerHour;
        } else if (inTime && unit == 'M') {
            seconds += amount * 60;
        } else if (inTime && unit == 'S') {
            seconds += amount;
        } else {
            // Years and months have no fixed length in days.
            return std::nullopt;
        }
        any = true;
    }
    if (!any) return std::nullopt;
    return (negative ? -seconds : seconds) / kSecondsPerDay;
}

}  // namespace tabulon::workbook::ods
