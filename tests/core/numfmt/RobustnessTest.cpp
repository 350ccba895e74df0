// Hostile codes and values never crash the engine; unreadable codes render like General.
#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <string>

#include "core/numfmt/NumberFormat.h"
#include "core/numfmt/ValueText.h"

namespace tabulon::numfmt {
namespace {

const double kValues[] = {0.0,
                          -0.0,
                          1.0,
                          -1.5,
                          1e308,
                          -1e308,
                          4.9e-324,
                          123456789.123,
                          2958465.9999999,
                          -2958466,
                          std::numeric_limits<double>::quiet_NaN(),
                          std::numeric_limits<double>::infinity(),
                          -std::numeric_limits<double>::infinity()};

std::string general(double v) { return NumberFormat::compile("General").format(v, false); }

TEST(Robustness, UnreadableCodesRenderLikeGeneral) {
    const std::string codes[] = {
        "",
        "\"unterminated",
        "[Red",
        "0;0;0;0;0",
        std::string(1000, ';'),
        "0\\",
        "0_",
        "0*",
        "General 0",
        "yyyy 0.00 General",
    };
    for (const std::string& code : codes) {
        const NumberFormat f = NumberFormat::compile(code);
        EXPECT_FALSE(f.isDateTime()) << code;
        for (double v : {1.5, -2.0, 1e20, 0.0}) {
            EXPECT_EQ(f.format(v, false), general(v)) << "code: " << code;
        }
        EXPECT_EQ(f.formatText("abc"), "abc") << code;
    }
}

TEST(Robustness, HostileCodesAndValuesNeverCrash) {
    std::string nested;
    for (int i = 0; i < 5000; ++i) nested += '[';
    for (int i = 0; i < 5000; ++i) nested += ']';
    const std::string codes[] = {
        nested,
        std::string(100000, '0'),
        std::string(3000, '#') + "." + std::string(3000, '?'),
        std::string(5000, ',') + "0" + std::string(5000, ','),
        std::string(400, 'E') + "+0",
        "0E+" + std::string(500, '0'),
        std::string(300, '/') + "?/" + std::string(300, '?'),
        "# ?/" + std::string(40, '?'),
        "[h" + std::string(1000, 'h') + "]:" + std::string(1000, 's') + "." + std::string(50, '0'),
        "[>1e400]0;[<-1e400]0",
        "[=nan]0",
        "\xff\xfe\x80\xc3",
        "_\xe2\x82",
        "0.0E+00%%%%%%%%%%%%%%%%%%%%%%%%%%%%%%%%%%%%%%%%%%%%%%%%%%%%%%%%%%%%%%%%%%%%%%%%",
        "0" + std::string(200, '%'),
        "yyyy-mm-dd;@;@;@",
        "B2yyyy bbbb e g",
    };
    for (const std::string& code : codes) {
        const NumberFormat f = NumberFormat::compile(code);
        for (double v : kValues) {
            for (bool date1904 : {false, true}) {
                const std::string text = f.format(v, date1904);
                if (!std::isfinite(v)) {
                    EXPECT_EQ(text, "#NUM!") << code.substr(0, 40);
                }
                EXPECT_LT(text.size(), 200000u) << code.substr(0, 40);
            }
        }
        EXPECT_LT(f.formatText(std::string(10000, 'x')).size(), 50000u);
    }
}

TEST(Robustness, CodesLongerThan255CharactersRenderLikeGeneral) {
    // 255 characters still count as a code (a multi-byte character counts once); one more makes
    // General, so that no code can make one cell's text grow with its length.
    const std::string zeros(250, '0');
    EXPECT_EQ(NumberFormat::compile(zeros + "\"\u00e9\u00e9\"").format(1.5, false),
              std::string(248, '0') + "02\u00e9\u00e9");
    EXPECT_EQ(NumberFormat::compile(std::string(256, '0')).format(1.5, false), "1.5");
    EXPECT_EQ(NumberFormat::compile(std::string(1'000'000, '@')).formatText("ab"), "ab");
}

TEST(Robustness, NonFiniteValuesShowAsTheNumericError) {
    for (const char* code : {"General", "0.00", "m/d/yyyy", "# ?/?", "0.00E+00", "@"}) {
        const NumberFormat f = NumberFormat::compile(code);
        EXPECT_EQ(f.format(std::numeric_limits<double>::quiet_NaN(), false), "#NUM!") << code;
        EXPECT_EQ(f.format(-std::numeric_limits<double>::infinity(), false), "#NUM!") << code;
    }
    EXPECT_EQ(numberValueText(std::numeric_limits<double>::infinity()), "#NUM!");
}

TEST(Robustness, HugeValuesRenderAllTheirDigits) {
    EXPECT_EQ(NumberFormat::compile("0").format(1e20, false), "100000000000000000000");
    EXPECT_EQ(NumberFormat::compile("#,##0").format(-1e308, false).size(),
              412u);  // sign, 309 digits, 102 commas
    EXPECT_EQ(NumberFormat::compile("# ?/?").format(1e300, false).substr(0, 4), "1000");
    EXPECT_EQ(NumberFormat::compile("[h]").format(1e12, false), "######");
}

}  // namespace
}  // namespace tabulon::numfmt
