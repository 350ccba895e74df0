// What the elements of <sheetData> mean: rows, cells, values and inline strings into the cell
// store.
#pragma once

#include <cstdint>
#include <span>
#include <string>
#include <string_view>

#include "core/workbook/CellText.h"
#include "core/workbook/CellWriter.h"
#include "core/workbook/ReadError.h"
#include "core/workbook/StoredWorksheet.h"
#include "core/workbook/xlsx/XmlAttribute.h"

namespace tabulon::workbook::xlsx {

// Receives the element events of a worksheet part, from expat or from the sheet scanner, so
// that both turn the same markup into the same cells. Events outside <sheetData> are ignored.
class SheetBuilder {
  public:
    SheetBuilder(const std::string& file, std::string_view part, const WorkbookData& book,
                 StoredWorksheet& sheet)
        : file_(file),
          part_(part),
          book_(book),
          sheet_(sheet),
          writer_(book, sheet, {file, std::string(part), sheet.name(), {}}) {}

    // Names are local names. Throws ReadError for cells outside the sheet, bad references and
    // values, and too many cells.
    void startElement(std::string_view name, std::span<const XmlAttribute> attributes);
    void endElement(std::string_view name);
    // Character data, possibly in pieces; only wanted while wantsText() is true. What lies past
    // the cell text limit is not kept.
    void characters(std::string_view text) { appendCellMarkup(*target_, text); }
    // An element without attributes that holds only character data (<v>12</v>): its start, its
    // text and its end in one call.
    void textElement(std::string_view name, std::string_view text);
    bool wantsText() const { return wantText_; }
    // Sorts the cells and trims the sheet's buffers; call once after the last event.
    void finish();

  private:
    enum class CellType { Number, SharedString, FormulaString, InlineString, Boolean, Error, Date };

    [[noreturn]] void fail(ReadErrorKind kind, std::string cell, std::string detail = {}) const;
    [[noreturn]] void badValue(std::string detail) const;
    void startRow(std::span<const XmlAttribute> attributes);
    void startCell(std::span<const XmlAttribute> attributes);
    void startInCell(std::string_view name);
    void endCell();
    void storeLocal(StoredKind kind, std::string& text);
    void store(StoredKind kind, double number, std::uint32_t index);

    const std::string& file_;
    std::string_view part_;
    const WorkbookData& book_;
    StoredWorksheet& sheet_;
    CellWriter writer_;

    bool inSheetData_ = false;
    bool inCell_ = false;
    bool inInlineString_ = false;
    bool wantText_ = false;
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

}  // namespace tabulon::workbook::xlsx
