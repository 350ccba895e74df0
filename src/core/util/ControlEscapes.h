// Text made safe for a terminal or a line-oriented output: control characters written as escapes.
#pragma once

#include <string>
#include <string_view>

namespace tabulon {

// The UTF-8 text with a tab as \t, a line feed as \n, a backslash as \\ and every other control
// character (C0, DEL, and C1 U+0080..U+009F) as \xHH with its code; a byte that is not part of
// valid UTF-8 is shown as \xHH too, since some terminals take a lone 0x9B for a control.
// Everything else stays as it is.
std::string escapeControlCharacters(std::string_view text);

}  // namespace tabulon
