// The value of a table:table-cell: its value type (office:value-type, and LibreOffice's
// calcext:value-type for errors), the value attribute of that type and the cell's style name,
// made into what the cell holds together with its paragraphs.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

#include "core/workbook/StoredWorksheet.h"
#include "core/workbook/ods/CellContent.h"
#include "core/workbook/ods/CellParagraphs.h"
#include "core/workbook/ods/CellStyleFormats.h"
#include "core/workbook/ods/MarkupAttribute.h"
#include "core/workbook/ods/OdsWorksheet.h"

namespace tabulon::workbook::ods {

class CellValueReader {
  public:
    CellValueReader(const WorkbookData& book, const StyleFormats& styles,
                    CellStyleFormats& formats)
        : book_(book), styles_(styles), formats_(formats) {}

    // A cell starts.
    void startCell(MarkupAttributes attributes);
    // What the cell, whose first column is column, holds; nothing for an empty cell. Its text
    // goes to the sheet's strings.
    std::optional<CellContent> content(const CellParagraphs& paragraphs, std::int64_t column,
                                       OdsWorksheet& sheet);

  private:
    enum class ValueType { None, Float, Date, Time, Boolean, String };
    static ValueType typeOf(std::string_view text);

    std::optional<CellContent> textContent(StoredKind kind, const std::string& text,
                                           std::int64_t column, OdsWorksheet& sheet);
    // dateFallback: the format for date and time values whose style shows no date or time.
    CellContent numberContent(double number, std::optional<std::uint16_t> dateFallback,
                              const CellParagraphs& paragraphs, std::int64_t column,
                              OdsWorksheet& sheet);

    const WorkbookData& book_;
    const StyleFormats& styles_;
    CellStyleFormats& formats_;
    ValueType valueType_ = ValueType::None;
    bool error_ = false;
    bool hasStringValue_ = false;
    std::string valueText_, dateText_, timeText_, booleanText_, stringText_, styleText_;
};

}  // namespace tabulon::workbook::ods
