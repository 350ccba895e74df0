// The General format: plain decimal in 11 characters (not counting the sign), else scientific.
#include "core/numfmt/GeneralRenderer.h"

#include <algorithm>
#include <charconv>
#include <cstdint>

#include "core/numfmt/Decimal.h"

namespace tabulon::numfmt {

namespace {

constexpr int kWidth = 11;
constexpr int kScientificDigits = 6;

void appendPlain(const Decimal& d, std::string& out) {
    if (d.point <= 0) {
        out.push_back('0');
    } else {
        for (int i = 0; i < d.point; ++i) out.push_back(d.at(i));
    }
    if (d.count <= d.point) return;
    out.push_back('.');
    out.append(static_cast<std::size_t>(std::max(0, -d.point)), '0');
    for (int i = std::max(0, d.point); i < d.count; ++i) out.push_back(d.digits[i]);
}

void appendScientific(const Decimal& d, std::string& out) {
    out.push_back(d.digits[0]);
    if (d.count > 1) {
        out.push_back('.');
        out.append(d.digits + 1, static_cast<std::size_t>(d.count - 1));
    }
    const int exponent = d.point - 1;
    out.push_back('E');
    out.push_back(exponent < 0 ? '-' : '+');
    const int magnitude = exponent < 0 ? -exponent : exponent;
    if (magnitude < 10) out.push_back('0');
    char buffer[8];
    auto result = std::to_chars(buffer, buffer + sizeof buffer, magnitude);
    out.append(buffer, result.ptr);
}

}  // namespace

void appendGeneral(double absValue, std::string& out) {
    // Whole numbers of up to ten digits (counts, keys, serial days) show as they are, which
    // spares them the decimal expansion and its roundings.
    if (absValue >= 1.0 && absValue < 1e10) {
        const auto whole = static_cast<std::uint64_t>(absValue);
        if (static_cast<double>(whole) == absValue) {
            char buffer[16];
            const auto end = std::to_chars(buffer, buffer + sizeof buffer, whole).ptr;
            out.append(buffer, end);
            return;
        }
    }
    const Decimal d = Decimal::of(absValue);
    if (d.isZero()) {
        out.push_back('0');
        return;
    }
    const int magnitude = d.point - 1;  // floor(log10 |v|)
    Decimal scientific = d;
    scientific.roundToSignificant(kScientificDigits);
    if (magnitude >= kWidth) {
        appendScientific(scientific, out);
        return;
    }
    // Plain: as many decimals as fit in the width ("0." and 9 digits below 1).
    Decimal plain = d;
    plain.roundToPlaces(magnitude >= 0 ? std::max(0, kWidth - 2 - magnitude) : kWidth - 2);
    if (plain.point > kWidth || (magnitude < 0 && plain.count < scientific.count)) {
        appendScientific(scientific, out);
        return;
    }
    appendPlain(plain, out);
}

void renderGeneralSection(const Section& section, double absValue, std::string& out) {
    for (const Token& t : section.tokens) {
        if (t.kind == TokenKind::General) {
            appendGeneral(absValue, out);
        } else {
            appendLiteral(out, section.literal(t));
        }
    }
}

}  // namespace tabulon::numfmt
