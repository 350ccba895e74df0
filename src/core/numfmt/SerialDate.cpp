// Serial day numbers to calendar dates, with the 1900 system's 29 February 1900.
#include "core/numfmt/SerialDate.h"

namespace tabulon::numfmt {

namespace {

// Proleptic Gregorian date of a count of days since 1970-01-01.
void civilFromDays(std::int64_t z, CalendarDate& date) {
    z += 719468;
    const std::int64_t era = (z >= 0 ? z : z - 146096) / 146097;
    const auto doe = static_cast<unsigned>(z - era * 146097);
    const unsigned yoe = (doe - doe / 1460 + doe / 36524 - doe / 146096) / 365;
    const unsigned doy = doe - (365 * yoe + yoe / 4 - yoe / 100);
    const unsigned mp = (5 * doy + 2) / 153;
    date.day = static_cast<int>(doy - (153 * mp + 2) / 5 + 1);
    date.month = static_cast<int>(mp < 10 ? mp + 3 : mp - 9);
    date.year = static_cast<int>(yoe + era * 400 + (date.month <= 2 ? 1 : 0));
}

// Serial 61 is 1900-03-01; 1899-12-30 is 25569 days before 1970-01-01.
constexpr std::int64_t kEpochOffset = 25569;

}  // namespace

CalendarDate dateOfSerial(std::int64_t serial) {
    CalendarDate date;
    date.weekday = static_cast<int>((serial + 6) % 7);
    if (serial == 0) return date;  // 1900-01-00
    if (serial == 60) {
        date.month = 2;
        date.day = 29;
        return date;
    }
    civilFromDays(serial - kEpochOffset + (serial < 60 ? 1 : 0), date);
    return date;
}

}  // namespace tabulon::numfmt
