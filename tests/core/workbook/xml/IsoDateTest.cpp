// ISO 8601 date-times to serial days in both date systems, and what is not such a date.
#include <gtest/gtest.h>

#include <string>

#include "core/workbook/xml/IsoDate.h"

namespace tabulon::workbook::xml {
namespace {

TEST(IsoDateTest, DatesAndTimesGiveSerialDays) {
    EXPECT_EQ(isoDateToSerial("2021-01-01", false), 44197.0);
    EXPECT_EQ(isoDateToSerial("2021-01-01T18:00:00", false), 44197.75);
    EXPECT_DOUBLE_EQ(*isoDateToSerial("2021-01-01T18:00:00.5Z", false), 44197.75 + 0.5 / 86400);
    EXPECT_EQ(isoDateToSerial("2021-01-01T06:00", false), 44197.25);
    EXPECT_EQ(isoDateToSerial("T12:00:00", false), 0.5);
    EXPECT_EQ(isoDateToSerial("06:00:00", true), 0.25);
    EXPECT_EQ(isoDateToSerial("1904-01-02", true), 1.0);
    EXPECT_EQ(isoDateToSerial("2021-01-01", true), 44197.0 - 1462);
}

TEST(IsoDateTest, TheNineteenHundredSystemCountsItsPhantomLeapDay) {
    EXPECT_EQ(isoDateToSerial("1900-01-01", false), 1.0);
    EXPECT_EQ(isoDateToSerial("1900-02-28", false), 59.0);
    EXPECT_EQ(isoDateToSerial("1900-03-01", false), 61.0);
}

TEST(IsoDateTest, TextThatIsNotSuchADateGivesNothing) {
    for (const std::string text :
         {"", "2021", "2021-1-01", "2021-13-01", "2021-01-32", "2021-01-01 12:00:00",
          "2021-01-01T25:00:00", "2021-01-01T12:60:00", "2021-01-01T12:00:00+01:00", "12:00x",
          "abcd-ef-gh"})
        EXPECT_FALSE(isoDateToSerial(text, false)) << text;
}

}  // namespace
}  // namespace tabulon::workbook::xml
