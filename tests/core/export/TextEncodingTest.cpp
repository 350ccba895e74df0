// Texts in the encodings that results are written in.
#include <gtest/gtest.h>

#include "core/export/LineFormat.h"
#include "core/export/TextEncoding.h"

namespace tabulon {
namespace {

TEST(TextEncoding, NamesBytesAndTheCharacterThatDoesNotFit) {
    const std::string text = "Caf\xC3\xA9 \xE2\x82\xAC";  // "Café €"
    using namespace std::string_literals;
    const struct {
        const char* name;
        std::string byteOrderMark;
        std::string bytes;  // of `text`, or empty when a character does not fit
        char32_t unheld;
    } cases[] = {
        {"utf-8", "", text, 0},
        {"UTF-8-BOM", "\xEF\xBB\xBF", text, 0},
        {"utf-16", "\xFF\xFE", "C\0a\0f\0\xE9\0 \0\xAC\x20"s, 0},
        {"windows-1252", "", "Caf\xE9 \x80", 0},
        {"iso-8859-15", "", "Caf\xE9 \xA4", 0},
        {"cp437", "", "", 0x20AC},
        {"iso-8859-1", "", "", 0x20AC},
        // iconv's own byte-order mark comes once a file, not once a cell.
        {"UTF-32", "\xFF\xFE\0\0"s, "C\0\0\0a\0\0\0f\0\0\0\xE9\0\0\0 \0\0\0\xAC\x20\0\0"s, 0},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        const std::optional<TextEncoding> encoding = TextEncoding::named(c.name);
        ASSERT_TRUE(encoding);
        EXPECT_EQ(encoding->byteOrderMark(), c.byteOrderMark);
        std::string out = "x";
        const std::optional<char32_t> unheld = encoding->append(out, text);
        if (c.unheld != 0) {
            EXPECT_EQ(unheld, c.unheld);
            EXPECT_EQ(out, "x");  // nothing of the text
        } else {
            EXPECT_FALSE(unheld);
            EXPECT_EQ(out, "x" + c.bytes);
        }
    }
    for (const char* bad : {"no-such-set", "windows-1252//TRANSLIT", "ascii//IGNORE", ""})
        EXPECT_FALSE(TextEncoding::named(bad)) << bad;
}

TEST(TextEncoding, CsvQuotesBeforeEncodingAndEncodesSeparatorsAndLineEnds) {
    LineFormat format = LineFormat::csv(';');
    format.setEncoding(*TextEncoding::named("utf-16"));
    using namespace std::string_literals;
    EXPECT_EQ(format.separator(), ";\0"s);
    EXPECT_EQ(format.lineEnd(), "\r\0\n\0"s);
    EXPECT_EQ(format.textEnd(), "");
    std::string field;
    EXPECT_FALSE(format.appendField(field, "a;\""));
    EXPECT_EQ(field, "\"\0a\0;\0\"\0\"\0\"\0"s);
}

}  // namespace
}  // namespace tabulon
