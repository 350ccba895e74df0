// What a listing of a workbook's sheets shows.
#include "core/export/SheetListing.h"

#include "core/util/ControlEscapes.h"
#include "core/workbook/CellReference.h"

namespace tabulon {
namespace {

const char* visibilityName(workbook::SheetVisibility visibility) {
    switch (visibility) {
        case workbook::SheetVisibility::Hidden:
            return "hidden";
        case workbook::SheetVisibility::VeryHidden:
            return "veryhidden";
        case workbook::SheetVisibility::Visible:
            break;
    }
    return "visible";
}

}  // namespace

std::vector<std::string> sheetListingLines(const std::string& file, const workbook::Workbook& book,
                                           SheetChoice* choice) {
    std::vector<std::string> lines;
    for (const std::size_t index : chosenWorksheets(book, choice)) {
        const workbook::Worksheet& sheet = book.worksheet(index);
        const workbook::CellRange range = sheet.usedRange();
        lines.push_back(escapeControlCharacters(file) + '\t' +
                        escapeControlCharacters(sheet.name()) + "\tworksheet\t" +
                        visibilityName(sheet.visibility()) + '\t' +
                        workbook::cellName(range.firstRow, range.firstCol) + ':' +
                        workbook::cellName(range.lastRow, range.lastCol));
        book.release(index);
    }
    return lines;
}

}  // namespace tabulon
