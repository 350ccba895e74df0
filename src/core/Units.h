// The units and limits that the number formats, the engine and the readers share.
#pragma once

#include <chrono>
#include <cstdint>

namespace tabulon {

// Day serials count days; their fractions are times of day.
inline constexpr std::int64_t kSecondsPerDay = std::chrono::seconds(std::chrono::days(1)).count();
inline constexpr std::int64_t kSecondsPerHour = std::chrono::seconds(std::chrono::hours(1)).count();

// The size of a worksheet: rows 1 to kMaxRows, columns 1 (A) to kMaxColumns (XFD).
inline constexpr std::int32_t kMaxRows = 1048576;
inline constexpr std::int32_t kMaxColumns = 16384;

}  // namespace tabulon
