// Sheet names against shell patterns.
#include <gtest/gtest.h>

#include "core/util/NameMatching.h"

namespace tabulon {
namespace {

TEST(ShellPattern, WildcardsSetsAndEscapesCharacterByCharacter) {
    const struct {
        const char* name;
        const char* pattern;
        bool matches;
    } cases[] = {
        {"Q1 2024", "Q*", true},
        {"q1", "Q*", false},  // with regard to case
        {"Data", "Dat?", true},
        {"Dat", "Dat?", false},
        {"\xC3\x9C"
         "bersicht",
         "?bersicht", true},  // "?" is one character, not one byte
        {"Sheet3", "Sheet[1-3]", true},
        {"Sheet4", "Sheet[1-3]", false},
        {"Sheet4", "Sheet[!1-3]", true},
        {"Sheet4", "Sheet[^1-3]", true},
        {"]", "[]]", true},
        {"a*b", "a\\*b", true},
        {"axb", "a\\*b", false},
        {"[x", "[x", true},  // no closing "]": a character of its own
        {"abcabd", "*ab?", true},
        {"", "*", true},
    };
    for (const auto& c : cases)
        EXPECT_EQ(matchesShellPattern(c.name, c.pattern), c.matches) << c.name << " " << c.pattern;
}

}  // namespace
}  // namespace tabulon
