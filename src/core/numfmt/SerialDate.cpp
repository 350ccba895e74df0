// Serial day numbers to calendar dates and back, with the 1900 system's 29 February 1900.
#include "core/numfmt/SerialDate.h"

namespace tabulon::numfmt {

namespace {

// The last serial before the fictitious 29 February 1900, and that day's serial.
constexpr std::int64_t kLastTrueSerialBeforeMarch1900 = 59;
constexpr std::int64_t kFebruary29Serial1900 = 60;

}  // namespace

CalendarDate dateOfSerial(std::int64_t serial) {
    CalendarDate date;
    date.weekday = static_cast<int>((serial + 6) % 7);
    if (serial == 0) return date;  // 1900-01-00
    if (serial == kFebruary29Serial1900) {
        date.month = 2;
        date.day = 29;
        return date;
    }
    const std::int64_t behind = serial <= kLastTrueSerialBeforeMarch1900 ? 1 : 0;
    const std::chrono::year_month_day ymd{kEpoch1900 + std::chrono::days(serial + behind)};
    date.year = static_cast<int>(ymd.year());
    date.month = static_cast<int>(static_cast<unsigned>(ymd.month()));
    date.day = static_cast<int>(static_cast<unsigned>(ymd.day()));
    return date;
}

std::int64_t serialOfDate(std::chrono::year_month_day date, bool date1904) {
    const std::chrono::sys_days day{date};
    if (date1904) return (day - kEpoch1904).count();
    const std::int64_t serial = (day - kEpoch1900).count();
    return serial <= kFebruary29Serial1900 ? serial - 1 : serial;
}

}  // namespace tabulon::numfmt
