// Control characters escaped for terminals and line formats, with UTF-8 kept intact.
#include <gtest/gtest.h>

#include "core/util/ControlEscapes.h"

namespace tabulon {
namespace {

TEST(ControlEscapesTest, ControlsAreEscapedAndOtherTextIsKept) {
    const struct {
        const char* text;
        const char* shown;
    } cases[] = {
        {"Sheet 1, A-Z", "Sheet 1, A-Z"},
        {"a\tb\nc\\d", "a\\tb\\nc\\\\d"},
        {"\x1b]0;title\x07\x1b[2J", "\\x1B]0;title\\x07\\x1B[2J"},
        {"cr\rnul", "cr\\x0Dnul"},
        {"del\x7f", "del\\x7F"},
        // C1 controls are two bytes in UTF-8 and shown by their code; U+00A0 and é are text.
        {"next\xc2\x85line\xc2\x9b", "next\\x85line\\x9B"},
        {"\xc2\xa0"
         "caf\xc3\xa9 \xe2\x82\xac \xf0\x9f\x98\x80",
         "\xc2\xa0"
         "caf\xc3\xa9 \xe2\x82\xac \xf0\x9f\x98\x80"},
        // Bytes outside valid UTF-8 (a lone 8-bit CSI, a cut sequence, an overlong form, a
        // surrogate) are shown byte by byte.
        {"\x9b"
         "2J",
         "\\x9B2J"},
        {"cut\xe2\x82", "cut\\xE2\\x82"},
        {"\xc0\x80", "\\xC0\\x80"},
        {"\xed\xa0\x80", "\\xED\\xA0\\x80"},
    };
    for (const auto& c : cases) EXPECT_EQ(escapeControlCharacters(c.text), c.shown) << c.text;
    EXPECT_EQ(escapeControlCharacters(std::string("a\0b", 3)), "a\\x00b");
}

}  // namespace
}  // namespace tabulon
