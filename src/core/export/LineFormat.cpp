// How the cells of a result become lines of text: the window's format or standard CSV.
#include "core/export/LineFormat.h"

namespace tabulon {

LineFormat::LineFormat(char delimiter, bool csv) : delimiter_(delimiter), csv_(csv) {
    setEncoding(TextEncoding());
}

const LineFormat& LineFormat::window() {
    static const LineFormat format(',', false);
    return format;
}

LineFormat LineFormat::csv(char delimiter) { return LineFormat(delimiter, true); }

void LineFormat::setEncoding(TextEncoding encoding) {
    encoding_ = std::move(encoding);
    // Every encoding holds ASCII (TextEncoding::named makes sure).
    separator_.clear();
    lineEnd_.clear();
    encoding_.append(separator_, csv_ ? std::string(1, delimiter_) : std::string(", "));
    encoding_.append(lineEnd_, "\r\n");
}

std::optional<char32_t> LineFormat::appendField(std::string& line, std::string_view text) const {
    if (!csv_) return encoding_.append(line, text);
    if (!encoding_.converts()) {
        appendQuoted(line, text);
        return std::nullopt;
    }
    std::string quoted;
    appendQuoted(quoted, text);
    return encoding_.append(line, quoted);
}

void LineFormat::appendQuoted(std::string& line, std::string_view text) const {
    const char special[] = {delimiter_, '"', '\r', '\n'};
    if (text.find_first_of(std::string_view(special, sizeof special)) == std::string_view::npos) {
        line += text;
        return;
    }
    line += '"';
    for (const char c : text) {
        if (c == '"') line += '"';
        line += c;
    }
    line += '"';
}

void LineFormat::padLine(std::string& line, std::int32_t cells, std::int32_t width) const {
    if (!csv_) return;
    for (std::int32_t i = cells; i < width; ++i) line += separator_;
}

}  // namespace tabulon
