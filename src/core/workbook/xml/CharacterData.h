// Character data as the hand-written markup scanners read it: up to the next '<', handed to the
// handler while it wants text, decoded and checked as an XML parser would.
#pragma once

#include <string>
#include <string_view>

#include "core/workbook/xml/MarkupBytes.h"
#include "core/workbook/xml/MarkupText.h"

namespace tabulon::workbook::xml {

// Reads from p to the next '<'; nullptr when that is not in the bytes yet. Handler: wantsText()
// and characters(text). Text that needs decoding is decoded into `decoded`; refuse() is called
// (and must throw) for text that XML forbids or that is left to a parser.
template <class Handler, class Refuse>
const char* scanCharacterData(const char* p, const char* end, Handler& handler,
                              std::string& decoded, Refuse refuse) {
    const char* q = skipPlainText(p, end);
    if (!handler.wantsText()) {
        // Characters that no element wants (the white space between elements, line ends with CR
        // included) are passed over as they arrive, so that a long run of them is never carried
        // to the next chunk.
        while (q < end && (isMarkup(*q, kPlainText) || *q == '\r')) ++q;
        if (q != p && (q == end || *q != '<')) return q;
    }
    if (q == end) return nullptr;
    if (*q == '<') {
        if (handler.wantsText()) handler.characters(std::string_view(p, q - p));
        return q;
    }
    const char* lt = findByte(q, end, '<');
    if (lt == end) return nullptr;
    decoded.clear();
    if (!decodeCharacterData(std::string_view(p, lt - p), decoded)) refuse();
    if (handler.wantsText()) handler.characters(decoded);
    return lt;
}

}  // namespace tabulon::workbook::xml
