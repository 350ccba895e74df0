// Interim renderer: every code renders like General until the full format engine lands.
#include "core/numfmt/NumberFormat.h"

#include <cstdio>

namespace tabulon::numfmt {

class CompiledCode {
public:
    std::string code;
};

NumberFormat NumberFormat::compile(std::string_view code) {
    auto compiled = std::make_shared<CompiledCode>();
    compiled->code = std::string(code);
    return NumberFormat(std::move(compiled));
}

bool NumberFormat::isDateTime() const { return false; }

std::string NumberFormat::format(double value, bool /*date1904*/) const {
    char buffer[32];
    std::snprintf(buffer, sizeof buffer, "%.10g", value);
    return buffer;
}

std::string NumberFormat::formatText(std::string_view text) const { return std::string(text); }

std::string_view builtinFormatCode(int /*id*/) { return "General"; }

}  // namespace tabulon::numfmt
