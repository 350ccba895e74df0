// ISO 8601 to serial day numbers.
#include "core/workbook/xml/IsoDate.h"

#include <charconv>
#include <chrono>
#include <cstdint>

#include "core/Units.h"
#include "core/numfmt/SerialDate.h"

namespace tabulon::workbook::xml {

namespace {

bool number(std::string_view& text, std::size_t digits, int& out) {
    if (text.size() < digits) return false;
    const auto [p, ec] = std::from_chars(text.data(), text.data() + digits, out);
    if (ec != std::errc() || p != text.data() + digits) return false;
    text.remove_prefix(digits);
    return true;
}

bool expect(std::string_view& text, char c) {
    if (text.empty() || text.front() != c) return false;
    text.remove_prefix(1);
    return true;
}

std::optional<double> timeFraction(std::string_view text) {
    int h = 0, m = 0, s = 0;
    if (!number(text, 2, h) || !expect(text, ':') || !number(text, 2, m)) return std::nullopt;
    double seconds = 0;
    if (expect(text, ':')) {
        if (!number(text, 2, s)) return std::nullopt;
        seconds = s;
        if (!text.empty() && text.front() == '.') {
            double fraction = 0;
            const auto [p, ec] = std::from_chars(text.data(), text.data() + text.size(), fraction);
            if (ec == std::errc()) {
                seconds += fraction;
                text.remove_prefix(static_cast<std::size_t>(p - text.data()));
            }
        }
    }
    if (!text.empty() && text != "Z") return std::nullopt;
    if (h > 24 || m > 59 || s > 60) return std::nullopt;
    return (h * static_cast<double>(kSecondsPerHour) + m * 60.0 + seconds) /
           static_cast<double>(kSecondsPerDay);
}

}  // namespace

std::optional<double> isoDateToSerial(std::string_view text, bool date1904) {
    if (!text.empty() && text.front() == 'T') text.remove_prefix(1);
    if (text.size() >= 3 && text[2] == ':') return timeFraction(text);
    int y = 0, mo = 0, d = 0;
    if (!number(text, 4, y) || !expect(text, '-') || !number(text, 2, mo) || !expect(text, '-') ||
        !number(text, 2, d) || mo < 1 || mo > 12 || d < 1 || d > 31)
        return std::nullopt;
    double fraction = 0;
    if (!text.empty()) {
        if (!expect(text, 'T')) return std::nullopt;
        const auto time = timeFraction(text);
        if (!time) return std::nullopt;
        fraction = *time;
    }
    const std::chrono::year_month_day date{std::chrono::year{y},
                                           std::chrono::month{static_cast<unsigned>(mo)},
                                           std::chrono::day{static_cast<unsigned>(d)}};
    const std::int64_t serial = numfmt::serialOfDate(date, date1904);
    return static_cast<double>(serial) + fraction;
}

}  // namespace tabulon::workbook::xml
