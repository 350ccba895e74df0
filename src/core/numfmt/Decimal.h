// A non-negative number as at most 15 significant decimal digits: where every renderer starts.
#pragma once

#include <cstdint>

namespace tabulon::numfmt {

// value = 0.d1 d2 ... dn x 10^point; no leading or trailing zero digits; count 0 means zero.
struct Decimal {
    char digits[24];
    int count = 0;
    int point = 0;

    // The value rounded to 15 significant digits (ties to even); absValue must be finite and >= 0.
    static Decimal of(double absValue);
    // The same through the shortest round-trip text of the double: slower, for any finite value.
    static Decimal ofText(double absValue);

    bool isZero() const { return count == 0; }
    // Number of digits before the decimal point (0 for values below 1).
    int integerCount() const { return count == 0 || point < 0 ? 0 : point; }
    // The digit at index i (0 = first significant digit); '0' outside the stored digits.
    char at(int i) const { return i >= 0 && i < count ? digits[i] : '0'; }
    // The k-th digit after the decimal point (k >= 1).
    char fractionDigit(int k) const { return at(point + k - 1); }
    // Multiplies by 10^power.
    void shift(int power) {
        if (count != 0) point += power;
    }
    // Rounds half away from zero to `places` digits after the decimal point (may be negative).
    void roundToPlaces(int places);
    // Rounds half away from zero to n significant digits.
    void roundToSignificant(int n);

  private:
    void roundToKeep(int keep);
};

// The 15-digit rounding of absValue (ties to even) as significand x 10^-scale, by integer
// arithmetic: significand < 10^15, scale >= 0. False for zero, subnormals and values outside
// 1e-13 <= absValue < 1e15, which Decimal::of handles through the text of the double.
bool reduceToInteger(double absValue, std::uint64_t& significand, int& scale);

}  // namespace tabulon::numfmt
