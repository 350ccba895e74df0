// Reduction of a double to 15 significant digits and decimal rounding on the digit string.
#include "core/numfmt/Decimal.h"

#include <array>
#include <bit>
#include <charconv>
#include <cstdint>

namespace tabulon::numfmt {

namespace {

constexpr std::uint64_t kTen14 = 100000000000000;
constexpr std::uint64_t kTen15 = 1000000000000000;

// 5^0 ... 5^27, the powers that fit in 64 bits.
constexpr auto kPowersOfFive = [] {
    std::array<std::uint64_t, 28> powers{};
    powers[0] = 1;
    for (std::size_t i = 1; i < powers.size(); ++i) powers[i] = powers[i - 1] * 5;
    return powers;
}();

// An unsigned 128-bit integer, as the product of two 64-bit ones.
struct Wide {
    std::uint64_t high;
    std::uint64_t low;

    bool bit(int i) const { return ((i < 64 ? low >> i : high >> (i - 64)) & 1) != 0; }
    // True when any of the bits 0 ... n-1 is set (0 <= n < 128).
    bool anyBitBelow(int n) const {
        if (n < 64) return (low & ((std::uint64_t{1} << n) - 1)) != 0;
        return low != 0 || (high & ((std::uint64_t{1} << (n - 64)) - 1)) != 0;
    }
};

Wide multiply(std::uint64_t a, std::uint64_t b) {
    const std::uint64_t aLow = a & 0xffffffff, aHigh = a >> 32;
    const std::uint64_t bLow = b & 0xffffffff, bHigh = b >> 32;
    const std::uint64_t ll = aLow * bLow, lh = aLow * bHigh, hl = aHigh * bLow, hh = aHigh * bHigh;
    const std::uint64_t middle = (ll >> 32) + (lh & 0xffffffff) + (hl & 0xffffffff);
    return {hh + (lh >> 32) + (hl >> 32) + (middle >> 32), (middle << 32) | (ll & 0xffffffff)};
}

// floor(log10(2^e)) for |e| < 1650.
int floorLog10OfPowerOfTwo(int e) { return (e * 78913) >> 18; }

// Writes n (0 < n < 10^16) as the digits of d, trailing zeros dropped; returns the number of
// digits of n. d.point is left as is.
int setDigits(std::uint64_t n, Decimal& d) {
    char text[16] = {};
    char* end = text + sizeof text;
    char* p = end;
    for (; n != 0; n /= 10) *--p = static_cast<char>('0' + n % 10);
    while (end[-1] == '0') --end;
    d.count = static_cast<int>(end - p);
    for (int i = 0; i < d.count; ++i) d.digits[i] = p[i];
    return static_cast<int>(text + sizeof text - p);
}

// The 15-digit rounding of v = m x 2^e by exact integer arithmetic: round(v x 10^k) for the k
// that gives 15 digits, ties to even. False when v lies outside the range this covers
// (10^-13 <= v < 10^15, normal doubles).
bool reduceExactly(double v, Decimal& d) {
    const auto bits = std::bit_cast<std::uint64_t>(v);
    const auto biasedExponent = static_cast<int>(bits >> 52);
    if (biasedExponent == 0) return false;  // subnormal
    const std::uint64_t m = (bits & ((std::uint64_t{1} << 52) - 1)) | (std::uint64_t{1} << 52);
    const int e = biasedExponent - 1075;
    // 10^p <= v for p = floorLog10OfPowerOfTwo(...), and v < 10^(p + 2): try k = 14 - p, then
    // one less when v x 10^k reaches 15 digits.
    for (int k = 14 - floorLog10OfPowerOfTwo(biasedExponent - 1023), tries = 0; tries < 2;
         ++tries, --k) {
        if (k < 0 || k >= static_cast<int>(kPowersOfFive.size())) return false;
        const int shift = -(e + k);  // v x 10^k = m x 5^k / 2^shift
        if (shift < 1 || shift > 127) return false;
        const Wide x = multiply(m, kPowersOfFive[static_cast<std::size_t>(k)]);
        std::uint64_t whole = 0;
        if (shift < 64) {
            if ((x.high >> shift) != 0) continue;
            whole = (x.low >> shift) | (x.high << (64 - shift));
        } else {
            whole = x.high >> (shift - 64);
        }
        if (whole >= kTen15) continue;
        if (whole < kTen14) return false;
        if (x.bit(shift - 1) && (x.anyBitBelow(shift - 1) || (whole & 1) != 0)) ++whole;
        d.point = 15 - k;
        if (whole == kTen15) {  // 99...9.5 rounded up to the next power of ten
            whole = kTen14;
            ++d.point;
        }
        setDigits(whole, d);
        return true;
    }
    return false;
}

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
    if (absValue < 1e15) {
        // Whole numbers below 10^15 (dates, counts) are exact: write their digits directly.
        const auto whole = static_cast<std::uint64_t>(absValue);
        if (static_cast<double>(whole) == absValue) {
            d.point = setDigits(whole, d);
            return d;
        }
        if (reduceExactly(absValue, d)) return d;
    }
    return ofText(absValue);
}

Decimal Decimal::ofText(double absValue) {
    Decimal d;
    if (absValue == 0.0) return d;
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
