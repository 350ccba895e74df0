// How the cells of a result become lines of text: the window's format or standard CSV, the
// displayed or the stored cell content, and the encoding the text is written in.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

#include "core/export/TextEncoding.h"

namespace tabulon {

class LineFormat {
  public:
    // The window's format: every cell followed by ", ", nothing quoted, rows ended by CR LF, and
    // one more CR LF after the whole text each time a result is written to a file.
    static const LineFormat& window();
    // Standard CSV (RFC 4180): cells separated by the delimiter with none after the last, a
    // field quoted (its quotes doubled) when it holds the delimiter, a quote, CR or LF, rows
    // ended by CR LF, nothing written after the last row.
    static LineFormat csv(char delimiter);

    // The text written in `encoding`: fields, separators and line ends, each result starting
    // with the encoding's byte-order mark.
    void setEncoding(TextEncoding encoding);
    const TextEncoding& encoding() const { return encoding_; }
    // Every cell as its stored value (storedValueText) rather than as the export mode takes it.
    void setStoredValues(bool storedValues) { storedValues_ = storedValues; }
    bool storedValues() const { return storedValues_; }

    // What the export writes between cells.
    const std::string& separator() const { return separator_; }
    // Whether the last cell of a line is followed by the separator too.
    bool separatesLastCell() const { return !csv_; }
    // What ends each line, and what each result starts with.
    const std::string& lineEnd() const { return lineEnd_; }
    const std::string& textStart() const { return encoding_.byteOrderMark(); }

    // Appends a cell's text (UTF-8) to the line, quoted where the format needs it and in the
    // format's encoding. A character that the encoding cannot hold is returned, and nothing of
    // the cell is appended.
    std::optional<char32_t> appendField(std::string& line, std::string_view text) const;
    // A line of `cells` cells in a result `width` cells wide: CSV gives it empty fields up to
    // the width, so that every row of a result has as many fields; the window's format does not.
    void padLine(std::string& line, std::int32_t cells, std::int32_t width) const;
    // Whether padLine adds anything.
    bool padsLines() const { return csv_; }

    // What a result's file gets after the result's text, each time it is written to a file (the
    // temporary file and the saved one).
    std::string_view textEnd() const { return csv_ ? std::string_view() : lineEnd_; }

  private:
    LineFormat(char delimiter, bool csv);
    void appendQuoted(std::string& line, std::string_view text) const;

    char delimiter_;
    bool csv_;
    bool storedValues_ = false;
    TextEncoding encoding_;
    std::string separator_;  // in the encoding, as lineEnd_
    std::string lineEnd_;
};

}  // namespace tabulon
