// NumberFormat: compiles a code once and renders values through the matching section.
#include "core/numfmt/NumberFormat.h"

#include <cmath>

#include "core/numfmt/CompiledCode.h"
#include "core/numfmt/DateTimeRenderer.h"
#include "core/numfmt/FormatParser.h"
#include "core/numfmt/FractionRenderer.h"
#include "core/numfmt/GeneralRenderer.h"
#include "core/numfmt/NumberRenderer.h"
#include "core/numfmt/ScientificRenderer.h"
#include "core/numfmt/SectionChoice.h"

namespace tabulon::numfmt {

namespace {

// The longest code the application saves, in characters; a longer one cannot have come from it
// and is shown as General rather than let one cell's text grow with the code.
constexpr std::size_t kMaxCodeChars = 255;

std::size_t characterCount(std::string_view text) {
    std::size_t count = 0;
    for (const char c : text) count += (static_cast<unsigned char>(c) & 0xC0) != 0x80 ? 1 : 0;
    return count;
}

// What the application fills a cell with when the value cannot be shown (a date out of range).
constexpr std::string_view kOverflow = "######";

// Renders |value| through the section; returns false when the cell overflows.
bool renderSection(const Section& section, double value, bool date1904, std::string& out,
                   bool& nonZeroShown) {
    const double absValue = std::fabs(value);
    switch (section.kind) {
        case SectionKind::General:
            renderGeneralSection(section, absValue, out);
            break;
        case SectionKind::Number:
            nonZeroShown = renderNumber(section, absValue, out);
            break;
        case SectionKind::Scientific:
            nonZeroShown = renderScientific(section, absValue, out);
            break;
        case SectionKind::Fraction:
            renderFraction(section, absValue, out);
            break;
        case SectionKind::DateTime:
            // The 1900 system has no negative dates; the 1904 one shows "-" and the magnitude.
            if (value < 0 && !date1904) return false;
            return renderDateTime(section, absValue, date1904, out);
        case SectionKind::Text:  // a number through a text section shows as General
            appendGeneral(absValue, out);
            break;
        case SectionKind::Literal:
        case SectionKind::Empty:
            for (const Token& t : section.tokens) appendLiteral(out, section.literal(t));
            break;
    }
    return true;
}

// @ (and General, in a text section) stands for the text itself.
void renderTextSection(const Section& section, std::string_view text, std::string& out) {
    for (const Token& t : section.tokens) {
        if (t.kind == TokenKind::TextValue || t.kind == TokenKind::General) {
            out.append(text);
        } else if (t.kind == TokenKind::Literal) {
            appendLiteral(out, section.literal(t));
        }
    }
}

}  // namespace

NumberFormat NumberFormat::compile(std::string_view code) {
    if (code.size() > kMaxCodeChars && characterCount(code) > kMaxCodeChars) code = "General";
    return NumberFormat(std::make_shared<const CompiledCode>(compileCode(code)));
}

bool NumberFormat::isDateTime() const { return code_->dateTime; }

std::string NumberFormat::format(double value, bool date1904) const {
    // No cell holds a NaN or an infinity; show them as the numeric error value.
    if (!std::isfinite(value)) return "#NUM!";
    std::string out;
    const SectionChoice choice = chooseSection(*code_, value);
    if (choice.overflow) return std::string(kOverflow);
    if (choice.minus) out.push_back('-');
    if (choice.section == nullptr) {
        appendGeneral(std::fabs(value), out);
        return out;
    }
    bool nonZeroShown = true;
    if (!renderSection(*choice.section, value, date1904, out, nonZeroShown)) {
        return std::string(kOverflow);
    }
    if (choice.minus && choice.dropZeroMinus && !nonZeroShown) out.erase(0, 1);
    return out;
}

std::string NumberFormat::formatText(std::string_view text) const {
    const CompiledCode& code = *code_;
    std::string out;
    if (code.textSection >= 0) {
        renderTextSection(code.sections[code.textSection], text, out);
    } else {
        out.assign(text);
    }
    return out;
}

std::string NumberFormat::formatBoolean(bool value) { return value ? "TRUE" : "FALSE"; }

}  // namespace tabulon::numfmt
