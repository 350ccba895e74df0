// The cell records of a binary worksheet: a row header sets the row, each cell names its column.
#include "core/workbook/xlsb/SheetBin.h"

#include <cmath>
#include <map>
#include <string>

#include "core/workbook/BinaryCellCodes.h"
#include "core/workbook/CellReference.h"
#include "core/workbook/CellWriter.h"
#include "core/workbook/xlsb/RecordStream.h"
#include "core/workbook/xlsb/RecordTypes.h"

namespace tabulon::workbook::xlsb {

namespace {

class SheetRecords {
  public:
    SheetRecords(ZipArchive& archive, std::string_view part, const WorkbookData& book,
                 StoredWorksheet& sheet)
        : archive_(archive),
          part_(part),
          book_(book),
          sheet_(sheet),
          writer_(book, sheet, {archive.path(), std::string(part), sheet.name(), {}}) {}

    void take(RecordPayload& record) {
        switch (record.type()) {
            case record::kRowHeader:
                return startRow(record.u32());
            case record::kCellBlank:
            case record::kCellRk:
            case record::kCellError:
            case record::kCellBool:
            case record::kCellReal:
            case record::kCellString:
            case record::kCellSharedString:
            case record::kFormulaString:
            case record::kFormulaNumber:
            case record::kFormulaBool:
            case record::kFormulaError:
            case record::kCellRichString:
                return takeCell(record);
        }
    }

  private:
    [[noreturn]] void fail(ReadErrorKind kind, std::string cell, std::string detail) const {
        throw ReadError(kind, {archive_.path(), std::string(part_), sheet_.name(), std::move(cell)},
                        std::move(detail));
    }

    void startRow(std::uint32_t zeroBasedRow) {
        if (zeroBasedRow >= static_cast<std::uint32_t>(kMaxRows))
            fail(ReadErrorKind::CellOutOfBounds, {}, "row " + std::to_string(zeroBasedRow + 1ull));
        row_ = static_cast<std::int32_t>(zeroBasedRow) + 1;
    }

    // Every cell record starts with its column and its style index (24 bits, then flags).
    void takeCell(RecordPayload& record) {
        const std::uint32_t column = record.u32();
        const std::uint32_t style = record.u32() & 0xFFFFFF;
        if (row_ == 0) row_ = 1;  // a cell before any row header
        if (column >= static_cast<std::uint32_t>(kMaxColumns))
            fail(ReadErrorKind::CellOutOfBounds, {},
                 "column " + std::to_string(column + 1ull) + " of row " + std::to_string(row_));
        col_ = static_cast<std::int32_t>(column) + 1;
        // Styles beyond the 16-bit range fall back to the default format.
        style_ = style <= 0xFFFF ? static_cast<std::uint16_t>(style) : 0xFFFF;

        switch (record.type()) {
            case record::kCellBlank:
                // A cell that only carries formatting; the default format adds nothing.
                if (style_ != 0) store(StoredKind::StyleOnly, 0, 0);
                return;
            case record::kCellRk:
                return storeNumber(decodeRk(record.u32()));
            case record::kCellReal:
            case record::kFormulaNumber:
                return storeNumber(record.f64());
            case record::kCellBool:
            case record::kFormulaBool:
                return store(StoredKind::Boolean, 0, record.u8() != 0 ? 1 : 0);
            case record::kCellError:
            case record::kFormulaError:
                return storeError(record.u8());
            case record::kCellString:
            case record::kFormulaString:
                return storeText(record.wideString());
            case record::kCellRichString:
                record.skip(1);  // the rich text and phonetic flags; their data follows the text
                return storeText(record.wideString());
            case record::kCellSharedString: {
                const std::uint32_t index = record.u32();
                if (index >= book_.sharedStrings.size())
                    badValue("the shared string number " + std::to_string(index) +
                             " does not exist");
                return store(StoredKind::SharedText, 0, index);
            }
        }
    }

    void storeNumber(double number) {
        if (!std::isfinite(number)) badValue("a number cell holds no finite number");
        store(StoredKind::Number, number, 0);
    }

    void storeText(const std::string& text) {
        store(StoredKind::LocalText, 0, sheet_.localStrings().add(text));
    }

    void storeError(std::uint8_t code) {
        auto it = errorStrings_.find(code);
        if (it == errorStrings_.end()) {
            const std::string_view text = errorCodeText(code);
            if (text.empty()) badValue("the error code " + std::to_string(code) + " is not known");
            it = errorStrings_.emplace(code, sheet_.localStrings().add(text)).first;
        }
        store(StoredKind::Error, 0, it->second);
    }

    [[noreturn]] void badValue(std::string detail) const {
        fail(ReadErrorKind::BadCellValue, cellName(row_, col_), std::move(detail));
    }

    void store(StoredKind kind, double number, std::uint32_t index) {
        writer_.store(row_, col_, kind, style_, number, index);
    }

    ZipArchive& archive_;
    std::string_view part_;
    const WorkbookData& book_;
    StoredWorksheet& sheet_;
    CellWriter writer_;

    std::int32_t row_ = 0;
    std::int32_t col_ = 0;
    std::uint16_t style_ = 0;
    std::map<std::uint8_t, std::uint32_t> errorStrings_;  // error byte -> local string index
};

}  // namespace

void readWorksheetBin(ZipArchive& archive, std::string_view part, const WorkbookData& book,
                      StoredWorksheet& sheet) {
    SheetRecords records(archive, part, book, sheet);
    readRecords(archive, part, [&](RecordPayload& record) { records.take(record); });
    sheet.cells().finish();
    sheet.localStrings().shrinkToFit();
}

}  // namespace tabulon::workbook::xlsb
