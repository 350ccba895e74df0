// A read-only view of a long text that lays out only the lines it shows.
#include "results/PlainTextPreview.h"

#include <QApplication>
#include <QClipboard>
#include <QContextMenuEvent>
#include <QKeyEvent>
#include <QMenu>
#include <QPainter>
#include <QScrollBar>
#include <cstring>

namespace tabulon {
namespace {

constexpr int kMargin = 3;

}  // namespace

PlainTextPreview::PlainTextPreview(QWidget* parent) : QAbstractScrollArea(parent) {
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
    std::size_t longestStart = 0;
    const char* data = text_.data();
    const std::size_t size = text_.size();
    std::size_t start = 0;
    while (const void* found = std::memchr(data + start, '\n', size - start)) {
        const std::size_t end = static_cast<const char*>(found) - data;
        if (static_cast<int>(end - start) > longestLine_) {
            longestLine_ = static_cast<int>(end - start);
            longestStart = start;
        }
        start = end + 1;
        lineStarts_.push_back(start);
    }
    if (static_cast<int>(size - start) > longestLine_) {
        longestLine_ = static_cast<int>(size - start);
        longestStart = start;
    }
    // A text that ends with a line end has no further line after it.
    if (lineStarts_.size() > 1 && lineStarts_.back() == size) lineStarts_.pop_back();
    longestLineWidth_ = fontMetrics().horizontalAdvance(
        QString::fromUtf8(data + longestStart, longestLine_ < 0 ? 0 : longestLine_));
    verticalScrollBar()->setValue(0);
    horizontalScrollBar()->setValue(0);
    updateScrollBars();
    viewport()->update();
}

QString PlainTextPreview::line(int index) const {
    const std::size_t start = lineStarts_.at(static_cast<std::size_t>(index));
    std::size_t end = static_cast<std::size_t>(index) + 1 < lineStarts_.size()
                          ? lineStarts_[static_cast<std::size_t>(index) + 1] - 1
                          : text_.size();
    while (end > start && (text_[end - 1] == '\r' || text_[end - 1] == '\n')) --end;
    return QString::fromUtf8(text_.data() + start, static_cast<qsizetype>(end - start));
}

int PlainTextPreview::lineHeight() const { return fontMetrics().lineSpacing(); }

void PlainTextPreview::updateScrollBars() {
    const int visibleLines = qMax(1, (viewport()->height() - 2 * kMargin) / lineHeight());
    verticalScrollBar()->setRange(0, qMax(0, lineCount() - visibleLines));
    verticalScrollBar()->setPageStep(visibleLines);
    verticalScrollBar()->setSingleStep(1);
    horizontalScrollBar()->setRange(0,
                                    qMax(0, longestLineWidth_ + 2 * kMargin - viewport()->width()));
    horizontalScrollBar()->setPageStep(viewport()->width());
    horizontalScrollBar()->setSingleStep(fontMetrics().averageCharWidth() * 4);
}

void PlainTextPreview::resizeEvent(QResizeEvent* event) {
    QAbstractScrollArea::resizeEvent(event);
    updateScrollBars();
}

void PlainTextPreview::paintEvent(QPaintEvent*) {
    QPainter painter(viewport());
    painter.setPen(palette().color(QPalette::Text));
    const int height = lineHeight();
    const int first = verticalScrollBar()->value();
    const int x = kMargin - horizontalScrollBar()->value();
    int y = kMargin + fontMetrics().ascent();
    for (int i = first; i < lineCount() && y - height < viewport()->height(); ++i, y += height) {
        painter.drawText(x, y, line(i));
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
