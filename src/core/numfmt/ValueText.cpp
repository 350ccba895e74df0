// Value to text: numbers with 15 significant digits or the fewest that read back, date serials
// as date and time or as ISO 8601.
#include "core/numfmt/ValueText.h"

#include <charconv>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <string_view>

#include "core/Units.h"
#include "core/numfmt/DayTicks.h"
#include "core/numfmt/Decimal.h"
#include "core/numfmt/NumberFormat.h"
#include "core/numfmt/SerialDate.h"

namespace tabulon::numfmt {

std::string numberValueText(double v) {
    if (!std::isfinite(v)) return "#NUM!";
    const Decimal d = Decimal::of(std::fabs(v));
    std::string out;
    if (d.isZero()) return "0";
    if (v < 0) out.push_back('-');
    const int exponent = d.point - 1;
    if (exponent >= -5 && exponent < 15) {
        if (d.point <= 0) {
            out.append("0.");
            out.append(static_cast<std::size_t>(-d.point), '0');
            out.append(d.digits, static_cast<std::size_t>(d.count));
            return out;
        }
        for (int i = 0; i < d.point; ++i) out.push_back(d.at(i));
        if (d.count > d.point) {
            out.push_back('.');
            out.append(d.digits + d.point, static_cast<std::size_t>(d.count - d.point));
        }
        return out;
    }
    out.push_back(d.digits[0]);
    if (d.count > 1) {
        out.push_back('.');
        out.append(d.digits + 1, static_cast<std::size_t>(d.count - 1));
    }
    out.append(exponent < 0 ? "E-" : "E+");
    const int magnitude = exponent < 0 ? -exponent : exponent;
    if (magnitude < 10) out.push_back('0');
    char text[8];
    out.append(text, std::to_chars(text, text + sizeof text, magnitude).ptr);
    return out;
}

std::string dateValueText(double serial, bool date1904) {
    static const NumberFormat date = NumberFormat::compile("m/d/yyyy");
    static const NumberFormat time = NumberFormat::compile("h:mm:ss AM/PM");
    static const NumberFormat dateTime = NumberFormat::compile("m/d/yyyy h:mm:ss AM/PM");
    // Decide on the date and the time of day as they show, after rounding to whole seconds.
    constexpr auto secondsPerDay = static_cast<double>(kSecondsPerDay);
    const double seconds = std::round(std::fabs(serial) * secondsPerDay);
    const bool hasDate = seconds >= secondsPerDay;
    const bool hasTime = std::fmod(seconds, secondsPerDay) != 0.0;
    if (hasDate && !hasTime) return date.format(serial, date1904);
    if (!hasDate) return time.format(serial, date1904);
    return dateTime.format(serial, date1904);
}

std::string shortestNumberText(double v) {
    if (!std::isfinite(v)) return "#NUM!";
    if (v == 0) return "0";  // -0 too
    // The shortest round-trip digits as d.ddde±x: the digits, and the exponent of the first.
    char buffer[40];
    const auto end =
        std::to_chars(buffer, buffer + sizeof buffer, std::fabs(v), std::chars_format::scientific)
            .ptr;
    const std::string_view text(buffer, static_cast<std::size_t>(end - buffer));
    const std::size_t e = text.find('e');
    std::string digits(1, text[0]);
    if (e > 1) digits.append(text.substr(2, e - 2));
    const bool negativeExponent = text[e + 1] == '-';
    int exponent = 0;
    std::from_chars(text.data() + e + 2, text.data() + text.size(), exponent);
    const int point = (negativeExponent ? -exponent : exponent) + 1;  // digits before the point
    const int count = static_cast<int>(digits.size());
    std::string out = v < 0 ? "-" : "";
    if (point >= count && point <= 21) {
        out += digits;
        out.append(static_cast<std::size_t>(point - count), '0');
    } else if (point > 0 && point <= 21) {
        out.append(digits, 0, static_cast<std::size_t>(point));
        out += '.';
        out.append(digits, static_cast<std::size_t>(point));
    } else if (point > -6 && point <= 0) {
        out += "0.";
        out.append(static_cast<std::size_t>(-point), '0');
        out += digits;
    } else {
        out += digits[0];
        if (count > 1) {
            out += '.';
            out.append(digits, 1);
        }
        out += point - 1 < 0 ? "e-" : "e+";
        out += std::to_string(std::abs(point - 1));
    }
    return out;
}

std::optional<std::string> isoDateTimeText(double serial, bool date1904) {
    constexpr std::int64_t msPerDay = std::int64_t{kSecondsPerDay} * 1000;
    if (serial < 0) return std::nullopt;
    const std::int64_t ms = ticksOf(serial, msPerDay);
    if (ms < 0) return std::nullopt;
    const std::int64_t days = ms / msPerDay;
    const std::int64_t msOfDay = ms % msPerDay;
    const std::int64_t serial1900 = days + (date1904 ? kDays1904 : 0);
    // The 1900 system's 29 February 1900 never was.
    if (!date1904 && days == 60) return std::nullopt;
    if (serial1900 > kLastSerial1900) return std::nullopt;
    // As the row and column modes decide: a zero date part gives the time alone.
    const bool hasDate = days > 0;
    const bool hasTime = msOfDay != 0 || !hasDate;
    char text[32];
    std::string out;
    if (hasDate) {
        const CalendarDate date = dateOfSerial(serial1900);
        std::snprintf(text, sizeof text, "%04d-%02d-%02d", date.year, date.month, date.day);
        out = text;
        if (!hasTime) return out;
        out += 'T';
    }
    const std::int64_t seconds = msOfDay / 1000;
    std::snprintf(text, sizeof text, "%02d:%02d:%02d", static_cast<int>(seconds / 3600),
                  static_cast<int>(seconds / 60 % 60), static_cast<int>(seconds % 60));
    out += text;
    if (const int fraction = static_cast<int>(msOfDay % 1000); fraction != 0) {
        std::snprintf(text, sizeof text, ".%03d", fraction);
        std::string digits = text;
        while (digits.back() == '0') digits.pop_back();
        out += digits;
    }
    return out;
}

}  // namespace tabulon::numfmt
