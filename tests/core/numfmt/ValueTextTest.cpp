// Value to text for the row and column modes.
#include <gtest/gtest.h>

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

}  // namespace
}  // namespace tabulon::numfmt
