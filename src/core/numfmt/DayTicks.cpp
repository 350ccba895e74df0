// Day serials to ticks: integer arithmetic on the 15-digit significand, digit by digit beyond.
#include "core/numfmt/DayTicks.h"

#include <array>
#include <limits>

namespace tabulon::numfmt {

namespace {

constexpr std::int64_t kTooLarge = 100000000;  // 10^8 days: far past the last date

// 10^0 ... 10^18.
constexpr auto kPowersOfTen = [] {
    std::array<std::uint64_t, 19> powers{};
    powers[0] = 1;
    for (std::size_t i = 1; i < powers.size(); ++i) powers[i] = powers[i - 1] * 10;
    return powers;
}();

}  // namespace

std::int64_t ticksOf(double absValue, std::int64_t ticksPerDay) {
    std::uint64_t significand = 0;
    int scale = 0;
    if (reduceToInteger(absValue, significand, scale) &&
        scale < static_cast<int>(kPowersOfTen.size())) {
        // value = whole + fraction / unit, exactly.
        const std::uint64_t unit = kPowersOfTen[static_cast<std::size_t>(scale)];
        const std::uint64_t whole = significand / unit, fraction = significand % unit;
        if (whole >= kTooLarge) return -1;
        const auto perDay = static_cast<std::uint64_t>(ticksPerDay);
        if (fraction <= (std::numeric_limits<std::uint64_t>::max() - unit / 2) / perDay) {
            return static_cast<std::int64_t>(whole * perDay +
                                             (fraction * perDay + unit / 2) / unit);
        }
    }
    return ticksOfDecimal(Decimal::of(absValue), ticksPerDay);
}

std::int64_t ticksOfDecimal(const Decimal& d, std::int64_t ticksPerDay) {
    if (d.point > 8) return -1;
    std::int64_t whole = 0;
    for (int i = 0; i < d.point; ++i) whole = whole * 10 + (d.at(i) - '0');
    const int places = d.count - d.point;  // digits after the decimal point
    if (places <= 0) return whole * ticksPerDay;
    if (places <= 10) {
        // fraction x ticksPerDay < 10^10 x 8.64e7 fits in 64 bits: exact integer arithmetic.
        std::int64_t fraction = 0, scale = 1;
        for (int i = d.point; i < d.count; ++i) {
            fraction = fraction * 10 + (d.at(i) - '0');
            scale *= 10;
        }
        return whole * ticksPerDay + (fraction * ticksPerDay + scale / 2) / scale;
    }
    if (d.point < -12) return whole * ticksPerDay;  // far below one tick
    // Long multiplication from the last digit: the final carry is the whole part of the
    // product, the last digit written decides the rounding.
    std::int64_t carry = 0;
    int firstFractionDigit = 0;
    for (int i = d.count - 1; i >= d.point; --i) {
        const std::int64_t v = (d.at(i) - '0') * ticksPerDay + carry;
        firstFractionDigit = static_cast<int>(v % 10);
        carry = v / 10;
    }
    return whole * ticksPerDay + carry + (firstFractionDigit >= 5 ? 1 : 0);
}

}  // namespace tabulon::numfmt
