// The layout of a section: its kind, digit roles, grouping, scaling, fraction and time facts.
#include "core/numfmt/SectionLayout.h"

#include <algorithm>

namespace tabulon::numfmt {

namespace {

constexpr std::uint32_t kNone = 0xFFFFFFFF;

bool isDigit(const Token& t) { return t.kind == TokenKind::Digit; }
bool isDigitLiteral(const Token& t) {
    return t.kind == TokenKind::Literal && t.ch >= '1' && t.ch <= '9';
}

// Turns a token into a literal printing `text`.
void makeLiteral(Section& sec, Token& t, std::string_view text) {
    t.kind = TokenKind::Literal;
    t.offset = static_cast<std::uint32_t>(sec.literals.size());
    t.length = static_cast<std::uint32_t>(text.size());
    sec.literals.append(text);
}

// Turns a number-only token (digit, point, percent, exponent) into the literal it was written as.
void makeLiteralAsWritten(Section& sec, Token& t) {
    switch (t.kind) {
        case TokenKind::Digit:
            makeLiteral(sec, t, std::string_view(&t.ch, 1));
            break;
        case TokenKind::DecimalPoint:
            makeLiteral(sec, t, ".");
            break;
        case TokenKind::Percent:
            makeLiteral(sec, t, "%");
            break;
        case TokenKind::Exponent: {
            const char text[2] = {t.ch, static_cast<char>(t.width)};
            makeLiteral(sec, t, std::string_view(text, 2));
            break;
        }
        default:
            break;
    }
}

// Tokens that print nothing stay in place as empty literals, so that token indexes stay valid.
void makeSilent(Section& sec, Token& t) { makeLiteral(sec, t, {}); }

bool isSecond(TokenKind k) { return k == TokenKind::Second || k == TokenKind::ElapsedSeconds; }
bool isDatePart(TokenKind k) { return k >= TokenKind::Year2 && k <= TokenKind::ElapsedSeconds; }

void layoutDateTime(Section& sec) {
    auto& tokens = sec.tokens;
    // ".0", ".00", ".000" are fractions of a second; other digits and number signs are text.
    for (std::size_t i = 0; i < tokens.size(); ++i) {
        Token& t = tokens[i];
        if (t.kind != TokenKind::DecimalPoint || i + 1 >= tokens.size() ||
            !isDigit(tokens[i + 1]) || tokens[i + 1].ch != '0') {
            makeLiteralAsWritten(sec, t);
            continue;
        }
        std::size_t n = 0;
        while (n < 3 && i + 1 + n < tokens.size() && isDigit(tokens[i + 1 + n]) &&
               tokens[i + 1 + n].ch == '0') {
            makeSilent(sec, tokens[i + 1 + n]);
            ++n;
        }
        t.kind = TokenKind::SubSecond;
        t.width = static_cast<std::uint8_t>(n);
        sec.subSecondDigits = std::max(sec.subSecondDigits, static_cast<int>(n));
        i += n;
    }
    for (const Token& t : tokens) {
        sec.elapsedHours = sec.elapsedHours || t.kind == TokenKind::ElapsedHours;
        sec.elapsedMinutes = sec.elapsedMinutes || t.kind == TokenKind::ElapsedMinutes;
        sec.elapsedSeconds = sec.elapsedSeconds || t.kind == TokenKind::ElapsedSeconds;
    }
    // m and mm are minutes right after hours or right before seconds, and after seconds in a
    // code that shows no minutes before; months otherwise.
    bool minutesSeen = false;
    for (std::size_t i = 0; i < tokens.size(); ++i) {
        minutesSeen = minutesSeen || tokens[i].kind == TokenKind::ElapsedMinutes;
        if (tokens[i].kind != TokenKind::Month) continue;
        TokenKind before = TokenKind::Literal, after = TokenKind::Literal;
        for (std::size_t j = i; j-- > 0;) {
            if (isDatePart(tokens[j].kind) && tokens[j].kind != TokenKind::SubSecond) {
                before = tokens[j].kind;
                break;
            }
        }
        for (std::size_t j = i + 1; j < tokens.size(); ++j) {
            if (isDatePart(tokens[j].kind)) {
                after = tokens[j].kind;
                break;
            }
        }
        const bool afterHour = before == TokenKind::Hour || before == TokenKind::ElapsedHours;
        if (afterHour || isSecond(after) || (isSecond(before) && !minutesSeen)) {
            tokens[i].kind = TokenKind::Minute;
            minutesSeen = true;
        }
    }
}

// Commas: between two integer placeholders they group; right after the last placeholder of the
// integer part (or of the whole number) each one divides by 1000; before any placeholder they are
// text. `scaling` is false for scientific and fraction codes, where Excel ignores such commas.
void resolveCommas(LexedSection& lexed, std::uint32_t integerEnd, bool scaling) {
    Section& sec = lexed.section;
    for (std::uint32_t c : lexed.commas) {
        bool before = false, afterInInteger = false, afterAtAll = false;
        for (std::uint32_t j = 0; j < c; ++j) before = before || isDigit(sec.tokens[j]);
        for (std::uint32_t j = c + 1; j < sec.tokens.size(); ++j) {
            if (!isDigit(sec.tokens[j])) continue;
            afterAtAll = true;
            if (j < integerEnd) afterInInteger = true;
        }
        if (!before) continue;  // stays a literal comma
        makeSilent(sec, sec.tokens[c]);
        if (c < integerEnd && afterInInteger) {
            sec.grouping = true;
        } else if (scaling && (c < integerEnd || !afterAtAll)) {
            sec.scale -= 3;
        }
    }
}

void layoutNumber(LexedSection& lexed) {
    Section& sec = lexed.section;
    auto& tokens = sec.tokens;
    const auto n = static_cast<std::uint32_t>(tokens.size());
    std::uint32_t point = kNone, exponent = kNone;
    for (std::uint32_t i = 0; i < n; ++i) {
        Token& t = tokens[i];
        if (t.kind == TokenKind::Exponent && exponent == kNone) {
            exponent = i;
            sec.kind = SectionKind::Scientific;
        } else if (t.kind == TokenKind::Exponent) {
            makeLiteralAsWritten(sec, t);
        } else if (t.kind == TokenKind::DecimalPoint && point == kNone && exponent == kNone) {
            point = i;
        } else if (t.kind == TokenKind::DecimalPoint) {
            makeLiteralAsWritten(sec, t);
        }
    }
    const std::uint32_t numberEnd = exponent == kNone ? n : exponent;
    const std::uint32_t integerEnd = point == kNone ? numberEnd : point;
    for (std::uint32_t i = 0; i < n; ++i) {
        Token& t = tokens[i];
        if (t.kind == TokenKind::Percent && exponent == kNone) sec.scale += 2;
        if (!isDigit(t)) continue;
        if (i < integerEnd) {
            t.role = DigitRole::Integer;
            ++sec.integerDigits;
        } else if (i < numberEnd) {
            t.role = DigitRole::Fraction;
            ++sec.fractionDigits;
        } else {
            t.role = DigitRole::Exponent;
            ++sec.exponentDigits;
        }
    }
    resolveCommas(lexed, integerEnd, exponent == kNone);
}

// The fraction bar: the first slash with a placeholder somewhere before it and a placeholder or
// a digit 1-9 after it.
bool layoutFraction(LexedSection& lexed) {
    Section& sec = lexed.section;
    auto& tokens = sec.tokens;
    const auto n = static_cast<std::uint32_t>(tokens.size());
    std::uint32_t bar = kNone, denBegin = kNone;
    for (std::uint32_t s : lexed.slashes) {
        bool before = false;
        for (std::uint32_t j = 0; j < s; ++j) before = before || isDigit(tokens[j]);
        std::uint32_t j = s + 1;
        while (j < n && !isDigit(tokens[j]) && !isDigitLiteral(tokens[j])) ++j;
        if (before && j < n) {
            bar = s;
            denBegin = j;
            break;
        }
    }
    if (bar == kNone) return false;
    sec.kind = SectionKind::Fraction;
    // Numerator: the last run of placeholders before the bar.
    std::uint32_t numEnd = bar;
    while (!isDigit(tokens[numEnd - 1])) --numEnd;
    std::uint32_t numBegin = numEnd - 1;
    while (numBegin > 0 && isDigit(tokens[numBegin - 1])) --numBegin;
    // Denominator: a fixed number, or a run of placeholders.
    std::uint32_t denEnd = denBegin;
    if (isDigitLiteral(tokens[denBegin])) {
        while (denEnd < n && (isDigitLiteral(tokens[denEnd]) ||
                              (isDigit(tokens[denEnd]) && tokens[denEnd].ch == '0'))) {
            const char d = tokens[denEnd].kind == TokenKind::Digit ? '0' : tokens[denEnd].ch;
            if (sec.fixedDenominator < 100000000) {
                sec.fixedDenominator = sec.fixedDenominator * 10 + (d - '0');
            }
            if (isDigit(tokens[denEnd])) makeLiteralAsWritten(sec, tokens[denEnd]);
            ++denEnd;
        }
    } else {
        while (denEnd < n && isDigit(tokens[denEnd])) ++denEnd;
    }
    sec.numeratorBegin = numBegin;
    sec.numeratorEnd = numEnd;
    sec.denominatorBegin = denBegin;
    sec.denominatorEnd = denEnd;
    for (std::uint32_t i = 0; i < n; ++i) {
        Token& t = tokens[i];
        if (t.kind == TokenKind::DecimalPoint || t.kind == TokenKind::Percent ||
            t.kind == TokenKind::Exponent) {
            makeLiteralAsWritten(sec, t);
        }
        if (!isDigit(t)) continue;
        if (i < numBegin) {
            t.role = DigitRole::Integer;
            ++sec.integerDigits;
            sec.integerEnd = i + 1;
        } else if (i < numEnd) {
            t.role = DigitRole::Numerator;
        } else if (i >= denBegin && i < denEnd) {
            t.role = DigitRole::Denominator;
            ++sec.denominatorDigits;
        } else {
            makeLiteralAsWritten(sec, t);
        }
    }
    resolveCommas(lexed, sec.integerEnd, false);
    return true;
}

void layoutLiteralOnly(Section& sec) {
    for (Token& t : sec.tokens) makeLiteralAsWritten(sec, t);
}

}  // namespace

bool layoutSection(LexedSection& lexed) {
    Section& sec = lexed.section;
    if (lexed.hasText) {
        sec.kind = SectionKind::Text;
        layoutLiteralOnly(sec);
        return true;
    }
    if (lexed.hasGeneral) {
        if (lexed.hasDate || lexed.hasDigits) return false;
        sec.kind = SectionKind::General;
        layoutLiteralOnly(sec);
        return true;
    }
    if (lexed.hasDate) {
        sec.kind = SectionKind::DateTime;
        layoutDateTime(sec);
        return true;
    }
    if (lexed.hasDigits) {
        sec.kind = SectionKind::Number;
        if (lexed.hasExponent || !layoutFraction(lexed)) layoutNumber(lexed);
        return true;
    }
    sec.kind = sec.tokens.empty() ? SectionKind::Empty : SectionKind::Literal;
    layoutLiteralOnly(sec);
    return true;
}

}  // namespace tabulon::numfmt
