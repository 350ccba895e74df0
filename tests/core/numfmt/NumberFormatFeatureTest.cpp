// The grammar's features, each group with the cases that implementations most often get wrong.
#include <gtest/gtest.h>

#include "core/numfmt/NumberFormat.h"

namespace tabulon::numfmt {
namespace {

std::string fmt(std::string_view code, double v, bool date1904 = false) {
    return NumberFormat::compile(code).format(v, date1904);
}

// A format code, a value and the text the spreadsheet application shows for it.
struct Shown {
    std::string_view code;
    double value;
    std::string_view text;
    bool date1904 = false;
};

void expectShown(std::initializer_list<Shown> cases) {
    for (const Shown& c : cases) {
        EXPECT_EQ(fmt(c.code, c.value, c.date1904), c.text)
            << "format " << c.code << ", value " << c.value;
    }
}

TEST(GeneralFormat, ElevenCharactersThenScientific) {
    expectShown({
        {"General", 0.1 + 0.2, "0.3"},
        {"General", 1.0, "1"},
        {"General", -9999999999.0, "-9999999999"},
        {"General", 10000000000.0, "10000000000"},
        {"General", 100000000000.0, "1E+11"},
        {"General", 112345600000.0, "1.12346E+11"},
        {"General", -1.2345678919, "-1.234567892"},
        {"General", 0.0000123, "0.0000123"},
        {"General", 0.0000123456, "1.23456E-05"},
        {"General", 1e-10, "1E-10"},
        {"General", 3300.0000000000005, "3300"},
        {"General", 2.33e-321, "2.33E-321"},
        {"general", -0.0, "0"},
    });
}

TEST(NumberFormat, RoundsTheFifteenDigitDecimalHalfAwayFromZero) {
    expectShown({
        {"0.00", 2.675, "2.68"},  // the double is 2.67499999999999982...
        {"0.00", 1.005, "1.01"},
        {"0", 2.5, "3"},
        {"0", -2.5, "-3"},
        {"0.00", 9.995, "10.00"},
        {"0", 123456789012345678.0, "123456789012346000"},
        {"0.00000000000000000000", 0.30000000000000004, "0.30000000000000000000"},
    });
}

TEST(NumberFormat, MinusSignRules) {
    expectShown({
        {"0.0", -0.01, "0.0"},  // rounds to zero: no sign
        {"0", -0.4, "0"},
        {"0.0;@", -0.01, "-0.0"},  // not a single section: the sign stays
        {"0.0;-0.0", -0.01, "-0.0"},
        {"0;0", -1.1, "1"},     // the negative section shows the magnitude
        {"\"A\"0", -1, "-A1"},  // the sign goes before literals
        {"-0", -1, "--1"},
        {"(#,##0.00)", -12345.678, "-(12,345.68)"},
        {"0;;", -1, ""},
        {"0;;", 0, ""},
    });
}

TEST(NumberFormat, PlaceholdersAndLiterals) {
    expectShown({
        {"000.00", 12.3, "012.30"},
        {"#.##", 0.5, ".5"},
        {"#.##", 1, "1."},
        {"#,###", 0, ""},
        {"#.##0", -10.29, "-10.290"},
        {"00", 12345, "12345"},
        {"000-00-0000", 123456789, "123-45-6789"},
        {"(###) ###-####", 2813308004.0, "(281) 330-8004"},
        {"|??.??|", 1.1, "| 1.1 |"},
        {"\\a $#.00\" profit\"", 12.3, "a $12.30 profit"},
        {"123", 5, "123"},
    });
}

TEST(NumberFormat, ThousandsGroupingAndScaling) {
    expectShown({
        {"#,##0", 1234567, "1,234,567"},
        {"0,000000000", 1234567, "0,001,234,567"},
        {"?,?????????", 1234567, "    1,234,567"},
        {",0", 1234567, ",1234567"},
        {"0,", 1234567, "1235"},
        {"#,,", 1234567, "1"},
        {"0.0,,", 1234567, "1.2"},
        {"#,.#,", 1234567, "1.2"},
        {"0.0,", 2950, "3.0"},  // scaled on the decimal string, then rounded
        {"** #,###,#00,000.00,**", 123456822333333000.0, " 123,456,822,333,333.00"},
    });
}

TEST(NumberFormat, Percent) {
    expectShown({
        {"0%", 0.12, "12%"},
        {"0.0%", 0.0295, "3.0%"},
        {"0,0.00%%", 123.45, "1,234,500.00%%"},
        {"0\"%\"", 5, "5%"},  // a quoted percent does not scale
    });
}

TEST(ScientificFormat, MantissaExponentAndEngineering) {
    expectShown({
        {"0.00E+00", 12345, "1.23E+04"},
        {"0.00E+00", 0.00012345, "1.23E-04"},
        {"0.00E-00", 12345, "1.23E04"},
        {"0.0E+00", 999000000, "1.0E+09"},  // the rounding carries into the exponent
        {"##0.0E+0", 12345.6789, "12.3E+3"},
        {"###0.0E+0", 12345678.9, "1234.6E+4"},
        {"0.00E+00", 0, "0.00E+00"},
        {"0.00E+00", -12345, "-1.23E+04"},
    });
}

TEST(FractionFormat, ApproximationsAndPadding) {
    expectShown({
        {"# ?/?", 0.3, " 2/7"},
        {"# ?/?", 0.27, " 1/4"},  // a convergent, not the closest fraction
        {"# ?/?", 1, "1    "},
        {"# ?/?", 0.99, "1    "},
        {"# ?\?/??", -1.05, "-1  1/20"},
        {"# ?\?/??", -0.99, "- 98/99"},
        {"#\\ ?/2", -0.08, "-0    "},  // fractions keep the sign of a zero
        {"# ?/4", 123.45, "123 2/4"},  // fixed denominators are not reduced
        {"?\?/??", 12.3, "123/10"},
        {"#\\ ?\?/?????????", 1.09, "1  9/100      "},
        {"|#\\:0=/=?|", 0, "|0=/=1|"},
        {"|?\\:0=/=#|", 0, "|0:0=/=1|"},
        {"|#_#/#|", 3.75, "|15 /4|"},
    });
}

TEST(DateFormat, SerialsInThe1900System) {
    expectShown({
        {"m/d/yyyy", 12345.6789, "10/18/1933"},
        {"yyyy-mm-dd", 0, "1900-01-00"},
        {"yyyy-mm-dd dddd", 60, "1900-02-29 Wednesday"},  // the fictitious leap day
        {"yyyy-mm-dd", 59, "1900-02-28"},
        {"yyyy-mm-dd", 61, "1900-03-01"},
        {"ddd mmm mmmm mmmmm yy", 45000, "Wed Mar March M 23"},
        {"yyyy", 2958465, "9999"},
        {"yyyy", 2958466, "######"},
        {"yyyy-mm-dd", 2958465.99999422, "######"},  // rounds into year 10000
        {"m/d/yyyy", -1, "######"},                  // no negative dates
        {"h:mm", -0.5, "######"},
    });
}

TEST(DateFormat, The1904System) {
    expectShown({
        {"yyyy-mm-dd", 0, "1904-01-01", true},
        {"dddd-mmmm-yyyy H:M:S am/pm", 17816.607951388887, "Saturday-October-1952 2:35:27 PM",
         true},
        {"[hh]:mm:ss.0", -0.0854629, "-02:03:04.0", true},
        {"\"It was \"[h]", -0.5, "-It was 12", true},
    });
}

TEST(TimeFormat, SecondsRoundBeforeSplitting) {
    expectShown({
        {"h:mm:ss", 59.9999 / 86400, "0:01:00"},
        {"ss.000", 59.9999 / 86400, "00.000"},
        {"ss.000", 0.00001, "00.864"},
        {"h:mm", 0.00069, "0:01"},       // 59.6 s carries into the minutes
        {"h:mm", 0.0416597222, "0:59"},  // minutes themselves are never rounded
        {"yyyy-mm-dd hh:mm:ss", 41722.4097222222, "2014-03-24 09:50:00"},
        {"m/d/yyyy h:mm:ss", 1.999999, "1/2/1900 0:00:00"},  // carry into the date
        {"hh .00 .000", 0.70707, "16 .84 .848"},
        {"hh:mm AM/PM", 0.7, "04:48 PM"},
        {"h A/P", 0, "12 A"},
        {"h a/p", 0.5, "12 p"},
    });
}

TEST(TimeFormat, ElapsedTimeDoesNotWrap) {
    expectShown({
        {"[h]:mm:ss", 3.14159, "75:23:53"},
        {"[m]:s.000", 3.14159, "4523:53.376"},
        {"[s].000", 3.14159, "271433.376"},
        {"[hhh]", 0.5, "012"},
        {"[s]\" [\"ss\"]\"", 3.14159, "271433 [271433]"},
        {"s:m\" @ \"[hh]", 3.14159, "53:23 @ 75"},
    });
}

TEST(TimeFormat, MonthOrMinute) {
    expectShown({
        {"m/d/yy", 45000, "3/15/23"},
        {"h:mm", 0.75, "18:00"},
        {"mm:ss", 0.0123, "17:43"},
        {"yyyy-mm-dd hh:mm", 45000.5, "2023-03-15 12:00"},
        {"hh:mm:ss AM/P", 0.5, "12:00:00 A1/P"},  // "AM/P" is no marker: A, month, /P
    });
}

TEST(SectionFormat, TextSectionsAndTextCells) {
    const auto accounting = NumberFormat::compile(builtinFormatCode(44));
    EXPECT_EQ(accounting.format(1234.5, false), " $1,234.50 ");
    EXPECT_EQ(accounting.format(-1234.5, false), " $(1,234.50)");
    EXPECT_EQ(accounting.format(0, false), " $-   ");
    EXPECT_EQ(accounting.formatText("abc"), " abc ");
    EXPECT_EQ(NumberFormat::compile("\"foo\";\"bar\";@").format(0, false), "foo");
    EXPECT_EQ(NumberFormat::compile("\"foo\";\"bar\";@").formatText("x"), "x");
    EXPECT_EQ(NumberFormat::compile("@@").format(-1, false), "-1");
    EXPECT_EQ(NumberFormat::compile("@@").formatText("x"), "xx");
    EXPECT_EQ(NumberFormat::compile("0.00").formatText("00123"), "00123");
    EXPECT_EQ(NumberFormat::compile(";;;").formatText("hidden"), "");
    EXPECT_EQ(NumberFormat::compile("0;0;0;[Blue]General\"!\"").formatText("t"), "t!");
    EXPECT_EQ(NumberFormat::formatBoolean(true), "TRUE");
}

TEST(SectionFormat, Conditions) {
    expectShown({
        {"[<10]#\" Wow\"", 1.5, "2 Wow"},
        {"[<10]#\" Wow\"", 10, "10"},  // no match: General
        {"[>-10]#\" Big\"", -9, "-9 Big"},
        {"[<=0]\"B\"0", -6.3, "-B6"},
        {"[>6]\"A\"0;[<-6]\"B\"0", -6.3, "B6"},
        {"[<=-100]\"B\"0;\"C\"0", -6.3, "C6"},
        {"[>=100]\"A\"0;[<=-100]\"B\"0;\"C\"0", -6.3, "-C6"},
        {"[>=100]\"A\"0;[<=-100]\"B\"0", 6.3, "######"},
        {"[<   10]0", 5, "5"},
        {"[Red][<=-25]General;[Blue][>=25]General;[Green]General", -25, "25"},
    });
}

TEST(SectionFormat, SpacingFillColoursAndLocaleTags) {
    expectShown({
        {"#,##0_)", 1234, "1,234 "},
        {"*x0", 5, "5"},
        {"[Red]0;[Color12]-0", -5, "-5"},
        {"[$€-407]#,##0.00", 1234.5, "€1,234.50"},
        {"[$USD] 0", 7, "USD 7"},
        {"[$-409]m/d/yyyy", 45000, "3/15/2023"},
        {"[$-F800]dddd", 45000, "Wednesday"},
        {"[DBNum1]0", 7, "7"},
    });
}

TEST(BuiltinFormats, EnUsCodes) {
    EXPECT_EQ(builtinFormatCode(0), "General");
    EXPECT_EQ(builtinFormatCode(14), "m/d/yyyy");
    EXPECT_EQ(builtinFormatCode(30), "m/d/yyyy");
    EXPECT_EQ(builtinFormatCode(24), "General");
    EXPECT_EQ(builtinFormatCode(39), "#,##0.00_);(#,##0.00)");
    EXPECT_EQ(builtinFormatCode(49), "@");
    EXPECT_EQ(builtinFormatCode(163), "General");
    EXPECT_EQ(builtinFormatCode(-1), "General");
    EXPECT_EQ(NumberFormat::compile(builtinFormatCode(39)).format(1234, false), "1,234.00 ");
    EXPECT_TRUE(NumberFormat::compile(builtinFormatCode(22)).isDateTime());
    EXPECT_TRUE(NumberFormat::compile(builtinFormatCode(46)).isDateTime());
    EXPECT_FALSE(NumberFormat::compile(builtinFormatCode(11)).isDateTime());
    EXPECT_FALSE(NumberFormat::compile("\"h\"0").isDateTime());
}

}  // namespace
}  // namespace tabulon::numfmt
