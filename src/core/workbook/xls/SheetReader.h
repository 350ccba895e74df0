// The cell records of one worksheet substream, in every BIFF version, into a stored worksheet.
#pragma once

#include <cstdint>
#include <optional>

#include "core/workbook/CellWriter.h"
#include "core/workbook/StoredWorksheet.h"
#include "core/workbook/xls/BiffRecords.h"
#include "core/workbook/xls/BookRecords.h"

namespace tabulon::workbook::xls {

class RecordCursor;

class SheetReader {
  public:
    // data: the workbook whose cell budget the cells are charged to.
    SheetReader(const BookState& book, const WorkbookData& data, StoredWorksheet& sheet)
        : book_(book), sheet_(sheet), writer_(data, sheet, placeInFile(book.path, sheet.name())) {}

    // Takes a cell record (the stream gives the CONTINUE records of a formula's text); false
    // for a record that holds no cell. Throws BiffDamage and ReadError.
    bool take(const BiffRecord& record, BiffStream& stream);
    // Sorts the cells; call after the sheet's last record.
    void finish();

  private:
    struct Position {
        std::int32_t row;
        std::int32_t col;
        std::uint16_t style;
    };
    // Row, column and cell format as BIFF3 and later give them; BIFF2 gives three attribute
    // bytes in place of the format, of which the second holds the format's index.
    Position readPosition(RecordCursor& cursor);
    // Counted from 0 in the file; the cell writer checks the bounds when the cell is stored.
    static Position readPosition(std::int32_t row, std::int32_t col, std::uint16_t style);
    void readFormulaResult(RecordCursor& cursor, const Position& at);
    void storeText(const Position& at, const std::string& text);
    void storeError(const Position& at, std::uint8_t code);
    void store(const Position& at, StoredKind kind, double number, std::uint32_t index);

    const BookState& book_;
    StoredWorksheet& sheet_;
    CellWriter writer_;
    // A formula whose text result comes in the STRING record after it.
    std::optional<Position> pendingString_;
};

}  // namespace tabulon::workbook::xls
