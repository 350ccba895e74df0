// Reading the decimal text of a cell value as std::from_chars does, quickly for the plain case.
#pragma once

#include <charconv>
#include <cstdint>
#include <string_view>

namespace tabulon::workbook {

// Reads the whole text as a double, exactly as std::from_chars (general format) would; false when
// that would not read all of it. Plain decimals ("-123.45") whose digits make an integer of at
// most 2^53 take a short path: that integer and the power of ten are exact doubles, and one
// division rounds their quotient correctly.
inline bool readDecimal(std::string_view text, double& out) {
    static constexpr double kPowers[] = {1e0, 1e1,  1e2,  1e3,  1e4,  1e5,  1e6,  1e7, 1e8,
                                         1e9, 1e10, 1e11, 1e12, 1e13, 1e14, 1e15, 1e16};
    constexpr std::uint64_t kExact = std::uint64_t{1} << 53;
    const char* p = text.data();
    const char* end = p + text.size();
    const bool negative = p != end && *p == '-';
    if (negative) ++p;
    std::uint64_t digits = 0;
    int count = 0;
    int decimals = 0;
    bool point = false;
    const char* first = p;
    for (; p != end; ++p) {
        const char c = *p;
        if (c >= '0' && c <= '9') {
            digits = digits * 10 + static_cast<unsigned>(c - '0');
            ++count;
            decimals += point ? 1 : 0;
        } else if (c == '.' && !point && p != first) {
            point = true;
        } else {
            break;
        }
    }
    if (p == end && count > 0 && count <= 16 && digits <= kExact) {
        const double value = static_cast<double>(digits) / kPowers[decimals];
        out = negative ? -value : value;
        return true;
    }
    const auto [stop, ec] = std::from_chars(text.data(), end, out);
    return ec == std::errc() && stop == end && !text.empty();
}

}  // namespace tabulon::workbook
