// The sheets an export is limited to: chosen by name, by shell pattern or by 1-based position
// among a workbook's worksheets, and with or without the hidden ones.
#pragma once

#include <mutex>
#include <string>
#include <vector>

#include "core/workbook/Workbook.h"

namespace tabulon {

class SheetChoice {
  public:
    // Each entry is a sheet name, a number or a shell pattern; no entry chooses every worksheet.
    // `skipHidden` leaves out hidden and very hidden worksheets, whatever chose them.
    explicit SheetChoice(std::vector<std::string> entries, bool skipHidden = false);

    // The worksheets (0-based indexes) of the workbook that an entry chooses, in workbook order.
    // An entry chooses the sheet of its name (exactly as the workbook spells it); otherwise an
    // entry of digits chooses the worksheet at that position; otherwise the entry is a shell
    // pattern ("*", "?", "[...]") and chooses every sheet whose name it matches. So "[1]" chooses
    // a sheet named "[1]" where there is one, and the sheet named "1" elsewhere. Records which
    // entries chose a sheet (a hidden one too); safe to call for several workbooks at once.
    std::vector<std::size_t> worksheetsOf(const workbook::Workbook& book);

    // The entries that have chosen no sheet of any workbook so far, in the order given.
    std::vector<std::string> unmatched() const;

  private:
    std::vector<std::string> entries_;
    bool skipHidden_;
    mutable std::mutex mutex_;
    std::vector<bool> matched_;
};

// The indexes of every worksheet of the workbook when there is no choice, otherwise of those the
// choice takes.
std::vector<std::size_t> chosenWorksheets(const workbook::Workbook& book, SheetChoice* choice);

}  // namespace tabulon
