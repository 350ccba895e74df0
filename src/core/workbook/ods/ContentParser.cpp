// The tables of content.xml: rows and cells with their repeats, values, paragraphs and styles.
#include "core/workbook/ods/ContentParser.h"

#include <algorithm>
#include <charconv>
#include <cmath>
#include <cstring>
#include <iterator>
#include <memory>
#include <string>
#include <unordered_map>
#include <vector>

#include "core/workbook/CellReference.h"
#include "core/workbook/CellText.h"
#include "core/workbook/ReadLimits.h"
#include "core/workbook/ods/Duration.h"
#include "core/workbook/ods/OdsWorksheet.h"
#include "core/workbook/xlsx/IsoDate.h"
#include "core/workbook/xlsx/XmlPartParser.h"

namespace tabulon::workbook::ods {

namespace {

constexpr std::string_view kPart = "content.xml";
// Cells that repeats make out of one cell in the file: a few bytes must not fill the memory.
constexpr std::uint64_t kMaxRepeatedCells = 16'000'000;
// Spaces that one text:s element adds (a cell holds at most 32767 characters).
constexpr std::int64_t kMaxSpaces = 32767;

std::int64_t repeatCount(const char* text, std::int64_t limit) {
    if (text == nullptr) return 1;
    std::int64_t value = 0;
    const auto [end, ec] = std::from_chars(text, text + std::strlen(text), value);
    if (ec == std::errc::result_out_of_range) return limit;
    if (ec != std::errc() || end == text || value < 1) return 1;
    return std::min(value, limit);
}

bool parseNumber(const std::string& text, double& out) {
    const char* begin = text.data();
    const char* end = begin + text.size();
    while (begin != end && *begin == ' ') ++begin;
    if (begin != end && *begin == '+') ++begin;
    const auto [stop, ec] = std::from_chars(begin, end, out);
    return ec == std::errc() && stop == end && begin != end;
}

enum class ValueType { None, Float, Date, Time, Boolean, String };

ValueType valueTypeOf(std::string_view text) {
    if (text == "float" || text == "percentage" || text == "currency") return ValueType::Float;
    if (text == "date") return ValueType::Date;
    if (text == "time") return ValueType::Time;
    if (text == "boolean") return ValueType::Boolean;
    if (text == "string") return ValueType::String;
    return ValueType::None;
}

// One cell of the current row, stored once per repeat of the row when the row ends.
struct PendingCell {
    std::int32_t col;
    std::int32_t count;
    StoredKind kind;
    std::uint16_t style;
    double number;
    std::uint32_t index;
    bool hasShownText;
    std::uint32_t shownText;
};

// The default cell style of a run of columns.
struct ColumnStyle {
    std::int32_t first;
    std::int32_t last;
    std::string style;
};

class ContentHandler : public xlsx::XmlHandler {
  public:
    ContentHandler(const std::string& path, OdsStyles& styles, WorkbookData& book,
                   std::vector<std::unique_ptr<StoredWorksheet>>& sheets)
        : path_(path), styles_(styles), book_(book), sheets_(sheets) {
        auto& formats = book_.cellFormats;
        if (formats.empty()) formats.push_back(numfmt::NumberFormat::compile("General"));
        codeFormats_.emplace("General", 0);
    }

    void startElement(std::string_view name, const xlsx::XmlAttributes& attributes) override {
        ++depth_;
        if (stylesDepth_ != 0) {
            styles_.startElement(name, attributes);
            wantText = styles_.wantsText();
            return;
        }
        if (cellDepth_ != 0) return startInCell(name, attributes);
        if (name == "automatic-styles" || name == "styles") {
            stylesDepth_ = depth_;
        } else if (name == "table" && sheet_ == nullptr) {
            startTable(attributes);
        } else if (sheet_ == nullptr) {
            if (name == "null-date") readNullDate(attributes);
        } else if (name == "table-column") {
            addColumns(attributes);
        } else if (name == "table-row") {
            startRow(attributes);
        } else if (name == "table-cell" || name == "covered-table-cell") {
            startCell(name == "covered-table-cell", attributes);
        }
    }

    void endElement(std::string_view name) override {
        if (stylesDepth_ != 0) {
            if (depth_ == stylesDepth_) {
                stylesDepth_ = 0;
            } else {
                styles_.endElement(name);
                wantText = styles_.wantsText();
            }
        } else if (cellDepth_ != 0) {
            endInCell(name);
        } else if (sheet_ != nullptr && depth_ == tableDepth_) {
            sheet_->finish();
            sheet_ = nullptr;
        } else if (sheet_ != nullptr && name == "table-row") {
            endRow();
        }
        --depth_;
    }

    void characters(std::string_view text) override {
        if (stylesDepth_ != 0) return styles_.characters(text);
        // Past the cell text limit nothing more is kept.
        if (cellText_.size() >= kMaxCellMarkupBytes) return;
        for (const char c : text) {
            if (c == ' ' || c == '\t' || c == '\n' || c == '\r') {
                // Runs of white space in a paragraph show as one space, none at its start.
                if (!afterSpace_) cellText_ += ' ';
                afterSpace_ = true;
            } else {
                cellText_ += c;
                afterSpace_ = false;
            }
        }
    }

  private:
    [[noreturn]] void fail(ReadErrorKind kind, std::string cell, std::string detail) const {
        throw ReadError(
            kind,
            {path_, std::string(kPart), sheet_ ? sheet_->name() : std::string(), std::move(cell)},
            std::move(detail));
    }

    void readNullDate(const xlsx::XmlAttributes& attributes) {
        const char* date = attributes.find("date-value");
        // Serial numbers count from 1904 when the document does; otherwise they follow the
        // 1900 system, whatever other day the document counts from.
        book_.date1904 = date != nullptr && std::string_view(date).starts_with("1904-01-01");
    }

    void startTable(const xlsx::XmlAttributes& attributes) {
        const char* name = attributes.find("name");
        const char* style = attributes.find("style-name");
        const SheetVisibility visibility = style != nullptr && styles_.hidesTable(style)
                                               ? SheetVisibility::Hidden
                                               : SheetVisibility::Visible;
        auto sheet = std::make_unique<OdsWorksheet>(
            book_, name != nullptr ? name : "Sheet" + std::to_string(sheetCount_ + 1),
            visibility);
        sheet_ = sheet.get();
        sheets_.push_back(std::move(sheet));
        ++sheetCount_;
        tableDepth_ = depth_;
        row_ = 1;
        nextColumn_ = 1;
        columns_.clear();
    }

    void addColumns(const xlsx::XmlAttributes& attributes) {
        const std::int64_t count =
            repeatCount(attributes.find("number-columns-repeated"), kMaxColumns);
        if (nextColumn_ > kMaxColumns) return;
        const auto last =
            static_cast<std::int32_t>(std::min<std::int64_t>(nextColumn_ + count - 1, kMaxColumns));
        if (const char* style = attributes.find("default-cell-style-name"))
            columns_.push_back({nextColumn_, last, style});
        nextColumn_ = last + 1;
    }

    void startRow(const xlsx::XmlAttributes& attributes) {
        rowRepeat_ = repeatCount(attributes.find("number-rows-repeated"), kMaxRows);
        const char* style = attributes.find("default-cell-style-name");
        rowStyle_ = style != nullptr ? style : "";
        col_ = 1;
        pending_.clear();
    }

    void endRow() {
        if (!pending_.empty()) {
            if (row_ + rowRepeat_ - 1 > kMaxRows)
                fail(ReadErrorKind::CellOutOfBounds, {},
                     "row " + std::to_string(row_ + rowRepeat_ - 1));
            for (std::int64_t r = 0; r < rowRepeat_; ++r)
                for (const PendingCell& cell : pending_)
                    store(static_cast<std::int32_t>(row_ + r), cell, r > 0);
        }
        row_ = std::min<std::int64_t>(row_ + rowRepeat_, kMaxRows + 1);
    }

    void store(std::int32_t row, const PendingCell& cell, bool repeatedRow) {
        for (std::int32_t i = 0; i < cell.count; ++i) {
            if (repeatedRow || i > 0) {
                if (++repeatedCells_ > kMaxRepeatedCells)
                    fail(ReadErrorKind::TooLarge, {}, "repeated cells");
            }
            if (cellBudget_ == 0) fail(ReadErrorKind::TooManyCells, {}, {});
            --cellBudget_;
            const std::int32_t col = cell.col + i;
            sheet_->cells().append(row, col, cell.kind, cell.style, cell.number, cell.index);
            if (cell.hasShownText) sheet_->addShownText(row, col, cell.shownText);
        }
    }

    void startCell(bool covered, const xlsx::XmlAttributes& attributes) {
        cellDepth_ = depth_;
        covered_ = covered;
        cellRepeat_ = repeatCount(attributes.find("number-columns-repeated"), kMaxColumns);
        valueType_ = ValueType::None;
        error_ = false;
        hasStringValue_ = false;
        for (std::string* text :
             {&valueText_, &dateText_, &timeText_, &booleanText_, &stringText_, &styleText_})
            text->clear();
        for (const char* const* a = attributes.raw(); *a != nullptr; a += 2) {
            const std::string_view attribute = xlsx::localName(a[0]);
            if (attribute == "value-type") {
                // LibreOffice adds its own value type, which also knows error values.
                if (std::string_view(a[0]).starts_with("calcext:"))
                    error_ = std::strcmp(a[1], "error") == 0;
                else
                    valueType_ = valueTypeOf(a[1]);
            } else if (attribute == "value") {
                valueText_ = a[1];
            } else if (attribute == "date-value") {
                dateText_ = a[1];
            } else if (attribute == "time-value") {
                timeText_ = a[1];
            } else if (attribute == "boolean-value") {
                booleanText_ = a[1];
            } else if (attribute == "string-value") {
                stringText_ = a[1];
                hasStringValue_ = true;
            } else if (attribute == "style-name") {
                styleText_ = a[1];
            }
        }
        cellText_.clear();
        paragraphs_ = 0;
        paragraphDepth_ = 0;
        skipDepth_ = 0;
    }

    void startInCell(std::string_view name, const xlsx::XmlAttributes& attributes) {
        if (skipDepth_ != 0 || covered_) return;
        if (paragraphDepth_ == 0) {
            if (depth_ == cellDepth_ + 1 && (name == "p" || name == "h")) {
                if (paragraphs_++ > 0) appendCellMarkup(cellText_, "\n");
                paragraphDepth_ = depth_;
                afterSpace_ = true;
                wantText = true;
            }
            return;
        }
        if (name == "s") {
            const std::int64_t count = repeatCount(attributes.find("c"), kMaxSpaces);
            if (cellText_.size() < kMaxCellMarkupBytes)
                cellText_.append(std::min(static_cast<std::size_t>(count),
                                          kMaxCellMarkupBytes - cellText_.size()),
                                 ' ');
            afterSpace_ = false;
        } else if (name == "tab") {
            appendCellMarkup(cellText_, "\t");
            afterSpace_ = false;
        } else if (name == "line-break") {
            appendCellMarkup(cellText_, "\n");
            afterSpace_ = false;
        } else if (name == "note" || name == "annotation" || name == "ruby-text") {
            // Notes and comments inside a paragraph are not part of what the cell shows.
            skipDepth_ = depth_;
            wantText = false;
        }
    }

    void endInCell(std::string_view name) {
        if (skipDepth_ == depth_) {
            skipDepth_ = 0;
            wantText = paragraphDepth_ != 0;
        } else if (paragraphDepth_ == depth_) {
            paragraphDepth_ = 0;
            wantText = false;
        } else if (depth_ == cellDepth_ && (name == "table-cell" || name == "covered-table-cell")) {
            endCell();
            cellDepth_ = 0;
        }
    }

    void endCell() {
        const std::int64_t first = col_;
        col_ = std::min<std::int64_t>(col_ + cellRepeat_, kMaxColumns + 1);
        if (covered_) return;
        column_ = first;
        PendingCell cell{};
        if (!cellValue(cell)) return;
        if (first > kMaxColumns)
            fail(ReadErrorKind::CellOutOfBounds, {},
                 "a cell after column XFD in row " + std::to_string(row_));
        cell.col = static_cast<std::int32_t>(first);
        cell.count =
            static_cast<std::int32_t>(std::min<std::int64_t>(cellRepeat_, kMaxColumns - first + 1));
        pending_.push_back(cell);
    }

    // What the cell holds; false for an empty cell.
    bool cellValue(PendingCell& cell) {
        cell.hasShownText = false;
        if (error_) return setText(cell, StoredKind::Error, cellText_);
        double number = 0;
        switch (valueType_) {
            case ValueType::Float:
                if (parseNumber(valueText_, number)) return setNumber(cell, number, nullptr);
                break;
            case ValueType::Date:
                if (const auto serial = xlsx::isoDateToSerial(dateText_, book_.date1904))
                    return setNumber(
                        cell, *serial,
                        std::floor(*serial) == *serial ? "m/d/yyyy" : "m/d/yyyy h:mm:ss");
                break;
            case ValueType::Time:
                if (const auto days = durationToDays(timeText_))
                    return setNumber(cell, *days, "[h]:mm:ss");
                break;
            case ValueType::Boolean:
                if (booleanText_ == "true" || booleanText_ == "false") {
                    cell.kind = StoredKind::Boolean;
                    cell.style = formatIndexOf(cellStyleName());
                    cell.index = booleanText_ == "true" ? 1 : 0;
                    return true;
                }
                break;
            case ValueType::String:
                return setText(cell, StoredKind::LocalText,
                               hasStringValue_ ? stringText_ : cellText_);
            case ValueType::None:
                break;
        }
        // A value that cannot be read, or a cell without a value type, shows its paragraphs.
        return setText(cell, StoredKind::LocalText, cellText_);
    }

    bool setText(PendingCell& cell, StoredKind kind, const std::string& text) {
        if (text.empty()) return false;
        cell.kind = kind;
        cell.style = formatIndexOf(cellStyleName());
        cell.index = sheet_->localStrings().add(text);
        return true;
    }

    // dateFallback: the code for date and time values whose style shows no date or time.
    bool setNumber(PendingCell& cell, double number, const char* dateFallback) {
        cell.kind = StoredKind::Number;
        cell.number = number;
        cell.style = formatIndexOf(cellStyleName());
        if (dateFallback != nullptr && !book_.cellFormats[cell.style].isDateTime())
            cell.style = formatIndexOfCode(dateFallback);
        if (paragraphs_ > 0) {
            cell.hasShownText = true;
            cell.shownText = sheet_->addShownString(cellText_);
        }
        return true;
    }

    // The cell's own style, else the row's default, else its column's default.
    const std::string& cellStyleName() const {
        static const std::string none;
        if (!styleText_.empty()) return styleText_;
        if (!rowStyle_.empty()) return rowStyle_;
        // Column runs are in column order.
        const auto after = std::upper_bound(
            columns_.begin(), columns_.end(), column_,
            [](std::int64_t col, const ColumnStyle& run) { return col < run.first; });
        if (after != columns_.begin() && column_ <= std::prev(after)->last)
            return std::prev(after)->style;
        return none;
    }

    std::uint16_t formatIndexOf(const std::string& cellStyle) {
        // Neighbouring cells mostly share their style.
        if (lastStyle_ && *lastStyle_ == cellStyle) return lastStyleFormat_;
        auto found = styleFormats_.find(cellStyle);
        if (found == styleFormats_.end())
            found =
                styleFormats_.emplace(cellStyle, formatIndexOfCode(styles_.formatCode(cellStyle)))
                    .first;
        lastStyle_ = &found->first;
        lastStyleFormat_ = found->second;
        return found->second;
    }

    std::uint16_t formatIndexOfCode(const std::string& code) {
        auto& formats = book_.cellFormats;
        const auto found = codeFormats_.find(code);
        if (found != codeFormats_.end()) return found->second;
        if (formats.size() > 0xFFFF) return 0;  // beyond the store's style range: General
        formats.push_back(numfmt::NumberFormat::compile(code));
        const auto index = static_cast<std::uint16_t>(formats.size() - 1);
        codeFormats_.emplace(code, index);
        return index;
    }

    const std::string& path_;
    OdsStyles& styles_;
    WorkbookData& book_;
    std::vector<std::unique_ptr<StoredWorksheet>>& sheets_;
    std::uint64_t cellBudget_ = kMaxCells;
    std::uint64_t repeatedCells_ = 0;
    std::unordered_map<std::string, std::uint16_t> styleFormats_;
    std::unordered_map<std::string, std::uint16_t> codeFormats_;
    const std::string* lastStyle_ = nullptr;
    std::uint16_t lastStyleFormat_ = 0;

    int depth_ = 0;
    int stylesDepth_ = 0;
    int tableDepth_ = 0;
    int sheetCount_ = 0;
    OdsWorksheet* sheet_ = nullptr;
    std::vector<ColumnStyle> columns_;
    std::int32_t nextColumn_ = 1;

    std::int64_t row_ = 1;
    std::int64_t rowRepeat_ = 1;
    std::string rowStyle_;
    std::int64_t col_ = 1;
    std::int64_t column_ = 1;  // the first column of the cell being read
    std::vector<PendingCell> pending_;

    int cellDepth_ = 0;
    bool covered_ = false;
    std::int64_t cellRepeat_ = 1;
    ValueType valueType_ = ValueType::None;
    bool error_ = false;
    bool hasStringValue_ = false;
    std::string valueText_, dateText_, timeText_, booleanText_, stringText_, styleText_;
    std::string cellText_;
    int paragraphs_ = 0;
    int paragraphDepth_ = 0;
    int skipDepth_ = 0;
    bool afterSpace_ = false;
};

}  // namespace

void readContent(ZipArchive& archive, OdsStyles& styles, WorkbookData& book,
                 std::vector<std::unique_ptr<StoredWorksheet>>& sheets) {
    ContentHandler handler(archive.path(), styles, book, sheets);
    xlsx::parseXmlPart(archive, kPart, handler);
}

}  // namespace tabulon::workbook::ods
