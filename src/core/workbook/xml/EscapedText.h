// Characters that OOXML text escapes as _xHHHH_ (a UTF-16 code unit in hex).
#pragma once

#include <string>

namespace tabulon::workbook::xml {

// Replaces every _xHHHH_ in the text by the character it stands for (UTF-8); "_x005F_" gives
// "_", so "_x005F_x000D_" stays the literal text "_x000D_". Lone surrogates become U+FFFD.
void decodeEscapedCharacters(std::string& text);

}  // namespace tabulon::workbook::xml
