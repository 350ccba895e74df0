// Paragraph text with OpenDocument's white-space rules.
#include "core/workbook/ods/CellParagraphs.h"

#include <algorithm>
#include <cstdint>

#include "core/workbook/CellText.h"
#include "core/workbook/ods/RepeatCount.h"

namespace tabulon::workbook::ods {

namespace {

// Spaces that one text:s element adds (a cell holds at most 32767 characters).
constexpr std::int64_t kMaxSpaces = 32767;

}  // namespace

void CellParagraphs::clear() {
    text_.clear();
    paragraphs_ = 0;
    paragraphDepth_ = 0;
    skipDepth_ = 0;
}

void CellParagraphs::startElement(std::string_view name, MarkupAttributes attributes, int depth) {
    if (skipDepth_ != 0) return;
    if (paragraphDepth_ == 0) {
        if (depth == 1 && (named(name, "p") || named(name, "h"))) {
            if (paragraphs_++ > 0) appendCellMarkup(text_, "\n");
            paragraphDepth_ = depth;
            afterSpace_ = true;
        }
        return;
    }
    if (named(name, "s")) {
        const std::int64_t count = repeatCount(findAttribute(attributes, "c"), kMaxSpaces);
        if (text_.size() < kMaxCellMarkupBytes)
            text_.append(
                std::min(static_cast<std::size_t>(count), kMaxCellMarkupBytes - text_.size()), ' ');
        afterSpace_ = false;
    } else if (named(name, "tab")) {
        appendCellMarkup(text_, "\t");
        afterSpace_ = false;
    } else if (named(name, "line-break")) {
        appendCellMarkup(text_, "\n");
        afterSpace_ = false;
    } else if (named(name, "note") || named(name, "annotation") || named(name, "ruby-text")) {
        // Notes and comments inside a paragraph are not part of what the cell shows.
        skipDepth_ = depth;
    }
}

void CellParagraphs::endElement(int depth) {
    if (skipDepth_ == depth)
        skipDepth_ = 0;
    else if (paragraphDepth_ == depth)
        paragraphDepth_ = 0;
}

void CellParagraphs::characters(std::string_view text) {
    // Past the cell text limit nothing more is kept.
    if (text_.size() >= kMaxCellMarkupBytes) return;
    const auto isSpace = [](char c) { return c == ' ' || c == '\t' || c == '\n' || c == '\r'; };
    const char* p = text.data();
    const char* end = p + text.size();
    while (p < end) {
        const char* run = p;
        while (p < end && !isSpace(*p)) ++p;
        if (p != run) {
            text_.append(run, p);
            afterSpace_ = false;
        }
        if (p == end) break;
        // Runs of white space in a paragraph show as one space, none at its start.
        if (!afterSpace_) text_ += ' ';
        afterSpace_ = true;
        ++p;
    }
}

}  // namespace tabulon::workbook::ods
