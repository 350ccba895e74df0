// Serial day numbers and calendar dates, in the 1900 and the 1904 date system.
#pragma once

#include <chrono>
#include <cstdint>

namespace tabulon::numfmt {

struct CalendarDate {
    int year = 1900;
    int month = 1;
    int day = 0;
    int weekday = 0;  // 0 = Sunday
};

// The day that serial 0 of each system stands for. The 1900 system counts a 29 February 1900
// that never was, so its serials from 61 on count from 1899-12-30 and the ones below 60 are one
// day behind.
inline constexpr std::chrono::sys_days kEpoch1900{std::chrono::year{1899} / 12 / 30};
inline constexpr std::chrono::sys_days kEpoch1904{std::chrono::year{1904} / 1 / 1};

// The largest serial of the 1900 system (9999-12-31).
inline constexpr std::int64_t kLastSerial1900 =
    (std::chrono::sys_days{std::chrono::year{9999} / 12 / 31} - kEpoch1900).count();
// Days between the 1904 and the 1900 system.
inline constexpr std::int64_t kDays1904 = (kEpoch1904 - kEpoch1900).count();

// The date of a 1900-system serial (0 <= serial <= kLastSerial1900): serial 0 is 1900-01-00 and
// serial 60 the fictitious 1900-02-29.
CalendarDate dateOfSerial(std::int64_t serial);

// The serial of a date in the 1900 system, or in the 1904 system when date1904 is set. A day
// past the end of its month counts on into the next month.
std::int64_t serialOfDate(std::chrono::year_month_day date, bool date1904);

}  // namespace tabulon::numfmt
