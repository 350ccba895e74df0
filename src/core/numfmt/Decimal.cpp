// Reduction of a double to 15 significant digits and decimal rounding on the digit string.
#include "core/numfmt/Decimal.h"

#include <charconv>
#include <cstdint>

namespace tabulon::numfmt {

namespace {

// Reads "d.ddde+XX" from to_chars into a Decimal; returns the number of significant digits.
int parseScientific(const char* first, const char* last, Decimal& d) {
    d.count = 0;
    const char* p = first;
    for (; p != last && *p != 'e'; ++p) {
        if (*p != '.') d.digits[d.count++] = *p;
    }
    int exponent = 0;
    if (p != last) {
        const bool negative = p[1] == '-';
        for (p += 2; p != last; ++p) exponent = exponent * 10 + (*p - '0');
        if (negative) exponent = -exponent;
    }
    d.point = exponent + 1;
    const int significant = d.count;
    while (d.count > 0 && d.digits[d.count - 1] == '0') --d.count;
    return significant;
}

}  // namespace

Decimal Decimal::of(double absValue) {
    Decimal d;
    if (absValue == 0.0) return d;
    // Whole numbers below 10^15 (dates, counts) are exact: write their digits directly.
    if (absValue < 1e15) {
        const auto whole = static_cast<std::uint64_t>(absValue);
        if (static_cast<double>(whole) == absValue) {
            char reversed[16] = {};
            int n = 0;
            for (std::uint64_t rest = whole; rest != 0; rest /= 10) {
                reversed[n++] = static_cast<char>('0' + rest % 10);
            }
            d.point = n;
            int zeros = 0;
            while (reversed[zeros] == '0') ++zeros;
            for (int i = n - 1; i >= zeros; --i) d.digits[d.count++] = reversed[i];
            return d;
        }
    }
    char buffer[40];
    // The shortest round-trip text is the 15-digit rounding whenever it has 15 digits or fewer:
    // 15-digit decimals lie further apart than two units in the last place of a double.
    auto shortest =
        std::to_chars(buffer, buffer + sizeof buffer, absValue, std::chars_format::scientific);
    if (parseScientific(buffer, shortest.ptr, d) <= 15) return d;
    auto rounded =
        std::to_chars(buffer, buffer + sizeof buffer, absValue, std::chars_format::scientific, 14);
    parseScientific(buffer, rounded.ptr, d);
    return d;
}

void Decimal::roundToPlaces(int places) { roundToKeep(point + places); }

void Decimal::roundToSignificant(int n) { roundToKeep(n); }

void Decimal::roundToKeep(int keep) {
    if (keep >= count) return;
    if (keep < 0) {
        count = 0;
        return;
    }
    const bool up = digits[keep] >= '5';
    count = keep;
    if (up) {
        int i = keep - 1;
        while (i >= 0 && digits[i] == '9') --i;
        if (i >= 0) {
            ++digits[i];
            count = i + 1;
        } else {
            digits[0] = '1';
            count = 1;
            ++point;
        }
    }
    while (count > 0 && digits[count - 1] == '0') --count;
}

}  // namespace tabulon::numfmt
