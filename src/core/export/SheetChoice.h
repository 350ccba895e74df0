// The sheets an export is limited to: chosen by name, or by 1-based position among a
// workbook's worksheets.
#pragma once

#include <mutex>
#include <string>
#include <vector>

#include "core/workbook/Workbook.h"

namespace tabulon {

class SheetChoice {
  public:
    // Each entry is a sheet name or a number.
    explicit SheetChoice(std::vector<std::string> entries);

    // The worksheets (0-based indexes) of the workbook that an entry chooses, in workbook order.
    // An entry chooses the sheet of its name (exactly as the workbook spells it); an entry of
    // digits that names no sheet of the workbook chooses the worksheet at that position. Records
    // which entries chose a sheet; safe to call for several workbooks at once.
    std::vector<std::size_t> worksheetsOf(const workbook::Workbook& book);

    // The entries that have chosen no sheet of any workbook so far, in the order given.
    std::vector<std::string> unmatched() const;

  private:
    std::vector<std::string> entries_;
    mutable std::mutex mutex_;
    std::vector<bool> matched_;
};

// The indexes of every worksheet of the workbook when there is no choice, otherwise of those the
// choice takes.
std::vector<std::size_t> ChosenWorksheets(const workbook::Workbook& book, SheetChoice* choice);

}  // namespace tabulon
