// Scientific notation; with k integer placeholders the exponent is a multiple of k.
#include "core/numfmt/ScientificRenderer.h"

#include <algorithm>
#include <charconv>

#include "core/numfmt/Decimal.h"
#include "core/numfmt/DigitFill.h"

namespace tabulon::numfmt {

namespace {

int floorDiv(int a, int b) { return a >= 0 ? a / b : -((-a + b - 1) / b); }

}  // namespace

bool renderScientific(const Section& section, double absValue, std::string& out) {
    Decimal m = Decimal::of(absValue);
    const int k = std::max(1, section.integerDigits);
    int exponent = 0;
    if (!m.isZero()) {
        exponent = floorDiv(m.point - 1, k) * k;
        m.point -= exponent;
        m.roundToPlaces(section.fractionDigits);
        if (m.point > k) {  // rounding carried into the next power
            m.point -= k;
            exponent += k;
        }
    }
    const int integerCount = m.integerCount();
    DigitFill mantissa(m.digits, std::min(m.count, integerCount), integerCount,
                       section.integerDigits, section.grouping);
    if (m.isZero()) mantissa.padWithZeros();

    char expText[8];
    const int magnitude = exponent < 0 ? -exponent : exponent;
    const auto expEnd = std::to_chars(expText, expText + sizeof expText, magnitude).ptr;
    const auto expLength = static_cast<int>(expEnd - expText);
    DigitFill exponentFill(expText, expLength, expLength, section.exponentDigits, false);
    char sign = 0;

    DecimalPlaces places(m, section.fractionDigits);
    for (const Token& t : section.tokens) {
        switch (t.kind) {
            case TokenKind::Digit:
                if (t.role == DigitRole::Integer) {
                    mantissa.placeholder(t.ch, out);
                } else if (t.role == DigitRole::Fraction) {
                    places.placeholder(t.ch, out);
                } else {
                    if (sign != 0) out.push_back(sign);
                    sign = 0;
                    exponentFill.placeholder(t.ch, out);
                }
                break;
            case TokenKind::DecimalPoint:
                if (section.integerDigits == 0) mantissa.all(out);
                out.push_back('.');
                break;
            case TokenKind::Percent:
                out.push_back('%');
                break;
            case TokenKind::Exponent:
                out.push_back(t.ch);
                // The sign goes right before the exponent's digits, after any literal between.
                sign = exponent < 0 ? '-' : t.width == '+' ? '+' : 0;
                if (section.exponentDigits == 0) {
                    if (sign != 0) out.push_back(sign);
                    out.append(expText, expEnd);
                }
                break;
            default:
                appendLiteral(out, section.literal(t));
                break;
        }
    }
    return !m.isZero();
}

}  // namespace tabulon::numfmt
