// One OpenDocument data style (number:number-style, number:date-style, ...) turned into a
// spreadsheet format code section, element by element as the parser meets them.
#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "core/workbook/xml/XmlPartParser.h"

namespace tabulon::workbook::ods {

enum class DataStyleKind { Number, Percentage, Currency, Date, Time, Boolean, Text };

// A style:map child: "value()>=0" and the data style that applies when it holds.
struct StyleMap {
    std::string condition;
    std::string styleName;
};

struct DataStyle {
    DataStyleKind kind = DataStyleKind::Number;
    std::string code;  // one section of a format code, without conditions
    std::vector<StyleMap> maps;
};

// The kind that a data style element names, or false for elements that are no data style.
bool dataStyleKindOf(std::string_view element, DataStyleKind& kind);

// Builds a DataStyle from the children of one data style element.
class DataStyleBuilder {
  public:
    DataStyleBuilder(DataStyleKind kind, const xml::XmlAttributes& attributes);

    // A child element (number:number, number:day, number:text, style:map, ...) begins or ends.
    // While wantsText() is true, the character data of the child goes to characters().
    void startChild(std::string_view name, const xml::XmlAttributes& attributes);
    void endChild(std::string_view name);
    bool wantsText() const { return textTarget_ != TextTarget::None; }
    // More than 1,024 bytes hold more than the 255 characters of the longest code, which makes
    // the code General whatever follows; the rest is not kept.
    void characters(std::string_view text) {
        if (text_.size() <= kMaxTextBytes)
            text_.append(text.substr(0, kMaxTextBytes + 1 - text_.size()));
    }

    DataStyle finish();

  private:
    enum class TextTarget { None, Literal, Currency, Fill };

    static constexpr std::size_t kMaxTextBytes = 1024;

    void appendLiteral(std::string_view text);
    void appendNumber(const xml::XmlAttributes& attributes);
    void appendScientific(const xml::XmlAttributes& attributes);
    void appendFraction(const xml::XmlAttributes& attributes);
    void appendTimePart(std::string_view token, bool isHours, bool isMinutes);

    DataStyle style_;
    bool elapsed_ = false;  // number:truncate-on-overflow="false": hours beyond 24 go on counting
    bool elapsedPlaced_ = false;
    TextTarget textTarget_ = TextTarget::None;
    std::string text_;
};

// Writes text as a literal of a format code: quoted runs, a quote character escaped.
std::string quotedLiteral(std::string_view text);

}  // namespace tabulon::workbook::ods
