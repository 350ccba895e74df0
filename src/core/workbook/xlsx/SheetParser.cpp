// The worksheet part: rows and cells of <sheetData>, with or without r attributes.
#include "core/workbook/xlsx/SheetParser.h"

#include <charconv>
#include <cstring>
#include <limits>
#include <string>

#include "core/workbook/CellReference.h"
#include "core/workbook/xlsx/EscapedText.h"
#include "core/workbook/xlsx/IsoDate.h"
#include "core/workbook/xlsx/XmlPartParser.h"

namespace tabulon::workbook::xlsx {

namespace {

enum class CellType { Number, SharedString, FormulaString, InlineString, Boolean, Error, Date };

CellType cellTypeOf(const char* t) {
    if (std::strcmp(t, "s") == 0) return CellType::SharedString;
    if (std::strcmp(t, "str") == 0) return CellType::FormulaString;
    if (std::strcmp(t, "inlineStr") == 0) return CellType::InlineString;
    if (std::strcmp(t, "b") == 0) return CellType::Boolean;
    if (std::strcmp(t, "e") == 0) return CellType::Error;
    if (std::strcmp(t, "d") == 0) return CellType::Date;
    return CellType::Number;
}

std::string_view trimmed(std::string_view text) {
    while (!text.empty() && (text.front() == ' ' || text.front() == '\t' || text.front() == '\n' ||
                             text.front() == '\r'))
        text.remove_prefix(1);
    while (!text.empty() && (text.back() == ' ' || text.back() == '\t' || text.back() == '\n' ||
                             text.back() == '\r'))
        text.remove_suffix(1);
    return text;
}

template <class T>
bool parseWhole(std::string_view text, T& out) {
    text = trimmed(text);
    if (!text.empty() && text.front() == '+') text.remove_prefix(1);
    const auto [end, ec] = std::from_chars(text.data(), text.data() + text.size(), out);
    return ec == std::errc() && end == text.data() + text.size() && !text.empty();
}

class SheetHandler : public XmlHandler {
  public:
    SheetHandler(ZipArchive& archive, std::string_view part, const WorkbookData& book,
                 StoredWorksheet& sheet, std::uint64_t& cellBudget)
        : archive_(archive), part_(part), book_(book), sheet_(sheet), cellBudget_(cellBudget) {}

    void startElement(std::string_view name, const XmlAttributes& attributes) override {
        if (!inSheetData_) {
            if (name == "sheetData") inSheetData_ = true;
            return;
        }
        if (inCell_) {
            startInCell(name);
        } else if (name == "c") {
            startCell(attributes);
        } else if (name == "row") {
            startRow(attributes);
        }
    }

    void endElement(std::string_view name) override {
        if (!inSheetData_) return;
        if (name == "v" || name == "t") {
            wantText = false;
        } else if (name == "rPh") {
            --phoneticDepth_;
        } else if (name == "is") {
            inInlineString_ = false;
        } else if (name == "c") {
            endCell();
        } else if (name == "sheetData") {
            inSheetData_ = false;
        }
    }

    void characters(std::string_view text) override { target_->append(text); }

  private:
    [[noreturn]] void fail(ReadErrorKind kind, std::string cell, std::string detail = {}) const {
        throw ReadError(kind, {archive_.path(), std::string(part_), sheet_.name(), std::move(cell)},
                        std::move(detail));
    }

    void startRow(const XmlAttributes& attributes) {
        if (const char* r = attributes.find("r")) {
            std::int64_t row = 0;
            if (!parseWhole(std::string_view(r), row))
                fail(ReadErrorKind::BadCellValue, {}, "a row number is not a number");
            if (row < 1 || row > kMaxRows)
                fail(ReadErrorKind::CellOutOfBounds, {}, "row " + std::string(r));
            row_ = static_cast<std::int32_t>(row);
        } else {
            ++row_;
            if (row_ > kMaxRows)
                fail(ReadErrorKind::CellOutOfBounds, {}, "row " + std::to_string(row_));
        }
        col_ = 0;
    }

    void startCell(const XmlAttributes& attributes) {
        inCell_ = true;
        type_ = CellType::Number;
        style_ = 0;
        hasValue_ = false;
        hasInline_ = false;
        const char* reference = nullptr;
        for (const char* const* a = attributes.raw(); *a != nullptr; a += 2) {
            const std::string_view attribute = localName(a[0]);
            if (attribute == "r") {
                reference = a[1];
            } else if (attribute == "s") {
                unsigned style = 0;
                // Styles beyond the 16-bit range fall back to the default format.
                style_ = parseWhole(std::string_view(a[1]), style) && style <= 0xFFFF
                             ? static_cast<std::uint16_t>(style)
                             : 0xFFFF;
            } else if (attribute == "t") {
                type_ = cellTypeOf(a[1]);
            }
        }
        if (row_ == 0) row_ = 1;  // a cell before any row element
        if (reference == nullptr) {
            if (++col_ > kMaxColumns)
                fail(ReadErrorKind::CellOutOfBounds, {},
                     "a cell after column XFD in row " + std::to_string(row_));
            return;
        }
        const auto position = parseCellReference(reference);
        if (!position)
            fail(ReadErrorKind::BadCellValue, {},
                 "the cell reference \"" + std::string(reference) + "\" is not valid");
        col_ = position->col;
        if (position->row != 0) row_ = position->row;
    }

    void startInCell(std::string_view name) {
        if (name == "v") {
            hasValue_ = true;
            value_.clear();
            target_ = &value_;
            wantText = true;
        } else if (name == "is") {
            hasInline_ = true;
            inInlineString_ = true;
            inline_.clear();
        } else if (name == "rPh") {
            ++phoneticDepth_;
        } else if (name == "t" && inInlineString_ && phoneticDepth_ == 0) {
            target_ = &inline_;
            wantText = true;
        }
    }

    void endCell() {
        inCell_ = false;
        switch (type_) {
            case CellType::Number:
                if (hasValue_ && !trimmed(value_).empty()) {
                    double number = 0;
                    if (!parseWhole(std::string_view(value_), number))
                        badValue("the value \"" + value_ + "\" of a number cell is not a number");
                    return store(StoredKind::Number, number, 0);
                }
                break;
            case CellType::Date:
                if (hasValue_ && !trimmed(value_).empty()) {
                    const auto serial = isoDateToSerial(trimmed(value_), book_.date1904);
                    if (!serial)
                        badValue("the value \"" + value_ + "\" of a date cell is not a date");
                    return store(StoredKind::Number, *serial, 0);
                }
                break;
            case CellType::SharedString:
                if (hasValue_) {
                    std::uint32_t index = 0;
                    if (!parseWhole(std::string_view(value_), index) ||
                        index >= book_.sharedStrings.size())
                        badValue("the shared string number \"" + value_ + "\" does not exist");
                    return store(StoredKind::SharedText, 0, index);
                }
                break;
            case CellType::InlineString:
                if (hasInline_) return storeLocal(StoredKind::LocalText, inline_);
                if (hasValue_) return storeLocal(StoredKind::LocalText, value_);
                break;
            case CellType::FormulaString:
                if (hasValue_) return storeLocal(StoredKind::LocalText, value_);
                break;
            case CellType::Boolean:
                if (hasValue_ && !trimmed(value_).empty()) {
                    const std::string_view v = trimmed(value_);
                    return store(StoredKind::Boolean, 0, v == "1" || v == "true" ? 1 : 0);
                }
                break;
            case CellType::Error:
                if (hasValue_) return storeLocal(StoredKind::Error, value_);
                break;
        }
        // No value: a cell that only carries formatting. The default format adds nothing.
        if (style_ != 0) store(StoredKind::StyleOnly, 0, 0);
    }

    [[noreturn]] void badValue(std::string detail) const {
        fail(ReadErrorKind::BadCellValue, cellName(row_, col_), std::move(detail));
    }

    void storeLocal(StoredKind kind, std::string& text) {
        decodeEscapedCharacters(text);
        store(kind, 0, static_cast<std::uint32_t>(sheet_.localStrings().add(text)));
    }

    void store(StoredKind kind, double number, std::uint32_t index) {
        if (cellBudget_ == 0) fail(ReadErrorKind::TooManyCells, {});
        --cellBudget_;
        sheet_.cells().append(row_, col_, kind, style_, number, index);
    }

    ZipArchive& archive_;
    std::string_view part_;
    const WorkbookData& book_;
    StoredWorksheet& sheet_;
    std::uint64_t& cellBudget_;

    bool inSheetData_ = false;
    bool inCell_ = false;
    bool inInlineString_ = false;
    int phoneticDepth_ = 0;
    std::int32_t row_ = 0;
    std::int32_t col_ = 0;
    CellType type_ = CellType::Number;
    std::uint16_t style_ = 0;
    bool hasValue_ = false;
    bool hasInline_ = false;
    std::string value_;
    std::string inline_;
    std::string* target_ = &value_;
};

}  // namespace

void readWorksheet(ZipArchive& archive, std::string_view part, const WorkbookData& book,
                   StoredWorksheet& sheet, std::uint64_t& cellBudget) {
    SheetHandler handler(archive, part, book, sheet, cellBudget);
    parseXmlPart(archive, part, handler);
    sheet.cells().finish();
    sheet.localStrings().shrinkToFit();
}

}  // namespace tabulon::workbook::xlsx
