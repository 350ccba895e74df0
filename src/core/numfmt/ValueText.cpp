// Value to text: numbers with 15 significant digits, date serials as date and time.
#include "core/numfmt/ValueText.h"

#include <charconv>
#include <cmath>

#include "core/Units.h"
#include "core/numfmt/Decimal.h"
#include "core/numfmt/NumberFormat.h"

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

}  // namespace tabulon::numfmt
