// OpenDocument data styles turned into format codes, and what those codes show.
#include <gtest/gtest.h>

#include <string>

#include "OdsPackage.h"
#include "ScratchFolder.h"
#include "core/numfmt/NumberFormat.h"
#include "core/workbook/ZipArchive.h"
#include "core/workbook/ods/DataStyle.h"
#include "core/workbook/ods/OdsStyles.h"

namespace tabulon::workbook::ods {
namespace {

// The styles that a styles.xml with this office:styles content defines.
OdsStyles stylesOf(const std::string& styles) {
    tabulon::testing::ScratchFolder folder;
    tabulon::testing::XlsxPackage package;
    package.setPart("styles.xml", testing::odsStylesPart(styles));
    const std::string path = folder.file("styles.zip");
    package.write(path);
    ZipArchive archive(path);
    OdsStyles result;
    readStylesPart(archive, "styles.xml", result);
    return result;
}

std::string shown(const std::string& code, double value) {
    return numfmt::NumberFormat::compile(code).format(value, false);
}

struct Case {
    const char* style;  // the children of a data style element
    const char* element;
    const char* code;
};

TEST(OdsStylesTest, DataStylesBecomeFormatCodes) {
    const Case cases[] = {
        {"<number:number number:min-integer-digits=\"1\"/>", "number-style", "General"},
        {"<number:number number:decimal-places=\"0\" number:min-integer-digits=\"1\"/>",
         "number-style", "0"},
        {"<number:number number:decimal-places=\"2\" number:min-decimal-places=\"1\" "
         "number:min-integer-digits=\"1\" number:grouping=\"true\"/>",
         "number-style", "#,##0.0#"},
        {"<number:number number:decimal-places=\"1\" number:display-factor=\"1000000\"/>",
         "number-style", "#.0,,"},
        {"<number:number number:decimal-places=\"2\" number:min-integer-digits=\"1\"/>"
         "<number:text>%</number:text>",
         "percentage-style", "0.00%"},
        {"<number:scientific-number number:decimal-places=\"1\" number:min-integer-digits=\"1\" "
         "number:min-exponent-digits=\"1\" number:exponent-interval=\"3\"/>",
         "number-style", "##0.0E+0"},
        {"<number:fraction number:min-integer-digits=\"0\" number:min-numerator-digits=\"1\" "
         "number:min-denominator-digits=\"2\"/>",
         "number-style", "# ?/??"},
        {"<number:fraction number:min-numerator-digits=\"1\" number:denominator-value=\"16\"/>",
         "number-style", "?/16"},
        {"<number:currency-symbol>€</number:currency-symbol><number:text> </number:text>"
         "<number:number number:decimal-places=\"2\" number:min-integer-digits=\"1\" "
         "number:grouping=\"true\"/>",
         "currency-style", "\"€\"\" \"#,##0.00"},
        {"<number:month number:style=\"long\"/><number:text>/</number:text><number:day/>"
         "<number:text>/</number:text><number:year number:style=\"long\"/>",
         "date-style", "mm\"/\"d\"/\"yyyy"},
        {"<number:day-of-week number:style=\"long\"/><number:text>, </number:text>"
         "<number:month number:textual=\"true\"/><number:text> </number:text><number:year/>",
         "date-style", "dddd\", \"mmm\" \"yy"},
        {"<number:hours/><number:text>:</number:text><number:minutes number:style=\"long\"/>"
         "<number:text>:</number:text><number:seconds number:style=\"long\" "
         "number:decimal-places=\"2\"/><number:text> </number:text><number:am-pm/>",
         "time-style", "h\":\"mm\":\"ss.00\" \"AM/PM"},
        {"<number:boolean/>", "boolean-style", "\"TRUE\";\"TRUE\";\"FALSE\""},
        {"<number:text>say \"</number:text><number:text-content/>", "text-style", "\"say \"\\\"@"},
    };
    std::string styles;
    for (std::size_t i = 0; i < std::size(cases); ++i)
        styles += std::string("<number:") + cases[i].element + " style:name=\"S" +
                  std::to_string(i) + "\">" + cases[i].style + "</number:" + cases[i].element + ">";
    const OdsStyles parsed = stylesOf(styles);
    for (std::size_t i = 0; i < std::size(cases); ++i)
        EXPECT_EQ(parsed.dataStyleCode("S" + std::to_string(i)), cases[i].code) << cases[i].style;
}

TEST(OdsStylesTest, AMegabyteOfLiteralKeepsOnlyWhatMakesTheCodeGeneral) {
    const OdsStyles styles =
        stylesOf("<number:number-style style:name=\"L\"><number:number/><number:text>" +
                 std::string(1 << 20, 'x') + "</number:text></number:number-style>");
    const std::string code = styles.dataStyleCode("L");
    EXPECT_LT(code.size(), 2000u);
    EXPECT_EQ(shown(code, 1.5), "1.5");  // longer than 255 characters: General
}

TEST(OdsStylesTest, ElapsedTimesCountOnPastADay) {
    const OdsStyles styles = stylesOf(
        "<number:time-style style:name=\"T\" number:truncate-on-overflow=\"false\"><number:hours/>"
        "<number:text>:</number:text><number:minutes number:style=\"long\"/></number:time-style>");
    EXPECT_EQ(styles.dataStyleCode("T"), "[h]\":\"mm");
    EXPECT_EQ(shown(styles.dataStyleCode("T"), 1.5), "36:00");
}

TEST(OdsStylesTest, StyleMapsBecomeSections) {
    const OdsStyles styles = stylesOf(
        // Negative numbers in parentheses: the usual order becomes plain sections.
        "<number:number-style style:name=\"NP0\" style:volatile=\"true\"><number:number "
        "number:decimal-places=\"0\" number:min-integer-digits=\"1\"/></number:number-style>"
        "<number:number-style style:name=\"N\"><style:text-properties fo:color=\"#ff0000\"/>"
        "<number:text>(</number:text><number:number number:decimal-places=\"0\" "
        "number:min-integer-digits=\"1\"/><number:text>)</number:text>"
        "<style:map style:condition=\"value()&gt;=0\" style:apply-style-name=\"NP0\"/>"
        "</number:number-style>"
        // Accounting: positive, negative and zero styles under a text style.
        "<number:number-style style:name=\"AP0\"><number:number number:decimal-places=\"2\" "
        "number:min-integer-digits=\"1\"/><number:text> </number:text></number:number-style>"
        "<number:number-style style:name=\"AP1\"><number:text>-</number:text><number:number "
        "number:decimal-places=\"2\" number:min-integer-digits=\"1\"/></number:number-style>"
        "<number:number-style style:name=\"AP2\"><number:text>- </number:text>"
        "</number:number-style>"
        "<number:text-style style:name=\"A\"><number:text-content/>"
        "<style:map style:condition=\"value()&gt;0\" style:apply-style-name=\"AP0\"/>"
        "<style:map style:condition=\"value()&lt;0\" style:apply-style-name=\"AP1\"/>"
        "<style:map style:condition=\"value()=0\" style:apply-style-name=\"AP2\"/>"
        "</number:text-style>"
        // Any other condition stays a condition.
        "<number:number-style style:name=\"BIG\"><number:text>big</number:text>"
        "</number:number-style>"
        "<number:number-style style:name=\"C\"><number:number number:decimal-places=\"1\"/>"
        "<style:map style:condition=\"value() &gt; 100\" style:apply-style-name=\"BIG\"/>"
        "</number:number-style>"
        // Cell styles: a data style through a parent, and a default style for the rest.
        "<style:default-style style:family=\"table-cell\"/>"
        "<style:style style:name=\"Default\" style:family=\"table-cell\"/>"
        "<style:style style:name=\"Parent\" style:family=\"table-cell\" "
        "style:data-style-name=\"N\"/>"
        "<style:style style:name=\"Child\" style:family=\"table-cell\" "
        "style:parent-style-name=\"Parent\"/>"
        "<style:style style:name=\"Loop\" style:family=\"table-cell\" "
        "style:parent-style-name=\"Loop\"/>");
    EXPECT_EQ(styles.dataStyleCode("N"), "0;\"(\"0\")\"");
    EXPECT_EQ(shown(styles.dataStyleCode("N"), -12), "(12)");
    EXPECT_EQ(shown(styles.dataStyleCode("N"), 12), "12");
    EXPECT_EQ(styles.dataStyleCode("A"), "0.00\" \";\"-\"0.00;\"- \";@");
    EXPECT_EQ(shown(styles.dataStyleCode("A"), -1.5), "-1.50");
    EXPECT_EQ(shown(styles.dataStyleCode("A"), 0), "- ");
    EXPECT_EQ(styles.dataStyleCode("C"), "[>100]\"big\";#.0");
    EXPECT_EQ(shown(styles.dataStyleCode("C"), 101), "big");
    EXPECT_EQ(shown(styles.dataStyleCode("C"), 2), "2.0");
    EXPECT_EQ(styles.formatCode("Child"), styles.dataStyleCode("N"));
    EXPECT_EQ(styles.formatCode("Loop"), "General");
    EXPECT_EQ(styles.formatCode(""), "General");
    EXPECT_EQ(styles.dataStyleCode("missing"), "General");
}

}  // namespace
}  // namespace tabulon::workbook::ods
