// Reading test workbooks to text and to their reading errors.
#include "EncryptedTestFiles.h"

#include <gtest/gtest.h>

#include "core/workbook/WorkbookFile.h"

namespace tabulon::workbook::testing {

std::string workbookText(const std::filesystem::path& file, PasswordSource* passwords) {
    const auto book = readWorkbookFile(file.string(), passwords);
    std::string text;
    for (std::size_t s = 0; s < book->worksheetCount(); ++s) {
        const Worksheet& sheet = book->worksheet(s);
        text += "[" + sheet.name() + "]\n";
        const CellRange used = sheet.usedRange();
        for (std::int32_t row = used.firstRow; row <= used.lastRow; ++row) {
            for (std::int32_t col = used.firstCol; col <= used.lastCol; ++col)
                text += sheet.text(row, col) + "\t";
            text += "\n";
        }
    }
    return text;
}

ReadErrorKind readFailure(const std::filesystem::path& file, PasswordSource* passwords,
                          std::string* message) {
    try {
        readWorkbookFile(file.string(), passwords);
    } catch (const ReadError& e) {
        if (message != nullptr) *message = e.what();
        return e.kind();
    }
    ADD_FAILURE() << file << " opened";
    return ReadErrorKind::NotAWorkbook;
}

}  // namespace tabulon::workbook::testing
