// Laying digits into runs of 0 # ? placeholders, left to right: whole numbers and decimal places.
#pragma once

#include <string>

#include "core/numfmt/Decimal.h"

namespace tabulon::numfmt {

// The digits fill the placeholders from the right; surplus digits all go to the leftmost one.
// A placeholder without a digit prints '0' for 0, a space for ?, nothing for #.
class DigitFill {
  public:
    // `length` digits of which the first `stored` are in `digits` and the rest are zeros.
    DigitFill(const char* digits, int stored, int length, int placeholders, bool grouping)
        : digits_(digits),
          stored_(stored),
          length_(length),
          placeholders_(placeholders),
          grouping_(grouping) {}

    // Emits the next placeholder (left to right) with character ch.
    void placeholder(char ch, std::string& out);
    // Emits every digit where there are no placeholders at all.
    void all(std::string& out);
    // Makes every placeholder without a digit print '0' (a zero mantissa).
    void padWithZeros() { zeroPad_ = true; }
    // Makes the last placeholder print '0' when it has no digit, whatever its kind.
    void zeroInLast() { zeroInLast_ = true; }

  private:
    void digit(int position, std::string& out) const;
    void separator(int position, char sep, std::string& out) const;

    const char* digits_;
    int stored_;
    int length_;
    int placeholders_;
    bool grouping_;
    bool zeroPad_ = false;
    bool zeroInLast_ = false;
    int next_ = 0;
};

// The digits after the decimal point; trailing zeros show only under 0 (as 0) and ? (a space).
class DecimalPlaces {
  public:
    DecimalPlaces(const Decimal& d, int placeholders);
    void placeholder(char ch, std::string& out);

  private:
    const Decimal& d_;
    int lastNonZero_ = 0;
    int next_ = 0;
};

}  // namespace tabulon::numfmt
