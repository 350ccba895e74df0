// The workbook-wide settings records, in every BIFF version.
#include "core/workbook/xls/BookRecords.h"

#include "core/workbook/ReadError.h"
#include "core/workbook/xls/RecordCursor.h"

namespace tabulon::workbook::xls {

std::string readText(RecordCursor& cursor, const BookState& book, int countBytes) {
    const std::size_t count = countBytes == 1 ? cursor.u8() : cursor.u16();
    // These strings stand alone in their record: one that claims more than its record holds is
    // cut at the record's end, as the application reads it.
    constexpr auto cut = RecordCursor::Shortfall::Cut;
    return book.version == BiffVersion::Biff8 ? cursor.unicodeString(count, cut)
                                              : cursor.byteString(count, book.codePage, cut);
}

bool readBookRecord(const BiffRecord& record, BookState& book) {
    RecordCursor cursor(record.data);
    switch (record.type) {
        case record::kFilePass:
            if (!book.decrypted)
                throw ReadError(ReadErrorKind::PasswordProtected, placeInFile(book.path));
            return true;
        case record::kCodePage:
            book.codePage = CodePage(cursor.u16());
            return true;
        case record::kDateMode:
            book.data.date1904 = cursor.u16() != 0;
            return true;
        case record::kFormat2:
            // BIFF2 and BIFF3: the code alone; its id is its position.
            book.formats.addFormatInOrder(readText(cursor, book, 1));
            return true;
        case record::kFormat:
            // A FORMAT record too short for its id and length (a zero length field) says
            // nothing: it is passed over, and a cell that names its id shows as General.
            if (record.data.size() < (book.version == BiffVersion::Biff8 ? 4u : 3u)) return true;
            if (book.version == BiffVersion::Biff4) {
                cursor.skip(2);
                book.formats.addFormatInOrder(readText(cursor, book, 1));
            } else {
                const int id = cursor.u16();
                book.formats.addFormat(
                    id, readText(cursor, book, book.version == BiffVersion::Biff8 ? 2 : 1));
            }
            return true;
        case record::kXf:
            cursor.skip(2);  // font
            book.formats.addXf(cursor.u16());
            return true;
        case record::kXf3:
        case record::kXf4:
            cursor.skip(1);  // font
            book.formats.addXf(cursor.u8());
            return true;
        default:
            return false;
    }
}

}  // namespace tabulon::workbook::xls
