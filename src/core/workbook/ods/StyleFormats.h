// The number format of every cell style of an OpenDocument spreadsheet, compiled into the book's
// cell formats when the workbook opens, so that the tables, read later, only look them up.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

#include "core/numfmt/NumberFormat.h"
#include "core/workbook/ods/OdsStyles.h"

namespace tabulon::workbook::ods {

class StyleFormats {
  public:
    // formats: the book's cell formats, which start with General.
    StyleFormats(const OdsStyles& styles, std::vector<numfmt::NumberFormat>& formats);

    // The format of a cell style; an empty or unknown name gives the document's default style's.
    std::uint16_t formatOf(std::string_view cellStyle) const;
    // Formats for date and time values whose style shows no date or time: a day, a day and a
    // time, a duration.
    std::uint16_t date() const { return date_; }
    std::uint16_t dateTime() const { return dateTime_; }
    std::uint16_t duration() const { return duration_; }

  private:
    // Style names are short: FNV-1a is quicker on them than the library's hash.
    struct NameHash {
        using is_transparent = void;
        std::size_t operator()(std::string_view name) const {
            std::uint64_t hash = 14695981039346656037u;
            for (const char c : name)
                hash = (hash ^ static_cast<unsigned char>(c)) * 1099511628211u;
            return static_cast<std::size_t>(hash);
        }
    };

    // The format of a format code, each code compiled once; General once the store's style
    // range is full.
    std::uint16_t formatOfCode(const std::string& code);

    std::vector<numfmt::NumberFormat>& formats_;  // while the constructor runs
    std::unordered_map<std::string, std::uint16_t> codeFormats_;
    std::unordered_map<std::string, std::uint16_t, NameHash, std::equal_to<>> styleFormats_;
    std::uint16_t default_ = 0;
    std::uint16_t date_ = 0;
    std::uint16_t dateTime_ = 0;
    std::uint16_t duration_ = 0;
};

}  // namespace tabulon::workbook::ods
