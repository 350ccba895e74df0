// Reduction of a double to 15 significant digits and decimal rounding on the digit string.
#include "core/numfmt/Decimal.h"

#include <array>
#include <bit>
#include <charconv>
#include <cstdint>
#include <cstring>

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

// "00" "01" ... "99": two digits per division.
constexpr auto kDigitPairs = [] {
    std::array<char, 200> pairs{};
    for (std::size_t i = 0; i < 100; ++i) {
        pairs[2 * i] = static_cast<char>('0' + i / 10);
        pairs[2 * i + 1] = static_cast<char>('0' + i % 10);
    }
    return pairs;
}();

// Writes v (< 10^8) as exactly eight digits.
void writeEightDigits(std::uint32_t v, char* out) {
    for (int i = 6; i >= 0; i -= 2, v /= 100) {
        const std::size_t pair = 2 * (v % 100);
        out[i] = kDigitPairs[pair];
        out[i + 1] = kDigitPairs[pair + 1];
    }
}

// Writes n (0 < n < 10^16) as the digits of d, trailing zeros dropped; returns the number of
// digits of n. d.point is left as is.
int setDigits(std::uint64_t n, Decimal& d) {
    constexpr std::uint64_t kTen8 = 100000000;
    char text[16];
    int first = 8;
    if (n >= kTen8) {
        writeEightDigits(static_cast<std::uint32_t>(n / kTen8), text);
        first = 0;
    }
    writeEightDigits(static_cast<std::uint32_t>(n % kTen8), text + 8);
    while (text[first] == '0') ++first;
    int last = 16;
    while (text[last - 1] == '0') --last;
    d.count = last - first;
    std::memcpy(d.digits, text + first, static_cast<std::size_t>(d.count));
    return 16 - first;
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

bool reduceToInteger(double absValue, std::uint64_t& significand, int& scale) {
    if (!(absValue > 0.0 && absValue < 1e15)) return false;
    // Whole numbers below 10^15 (dates, counts) are exact.
    const auto whole = static_cast<std::uint64_t>(absValue);
    if (static_cast<double>(whole) == absValue) {
        significand = whole;
        scale = 0;
        return true;
    }
    // round(v x 10^k) for the k that gives 15 digits, v = m x 2^e: exact integer arithmetic.
    const auto bits = std::bit_cast<std::uint64_t>(absValue);
    const auto biasedExponent = static_cast<int>(bits >> 52);
    if (biasedExponent == 0) return false;  // subnormal
    const std::uint64_t m = (bits & ((std::uint64_t{1} << 52) - 1)) | (std::uint64_t{1} << 52);
    const int e = biasedExponent - 1075;
    // 10^p <= v < 10^(p + 2) for p = floorLog10OfPowerOfTwo(...): try k = 14 - p, then one less
    // when v x 10^k reaches 15 digits.
    for (int k = 14 - floorLog10OfPowerOfTwo(biasedExponent - 1023), tries = 0; tries < 2;
         ++tries, --k) {
        if (k < 0 || k >= static_cast<int>(kPowersOfFive.size())) return false;
        const int shift = -(e + k);  // v x 10^k = m x 5^k / 2^shift
        if (shift < 1 || shift > 127) return false;
        const Wide x = multiply(m, kPowersOfFive[static_cast<std::size_t>(k)]);
        std::uint64_t n = 0;
        if (shift < 64) {
            if ((x.high >> shift) != 0) continue;
            n = (x.low >> shift) | (x.high << (64 - shift));
        } else {
            n = x.high >> (shift - 64);
        }
        if (n >= kTen15) continue;
        if (n < kTen14) return false;
        // Round half to even on the bits shifted out.
        if (x.bit(shift - 1) && (x.anyBitBelow(shift - 1) || (n & 1) != 0)) ++n;
        scale = k;
        if (n == kTen15) {  // 99...9.5 rounded up to the next power of ten: one digit less
            if (k == 0) return false;  // 10^15 itself is out of range
            n = kTen14;
            --scale;
        }
        significand = n;
        return true;
    }
    return false;
}

Decimal Decimal::of(double absValue) {
    std::uint64_t significand = 0;
    int scale = 0;
    if (!reduceToInteger(absValue, significand, scale)) return ofText(absValue);
    Decimal d;
    d.point = setDigits(significand, d) - scale;
    return d;
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
