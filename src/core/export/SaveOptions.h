// The four save options; each is identified everywhere by its exact text.
#pragma once

#include <array>

namespace tabulon {

inline constexpr const char* kSaveEachBookOption = "Save all sheets to a CSV file";
inline constexpr const char* kSaveEachSheetOption = "Save each sheet to a CSV file";
inline constexpr const char* kSaveEachRowOption = "Save each row to a CSV file";
inline constexpr const char* kSaveEachColOption = "Save each column to a CSV file";

inline constexpr std::array<const char*, 4> kSaveOptions = {
    kSaveEachBookOption, kSaveEachSheetOption, kSaveEachRowOption, kSaveEachColOption};

}  // namespace tabulon
