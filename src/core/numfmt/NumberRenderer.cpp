// Plain numbers: round the 15-digit decimal at the shown places, then fill the placeholders.
#include "core/numfmt/NumberRenderer.h"

#include <algorithm>

#include "core/numfmt/Decimal.h"
#include "core/numfmt/DigitFill.h"

namespace tabulon::numfmt {

bool renderNumber(const Section& section, double absValue, std::string& out) {
    Decimal d = Decimal::of(absValue);
    d.shift(section.scale);
    d.roundToPlaces(section.fractionDigits);
    const int integerCount = d.integerCount();
    DigitFill whole(d.digits, std::min(d.count, integerCount), integerCount, section.integerDigits,
                    section.grouping);
    DecimalPlaces places(d, section.fractionDigits);
    for (const Token& t : section.tokens) {
        switch (t.kind) {
            case TokenKind::Digit:
                if (t.role == DigitRole::Integer) {
                    whole.placeholder(t.ch, out);
                } else {
                    places.placeholder(t.ch, out);
                }
                break;
            case TokenKind::DecimalPoint:
                if (section.integerDigits == 0) whole.all(out);
                out.push_back('.');
                break;
            case TokenKind::Percent:
                out.push_back('%');
                break;
            default:
                appendLiteral(out, section.literal(t));
                break;
        }
    }
    return !d.isZero();
}

}  // namespace tabulon::numfmt
