// The value of a table:table-cell: its value type (office:value-type, and LibreOffice's
// calcext:value-type for errors), the value attribute of that type and the cell's style, made into
// what the cell holds together with its paragraphs.
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
    CellValueReader(const WorkbookData& book, const StyleFormats& styles, CellStyleFormats& formats)
        : book_(book), styles_(styles), formats_(formats) {}

    // A cell starts in the column; its attributes are read now.
    void startCell(MarkupAttributes attributes, std::int64_t column);
    // What the cell holds; nothing for an empty cell. Its text goes to the sheet's strings; the
    // text a number shows is that of the paragraphs, read until they are cleared.
    std::optional<CellContent> content(const CellParagraphs& paragraphs, OdsWorksheet& sheet);

  private:
    enum class ValueType { None, Float, Date, Time, Boolean, String };
    static ValueType typeOf(std::string_view text);

    std::optional<CellContent> textContent(StoredKind kind, std::string_view text,
                                           OdsWorksheet& sheet) const;
    // dateFallback: the format for date and time values whose style shows no date or time.
    CellContent numberContent(std::optional<std::uint16_t> dateFallback,
                              const CellParagraphs& paragraphs) const;

    const WorkbookData& book_;
    const StyleFormats& styles_;
    CellStyleFormats& formats_;
    ValueType valueType_ = ValueType::None;
    bool error_ = false;
    // The value of the value type, when it could be read.
    bool valueRead_ = false;
    double number_ = 0;
    bool boolean_ = false;
    bool hasStringValue_ = false;
    std::string stringValue_;
    std::uint16_t format_ = 0;  // of the cell's style
};

}  // namespace tabulon::workbook::ods
