// Cell records: numbers, RK forms, labels, shared strings, blanks, booleans, errors, formulas.
#include "core/workbook/xls/SheetReader.h"

#include <cstring>
#include <string>

#include "core/workbook/BinaryCellCodes.h"
#include "core/workbook/CellReference.h"
#include "core/workbook/ReadError.h"
#include "core/workbook/xls/RecordCursor.h"

namespace tabulon::workbook::xls {

namespace {

// An error byte that names no error value reads as #N/A, the value of a missing result.
std::string_view errorText(std::uint8_t code) {
    const std::string_view text = errorCodeText(code);
    return text.empty() ? "#N/A" : text;
}

}  // namespace

SheetReader::Position SheetReader::readPosition(std::int32_t row, std::int32_t col,
                                                std::uint16_t style) {
    return {row + 1, col + 1, style};
}

SheetReader::Position SheetReader::readPosition(RecordCursor& cursor) {
    const std::int32_t row = cursor.u16();
    const std::int32_t col = cursor.u16();
    if (book_.version != BiffVersion::Biff2) return readPosition(row, col, cursor.u16());
    cursor.skip(1);
    const std::uint16_t format = cursor.u8() & 0x3F;
    cursor.skip(1);
    return readPosition(row, col, format);
}

void SheetReader::store(const Position& at, StoredKind kind, double number, std::uint32_t index) {
    pendingString_.reset();
    writer_.store(at.row, at.col, kind, at.style, number, index);
}

void SheetReader::storeText(const Position& at, const std::string& text) {
    store(at, StoredKind::LocalText, 0, sheet_.localStrings().add(text));
}

void SheetReader::storeError(const Position& at, std::uint8_t code) {
    store(at, StoredKind::Error, 0, sheet_.localStrings().add(errorText(code)));
}

void SheetReader::readFormulaResult(RecordCursor& cursor, const Position& at) {
    unsigned char result[8];
    for (unsigned char& byte : result) byte = cursor.u8();
    if (result[6] != 0xFF || result[7] != 0xFF) {
        double number;
        std::memcpy(&number, result, 8);
        return store(at, StoredKind::Number, number, 0);
    }
    switch (result[0]) {
        case 0:  // text, in the STRING record that follows
            pendingString_ = at;
            return;
        case 1:
            return store(at, StoredKind::Boolean, 0, result[2] != 0 ? 1 : 0);
        case 2:
            return storeError(at, result[2]);
        case 3:
            return storeText(at, {});
        default:
            return;
    }
}

bool SheetReader::take(const BiffRecord& record, BiffStream& stream) {
    const bool biff2 = book_.version == BiffVersion::Biff2;
    RecordCursor cursor(record.data);
    switch (record.type) {
        case record::kNumber:
        case record::kNumber2: {
            if (biff2 != (record.type == record::kNumber2)) return false;
            const Position at = readPosition(cursor);
            store(at, StoredKind::Number, cursor.f64(), 0);
            return true;
        }
        case record::kInteger2: {
            if (!biff2) return false;
            const Position at = readPosition(cursor);
            store(at, StoredKind::Number, cursor.u16(), 0);
            return true;
        }
        case record::kRk: {
            const Position at = readPosition(cursor);
            store(at, StoredKind::Number, decodeRk(cursor.u32()), 0);
            return true;
        }
        case record::kMulRk: {
            const std::int32_t row = cursor.u16();
            const std::int32_t first = cursor.u16();
            const std::size_t count = record.data.size() < 6 ? 0 : (record.data.size() - 6) / 6;
            for (std::size_t i = 0; i < count; ++i) {
                const std::uint16_t style = cursor.u16();
                const double value = decodeRk(cursor.u32());
                store(readPosition(row, first + static_cast<std::int32_t>(i), style),
                      StoredKind::Number, value, 0);
            }
            return true;
        }
        case record::kLabelSst: {
            const Position at = readPosition(cursor);
            const std::uint32_t index = cursor.u32();
            if (index >= book_.data.sharedStrings.size())
                throw ReadError(
                    ReadErrorKind::BadCellValue,
                    {book_.path, {}, sheet_.name(), cellName(at.row, at.col)},
                    "the shared string number " + std::to_string(index) + " does not exist");
            store(at, StoredKind::SharedText, 0, index);
            return true;
        }
        case record::kLabel:
        case record::kRString:
        case record::kLabel2: {
            if (biff2 != (record.type == record::kLabel2)) return false;
            const Position at = readPosition(cursor);
            storeText(at, readText(cursor, book_, biff2 ? 1 : 2));
            return true;
        }
        case record::kBlank:
        case record::kBlank2: {
            if (biff2 != (record.type == record::kBlank2)) return false;
            store(readPosition(cursor), StoredKind::StyleOnly, 0, 0);
            return true;
        }
        case record::kMulBlank: {
            const std::int32_t row = cursor.u16();
            const std::int32_t first = cursor.u16();
            const std::size_t count = record.data.size() < 6 ? 0 : (record.data.size() - 6) / 2;
            for (std::size_t i = 0; i < count; ++i)
                store(readPosition(row, first + static_cast<std::int32_t>(i), cursor.u16()),
                      StoredKind::StyleOnly, 0, 0);
            return true;
        }
        case record::kBoolErr:
        case record::kBoolErr2: {
            if (biff2 != (record.type == record::kBoolErr2)) return false;
            const Position at = readPosition(cursor);
            const std::uint8_t value = cursor.u8();
            if (cursor.u8() != 0)
                storeError(at, value);
            else
                store(at, StoredKind::Boolean, 0, value != 0 ? 1 : 0);
            return true;
        }
        case record::kFormula:
        case record::kFormula3:
        case record::kFormula4: {
            const Position at = readPosition(cursor);
            readFormulaResult(cursor, at);
            return true;
        }
        case record::kString:
        case record::kString2: {
            if (biff2 != (record.type == record::kString2) || !pendingString_) return false;
            // A long text goes on in CONTINUE records.
            BiffRecord more;
            while (stream.peekType() == record::kContinue && stream.next(more))
                cursor.addContinuation(more.data);
            const Position at = *pendingString_;
            storeText(at, readText(cursor, book_, biff2 ? 1 : 2));
            return true;
        }
        default:
            return false;
    }
}

void SheetReader::finish() {
    sheet_.cells().finish();
    sheet_.localStrings().shrinkToFit();
}

}  // namespace tabulon::workbook::xls
