// _xHHHH_ escapes: characters, surrogate pairs, lone surrogates and text that only looks escaped.
#include <gtest/gtest.h>

#include <string>

#include "core/workbook/xml/EscapedText.h"

namespace tabulon::workbook::xml {
namespace {

std::string decoded(std::string text) {
    decodeEscapedCharacters(text);
    return text;
}

TEST(EscapedTextTest, EscapesBecomeTheirCharacters) {
    EXPECT_EQ(decoded("a_x000D__x000a_b"), "a\r\nb");
    EXPECT_EQ(decoded("_x00E9_"), "\xC3\xA9");
    // An escaped underscore keeps what follows it literal.
    EXPECT_EQ(decoded("_x005F_x000D_"), "_x000D_");
}

TEST(EscapedTextTest, SurrogatePairsJoinAndLoneSurrogatesAreReplaced) {
    EXPECT_EQ(decoded("_xD83D__xDE00_"), "\xF0\x9F\x98\x80");
    EXPECT_EQ(decoded("_xD83D_x"), "\xEF\xBF\xBDx");
    EXPECT_EQ(decoded("_xDE00__xD83D_"), "\xEF\xBF\xBD\xEF\xBF\xBD");
}

TEST(EscapedTextTest, TextThatIsNotAnEscapeStays) {
    for (const std::string text : {"_x12_", "_x12G4_", "_X0041_", "_x0041", "plain", "_x"})
        EXPECT_EQ(decoded(text), text);
}

}  // namespace
}  // namespace tabulon::workbook::xml
