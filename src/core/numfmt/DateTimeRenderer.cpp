// Dates and times: round the serial to the smallest shown unit, split it, print each token.
#include "core/numfmt/DateTimeRenderer.h"

#include <charconv>
#include <cstdint>

#include "core/Units.h"
#include "core/numfmt/DayTicks.h"
#include "core/numfmt/SerialDate.h"

namespace tabulon::numfmt {

namespace {

constexpr const char* kMonthNames[] = {"January",   "February", "March",    "April",
                                       "May",       "June",     "July",     "August",
                                       "September", "October",  "November", "December"};
constexpr const char* kDayNames[] = {"Sunday",   "Monday", "Tuesday", "Wednesday",
                                     "Thursday", "Friday", "Saturday"};

// Years of the Buddhist era (b, bbbb) run 543 years ahead of the Gregorian ones.
constexpr int kBuddhistEraOffset = 543;

void appendNumber(std::int64_t value, int width, std::string& out) {
    if (value < 100 && width <= 2) {  // most fields: one or two digits
        if (value >= 10 || width == 2) out.push_back(static_cast<char>('0' + value / 10));
        out.push_back(static_cast<char>('0' + value % 10));
        return;
    }
    char text[24];
    const auto end = std::to_chars(text, text + sizeof text, value).ptr;
    for (auto length = end - text; length < width; ++length) out.push_back('0');
    out.append(text, end);
}

}  // namespace

bool renderDateTime(const Section& section, double absValue, bool date1904, std::string& out) {
    std::int64_t unit = 1;
    for (int i = 0; i < section.subSecondDigits; ++i) unit *= 10;
    const std::int64_t ticksPerDay = kSecondsPerDay * unit;
    const std::int64_t ticks = ticksOf(absValue, ticksPerDay);
    if (ticks < 0) return false;
    // Without fractions of a second a tick is a second: skip two slow divisions.
    const std::int64_t totalSeconds = unit == 1 ? ticks : ticks / unit;
    const std::int64_t subSecond = unit == 1 ? 0 : ticks % unit;
    const std::int64_t days = totalSeconds / kSecondsPerDay;
    const std::int64_t serial = date1904 ? days + kDays1904 : days;
    if (serial > kLastSerial1900) return false;
    const std::int64_t secondOfDay = totalSeconds % kSecondsPerDay;
    const auto hourOfDay = static_cast<int>(secondOfDay / kSecondsPerHour);
    const CalendarDate date = dateOfSerial(serial);

    for (const Token& t : section.tokens) {
        switch (t.kind) {
            case TokenKind::Year2:
                appendNumber(date.year % 100, 2, out);
                break;
            case TokenKind::Year4:
                appendNumber(date.year, 4, out);
                break;
            case TokenKind::BuddhistYear2:
                appendNumber((date.year + kBuddhistEraOffset) % 100, 2, out);
                break;
            case TokenKind::BuddhistYear4:
                appendNumber(date.year + kBuddhistEraOffset, 4, out);
                break;
            case TokenKind::Month:
                appendNumber(date.month, t.width, out);
                break;
            case TokenKind::MonthAbbr:
                out.append(kMonthNames[date.month - 1], 3);
                break;
            case TokenKind::MonthName:
                out.append(kMonthNames[date.month - 1]);
                break;
            case TokenKind::MonthLetter:
                out.push_back(kMonthNames[date.month - 1][0]);
                break;
            case TokenKind::Day:
                appendNumber(date.day, t.width, out);
                break;
            case TokenKind::DayAbbr:
                out.append(kDayNames[date.weekday], 3);
                break;
            case TokenKind::DayName:
                out.append(kDayNames[date.weekday]);
                break;
            case TokenKind::Hour: {
                int hour = hourOfDay;
                if (section.twelveHour) hour = hour % 12 == 0 ? 12 : hour % 12;
                appendNumber(section.elapsedHours ? totalSeconds / kSecondsPerHour : hour, t.width,
                             out);
                break;
            }
            case TokenKind::Minute:
                appendNumber(section.elapsedMinutes ? totalSeconds / 60 : totalSeconds / 60 % 60,
                             t.width, out);
                break;
            case TokenKind::Second:
                appendNumber(section.elapsedSeconds ? totalSeconds : totalSeconds % 60, t.width,
                             out);
                break;
            case TokenKind::SubSecond: {
                out.push_back('.');
                char digits[4] = {'0', '0', '0', '0'};
                std::int64_t rest = subSecond;
                for (int i = section.subSecondDigits - 1; i >= 0; --i, rest /= 10) {
                    digits[i] = static_cast<char>('0' + rest % 10);
                }
                out.append(digits, t.width);
                break;
            }
            case TokenKind::ElapsedHours:
                appendNumber(totalSeconds / kSecondsPerHour, t.width, out);
                break;
            case TokenKind::ElapsedMinutes:
                appendNumber(section.elapsedHours ? totalSeconds / 60 % 60 : totalSeconds / 60,
                             t.width, out);
                break;
            case TokenKind::ElapsedSeconds:
                appendNumber(section.elapsedHours || section.elapsedMinutes ? totalSeconds % 60
                                                                            : totalSeconds,
                             t.width, out);
                break;
            case TokenKind::AmPm:
                out.append(hourOfDay < 12 ? "AM" : "PM");
                break;
            case TokenKind::AP:
                out.push_back(hourOfDay < 12 ? t.ch : static_cast<char>(t.width));
                break;
            default:
                appendLiteral(out, section.literal(t));
                break;
        }
    }
    return true;
}

}  // namespace tabulon::numfmt
