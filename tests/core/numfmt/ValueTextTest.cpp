// Value to text for the row and column modes, and as stored.
#include <gtest/gtest.h>

#include <cstdlib>
#include <optional>
#include <string>

#include "core/numfmt/ValueText.h"

namespace tabulon::numfmt {
namespace {

TEST(NumberValueText, FifteenDigitsPlainInRange) {
    EXPECT_EQ(numberValueText(0), "0");
    EXPECT_EQ(numberValueText(-0.0), "0");
    EXPECT_EQ(numberValueText(0.1 + 0.2), "0.3");
    EXPECT_EQ(numberValueText(1234.5), "1234.5");
    EXPECT_EQ(numberValueText(-42), "-42");
    EXPECT_EQ(numberValueText(123456789012345.0), "123456789012345");
    EXPECT_EQ(numberValueText(1.0 / 3), "0.333333333333333");
    EXPECT_EQ(numberValueText(0.00001), "0.00001");
    EXPECT_EQ(numberValueText(100), "100");
}

TEST(NumberValueText, ScientificOutOfRange) {
    EXPECT_EQ(numberValueText(1e15), "1E+15");
    EXPECT_EQ(numberValueText(1.5e-7), "1.5E-07");
    EXPECT_EQ(numberValueText(-1.23456789012345678e20), "-1.23456789012346E+20");
    EXPECT_EQ(numberValueText(0.0000099), "9.9E-06");
    EXPECT_EQ(numberValueText(1e100), "1E+100");
}

TEST(DateValueText, DateTimeOrBoth) {
    EXPECT_EQ(dateValueText(45000, false), "3/15/2023");
    EXPECT_EQ(dateValueText(0.75, false), "6:00:00 PM");
    EXPECT_EQ(dateValueText(0, false), "12:00:00 AM");
    EXPECT_EQ(dateValueText(45000.5, false), "3/15/2023 12:00:00 PM");
    EXPECT_EQ(dateValueText(0, true), "12:00:00 AM");
    EXPECT_EQ(dateValueText(1, true), "1/2/1904");
    EXPECT_EQ(dateValueText(45000.99999999, false), "3/16/2023");  // rounds to midnight
}

TEST(ShortestNumberText, ReadsBackToTheSameDoubleInJavaScriptsNotation) {
    const std::pair<double, const char*> cases[] = {
        {0.1 + 0.2, "0.30000000000000004"},
        {-0.0, "0"},
        {7897, "7897"},
        {12345678901234.0, "12345678901234"},
        {123456789012345680000.0, "123456789012345680000"},  // below 1e21: plain
        {1e21, "1e+21"},
        {-1.5e300, "-1.5e+300"},
        {0.000001, "0.000001"},
        {1.5e-7, "1.5e-7"},
        {5e-324, "5e-324"},
        {2.5, "2.5"},
    };
    for (const auto& [value, text] : cases) {
        EXPECT_EQ(shortestNumberText(value), text);
        EXPECT_EQ(std::strtod(text, nullptr), value) << text;
    }
}

TEST(IsoDateTimeText, DateTimeOrBothInEitherSystemAndNothingForNoDay) {
    const struct {
        double serial;
        bool date1904;
        std::optional<std::string> text;
    } cases[] = {
        {45000, false, "2023-03-15"},
        {45351.573263888889, false, "2024-02-29T13:45:30"},
        {0.573263888889, false, "13:45:30"},
        {0, false, "00:00:00"},
        {0.5 + 0.25 / 86400, false, "12:00:00.25"},  // the fraction without trailing zeros
        {45000.999999999, false, "2023-03-16"},      // rounds to the next midnight
        {45000.99999999, false, "2023-03-15T23:59:59.999"},
        {59, false, "1900-02-28"},
        {61, false, "1900-03-01"},
        {1, false, "1900-01-01"},
        {43538, true, "2023-03-15"},  // the same day in the 1904 system
        {1, true, "1904-01-02"},
        {60, false, std::nullopt},  // 29 February 1900 never was
        {60.5, false, std::nullopt},
        {-1, false, std::nullopt},
        {2958466, false, std::nullopt},  // past 9999-12-31
        {2958465.5, false, "9999-12-31T12:00:00"},
    };
    for (const auto& c : cases)
        EXPECT_EQ(isoDateTimeText(c.serial, c.date1904), c.text) << c.serial << " " << c.date1904;
}

}  // namespace
}  // namespace tabulon::numfmt
