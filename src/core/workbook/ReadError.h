// The error that a workbook reader throws: what went wrong, and in which file, sheet and cell.
#pragma once

#include <string>
#include <utility>

#include "core/Error.h"

namespace tabulon::workbook {

enum class ReadErrorKind {
    FileNotFound,
    CannotRead,
    NotAWorkbook,
    UnsupportedFormat,  // detail: the format's name
    PasswordProtected,
    PasswordIncorrect,
    DamagedContainer,  // detail: what the zip or compound-file layer said
    DamagedXml,        // detail: the parser's message and line
    DamagedRecords,    // detail: what is wrong with a binary part's records
    MissingPart,       // detail: the package part's name
    TooLarge,          // detail: what exceeded its limit
    TooManyCells,
    CellOutOfBounds,  // detail: the row or cell
    BadCellValue,     // detail: what is wrong with the value
};

struct ReadErrorPlace {
    std::string file;
    std::string part;   // the package part or stream inside the file, when known
    std::string sheet;  // when known
    std::string cell;   // "B3", when known
};

class ReadError : public Error {
  public:
    ReadError(ReadErrorKind kind, ReadErrorPlace place, std::string detail = {});

    ReadErrorKind kind() const { return kind_; }
    const ReadErrorPlace& place() const { return place_; }
    const std::string& detail() const { return detail_; }

  private:
    ReadErrorKind kind_;
    ReadErrorPlace place_;
    std::string detail_;
};

// Runs read(); a ReadError that does not name the file or the sheet yet is thrown again with
// them (an empty sheet names none), so that the message says where the damage is.
template <class Read>
void readInPlace(const std::string& file, const std::string& sheet, Read&& read) {
    try {
        read();
    } catch (const ReadError& e) {
        if (!e.place().file.empty() && (sheet.empty() || !e.place().sheet.empty())) throw;
        ReadErrorPlace place = e.place();
        if (place.file.empty()) place.file = file;
        if (place.sheet.empty()) place.sheet = sheet;
        throw ReadError(e.kind(), std::move(place), e.detail());
    }
}

// The description that ReadError carries: one sentence for the kind, the file, then the sheet
// and cell where known.
std::string readErrorText(ReadErrorKind kind, const ReadErrorPlace& place,
                          const std::string& detail);

}  // namespace tabulon::workbook
