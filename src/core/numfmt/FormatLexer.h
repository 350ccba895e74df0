// Splitting a format code into sections and a section into tokens.
#pragma once

#include <string_view>
#include <vector>

#include "core/numfmt/CompiledCode.h"

namespace tabulon::numfmt {

// Splits at unquoted, unescaped ';'. Returns false for an unterminated quote or bracket.
bool splitSections(std::string_view code, std::vector<std::string_view>& sections);

// One section after lexing. Commas, slashes and the digits 1-9 are single-character literal
// tokens (ch set) that are never merged with neighbours; m and mm are Month tokens. Their final
// meaning depends on their neighbours and is settled by the section layout.
struct LexedSection {
    Section section;
    // Indexes of tokens whose meaning depends on their neighbours.
    std::vector<std::uint32_t> commas;
    std::vector<std::uint32_t> slashes;
    bool hasGeneral = false;
    bool hasDate = false;
    bool hasDigits = false;
    bool hasText = false;
    bool hasExponent = false;
    bool hasBareLiteral = false;  // literal text written without quotes or a backslash
};
// Returns false when the section cannot be read.
bool lexSection(std::string_view text, LexedSection& out);

}  // namespace tabulon::numfmt
