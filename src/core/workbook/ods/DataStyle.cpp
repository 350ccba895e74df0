// ODF data style elements to format code text: numbers, scientific, fractions, dates, times,
// literals and currency symbols.
#include "core/workbook/ods/DataStyle.h"

#include <algorithm>
#include <charconv>
#include <cstring>

namespace tabulon::workbook::ods {

namespace {

// Longer runs of placeholders than this are not shown by any spreadsheet application.
constexpr int kMaxDigits = 30;

int intAttribute(const xml::XmlAttributes& attributes, std::string_view name, int fallback) {
    const char* text = attributes.find(name);
    if (text == nullptr) return fallback;
    int value = 0;
    const auto [end, ec] = std::from_chars(text, text + std::strlen(text), value);
    if (ec != std::errc() || end == text) return fallback;
    return std::clamp(value, 0, kMaxDigits);
}

bool boolAttribute(const xml::XmlAttributes& attributes, std::string_view name, bool fallback) {
    const char* text = attributes.find(name);
    if (text == nullptr) return fallback;
    return std::strcmp(text, "true") == 0;
}

bool isLong(const xml::XmlAttributes& attributes) {
    const char* style = attributes.find("style");
    return style != nullptr && std::strcmp(style, "long") == 0;
}

// "#,##0", "0", "#,###", "00,000": at least minDigits zeros, grouped by three when asked.
std::string integerPlaceholders(int minDigits, bool grouping) {
    std::string digits(static_cast<std::size_t>(std::max(minDigits, 1)), '0');
    if (minDigits == 0) digits = "#";
    if (!grouping) return digits;
    while (digits.size() < 4) digits.insert(digits.begin(), '#');
    digits.insert(digits.size() - 3, 1, ',');
    return digits;
}

}  // namespace

bool dataStyleKindOf(std::string_view element, DataStyleKind& kind) {
    if (element == "number-style") {
        kind = DataStyleKind::Number;
    } else if (element == "percentage-style") {
        kind = DataStyleKind::Percentage;
    } else if (element == "currency-style") {
        kind = DataStyleKind::Currency;
    } else if (element == "date-style") {
        kind = DataStyleKind::Date;
    } else if (element == "time-style") {
        kind = DataStyleKind::Time;
    } else if (element == "boolean-style") {
        kind = DataStyleKind::Boolean;
    } else if (element == "text-style") {
        kind = DataStyleKind::Text;
    } else {
        return false;
    }
    return true;
}

std::string quotedLiteral(std::string_view text) {
    std::string out;
    bool open = false;
    for (const char c : text) {
        if (c == '"') {
            if (open) out += '"';
            open = false;
            out += "\\\"";
            continue;
        }
        if (!open) out += '"';
        open = true;
        out += c;
    }
    if (open) out += '"';
    return out;
}

DataStyleBuilder::DataStyleBuilder(DataStyleKind kind, const xml::XmlAttributes& attributes) {
    style_.kind = kind;
    elapsed_ = !boolAttribute(attributes, "truncate-on-overflow", true);
}

void DataStyleBuilder::startChild(std::string_view name, const xml::XmlAttributes& attributes) {
    text_.clear();
    if (name == "text") {
        textTarget_ = TextTarget::Literal;
    } else if (name == "currency-symbol") {
        textTarget_ = TextTarget::Currency;
    } else if (name == "fill-character") {
        textTarget_ = TextTarget::Fill;
    } else if (name == "number") {
        appendNumber(attributes);
    } else if (name == "scientific-number") {
        appendScientific(attributes);
    } else if (name == "fraction") {
        appendFraction(attributes);
    } else if (name == "text-content") {
        style_.code += '@';
    } else if (name == "day") {
        style_.code += isLong(attributes) ? "dd" : "d";
    } else if (name == "month") {
        const bool textual = boolAttribute(attributes, "textual", false);
        style_.code +=
            textual ? (isLong(attributes) ? "mmmm" : "mmm") : (isLong(attributes) ? "mm" : "m");
    } else if (name == "year") {
        style_.code += isLong(attributes) ? "yyyy" : "yy";
    } else if (name == "day-of-week") {
        style_.code += isLong(attributes) ? "dddd" : "ddd";
    } else if (name == "hours") {
        appendTimePart(isLong(attributes) ? "hh" : "h", true, false);
    } else if (name == "minutes") {
        appendTimePart(isLong(attributes) ? "mm" : "m", false, true);
    } else if (name == "seconds") {
        appendTimePart(isLong(attributes) ? "ss" : "s", false, false);
        const int places = intAttribute(attributes, "decimal-places", 0);
        if (places > 0) style_.code += '.' + std::string(static_cast<std::size_t>(places), '0');
    } else if (name == "am-pm") {
        style_.code += "AM/PM";
    } else if (name == "boolean") {
        style_.code += "\"TRUE\";\"TRUE\";\"FALSE\"";
    } else if (name == "map") {
        const char* condition = attributes.find("condition");
        const char* target = attributes.find("apply-style-name");
        if (condition != nullptr && target != nullptr) style_.maps.push_back({condition, target});
    }
    // Era, quarter and week numbers have no format code; colours and fonts show no text.
}

void DataStyleBuilder::endChild(std::string_view name) {
    if (!wantsText()) return;
    if (name != "text" && name != "currency-symbol" && name != "fill-character") return;
    switch (textTarget_) {
        case TextTarget::Literal:
            appendLiteral(text_);
            break;
        case TextTarget::Currency:
            // An empty symbol stands for the locale's own currency.
            style_.code += quotedLiteral(text_.empty() ? std::string_view("$") : text_);
            break;
        case TextTarget::Fill:
            if (!text_.empty()) style_.code += '*' + text_.substr(0, 1);
            break;
        case TextTarget::None:
            break;
    }
    textTarget_ = TextTarget::None;
    text_.clear();
}

void DataStyleBuilder::appendLiteral(std::string_view text) {
    if (style_.kind != DataStyleKind::Percentage) {
        style_.code += quotedLiteral(text);
        return;
    }
    // In a percentage style the percent sign is the one that scales the value.
    std::size_t start = 0;
    for (std::size_t i = 0; i <= text.size(); ++i) {
        if (i < text.size() && text[i] != '%') continue;
        style_.code += quotedLiteral(text.substr(start, i - start));
        if (i < text.size()) style_.code += '%';
        start = i + 1;
    }
}

void DataStyleBuilder::appendNumber(const xml::XmlAttributes& attributes) {
    if (attributes.find("decimal-places") == nullptr && style_.kind == DataStyleKind::Number) {
        // Without a fixed count of decimals the number shows as it comes.
        style_.code += "General";
        return;
    }
    const int places = intAttribute(attributes, "decimal-places", 0);
    const int minPlaces = std::min(places, intAttribute(attributes, "min-decimal-places", places));
    style_.code += integerPlaceholders(intAttribute(attributes, "min-integer-digits", 0),
                                       boolAttribute(attributes, "grouping", false));
    if (places > 0) {
        style_.code += '.';
        style_.code += std::string(static_cast<std::size_t>(minPlaces), '0');
        style_.code += std::string(static_cast<std::size_t>(places - minPlaces), '#');
    }
    // A display factor of 1000 per comma scales the value down.
    if (const char* factor = attributes.find("display-factor")) {
        double value = 1;
        std::from_chars(factor, factor + std::strlen(factor), value);
        for (int i = 0; value >= 1000 && i < 4; ++i, value /= 1000) style_.code += ',';
    }
}

void DataStyleBuilder::appendScientific(const xml::XmlAttributes& attributes) {
    const int places = intAttribute(attributes, "decimal-places", 0);
    const int minPlaces = std::min(places, intAttribute(attributes, "min-decimal-places", places));
    const int minInteger = std::max(intAttribute(attributes, "min-integer-digits", 1), 1);
    const int interval = intAttribute(attributes, "exponent-interval", 1);
    if (interval > minInteger) style_.code += std::string(interval - minInteger, '#');
    style_.code += std::string(static_cast<std::size_t>(minInteger), '0');
    if (places > 0) {
        style_.code += '.';
        style_.code += std::string(static_cast<std::size_t>(minPlaces), '0');
        style_.code += std::string(static_cast<std::size_t>(places - minPlaces), '#');
    }
    style_.code += boolAttribute(attributes, "forced-exponent-sign", true) ? "E+" : "E-";
    style_.code += std::string(
        static_cast<std::size_t>(intAttribute(attributes, "min-exponent-digits", 2)), '0');
}

void DataStyleBuilder::appendFraction(const xml::XmlAttributes& attributes) {
    if (attributes.find("min-integer-digits") != nullptr) {
        const int minInteger = intAttribute(attributes, "min-integer-digits", 0);
        style_.code +=
            minInteger == 0 ? "#" : std::string(static_cast<std::size_t>(minInteger), '0');
        style_.code += ' ';
    }
    const int numerator = std::max(intAttribute(attributes, "min-numerator-digits", 1), 1);
    style_.code += std::string(static_cast<std::size_t>(numerator), '?') + '/';
    if (const char* fixed = attributes.find("denominator-value")) {
        const std::string_view digits(fixed);
        if (!digits.empty() && digits.find_first_not_of("0123456789") == std::string_view::npos) {
            style_.code += digits.substr(0, kMaxDigits);
            return;
        }
    }
    int denominator = std::max(intAttribute(attributes, "min-denominator-digits", 1), 1);
    if (const char* largest = attributes.find("max-denominator-value"))
        denominator = std::clamp(static_cast<int>(std::strlen(largest)), 1, kMaxDigits);
    style_.code += std::string(static_cast<std::size_t>(denominator), '?');
}

void DataStyleBuilder::appendTimePart(std::string_view token, bool isHours, bool isMinutes) {
    // The first hours (or, without hours, minutes) of an elapsed time go on past their range.
    if (elapsed_ && !elapsedPlaced_ && (isHours || isMinutes)) {
        elapsedPlaced_ = true;
        style_.code += '[' + std::string(token) + ']';
        return;
    }
    style_.code += token;
}

DataStyle DataStyleBuilder::finish() { return std::move(style_); }

}  // namespace tabulon::workbook::ods
