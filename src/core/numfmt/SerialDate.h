// Calendar dates of serial day numbers in the 1900 date system.
#pragma once

#include <cstdint>

namespace tabulon::numfmt {

struct CalendarDate {
    int year = 1900;
    int month = 1;
    int day = 0;
    int weekday = 0;  // 0 = Sunday
};

// The largest serial of the 1900 system (9999-12-31).
inline constexpr std::int64_t kLastSerial1900 = 2958465;
// Days between the 1904 and the 1900 system.
inline constexpr std::int64_t kDays1904 = 1462;

// The date of a 1900-system serial (0 <= serial <= kLastSerial1900): serial 0 is 1900-01-00 and
// serial 60 the fictitious 1900-02-29.
CalendarDate dateOfSerial(std::int64_t serial);

}  // namespace tabulon::numfmt
