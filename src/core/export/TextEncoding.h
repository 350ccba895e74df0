// The encoding that result texts are written in: UTF-8 as they are built, with a byte-order
// mark, UTF-16 or any character set that iconv converts to.
#pragma once

#include <optional>
#include <string>
#include <string_view>

namespace tabulon {

class TextEncoding {
  public:
    // UTF-8 without a byte-order mark: the texts as they are built.
    TextEncoding() = default;

    // "utf-8", "utf-8-bom", "utf-16" (little-endian with a byte-order mark) or a name that iconv
    // knows ("windows-1252", "iso-8859-15", "cp437"), without regard to case. Nothing for a name
    // that no converter has, or that asks iconv to replace or drop characters ("//TRANSLIT").
    static std::optional<TextEncoding> named(const std::string& name);

    const std::string& name() const { return name_; }
    // What each file starts with; empty for most encodings.
    const std::string& byteOrderMark() const { return byteOrderMark_; }
    // Whether the texts are converted from UTF-8 at all.
    bool converts() const { return !iconvName_.empty(); }

    // Appends the UTF-8 text in this encoding. A character that the encoding cannot hold is
    // never replaced: the first one is returned and `out` is left as it was.
    std::optional<char32_t> append(std::string& out, std::string_view utf8) const;

  private:
    std::string name_ = "utf-8";
    std::string iconvName_;  // empty for UTF-8
    std::string byteOrderMark_;
    // What the converter writes before the text of every conversion (its own byte-order mark),
    // to be taken off again: the file starts with it once.
    std::size_t prefixSize_ = 0;
    bool asciiAsIs_ = false;  // ASCII text comes out unchanged
};

// "U+20AC" and the character itself, for messages: "\"€\" (U+20AC)".
std::string characterForMessage(char32_t c);

}  // namespace tabulon
