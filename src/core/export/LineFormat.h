// How the cells of a result become lines of text: the window's format or standard CSV.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

namespace tabulon {

class LineFormat {
  public:
    // The window's format: every cell followed by ", ", nothing quoted, rows ended by CR LF, and
    // one more CR LF after the whole text each time a result is written to a file.
    static const LineFormat& Window();
    // Standard CSV (RFC 4180): cells separated by the delimiter with none after the last, a
    // field quoted (its quotes doubled) when it holds the delimiter, a quote, CR or LF, rows
    // ended by CR LF, nothing written after the last row.
    static LineFormat Csv(char delimiter);

    // What the export writes between cells.
    const std::string& separator() const { return separator_; }
    // Whether the last cell of a line is followed by the separator too.
    bool separatesLastCell() const { return !csv_; }

    // Appends a cell's text to the line, quoted where the format needs it.
    void appendField(std::string& line, std::string_view text) const {
        if (csv_) {
            appendQuoted(line, text);
        } else {
            line += text;
        }
    }
    // A line of `cells` cells in a result `width` cells wide: CSV gives it empty fields up to
    // the width, so that every row of a result has as many fields; the window's format does not.
    void padLine(std::string& line, std::int32_t cells, std::int32_t width) const;
    // Whether padLine adds anything.
    bool padsLines() const { return csv_; }

    // What a result's file gets after the result's text, each time it is written to a file (the
    // temporary file and the saved one).
    std::string_view textEnd() const { return csv_ ? std::string_view() : "\r\n"; }

  private:
    LineFormat(std::string separator, bool csv) : separator_(std::move(separator)), csv_(csv) {}
    void appendQuoted(std::string& line, std::string_view text) const;

    std::string separator_;
    bool csv_;
};

}  // namespace tabulon
