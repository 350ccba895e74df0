// What the records of a BIFF workbook's globals share with its sheets: version, code page,
// formats, and the records that set them.
#pragma once

#include <string>

#include "core/workbook/StoredWorksheet.h"
#include "core/workbook/xls/BiffRecords.h"
#include "core/workbook/xls/CellFormatTable.h"
#include "core/workbook/xls/RecordCursor.h"
#include "core/workbook/xls/TextDecoding.h"

namespace tabulon::workbook::xls {

struct BookState {
    BookState(std::string filePath, BiffVersion biff, WorkbookData& bookData)
        : path(std::move(filePath)), version(biff), data(bookData) {}

    std::string path;
    BiffVersion version;
    WorkbookData& data;
    CodePage codePage;
    CellFormatTable formats;
    bool decrypted = false;  // the stream's records were decrypted before reading
};

// Takes CODEPAGE, DATEMODE, FILEPASS, FORMAT and XF records; false for any other record.
// Throws ReadError (password-protected) for FILEPASS in a stream that was not decrypted, and
// BiffDamage for a record cut short; a FORMAT record without room for its id and length is
// passed over.
bool readBookRecord(const BiffRecord& record, BookState& book);

// A text field as the version stores it: BIFF8 a count and the characters with their flags,
// earlier versions a count and 8-bit text. countBytes is 1 or 2. Text that runs past the record's
// end is cut there.
std::string readText(RecordCursor& cursor, const BookState& book, int countBytes);

}  // namespace tabulon::workbook::xls
