// How the cells of a result become lines of text: the window's format or standard CSV.
#include "core/export/LineFormat.h"

namespace tabulon {

const LineFormat& LineFormat::Window() {
    static const LineFormat format(", ", false);
    return format;
}

LineFormat LineFormat::Csv(char delimiter) { return LineFormat(std::string(1, delimiter), true); }

void LineFormat::appendQuoted(std::string& line, std::string_view text) const {
    const char special[] = {separator_[0], '"', '\r', '\n'};
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
