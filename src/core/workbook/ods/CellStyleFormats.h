// The number format of each cell of content.xml, as an index into the book's cell formats: the
// cell's own style, else its row's default cell style, else its column's, each style's format
// code compiled once.
#pragma once

#include <cstdint>
#include <string>
#include <unordered_map>
#include <vector>

#include "core/numfmt/NumberFormat.h"
#include "core/workbook/ods/OdsStyles.h"
#include "core/workbook/xml/XmlPartParser.h"

namespace tabulon::workbook::ods {

class CellStyleFormats {
  public:
    // formats: the book's cell formats, which start with General.
    CellStyleFormats(const OdsStyles& styles, std::vector<numfmt::NumberFormat>& formats);

    // A table starts: no column has a default style yet.
    void startTable() { columns_.clear(); }
    // table:table-column over the columns first to last: their default cell style.
    void addColumns(std::int32_t first, std::int32_t last, const xml::XmlAttributes& attributes);
    // table:table-row: its default cell style.
    void startRow(const xml::XmlAttributes& attributes);

    // The format of a cell in the column whose own style is cellStyle (empty when it has none).
    std::uint16_t formatOf(const std::string& cellStyle, std::int64_t column);
    // The format of a format code; General once the store's style range is full.
    std::uint16_t formatOfCode(const std::string& code);
    bool isDateTime(std::uint16_t format) const { return formats_[format].isDateTime(); }

  private:
    // The default cell style of a run of columns.
    struct ColumnStyle {
        std::int32_t first;
        std::int32_t last;
        std::string style;
    };

    const std::string& styleName(const std::string& cellStyle, std::int64_t column) const;

    const OdsStyles& styles_;
    std::vector<numfmt::NumberFormat>& formats_;
    std::unordered_map<std::string, std::uint16_t> styleFormats_;
    std::unordered_map<std::string, std::uint16_t> codeFormats_;
    const std::string* lastStyle_ = nullptr;
    std::uint16_t lastStyleFormat_ = 0;
    std::vector<ColumnStyle> columns_;  // in column order
    std::string rowStyle_;
};

}  // namespace tabulon::workbook::ods
