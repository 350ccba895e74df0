// Placeholder filling shared by plain numbers, mantissas, exponents and fractions.
#include "core/numfmt/DigitFill.h"

namespace tabulon::numfmt {

// position: 0 = units, 1 = tens, ...
void DigitFill::digit(int position, std::string& out) const {
    const int index = length_ - 1 - position;
    out.push_back(index < stored_ ? digits_[index] : '0');
    separator(position, ',', out);
}

void DigitFill::separator(int position, char sep, std::string& out) const {
    if (grouping_ && position > 0 && position % 3 == 0) out.push_back(sep);
}

void DigitFill::placeholder(char ch, std::string& out) {
    const int position = placeholders_ - 1 - next_;
    if (next_ == 0) {
        for (int p = length_ - 1; p >= placeholders_; --p) digit(p, out);
    }
    ++next_;
    if (position < length_) {
        digit(position, out);
        return;
    }
    if (zeroPad_ || (zeroInLast_ && position == 0)) ch = '0';
    if (ch == '0') {
        out.push_back('0');
        separator(position, ',', out);
    } else if (ch == '?') {
        out.push_back(' ');
        separator(position, ' ', out);
    }
}

void DigitFill::all(std::string& out) {
    for (int p = length_ - 1; p >= 0; --p) digit(p, out);
}

DecimalPlaces::DecimalPlaces(const Decimal& d, int placeholders) : d_(d) {
    for (int k = placeholders; k >= 1; --k) {
        if (d.fractionDigit(k) != '0') {
            lastNonZero_ = k;
            break;
        }
    }
}

void DecimalPlaces::placeholder(char ch, std::string& out) {
    if (++next_ <= lastNonZero_ || ch == '0') {
        out.push_back(d_.fractionDigit(next_));
    } else if (ch == '?') {
        out.push_back(' ');
    }
}

}  // namespace tabulon::numfmt
