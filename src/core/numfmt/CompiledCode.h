// The compiled form of a number format code: sections of tokens and the layout facts of each.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace tabulon::numfmt {

enum class TokenKind : std::uint8_t {
    Literal,         // text printed as is (Section::literals at offset/length)
    Digit,           // a 0 # ? placeholder; ch holds the character, role its place in the number
    DecimalPoint,    // the decimal point of a number
    Percent,         // prints "%"; the scaling is in Section::scale
    Exponent,        // E+ / E- of a scientific code; ch = letter as written, width = sign char
    General,         // the General keyword
    TextValue,       // @
    Year2,           // yy
    Year4,           // yyyy (and era years)
    BuddhistYear2,   // b, bb
    BuddhistYear4,   // bbb, bbbb
    Month,           // m, mm (width 1 or 2)
    MonthAbbr,       // mmm
    MonthName,       // mmmm
    MonthLetter,     // mmmmm
    Day,             // d, dd
    DayAbbr,         // ddd
    DayName,         // dddd
    Hour,            // h, hh
    Minute,          // m, mm after an hour or before a second
    Second,          // s, ss
    SubSecond,       // .0 .00 .000
    ElapsedHours,    // [h] [hh] ...
    ElapsedMinutes,  // [m] [mm] ...
    ElapsedSeconds,  // [s] [ss] ...
    AmPm,            // AM/PM
    AP,              // A/P; ch = letter for the morning, width = letter for the afternoon
};

enum class DigitRole : std::uint8_t { Integer, Fraction, Exponent, Numerator, Denominator };

struct Token {
    TokenKind kind = TokenKind::Literal;
    char ch = 0;
    std::uint8_t width = 0;
    DigitRole role = DigitRole::Integer;
    std::uint32_t offset = 0;
    std::uint32_t length = 0;
};

enum class CompareOp : std::uint8_t {
    None,
    Less,
    LessEqual,
    Greater,
    GreaterEqual,
    Equal,
    NotEqual
};

struct Condition {
    CompareOp op = CompareOp::None;
    double operand = 0.0;

    bool present() const { return op != CompareOp::None; }
    bool holds(double v) const;
    // True when only negative values can satisfy the condition.
    bool onlyNegatives() const;
};

enum class SectionKind : std::uint8_t {
    Empty,       // prints nothing
    General,     // General, possibly with literals around it
    Number,      // digit placeholders
    Scientific,  // digit placeholders with an exponent
    Fraction,    // numerator / denominator
    DateTime,    // date and time parts
    Literal,     // literals only: the value itself is not shown
    Text,        // holds @: the text section
};

struct Section {
    SectionKind kind = SectionKind::Empty;
    Condition condition;
    std::vector<Token> tokens;
    std::string literals;

    // Numbers, scientific and fractions.
    int integerDigits = 0;   // integer (or mantissa, or whole-number) placeholders
    int fractionDigits = 0;  // placeholders after the decimal point
    int exponentDigits = 0;  // placeholders of a scientific exponent
    int scale = 0;           // power of ten applied before rounding (percent, scaling commas)
    bool grouping = false;   // thousands separators in the integer part

    // Fractions: token ranges [begin, end) and a fixed denominator (0 when given by placeholders).
    std::uint32_t numeratorBegin = 0, numeratorEnd = 0;
    std::uint32_t denominatorBegin = 0, denominatorEnd = 0;
    std::uint32_t integerEnd = 0;  // one past the last whole-number placeholder
    int denominatorDigits = 0;
    std::int64_t fixedDenominator = 0;

    // Dates and times.
    int subSecondDigits = 0;
    bool twelveHour = false;
    bool elapsedHours = false, elapsedMinutes = false, elapsedSeconds = false;

    std::string_view literal(const Token& t) const {
        return std::string_view(literals).substr(t.offset, t.length);
    }
};

// Appends literal text; single characters, the common case, skip the copy routine.
inline void appendLiteral(std::string& out, std::string_view text) {
    if (text.size() == 1) {
        out.push_back(text[0]);
    } else {
        out.append(text);
    }
}

struct CompiledCode {
    bool valid = false;  // false: the code renders like General
    bool conditional = false;
    bool dateTime = false;
    std::vector<Section> sections;  // numeric sections first, then the text section if any
    int numericCount = 0;
    int textSection = -1;
};

}  // namespace tabulon::numfmt
