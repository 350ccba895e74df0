// Splitting a format code into sections and lexing each section into tokens.
#include "core/numfmt/FormatLexer.h"

#include <cctype>
#include <charconv>

namespace tabulon::numfmt {

namespace {

// Length of the UTF-8 sequence that starts with byte c (1 for stray continuation bytes).
std::size_t codePointLength(unsigned char c) {
    if (c >= 0xF0) return 4;
    if (c >= 0xE0) return 3;
    if (c >= 0xC0) return 2;
    return 1;
}

char lower(char c) { return static_cast<char>(std::tolower(static_cast<unsigned char>(c))); }

bool startsWithNoCase(std::string_view text, std::size_t at, std::string_view word) {
    if (text.size() - at < word.size()) return false;
    for (std::size_t i = 0; i < word.size(); ++i) {
        if (lower(text[at + i]) != lower(word[i])) return false;
    }
    return true;
}

class Lexer {
  public:
    Lexer(std::string_view text, LexedSection& out) : text_(text), out_(out) {}

    bool run();

  private:
    void literal(std::string_view s);
    void single(TokenKind kind, char ch = 0, std::uint8_t width = 0);
    void singleLiteral(char ch, std::vector<std::uint32_t>* index);
    bool bracket();
    void dateRun(char letter, std::size_t length);
    std::size_t runLength(std::size_t at) const;

    std::string_view text_;
    LexedSection& out_;
    std::size_t pos_ = 0;
    bool lastLiteralOpen_ = false;  // the last token is a literal that may grow
};

void Lexer::literal(std::string_view s) {
    Section& sec = out_.section;
    if (s.empty()) return;
    if (lastLiteralOpen_) {
        sec.tokens.back().length += static_cast<std::uint32_t>(s.size());
    } else {
        Token t;
        t.offset = static_cast<std::uint32_t>(sec.literals.size());
        t.length = static_cast<std::uint32_t>(s.size());
        sec.tokens.push_back(t);
        lastLiteralOpen_ = true;
    }
    sec.literals.append(s);
}

void Lexer::single(TokenKind kind, char ch, std::uint8_t width) {
    Token t;
    t.kind = kind;
    t.ch = ch;
    t.width = width;
    out_.section.tokens.push_back(t);
    lastLiteralOpen_ = false;
}

void Lexer::singleLiteral(char ch, std::vector<std::uint32_t>* index) {
    Section& sec = out_.section;
    if (index) index->push_back(static_cast<std::uint32_t>(sec.tokens.size()));
    Token t;
    t.ch = ch;
    t.offset = static_cast<std::uint32_t>(sec.literals.size());
    t.length = 1;
    sec.literals.push_back(ch);
    sec.tokens.push_back(t);
    lastLiteralOpen_ = false;
}

std::size_t Lexer::runLength(std::size_t at) const {
    const char c = lower(text_[at]);
    std::size_t n = 1;
    while (at + n < text_.size() && lower(text_[at + n]) == c) ++n;
    return n;
}

void Lexer::dateRun(char letter, std::size_t n) {
    const auto width = static_cast<std::uint8_t>(n > 255 ? 255 : n);
    out_.hasDate = true;
    switch (letter) {
        case 'y':
            single(n <= 2 ? TokenKind::Year2 : TokenKind::Year4);
            break;
        case 'e':
            single(TokenKind::Year4);
            break;
        case 'b':
            single(n <= 2 ? TokenKind::BuddhistYear2 : TokenKind::BuddhistYear4);
            break;
        case 'm':
            if (n <= 2) {
                single(TokenKind::Month, 0, width);
            } else if (n == 3) {
                single(TokenKind::MonthAbbr);
            } else if (n == 5) {
                single(TokenKind::MonthLetter);
            } else {
                single(TokenKind::MonthName);
            }
            break;
        case 'd':
            single(n <= 2   ? TokenKind::Day
                   : n == 3 ? TokenKind::DayAbbr
                            : TokenKind::DayName,
                   0, width);
            break;
        case 'h':
            single(TokenKind::Hour, 0, static_cast<std::uint8_t>(n >= 2 ? 2 : 1));
            break;
        case 's':
            single(TokenKind::Second, 0, static_cast<std::uint8_t>(n >= 2 ? 2 : 1));
            break;
        default:  // g: the era name, empty for the Gregorian calendar
            lastLiteralOpen_ = false;
            break;
    }
}

// Reads a [...] tag at pos_ ('['); returns false when it is not closed.
bool Lexer::bracket() {
    const std::size_t close = text_.find(']', pos_ + 1);
    if (close == std::string_view::npos) return false;
    const std::string_view tag = text_.substr(pos_ + 1, close - pos_ - 1);
    pos_ = close + 1;
    if (tag.empty()) return true;
    const char first = tag[0];
    if (first == '$') {
        // [$sym-lcid]: the currency text up to the first '-'; the locale does not change text.
        const std::size_t dash = tag.find('-');
        literal(tag.substr(1, dash == std::string_view::npos ? dash : dash - 1));
        return true;
    }
    if (first == '<' || first == '>' || first == '=') {
        Condition& c = out_.section.condition;
        std::size_t i = 1;
        if (first == '<' && tag.size() > 1 && tag[1] == '=') {
            c.op = CompareOp::LessEqual, i = 2;
        } else if (first == '<' && tag.size() > 1 && tag[1] == '>') {
            c.op = CompareOp::NotEqual, i = 2;
        } else if (first == '>' && tag.size() > 1 && tag[1] == '=') {
            c.op = CompareOp::GreaterEqual, i = 2;
        } else {
            c.op = first == '<'   ? CompareOp::Less
                   : first == '>' ? CompareOp::Greater
                                  : CompareOp::Equal;
        }
        while (i < tag.size() && tag[i] == ' ') ++i;
        const char* begin = tag.data() + i;
        const char* end = tag.data() + tag.size();
        if (begin != end && *begin == '+') ++begin;
        if (std::from_chars(begin, end, c.operand).ec != std::errc()) c.op = CompareOp::None;
        return true;
    }
    const char unit = lower(first);
    if (unit == 'h' || unit == 'm' || unit == 's') {
        bool same = true;
        for (char ch : tag) same = same && lower(ch) == unit;
        if (same) {
            out_.hasDate = true;
            const auto width = static_cast<std::uint8_t>(tag.size() > 255 ? 255 : tag.size());
            single(unit == 'h'   ? TokenKind::ElapsedHours
                   : unit == 'm' ? TokenKind::ElapsedMinutes
                                 : TokenKind::ElapsedSeconds,
                   0, width);
        }
    }
    // Colours, [DBNum..], calendars and unknown tags print nothing.
    return true;
}

bool Lexer::run() {
    while (pos_ < text_.size()) {
        const char c = text_[pos_];
        const char lc = lower(c);
        switch (c) {
            case '"': {
                const std::size_t close = text_.find('"', pos_ + 1);
                if (close == std::string_view::npos) return false;
                literal(text_.substr(pos_ + 1, close - pos_ - 1));
                pos_ = close + 1;
                continue;
            }
            case '\\':
            case '_':
            case '*': {
                if (pos_ + 1 >= text_.size()) return false;
                const std::size_t n = codePointLength(static_cast<unsigned char>(text_[pos_ + 1]));
                if (c == '\\') literal(text_.substr(pos_ + 1, n));
                if (c == '_') literal(" ");
                pos_ += 1 + n;  // '*' fills the column: no text
                continue;
            }
            case '[':
                if (!bracket()) return false;
                continue;
            case '0':
            case '#':
            case '?':
                out_.hasDigits = true;
                single(TokenKind::Digit, c);
                break;
            case '.':
                single(TokenKind::DecimalPoint);
                break;
            case '%':
                single(TokenKind::Percent);
                break;
            case ',':
                singleLiteral(c, &out_.commas);
                break;
            case '/':
                singleLiteral(c, &out_.slashes);
                break;
            case '@':
                out_.hasText = true;
                single(TokenKind::TextValue);
                break;
            default:
                if (c >= '1' && c <= '9') {
                    out_.hasBareLiteral = true;
                    singleLiteral(c, nullptr);
                    break;
                }
                if (lc == 'e' && pos_ + 1 < text_.size() &&
                    (text_[pos_ + 1] == '+' || text_[pos_ + 1] == '-')) {
                    out_.hasExponent = true;
                    single(TokenKind::Exponent, c, static_cast<std::uint8_t>(text_[pos_ + 1]));
                    pos_ += 2;
                    continue;
                }
                if (lc == 'g' && startsWithNoCase(text_, pos_, "general")) {
                    out_.hasGeneral = true;
                    single(TokenKind::General);
                    pos_ += 7;
                    continue;
                }
                if (lc == 'a' && startsWithNoCase(text_, pos_, "am/pm")) {
                    out_.hasDate = true;
                    out_.section.twelveHour = true;
                    single(TokenKind::AmPm);
                    pos_ += 5;
                    continue;
                }
                if (lc == 'a' && startsWithNoCase(text_, pos_, "a/p")) {
                    out_.hasDate = true;
                    out_.section.twelveHour = true;
                    single(TokenKind::AP, c, static_cast<std::uint8_t>(text_[pos_ + 2]));
                    pos_ += 3;
                    continue;
                }
                if (lc == 'b' && pos_ + 1 < text_.size() &&
                    (text_[pos_ + 1] == '1' || text_[pos_ + 1] == '2')) {
                    pos_ += 2;  // calendar switch; dates stay Gregorian
                    lastLiteralOpen_ = false;
                    continue;
                }
                if (lc == 'y' || lc == 'm' || lc == 'd' || lc == 'h' || lc == 's' || lc == 'e' ||
                    lc == 'g' || lc == 'b') {
                    const std::size_t n = runLength(pos_);
                    dateRun(lc, n);
                    pos_ += n;
                    continue;
                }
                {
                    const std::size_t n = codePointLength(static_cast<unsigned char>(c));
                    out_.hasBareLiteral = true;
                    literal(text_.substr(pos_, n));
                    pos_ += n;
                }
                continue;
        }
        ++pos_;
    }
    return true;
}

}  // namespace

bool splitSections(std::string_view code, std::vector<std::string_view>& sections) {
    std::size_t start = 0;
    std::size_t i = 0;
    while (i < code.size()) {
        const char c = code[i];
        if (c == '"') {
            const std::size_t close = code.find('"', i + 1);
            if (close == std::string_view::npos) return false;
            i = close + 1;
        } else if (c == '[') {
            const std::size_t close = code.find(']', i + 1);
            if (close == std::string_view::npos) return false;
            i = close + 1;
        } else if (c == '\\' || c == '_' || c == '*') {
            i += 2;
        } else if (c == ';') {
            sections.push_back(code.substr(start, i - start));
            start = ++i;
        } else {
            ++i;
        }
    }
    sections.push_back(code.substr(start < code.size() ? start : code.size()));
    return true;
}

bool lexSection(std::string_view text, LexedSection& out) { return Lexer(text, out).run(); }

}  // namespace tabulon::numfmt
