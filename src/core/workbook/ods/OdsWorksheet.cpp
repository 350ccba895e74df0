// Number cells shown with the text that the file stores for them.
#include "core/workbook/ods/OdsWorksheet.h"

#include <algorithm>

namespace tabulon::workbook::ods {

void OdsWorksheet::addShownText(std::int32_t row, std::int32_t col, std::uint32_t stringIndex) {
    shown_.emplace_back(keyOf(row, col), stringIndex);
}

void OdsWorksheet::finish() {
    cells().finish();
    localStrings().shrinkToFit();
    shown_.shrink_to_fit();
    shownStrings_.shrinkToFit();
}

std::string OdsWorksheet::text(std::int32_t row, std::int32_t col) const {
    const std::uint64_t key = keyOf(row, col);
    const auto found = std::lower_bound(shown_.begin(), shown_.end(), key,
                                        [](const std::pair<std::uint64_t, std::uint32_t>& entry,
                                           std::uint64_t k) { return entry.first < k; });
    if (found != shown_.end() && found->first == key)
        return std::string(shownStrings_.get(found->second));
    return StoredWorksheet::text(row, col);
}

}  // namespace tabulon::workbook::ods
