// The loop that the hand-written markup scanners share: each token goes to the scanner's step
// for its kind.
#pragma once

#include "core/workbook/xml/MarkupBytes.h"

namespace tabulon::workbook::xml {

// Hands each whole token of [begin, end) to the scanner's step for it: scanText (character
// data), scanEndTag, scanTextElement (an element around plain text, nullptr when it is not one)
// and scanStartTag. A step returns nullptr when its token is not complete in the bytes yet; the
// loop then returns where that token starts, as it does at the end tag after which
// reachedEnd(). Comments, CDATA sections, processing instructions and a stray '<' throw the
// scanner's Unsupported.
template <class Scanner>
const char* scanTokens(Scanner& scanner, const char* begin, const char* end) {
    const char* p = begin;
    while (p < end) {
        const char* next;
        if (*p != '<') {
            next = scanner.scanText(p, end);
        } else if (p + 1 == end) {
            return p;
        } else if (p[1] == '/') {
            next = scanner.scanEndTag(p, end);
            if (scanner.reachedEnd()) return p;
        } else if (isMarkup(p[1], kNameStart)) {
            next = scanner.scanTextElement(p, end);
            if (next == nullptr) next = scanner.scanStartTag(p, end);
        } else {
            throw typename Scanner::Unsupported{};
        }
        if (next == nullptr) return p;
        p = next;
    }
    return p;
}

}  // namespace tabulon::workbook::xml
