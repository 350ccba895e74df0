// The short path for plain decimals reads every text as std::from_chars does: the same double to
// the bit, and the same texts refused.
#include <gtest/gtest.h>

#include <charconv>
#include <cstring>
#include <random>
#include <string>

#include "core/workbook/DecimalText.h"

namespace tabulon::workbook {
namespace {

// std::from_chars on the whole text, as the readers held it before.
bool fromChars(std::string_view text, double& out) {
    const auto [stop, ec] = std::from_chars(text.data(), text.data() + text.size(), out);
    return ec == std::errc() && stop == text.data() + text.size() && !text.empty();
}

void expectAlike(const std::string& text) {
    double fast = 0;
    double slow = 0;
    const bool read = readDecimal(text, fast);
    ASSERT_EQ(read, fromChars(text, slow)) << text;
    if (read) {
        EXPECT_EQ(std::memcmp(&fast, &slow, sizeof fast), 0) << text;
    }
}

TEST(DecimalTextTest, ReadsAsFromChars) {
    for (const char* text : {"0",
                             "-0",
                             "-0.0",
                             "7",
                             "1.",
                             ".5",
                             "-.5",
                             "123456789012345",
                             "1234567890123456",
                             "9007199254740993",
                             "0.1",
                             "0.3",
                             "95707.71000000001",
                             "9383.951999999999",
                             "1e5",
                             "1E-7",
                             "-12.5e+3",
                             "inf",
                             "nan",
                             "",
                             "-",
                             ".",
                             "1.2.3",
                             "12a",
                             "0x1p3",
                             "00012.500",
                             "999999999999999.9"})
        expectAlike(text);
    // Random decimals of up to 17 digits, on both sides of the short path's limit.
    std::mt19937_64 random(42);
    for (int i = 0; i < 100000; ++i) {
        std::string digits = std::to_string(random() % 100000000000000000ULL);
        const std::size_t point = random() % (digits.size() + 1);
        if (point < digits.size()) digits.insert(point, ".");
        expectAlike((i % 3 == 0 ? "-" : "") + digits);
    }
}

}  // namespace
}  // namespace tabulon::workbook
