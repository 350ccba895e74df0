// A read-only view of a long text that lays out only what it shows. The font is fixed-pitch, so
// the characters that a scrolled view shows follow from the scroll position alone.
#include "results/PlainTextPreview.h"

#include <QApplication>
#include <QClipboard>
#include <QContextMenuEvent>
#include <QFontDatabase>
#include <QKeyEvent>
#include <QMenu>
#include <QPainter>
#include <QScrollBar>
#include <algorithm>
#include <cstring>

namespace tabulon {
namespace {

constexpr int kMargin = 3;
constexpr double kFontPoints = 9;

bool isContinuationByte(char c) { return (static_cast<unsigned char>(c) & 0xC0) == 0x80; }

// The byte offset of character `characters` of a UTF-8 text, or its size when it is shorter.
std::size_t byteOffsetOf(std::string_view text, std::size_t characters) {
    std::size_t offset = 0;
    while (offset < text.size() && characters > 0) {
        ++offset;
        while (offset < text.size() && isContinuationByte(text[offset])) ++offset;
        --characters;
    }
    return offset;
}

}  // namespace

PlainTextPreview::PlainTextPreview(QWidget* parent) : QAbstractScrollArea(parent) {
    QFont fixed = QFontDatabase::systemFont(QFontDatabase::FixedFont);
    fixed.setPointSizeF(kFontPoints);
    fixed.setBold(true);
    setFont(fixed);
    setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    setFocusPolicy(Qt::StrongFocus);
    viewport()->setBackgroundRole(QPalette::Base);
    viewport()->setAutoFillBackground(true);
    setText({});
}

void PlainTextPreview::setText(std::string text) {
    text_ = std::move(text);
    lineStarts_.assign(1, 0);
    longestLine_ = 0;
    const char* data = text_.data();
    const std::size_t size = text_.size();
    std::size_t start = 0;
    while (const void* found = std::memchr(data + start, '\n', size - start)) {
        const std::size_t end = static_cast<std::size_t>(static_cast<const char*>(found) - data);
        longestLine_ = std::max(longestLine_, end - start);
        start = end + 1;
        lineStarts_.push_back(start);
    }
    longestLine_ = std::max(longestLine_, size - start);
    // A text that ends with a line end has no further line after it.
    if (lineStarts_.size() > 1 && lineStarts_.back() == size) lineStarts_.pop_back();
    verticalScrollBar()->setValue(0);
    horizontalScrollBar()->setValue(0);
    updateScrollBars();
    viewport()->update();
}

std::string_view PlainTextPreview::lineBytes(int index) const {
    const auto i = static_cast<std::size_t>(index);
    const std::size_t start = lineStarts_.at(i);
    std::size_t end = i + 1 < lineStarts_.size() ? lineStarts_[i + 1] - 1 : text_.size();
    while (end > start && (text_[end - 1] == '\r' || text_[end - 1] == '\n')) --end;
    return std::string_view(text_).substr(start, end - start);
}

QString PlainTextPreview::line(int index) const {
    const std::string_view bytes = lineBytes(index);
    return QString::fromUtf8(bytes.data(), static_cast<qsizetype>(bytes.size()));
}

QString PlainTextPreview::lineSlice(int index, std::size_t first, std::size_t count) const {
    const std::string_view bytes = lineBytes(index);
    const std::size_t from = byteOffsetOf(bytes, first);
    const std::string_view rest = bytes.substr(from);
    const std::string_view slice = rest.substr(0, byteOffsetOf(rest, count));
    return QString::fromUtf8(slice.data(), static_cast<qsizetype>(slice.size()));
}

int PlainTextPreview::lineHeight() const { return fontMetrics().lineSpacing(); }

int PlainTextPreview::charWidth() const {
    return std::max(1, fontMetrics().horizontalAdvance('M'));
}

void PlainTextPreview::updateScrollBars() {
    const int visibleLines = std::max(1, (viewport()->height() - 2 * kMargin) / lineHeight());
    verticalScrollBar()->setRange(0, std::max(0, lineCount() - visibleLines));
    verticalScrollBar()->setPageStep(visibleLines);
    verticalScrollBar()->setSingleStep(1);
    // The range counts in characters, so that even a line of millions fits a scroll bar.
    const int visibleChars = std::max(1, (viewport()->width() - 2 * kMargin) / charWidth());
    const auto longest = static_cast<int>(std::min<std::size_t>(longestLine_, 1u << 30));
    horizontalScrollBar()->setRange(0, std::max(0, longest - visibleChars + 1));
    horizontalScrollBar()->setPageStep(visibleChars);
    horizontalScrollBar()->setSingleStep(4);
}

void PlainTextPreview::resizeEvent(QResizeEvent* event) {
    QAbstractScrollArea::resizeEvent(event);
    updateScrollBars();
}

void PlainTextPreview::paintEvent(QPaintEvent*) {
    QPainter painter(viewport());
    painter.setPen(palette().color(QPalette::Text));
    const int height = lineHeight();
    const auto firstChar = static_cast<std::size_t>(horizontalScrollBar()->value());
    const auto shownChars = static_cast<std::size_t>(viewport()->width() / charWidth() + 2);
    int y = kMargin + fontMetrics().ascent();
    for (int i = verticalScrollBar()->value(); i < lineCount() && y - height < viewport()->height();
         ++i, y += height) {
        painter.drawText(kMargin, y, lineSlice(i, firstChar, shownChars));
    }
}

void PlainTextPreview::keyPressEvent(QKeyEvent* event) {
    if (event->matches(QKeySequence::Copy) || event->matches(QKeySequence::SelectAll)) {
        QApplication::clipboard()->setText(QString::fromStdString(text_));
        return;
    }
    QAbstractScrollArea::keyPressEvent(event);
}

void PlainTextPreview::contextMenuEvent(QContextMenuEvent* event) {
    QMenu menu(this);
    menu.addAction("Copy All", this,
                   [this] { QApplication::clipboard()->setText(QString::fromStdString(text_)); });
    menu.exec(event->globalPos());
}

}  // namespace tabulon
