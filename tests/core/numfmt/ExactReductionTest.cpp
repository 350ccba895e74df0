// The integer fast paths (15-digit reduction, day ticks) agree with the digit-string paths.
#include <gtest/gtest.h>

#include <charconv>
#include <cmath>
#include <cstdint>
#include <random>
#include <string>
#include <vector>

#include "core/numfmt/DayTicks.h"
#include "core/numfmt/Decimal.h"

namespace tabulon::numfmt {
namespace {

std::string shortest(double v) {
    char buffer[32];
    return std::string(buffer, std::to_chars(buffer, buffer + sizeof buffer, v).ptr);
}

std::string text(const Decimal& d) {
    if (d.isZero()) return "0";
    return "0." + std::string(d.digits, static_cast<std::size_t>(d.count)) + "e" +
           std::to_string(d.point);
}

// 15-digit decimals with a last digit 5 at the 16th place: exact ties when the double holds them.
void addTies(std::mt19937_64& random, std::vector<double>& values) {
    const std::uint64_t n = 100000000000000 + random() % 900000000000000;
    for (int places = 0; places <= 20; ++places) {
        const double v = static_cast<double>(n * 10 + 5) / std::pow(10.0, places + 1);
        values.insert(values.end(), {v, std::nextafter(v, 0.0), std::nextafter(v, 1e300)});
    }
}

// A deterministic spread: random doubles over 10^-16 ... 10^17, money, fractions of a day,
// dates, times near a second's rounding boundary, ties, powers of ten and their neighbours.
std::vector<double> spread() {
    std::mt19937_64 random(20240607);
    std::vector<double> values = {0.0,
                                  60.0,
                                  61.0,
                                  1462.0,
                                  2958465.0,
                                  2958465.9999999,
                                  1e15,
                                  999999999999999.9,
                                  99999999.999999999,
                                  0.1 + 0.2,
                                  2.675,
                                  5e-324,
                                  2.2250738585072014e-308,
                                  1e-300,
                                  1e300};
    for (double p = 1e-16; p < 1e17; p *= 10) {
        values.insert(values.end(), {p, std::nextafter(p, 0.0), std::nextafter(p, 1e300),
                                     p * 0.99999999999999995});
    }
    for (int i = 0; i < 200000; ++i) {
        const double mantissa = 1.0 + static_cast<double>(random() >> 12) / 4503599627370496.0;
        values.push_back(std::ldexp(mantissa, static_cast<int>(random() % 110) - 56));
        values.push_back(static_cast<double>(random() % 100000000) / 100.0);
        values.push_back(static_cast<double>(random() % 3000000) +
                         static_cast<double>(random() % 86400) / 86400.0);
        // h:59:59.9995 and the like: half a millisecond either side of a second.
        const double second = static_cast<double>(random() % 86400 + 1) / 86400.0;
        values.insert(values.end(), {second - 0.0005 / 86400, second - 0.00049 / 86400,
                                     second - 0.00051 / 86400, second - 0.5 / 86400});
        if (i % 20 == 0) addTies(random, values);
    }
    return values;
}

TEST(ExactReduction, IntegerArithmeticMatchesTheShortestText) {
    int mismatches = 0;
    for (double v : spread()) {
        const std::string fast = text(Decimal::of(v)), general = text(Decimal::ofText(v));
        if (fast != general && ++mismatches <= 10) {
            ADD_FAILURE() << "value " << shortest(v) << ": " << fast << " vs " << general;
        }
    }
    EXPECT_EQ(mismatches, 0);
}

TEST(ExactReduction, TiesRoundToEvenAndCarryIntoTheNextPower) {
    EXPECT_EQ(text(Decimal::of(123456789012344.5)), "0.123456789012344e15");
    EXPECT_EQ(text(Decimal::of(123456789012345.5)), "0.123456789012346e15");
    EXPECT_EQ(text(Decimal::of(99999999999999.99)), "0.1e15");
    EXPECT_EQ(text(Decimal::of(0.1 + 0.2)), "0.3e0");
    EXPECT_EQ(text(Decimal::of(2.675)), "0.2675e1");
}

TEST(ExactReduction, DayTicksMatchTheDigitPath) {
    const std::int64_t ticksPerDay[] = {86400, 864000, 8640000, 86400000};
    int mismatches = 0;
    for (double v : spread()) {
        for (const std::int64_t perDay : ticksPerDay) {
            const std::int64_t fast = ticksOf(v, perDay);
            const std::int64_t general = ticksOfDecimal(Decimal::ofText(v), perDay);
            if (fast != general && ++mismatches <= 10) {
                ADD_FAILURE() << "value " << shortest(v) << " at " << perDay
                              << " ticks a day: " << fast << " vs " << general;
            }
        }
    }
    EXPECT_EQ(mismatches, 0);
}

TEST(ExactReduction, DayTicksRoundHalfUpAndStopAtTenToTheEighthDays) {
    EXPECT_EQ(ticksOf(0.5, 86400), 43200);
    EXPECT_EQ(ticksOf(1.0 - 0.5 / 86400, 86400), 86400);  // 23:59:59.5 shows the next day
    EXPECT_EQ(ticksOf(1.0 - 0.0005 / 86400, 86400000), 86400000);
    EXPECT_EQ(ticksOf(60.0, 86400), 60 * 86400);
    EXPECT_EQ(ticksOf(99999999.0, 1), 99999999);
    EXPECT_EQ(ticksOf(100000000.0, 1), -1);
    EXPECT_EQ(ticksOf(1e-14, 86400000), 0);
}

}  // namespace
}  // namespace tabulon::numfmt
