// The error that a workbook reader throws: what went wrong, and in which file, sheet and cell.
#pragma once

#include <string>
#include <utility>

#include "core/Error.h"

namespace tabulon::workbook {

// What went wrong. Each kind of damage has one kind, whichever reader finds it:
// - DamagedContainer: the container around the workbook's parts and streams cannot be followed:
//   the zip's directory or compressed data, the compound file's header, allocation tables,
//   directory or sector chains, or the encryption around a package (a missing stream, a binary
//   description that cannot be followed, a failed integrity check or checksum, decrypted data
//   that are no zip).
// - DamagedRecords: the records of a binary stream or part (xls BIFF, xlsb) do not hold what
//   their lengths promise: a record cut short or running past its stream, a string or field
//   longer than its record, a sheet without its end record or placed where none can be, a
//   FILEPASS record that cannot be followed.
// - DamagedXml: a part, or an XML encryption description, that is not sound XML (or declares a
//   document type).
// - MissingPart: a part that the package names or needs is absent.
// - NotAWorkbookPart: the entry that the package names as its workbook holds something else
//   (its relationships, a worksheet).
// - CellOutOfBounds and BadCellValue: sound records or XML that put a cell outside the sheet or
//   give it a value that makes no sense (a shared string that does not exist, a number that is
//   no number).
// - TooLarge and TooManyCells: a limit kept against hostile files is reached.
enum class ReadErrorKind {
    FileNotFound,  // the path names nothing
    CannotRead,    // detail: the system's reason ("Permission denied")
    NotAWorkbook,
    UnsupportedFormat,  // detail: the format's name
    PasswordProtected,
    PasswordIncorrect,
    DamagedContainer,  // detail: what the zip, compound-file or decryption layer said
    DamagedXml,        // detail: the parser's message and line
    DamagedRecords,    // detail: what is wrong with the records
    MissingPart,       // detail: the package part's name
    NotAWorkbookPart,  // detail: the package part's name
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

// The place of an error that names the file, and the sheet when given, but no part or cell.
inline ReadErrorPlace placeInFile(std::string file, std::string sheet = {}) {
    return {std::move(file), {}, std::move(sheet), {}};
}

class ReadError : public Error {
  public:
    ReadError(ReadErrorKind kind, ReadErrorPlace place, std::string detail = {});

    ReadErrorKind kind() const { return kind_; }
    const ReadErrorPlace& place() const { return place_; }
    const std::string& detail() const { return detail_; }
    // The same error, naming the file and the sheet where it named none yet.
    ReadError placedIn(const std::string& file, const std::string& sheet) const;

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
        throw e.placedIn(file, sheet);
    }
}

// The error of a workbook file that exists (or whose path cannot be followed) but cannot be
// examined, opened or read: CannotRead with the system's words for the error number.
ReadError unreadableFile(const std::string& path, int errorNumber);

// The description that ReadError carries: one sentence for the kind, the file, then the sheet
// and cell where known.
std::string readErrorText(ReadErrorKind kind, const ReadErrorPlace& place,
                          const std::string& detail);

}  // namespace tabulon::workbook
