// The format code compiler and renderer: the first eight bytes are the value, the rest the code.
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <string_view>

#include "core/numfmt/NumberFormat.h"

namespace {

// 255 characters of a code can show at most a few hundred digits and literals each; a longer
// result is amplification.
constexpr std::size_t kMaxShownBytes = 64 * 1024;

void check(const std::string& shown) {
    if (shown.size() > kMaxShownBytes) std::abort();
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    if (size < 8) return 0;
    double value;
    std::memcpy(&value, data, 8);
    const std::string_view code(reinterpret_cast<const char*>(data + 8), size - 8);
    const auto format = tabulon::numfmt::NumberFormat::compile(code);
    (void)format.isDateTime();
    check(format.format(value, false));
    check(format.format(value, true));
    check(format.formatText("text"));
    return 0;
}
