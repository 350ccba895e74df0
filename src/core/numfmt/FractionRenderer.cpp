// Fractions: whole part, separator, numerator, bar, denominator, with Excel's blanking rules.
#include "core/numfmt/FractionRenderer.h"

#include <charconv>
#include <cmath>

#include "core/numfmt/Decimal.h"
#include "core/numfmt/DigitFill.h"
#include "core/numfmt/FractionApproximation.h"

namespace tabulon::numfmt {

namespace {

std::size_t displayWidth(std::string_view text) {
    std::size_t n = 0;
    for (char c : text) n += (static_cast<unsigned char>(c) & 0xC0) != 0x80 ? 1 : 0;
    return n;
}

struct Parts {
    double whole = 0.0;  // zero for an improper fraction
    Fraction fraction;
};

// The application splits the binary value, not its 15-digit decimal: 1.15 with /10 is 1 1/10.
Parts split(const Section& section, double x) {
    Parts parts;
    const bool mixed = section.integerDigits > 0;
    parts.whole = mixed ? std::floor(x) : 0.0;
    const double rest = x - parts.whole;
    if (section.fixedDenominator > 0) {
        parts.fraction.denominator = section.fixedDenominator;
        const double numerator =
            std::floor(rest * static_cast<double>(section.fixedDenominator) + 0.5);
        parts.fraction.numerator = numerator < 9e18 ? static_cast<std::int64_t>(numerator) : 0;
    } else {
        std::int64_t bound = 1;
        for (int i = 0; i < section.denominatorDigits && i < 9; ++i) bound *= 10;
        parts.fraction = approximateFraction(rest, bound - 1);
    }
    if (mixed && parts.fraction.numerator != 0 &&
        parts.fraction.numerator == parts.fraction.denominator) {
        parts.whole += 1.0;
        parts.fraction.numerator = 0;
    }
    if (parts.fraction.numerator == 0 && section.fixedDenominator == 0) {
        parts.fraction.denominator = 1;
    }
    return parts;
}

// The denominator's digits start at the left; 0 placeholders pad with leading zeros and ?
// placeholders with trailing spaces.
void appendDenominator(const Section& section, std::int64_t denominator, std::string& out) {
    char text[24];
    const auto end = std::to_chars(text, text + sizeof text, denominator).ptr;
    const auto length = static_cast<int>(end - text);
    int zeros = 0, spaces = 0;
    for (std::uint32_t i = section.denominatorBegin; i < section.denominatorEnd; ++i) {
        const char ch = section.tokens[i].ch;
        zeros += ch == '0' ? 1 : 0;
        spaces += ch == '?' ? 1 : 0;
    }
    int pad = section.denominatorDigits - length;
    const int leading = pad > zeros ? zeros : (pad > 0 ? pad : 0);
    out.append(static_cast<std::size_t>(leading), '0');
    out.append(text, end);
    pad -= leading;
    if (pad > 0) out.append(static_cast<std::size_t>(pad > spaces ? spaces : pad), ' ');
}

}  // namespace

void renderFraction(const Section& section, double x, std::string& out) {
    const Parts parts = split(section, x);
    const bool mixed = section.integerDigits > 0;
    const std::int64_t numerator = parts.fraction.numerator;
    const auto& tokens = section.tokens;

    bool numeratorHasZero = false, fractionHasSpace = false;  // any ? in the code
    char lastWholePlaceholder = 0;
    for (std::uint32_t i = 0; i < tokens.size(); ++i) {
        if (tokens[i].kind != TokenKind::Digit) continue;
        if (tokens[i].role == DigitRole::Integer) lastWholePlaceholder = tokens[i].ch;
        if (tokens[i].role == DigitRole::Numerator) numeratorHasZero |= tokens[i].ch == '0';
        fractionHasSpace |= tokens[i].ch == '?';
    }
    const char firstNumeratorPlaceholder = tokens[section.numeratorBegin].ch;
    const bool showFraction = !mixed || numerator != 0 || numeratorHasZero;

    // The whole number: "0" stands for a zero whole part when the fraction is not shown.
    const Decimal whole = Decimal::of(parts.whole);
    const int wholeLength = whole.isZero() && !showFraction ? 1 : whole.integerCount();
    static const char kZero[] = "0";
    DigitFill wholeFill(whole.isZero() ? kZero : whole.digits,
                        whole.isZero() ? wholeLength : whole.count, wholeLength,
                        section.integerDigits, section.grouping);
    if (whole.isZero() && showFraction && numerator == 0 && lastWholePlaceholder == '?') {
        wholeFill.zeroInLast();  // "0:0/1" rather than " :0/1"
    }

    // How the literals between the whole number and the numerator show.
    enum class Gap { Print, Spaces, Hide } gap = Gap::Print;
    if (mixed && whole.isZero() && showFraction) {
        if (lastWholePlaceholder == '?') {
            gap = numerator == 0 ? Gap::Print : Gap::Spaces;
        } else if (lastWholePlaceholder == '#') {
            gap = firstNumeratorPlaceholder == '?' ? Gap::Spaces : Gap::Hide;
        }
    }

    char numText[24];
    const auto numEnd = std::to_chars(numText, numText + sizeof numText, numerator).ptr;
    const auto numLength = static_cast<int>(numEnd - numText);
    DigitFill numeratorFill(numText, numLength, numLength,
                            static_cast<int>(section.numeratorEnd - section.numeratorBegin), false);

    std::size_t blank = 0;  // width of a hidden fraction
    for (std::uint32_t i = 0; i < tokens.size(); ++i) {
        const Token& t = tokens[i];
        const bool inFraction = mixed && i >= section.integerEnd && i < section.denominatorEnd;
        if (inFraction && !showFraction) {
            // A zero fraction leaves spaces as wide as itself when it has a ? placeholder.
            blank += t.kind == TokenKind::Digit ? 1 : displayWidth(section.literal(t));
            if (i + 1 == section.denominatorEnd && fractionHasSpace) out.append(blank, ' ');
            continue;
        }
        if (t.kind == TokenKind::Digit && t.role == DigitRole::Integer) {
            wholeFill.placeholder(t.ch, out);
        } else if (t.kind == TokenKind::Digit && t.role == DigitRole::Numerator) {
            numeratorFill.placeholder(t.ch, out);
        } else if (t.kind == TokenKind::Digit && t.role == DigitRole::Denominator) {
            if (i == section.denominatorBegin) {
                appendDenominator(section, parts.fraction.denominator, out);
            }
        } else if (mixed && i >= section.integerEnd && i < section.numeratorBegin &&
                   gap != Gap::Print) {
            if (gap == Gap::Spaces) out.append(displayWidth(section.literal(t)), ' ');
        } else {
            appendLiteral(out, section.literal(t));
        }
    }
}

}  // namespace tabulon::numfmt
