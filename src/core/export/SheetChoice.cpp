// The sheets an export is limited to.
#include "core/export/SheetChoice.h"

#include <algorithm>
#include <optional>

#include "core/util/NameMatching.h"

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

// The worksheets that one entry chooses.
std::vector<bool> chosenBy(const std::string& entry, const workbook::Workbook& book) {
    std::vector<bool> chosen(book.worksheetCount(), false);
    const bool byName = hasSheetNamed(book, entry);
    const std::optional<std::size_t> position = byName ? std::nullopt : positionOf(entry);
    for (std::size_t s = 0; s < chosen.size(); ++s) {
        const std::string& name = book.worksheetName(s);
        chosen[s] = byName     ? name == entry
                    : position ? *position == s + 1
                               : matchesShellPattern(name, entry);
    }
    return chosen;
}

}  // namespace

SheetChoice::SheetChoice(std::vector<std::string> entries, bool skipHidden)
    : entries_(std::move(entries)), skipHidden_(skipHidden), matched_(entries_.size(), false) {}

std::vector<std::size_t> SheetChoice::worksheetsOf(const workbook::Workbook& book) {
    const std::size_t count = book.worksheetCount();
    std::vector<bool> chosen(count, entries_.empty());
    std::vector<bool> matched(entries_.size(), false);
    for (std::size_t e = 0; e < entries_.size(); ++e) {
        const std::vector<bool> byEntry = chosenBy(entries_[e], book);
        for (std::size_t s = 0; s < count; ++s) {
            if (byEntry[s]) {
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
    for (std::size_t s = 0; s < count; ++s) {
        if (chosen[s] &&
            !(skipHidden_ && book.worksheetVisibility(s) != workbook::SheetVisibility::Visible))
            sheets.push_back(s);
    }
    return sheets;
}

std::vector<std::string> SheetChoice::unmatched() const {
    const std::lock_guard lock(mutex_);
    std::vector<std::string> entries;
    for (std::size_t e = 0; e < entries_.size(); ++e)
        if (!matched_[e]) entries.push_back(entries_[e]);
    return entries;
}

std::vector<std::size_t> chosenWorksheets(const workbook::Workbook& book, SheetChoice* choice) {
    if (choice != nullptr) return choice->worksheetsOf(book);
    std::vector<std::size_t> sheets(book.worksheetCount());
    for (std::size_t s = 0; s < sheets.size(); ++s) sheets[s] = s;
    return sheets;
}

}  // namespace tabulon
