// The sheets an export is limited to.
#include "core/export/SheetChoice.h"

#include <algorithm>
#include <optional>

namespace tabulon {
namespace {

// The position an entry of digits stands for; nothing for any other entry.
std::optional<std::size_t> positionOf(const std::string& entry) {
    if (entry.empty() || entry.size() > 9 ||
        !std::all_of(entry.begin(), entry.end(), [](char c) { return c >= '0' && c <= '9'; }))
        return std::nullopt;
    return static_cast<std::size_t>(std::stoul(entry));
}

bool hasSheetNamed(const workbook::Workbook& book, const std::string& name) {
    for (std::size_t s = 0; s < book.worksheetCount(); ++s)
        if (book.worksheetName(s) == name) return true;
    return false;
}

}  // namespace

SheetChoice::SheetChoice(std::vector<std::string> entries)
    : entries_(std::move(entries)), matched_(entries_.size(), false) {}

std::vector<std::size_t> SheetChoice::worksheetsOf(const workbook::Workbook& book) {
    const std::size_t count = book.worksheetCount();
    std::vector<bool> chosen(count, false);
    std::vector<bool> matched(entries_.size(), false);
    for (std::size_t e = 0; e < entries_.size(); ++e) {
        const std::string& entry = entries_[e];
        std::optional<std::size_t> position;
        if (!hasSheetNamed(book, entry)) position = positionOf(entry);
        for (std::size_t s = 0; s < count; ++s) {
            if (position ? *position == s + 1 : book.worksheetName(s) == entry) {
                chosen[s] = true;
                matched[e] = true;
            }
        }
    }
    {
        const std::lock_guard lock(mutex_);
        for (std::size_t e = 0; e < matched.size(); ++e)
            if (matched[e]) matched_[e] = true;
    }
    std::vector<std::size_t> sheets;
    for (std::size_t s = 0; s < count; ++s)
        if (chosen[s]) sheets.push_back(s);
    return sheets;
}

std::vector<std::string> SheetChoice::unmatched() const {
    const std::lock_guard lock(mutex_);
    std::vector<std::string> entries;
    for (std::size_t e = 0; e < entries_.size(); ++e)
        if (!matched_[e]) entries.push_back(entries_[e]);
    return entries;
}

std::vector<std::size_t> ChosenWorksheets(const workbook::Workbook& book, SheetChoice* choice) {
    if (choice != nullptr) return choice->worksheetsOf(book);
    std::vector<std::size_t> sheets(book.worksheetCount());
    for (std::size_t s = 0; s < sheets.size(); ++s) sheets[s] = s;
    return sheets;
}

}  // namespace tabulon
