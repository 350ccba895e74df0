// The descriptions of workbook reading errors, all made in one place.
#include "core/workbook/ReadError.h"

#include <string>
#include <system_error>

#include "core/Units.h"

namespace tabulon::workbook {

namespace {

std::string sentence(ReadErrorKind kind, const ReadErrorPlace& place, const std::string& detail) {
    const std::string inPart = place.part.empty() ? std::string() : " in " + place.part;
    switch (kind) {
        case ReadErrorKind::FileNotFound:
            return "The workbook file was not found";
        case ReadErrorKind::CannotRead:
            return "The workbook file cannot be read (" + detail + ")";
        case ReadErrorKind::NotAWorkbook:
            return "The file is not a workbook";
        case ReadErrorKind::UnsupportedFormat:
            return "The " + detail + " format is not supported yet";
        case ReadErrorKind::PasswordProtected:
            return "The workbook is password-protected";
        case ReadErrorKind::PasswordIncorrect:
            return "The password is incorrect";
        case ReadErrorKind::DamagedContainer:
            return "The workbook is damaged (" + detail + ")";
        case ReadErrorKind::DamagedXml:
            return "The workbook is damaged: bad XML" + inPart + " (" + detail + ")";
        case ReadErrorKind::DamagedRecords:
            return "The workbook is damaged: bad records" + inPart + " (" + detail + ")";
        case ReadErrorKind::MissingPart:
            return "The workbook is damaged: its part " + detail + " is missing";
        case ReadErrorKind::NotAWorkbookPart:
            return "The workbook is damaged: its main part " + detail + " holds no workbook";
        case ReadErrorKind::TooLarge:
            return "The workbook is too large to read (" + detail + ")";
        case ReadErrorKind::TooManyCells:
            return "The workbook holds too many cells to read";
        case ReadErrorKind::CellOutOfBounds:
            return "The workbook is damaged: " + detail + " lies outside the sheet's " +
                   std::to_string(kMaxRows) + " rows and " + std::to_string(kMaxColumns) +
                   " columns";
        case ReadErrorKind::BadCellValue:
            return "The workbook is damaged: " + detail;
    }
    return "The workbook cannot be read";
}

}  // namespace

std::string readErrorText(ReadErrorKind kind, const ReadErrorPlace& place,
                          const std::string& detail) {
    std::string text = sentence(kind, place, detail) + ": " + place.file;
    if (!place.sheet.empty()) text += ", sheet " + place.sheet;
    if (!place.cell.empty()) text += ", cell " + place.cell;
    return text;
}

ReadError unreadableFile(const std::string& path, int errorNumber) {
    const std::string reason = errorNumber != 0 ? std::generic_category().message(errorNumber)
                                                : std::string("an input error");
    return ReadError(ReadErrorKind::CannotRead, placeInFile(path), reason);
}

ReadError::ReadError(ReadErrorKind kind, ReadErrorPlace place, std::string detail)
    : Error(readErrorText(kind, place, detail)),
      kind_(kind),
      place_(std::move(place)),
      detail_(std::move(detail)) {}

ReadError ReadError::placedIn(const std::string& file, const std::string& sheet) const {
    ReadErrorPlace place = place_;
    if (place.file.empty()) place.file = file;
    if (place.sheet.empty()) place.sheet = sheet;
    return ReadError(kind_, std::move(place), detail_);
}

}  // namespace tabulon::workbook
